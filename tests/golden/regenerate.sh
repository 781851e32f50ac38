#!/usr/bin/env bash
# Writes every NAME.lst, NAME.err and NAME.hex anew from NAME.asm, and the files in
# exports/ from the examples, with the built brenvik-asm. Read every diff by hand
# before committing it. The HEX files in as/ are not written here: they are what the
# Macroassembler AS (asl, then p2hex) made of the sources beside them.
set -euo pipefail
cd "$(dirname "$0")"
asm=../../build/brenvik-asm
for source in *.asm; do
    name=${source%.asm}
    rm -f "$name.hex"
    "$asm" -l -o "$name.hex" "$source" >"$name.lst" 2>"$name.err" || true
done

# The examples' binary images, symbol tables, and listings with their cross-reference.
mkdir -p exports
for source in ../../examples/*.asm; do
    name=$(basename "$source" .asm)
    "$asm" -x -b "exports/$name.bin" -s "exports/$name.sym" -o /dev/null "$source" >"exports/$name.xref" 2>/dev/null
done
