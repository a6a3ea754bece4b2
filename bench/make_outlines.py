#!/usr/bin/env python3
"""Writes COUNT random outline files into FOLDER for batch timings.

Each file holds one building: a skyline of 1 to 8 columns standing on
y = 0, at most 60 x 60 grid units, walked clockwise (y up) from the origin.
The seed is fixed, so every run writes the same files.

usage: make_outlines.py FOLDER [COUNT] [SEED]
"""

import os
import random
import sys

SIZE = 60


def skyline(rng):
    columns = rng.randint(1, 8)
    cuts = sorted(rng.sample(range(1, SIZE), columns - 1)) if columns > 1 else []
    edges = [0] + cuts + [rng.randint(max(cuts[-1] + 1 if cuts else 5, 5), SIZE)]
    points = [(0, 0)]
    for left, right in zip(edges, edges[1:]):
        height = rng.randint(5, SIZE)
        if points[-1] != (left, height):
            points.append((left, height))
        points.append((right, height))
    points.append((edges[-1], 0))
    # Equal neighbouring heights leave a vertex inside a straight run.
    return points


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 10000
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 18)
    os.makedirs(folder, exist_ok=True)
    for i in range(count):
        text = "".join(f"({x},{y})" for x, y in skyline(rng)) + "*\n"
        with open(os.path.join(folder, f"outline-{i:05d}.quarn"), "w") as out:
            out.write(text)


if __name__ == "__main__":
    main()
