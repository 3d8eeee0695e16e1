#!/usr/bin/env bash
# The shipped program stays small: everything in build/dist (the program with its images at
# every display scale, and the card's library) at most 12 MiB.
set -euo pipefail
dist=${1:?usage: check_dist_size.sh DIST}
limit=$((12 * 1024 * 1024))
total=0
for f in "$dist"/*; do
    size=$(stat -c %s "$f")
    echo "  $(basename "$f") $size bytes"
    total=$((total + size))
done
echo "build/dist: $total bytes (limit $limit)"
[ "$total" -gt 0 ] && [ "$total" -le "$limit" ]
