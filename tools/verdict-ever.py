#!/usr/bin/env python3
"""How often a fair wheel makes the bias test significant at some moment.

The analysis window reads the chi-square verdict after every spin from 185
spins on. This draws fair histories (Python's random.Random, seeded), follows
the statistic 37 * sum(count^2) / n - n spin by spin and notes the first spin
at which it leaves the 1 % tails of chi-square with 36 degrees of freedom,
above (too uneven) or below (too even). It prints, for every band end, the
share of histories significant at some moment up to that length, as the C++
table that src/analysis/Chances.cpp keeps (VerdictEverBands).

    tools/verdict-ever.py [histories] [seed]
"""
import random
import sys

UPPER = 58.6192  # chi-square, 36 degrees of freedom: P(>= UPPER) = 1 %
LOWER = 19.2327  # P(<= LOWER) = 1 %
FIRST = 185
BANDS = [300, 500, 1000, 2000, 5000, 10000, 20000]


def first_significant(rng, length):
    counts = [0] * 37
    squares = 0
    for n in range(1, length + 1):
        k = rng.randrange(37)
        squares += 2 * counts[k] + 1
        counts[k] += 1
        if n >= FIRST:
            statistic = 37 * squares / n - n
            if statistic >= UPPER or statistic <= LOWER:
                return n
    return None


def main():
    histories = int(sys.argv[1]) if len(sys.argv) > 1 else 2000
    seed = int(sys.argv[2]) if len(sys.argv) > 2 else 26
    rng = random.Random(seed)
    firsts = [first_significant(rng, BANDS[-1]) for _ in range(histories)]
    print(f"// {histories} fair histories, random.Random({seed}); tools/verdict-ever.py")
    for end in BANDS:
        share = sum(1 for f in firsts if f is not None and f <= end) / histories
        error = 1.96 * (share * (1 - share) / histories) ** 0.5
        print(f"    {{{end}, {share:.3f}}}, // ± {error:.3f}")


if __name__ == "__main__":
    main()
