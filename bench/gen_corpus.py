#!/usr/bin/env python3
"""Writes a deterministic English-like corpus for the benchmarks.

The text is made of sentences drawn from a fixed vocabulary: a few hundred
common English words followed by a long tail of made-up words, picked with
Zipf-like frequencies, so that word lists and searches meet a realistic mix
of very frequent and rare types. Sentences begin with a capital, carry the
odd comma and end with a full stop, question or exclamation mark; lines are
wrapped at about 72 characters and paragraphs are separated by an empty
line. The same seed and options always give the same bytes.

    gen_corpus.py --size-mb 100 --files 1 --out build/release/bench-data/c100
"""

import argparse
import itertools
import os
import random

COMMON = """
the of and to a in that is was he for it with as his on be at by i this had
not are but from or have an they which one you were her all she there would
their we him been has when who will more no if out so said what up its about
into than them can only other new some could time these two may then do first
any my now such like our over man me even most made after also did many before
must through back years where much your way well down should because each just
those people how too little state good very make world still own see men work
long get here between both life being under never day same another know while
last might us great old year off come since against go came right used take
three states himself few house use during without again place american around
however home small found thought went say part once general high upon school
every does got united left number course war until always away something fact
though water less public put think almost hand enough far took head yet
government system better set told nothing night end why called didn't eyes
find going look asked later knew point next city give group toward young
harbour ship sailed dark letter wrote morning evening captain river town
""".split()

SYLLABLES = ("ka ro mi sen tal dor vi ne lu bar ost rin fel ga mo ter quin"
             " sha pel dru vo nix ar el um").split()


def made_up_words(rng, count):
    words, seen = [], set(COMMON)
    while len(words) < count:
        word = "".join(rng.choice(SYLLABLES) for _ in range(rng.randint(2, 4)))
        if word not in seen:
            seen.add(word)
            words.append(word)
    return words


def sentences(rng, vocabulary, cumulative):
    """Endless sentences."""
    while True:
        length = rng.randint(4, 24)
        words = rng.choices(vocabulary, cum_weights=cumulative, k=length)
        words[0] = words[0].capitalize()
        if length > 8 and rng.random() < 0.5:
            i = rng.randrange(2, length - 2)
            words[i] += ","
        yield " ".join(words) + rng.choice(".....?!")


def write_text(path, size, rng, vocabulary, cumulative, newline):
    parts, written, line, lines = [], 0, [], 0
    line_length = 0
    for sentence in sentences(rng, vocabulary, cumulative):
        for word in sentence.split(" "):
            if line_length + len(word) + 1 > 72 and line:
                text = " ".join(line) + newline
                lines += 1
                if lines % 9 == 0:
                    text += newline
                parts.append(text)
                written += len(text)
                line, line_length = [], 0
            line.append(word)
            line_length += len(word) + 1
        if written >= size:
            break
    data = "".join(parts).encode("ascii")[:size]
    with open(path, "wb") as out:
        out.write(data)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--size-mb", type=float, default=10.0,
                        help="total size of the corpus in MiB (default 10)")
    parser.add_argument("--files", type=int, default=1,
                        help="number of texts to split it into (default 1)")
    parser.add_argument("--out", required=True, help="output folder (created)")
    parser.add_argument("--seed", type=int, default=1, help="random seed (default 1)")
    parser.add_argument("--name", default="text", help="file name prefix (default text)")
    parser.add_argument("--lf", action="store_true",
                        help="end lines with LF instead of CR LF")
    args = parser.parse_args()
    if args.files < 1 or args.size_mb <= 0:
        parser.error("--files and --size-mb must be positive")

    rng = random.Random(args.seed)
    vocabulary = COMMON + made_up_words(rng, 20000)
    # Zipf-like weights; the made-up tail takes about a tenth of the tokens.
    weights = [1.0 / (rank + 1) ** 1.05 * (1.0 if rank < len(COMMON) else 0.2)
               for rank in range(len(vocabulary))]
    cumulative = list(itertools.accumulate(weights))

    os.makedirs(args.out, exist_ok=True)
    total = int(args.size_mb * 1024 * 1024)
    newline = "\n" if args.lf else "\r\n"
    for i in range(args.files):
        size = total // args.files + (1 if i < total % args.files else 0)
        path = os.path.join(args.out, f"{args.name}_{i:03d}.txt")
        write_text(path, size, rng, vocabulary, cumulative, newline)
        print(path)


if __name__ == "__main__":
    main()
