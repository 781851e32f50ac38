#!/usr/bin/env bash
# bench/fuzz.sh SECONDS [TARGET]: fuzz for SECONDS (default 60) with libFuzzer,
# starting from the stored inputs: the engine (TARGET engine), brenvik-sim's
# loaders and runner (sim), or both one after the other (the default). A finding
# is written to build/fuzz/findings/; keep an engine finding as a regression case
# in tests/fuzz/corpus/ once it is fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/common.sh
seconds=${1:-60}
targets=${2:-engine sim}

ensure_packages clang libclang-rt-14-dev cmake make
cmake -S . -B build/fuzz -DBRENVIK_FUZZER=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ >/dev/null
mkdir -p build/fuzz/findings

for target in $targets; do
    cmake --build build/fuzz --parallel "$(nproc)" --target "${target}_fuzz"
    # The working corpus grows as the fuzzer finds new paths; the stored seeds stay as they are.
    corpus=build/fuzz/corpus-$target
    mkdir -p "$corpus"
    if [ "$target" = engine ]; then
        cp -n examples/*.asm tests/golden/*.asm tests/fuzz/corpus/* "$corpus"/
    else
        # The first byte chooses the kind: 0 a HEX file, 1 a binary image, 2 a source.
        for file in tests/golden/*.hex; do
            { printf '\0'; cat "$file"; } >"$corpus/$(basename "$file")"
        done
        for file in examples/*.asm tests/golden/*.asm; do
            { printf '\2'; cat "$file"; } >"$corpus/$(basename "$file")"
        done
    fi
    build/fuzz/tests/fuzz/${target}_fuzz -max_total_time="$seconds" -max_len=4096 \
        -artifact_prefix=build/fuzz/findings/ -print_final_stats=1 "$corpus"
done
