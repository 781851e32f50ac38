#!/usr/bin/env bash
# lsp_pipe_test.sh BRENVIK-LSP: a client's session over a pipe (initialize, a
# faulty document, a line that is not JSON, a hover, a change that mends the
# fault, shutdown, exit): the answers come framed on standard output, the
# server survives the bad line and exits with 0.
set -euo pipefail
server=$1
frame() { printf 'Content-Length: %d\r\n\r\n%s' "${#1}" "$1"; }
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
{
    frame '{"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{}}}'
    frame '{"jsonrpc":"2.0","method":"initialized","params":{}}'
    frame '{"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":{"uri":"file:///t.asm","languageId":"asm8008","version":1,"text":"\tFOO\n"}}}'
    frame 'this is not JSON'
    frame '{"jsonrpc":"2.0","id":3,"method":"textDocument/hover","params":{"textDocument":{"uri":"file:///t.asm"},"position":{"line":0,"character":1}}}'
    frame '{"jsonrpc":"2.0","method":"textDocument/didChange","params":{"textDocument":{"uri":"file:///t.asm","version":2},"contentChanges":[{"text":"\tRET\n"}]}}'
    frame '{"jsonrpc":"2.0","id":2,"method":"shutdown"}'
    frame '{"jsonrpc":"2.0","method":"exit"}'
} | "$server" >"$out" 2>"$err" && status=0 || status=$?
[ "$status" -eq 0 ] || { echo "exit status $status"; cat "$err"; exit 1; }
grep -q "unknown instruction or directive 'FOO'" "$out" || { echo "no diagnostic:"; cat "$out"; exit 1; }
grep -q '"code":-32700' "$out" || { echo "no parse error answered:"; cat "$out"; exit 1; }
grep -q '"id":2,"jsonrpc":"2.0","result":null' "$out" || { echo "no answer to shutdown:"; cat "$out"; exit 1; }
grep -q '"id":3,"jsonrpc":"2.0","result":null' "$out" || { echo "no answer to hover:"; cat "$out"; exit 1; }
grep -q '"params":{"diagnostics":\[\],"uri":"file:///t.asm"}' "$out" || { echo "the fix was not published:"; cat "$out"; exit 1; }
[ "$(grep -o 'Content-Length: ' "$out" | wc -l)" -eq 6 ] || { echo "not six framed answers:"; cat "$out"; exit 1; }
# At the end of its input without exit, the server ends too, with 1.
frame '{"jsonrpc":"2.0","id":1,"method":"initialize","params":{}}' | "$server" >/dev/null && status=0 || status=$?
[ "$status" -eq 1 ] || { echo "end of input gave $status"; exit 1; }
echo "ok"
