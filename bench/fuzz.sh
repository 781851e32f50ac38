#!/usr/bin/env bash
# bench/fuzz.sh SECONDS: fuzz the engine for SECONDS (default 60) with libFuzzer,
# starting from the stored inputs. A finding is written to build/fuzz/findings/;
# keep it as a regression case in tests/fuzz/corpus/ once it is fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/common.sh
seconds=${1:-60}

ensure_packages clang libclang-rt-14-dev cmake make
cmake -S . -B build/fuzz -DBRENVIK_FUZZER=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build/fuzz --parallel "$(nproc)" --target engine_fuzz

# The working corpus grows as the fuzzer finds new paths; the stored seeds stay as they are.
corpus=build/fuzz/corpus
mkdir -p "$corpus" build/fuzz/findings
cp -n examples/*.asm tests/golden/*.asm tests/fuzz/corpus/* "$corpus"/
build/fuzz/tests/fuzz/engine_fuzz -max_total_time="$seconds" -max_len=4096 \
    -artifact_prefix=build/fuzz/findings/ -print_final_stats=1 "$corpus"
