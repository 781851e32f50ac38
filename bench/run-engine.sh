#!/usr/bin/env bash
# Engine and command-line figures for a generated program of 200,000 lines.
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(mktemp --suffix=.asm)
trap 'rm -f "$program" "${program%.asm}.hex"' EXIT
build/bench/engine_bench 200000 20 --write "$program"
echo
echo "brenvik-asm on the same program (5 runs, writing its HEX file):"
for run in 1 2 3 4 5; do
    start=$(date +%s.%N)
    build/brenvik-asm "$program" 2>/dev/null
    end=$(date +%s.%N)
    printf '  %.3f s\n' "$(echo "$end - $start" | bc)"
done
