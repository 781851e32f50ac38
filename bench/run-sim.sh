#!/usr/bin/env bash
# The simulator on a CPU-bound program: headless (sim_bench), and brenvik-sim
# running the same program from its source, start to end.
set -euo pipefail
cd "$(dirname "$0")/.."
passes=${1:-200}
program=$(mktemp --suffix=.asm)
trap 'rm -f "$program"' EXIT
build/bench/sim_bench "$passes" 1 --write "$program"

echo "sim_bench $passes 5 (the machine alone):"
build/bench/sim_bench "$passes" 5 | sed 's/^/  /'

echo
echo "brenvik-sim PROGRAM (5 runs, assembling included):"
for run in 1 2 3 4 5; do
    start=$(date +%s%N)
    line=$(build/brenvik-sim --registers "$program" 2>&1 >/dev/null)
    end=$(date +%s%N)
    instructions=${line##*instructions=}
    printf '  %.3f s, %.1f million instructions/s\n' "$(bc <<<"scale=3; ($end - $start) / 1000000000")" \
        "$(bc <<<"scale=1; $instructions * 1000 / ($end - $start)")"
done
