#!/usr/bin/env bash
# The simulator on a CPU-bound program: headless (sim_bench, without and with
# the counts of executions), and brenvik-sim running the same program from its
# source, start to end.
#
#   bench/run-sim.sh [PASSES]                  this build
#   bench/run-sim.sh [PASSES] --against REV    this build and revision REV side by
#                                              side, runs interleaved
#
# REV is built into build/against (sim_bench and brenvik-sim only).
set -euo pipefail
cd "$(dirname "$0")/.."
passes=200
[[ "${1:-}" =~ ^[0-9]+$ ]] && { passes=$1; shift; }
runs=9

builds=(build)
if [ "${1:-}" = "--against" ]; then
    worktree=$(mktemp -d)
    trap 'git worktree remove --force "$worktree"' EXIT
    git worktree add --quiet --detach "$worktree" "$2"
    rm -rf build/against
    cmake -S "$worktree" -B build/against -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build/against --target sim_bench brenvik-sim --parallel "$(nproc)" >/dev/null
    builds+=(build/against)
fi
program=$(mktemp --suffix=.asm)
build/bench/sim_bench "$passes" 1 --write "$program"

# Each run's millions of instructions a second: counts off, counts on (where the
# build has them), and brenvik-sim from the source.
declare -A off on cli
for ((run = 0; run < runs; ++run)); do
    for build in "${builds[@]}"; do
        figures=$("$build"/bench/sim_bench "$passes" 1 | grep 'instructions/s' | awk '{print $2}')
        off[$build]+="$(sed -n 1p <<<"$figures") "
        on[$build]+="$(sed -n 2p <<<"$figures") "
        start=$(date +%s%N)
        line=$("$build"/brenvik-sim --registers "$program" 2>&1 >/dev/null)
        end=$(date +%s%N)
        cli[$build]+="$(bc <<<"scale=1; ${line##*instructions=} * 1000 / ($end - $start)") "
    done
done
rm -f "$program"

# "median M, best B" of a list of figures, the highest being the best.
summary() {
    read -r -a sorted <<<"$(tr ' ' '\n' <<<"$1" | grep . | sort -n | tr '\n' ' ')"
    [ ${#sorted[@]} -eq 0 ] && { echo "-"; return; }
    echo "median ${sorted[$((${#sorted[@]} / 2))]}, best ${sorted[-1]}"
}
echo "million instructions a second, $runs runs of $passes passes each, interleaved:"
printf '  %-14s %-32s %-32s %s\n' build "headless, counts off" "headless, counts on" "brenvik-sim from the source"
for build in "${builds[@]}"; do
    printf '  %-14s %-32s %-32s %s\n' "$build" "$(summary "${off[$build]}")" "$(summary "${on[$build]}")" \
        "$(summary "${cli[$build]}")"
done
