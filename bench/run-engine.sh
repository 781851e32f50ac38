#!/usr/bin/env bash
# Engine and command-line figures for a generated program of 200,000 lines.
#
#   bench/run-engine.sh                  this build
#   bench/run-engine.sh --against REV    this build and revision REV side by side,
#                                        on the same program, runs interleaved
#
# REV is built into build/against (engine_bench and brenvik-asm only) with this
# checkout's program generator, so both assemble the very same source.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=21

against=""
if [ "${1:-}" = "--against" ]; then
    against=$2
    worktree=$(mktemp -d)
    trap 'git worktree remove --force "$worktree"' EXIT
    git worktree add --quiet --detach "$worktree" "$against"
    # Wherever that revision keeps the generator, it takes this one.
    for generator in "$worktree/bench/ProgramGenerator.h" "$worktree/tests/support/ProgramGenerator.h"; do
        [ ! -e "$generator" ] || cp tests/support/ProgramGenerator.h "$generator"
    done
    rm -rf build/against
    cmake -S "$worktree" -B build/against -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build/against --target engine_bench brenvik-asm --parallel "$(nproc)" >/dev/null
fi

program=$(mktemp --suffix=.asm)
trap 'rm -f "$program" "${program%.asm}.hex"; [ -z "$against" ] || git worktree remove --force "$worktree"' EXIT
build/bench/engine_bench 200000 1 --write "$program" >/dev/null

builds=(build)
[ -z "$against" ] || builds+=(build/against)

echo "engine_bench 200000 20 (whole runs of the engine, headless):"
for build in "${builds[@]}"; do
    printf '  %-14s %s\n' "$build" "$("$build"/bench/engine_bench 200000 20 | grep -E 'best|median' | tr -s ' ' | paste -sd ';')"
done

echo
echo "brenvik-asm PROGRAM, writing its HEX file ($runs runs each, interleaved):"
declare -A times memory
for ((run = 0; run < runs; ++run)); do
    for build in "${builds[@]}"; do
        start=$(date +%s%N)
        /usr/bin/time -f %M -o "$program.mem" "$build/brenvik-asm" "$program" 2>/dev/null
        end=$(date +%s%N)
        times[$build]+="$(( (end - start) / 1000 )) "
        memory[$build]=$(cat "$program.mem")
    done
done
rm -f "$program.mem"
for build in "${builds[@]}"; do
    read -r -a sorted <<<"$(tr ' ' '\n' <<<"${times[$build]}" | grep . | sort -n | tr '\n' ' ')"
    printf '  %-14s median %6.1f ms   best %6.1f ms   peak memory %5.1f MiB\n' "$build" \
        "$(bc <<<"scale=1; ${sorted[$((runs / 2))]} / 1000")" "$(bc <<<"scale=1; ${sorted[0]} / 1000")" \
        "$(bc <<<"scale=1; ${memory[$build]} / 1024")"
done
