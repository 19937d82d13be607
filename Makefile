# Entry points: `make run` and `make test` install what is missing, build and
# run; `make bench` runs the benchmarks on generated corpora.
CMAKE_GEN  := -G Ninja
RELEASE    := build/release
TESTBUILD  := build/test
JOBS       ?= $(shell nproc)

.PHONY: deps release test run bench clean

deps:
	bash scripts/install-deps.sh

release: deps
	cmake -S . -B $(RELEASE) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DKORVANE_TESTS=OFF -DKORVANE_BENCH=ON
	cmake --build $(RELEASE) -j $(JOBS)

run: release
	$(RELEASE)/korvane samples/*.txt

test: deps
	cmake -S . -B $(TESTBUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANE_SANITIZE=ON
	cmake --build $(TESTBUILD) -j $(JOBS)
	cd $(TESTBUILD) && ctest --output-on-failure -j $(JOBS)

bench: release
	bash bench/run.sh $(RELEASE)

clean:
	rm -rf build
