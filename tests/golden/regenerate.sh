#!/usr/bin/env bash
# Writes every NAME.lst, NAME.err and NAME.hex anew from NAME.asm with the built
# brenvik-asm. Read every diff by hand before committing it.
set -euo pipefail
cd "$(dirname "$0")"
asm=../../build/brenvik-asm
for source in *.asm; do
    name=${source%.asm}
    rm -f "$name.hex"
    "$asm" -l -o "$name.hex" "$source" >"$name.lst" 2>"$name.err" || true
done
