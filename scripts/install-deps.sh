#!/usr/bin/env bash
# Installs every build and test dependency from Debian's packages. Does
# nothing when they are all present, so `make run` and `make test` may call it
# every time.
set -euo pipefail

packages=(
  g++ make cmake ninja-build pkg-config
  libicu-dev
  googletest libgtest-dev libgmock-dev
  libbenchmark-dev
  qt6-base-dev qt6-charts-dev qt6-qpa-plugins libgl-dev fonts-dejavu-core
  xvfb xauth imagemagick xdotool
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
