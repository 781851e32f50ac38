#!/usr/bin/env bash
# nvim_test.sh BRENVIK-LSP SOURCE: headless Neovim with the shipped
# configuration opens a faulty source and reads back, through its own LSP
# client, the diagnostics and a hover.
set -euo pipefail
server=$1 source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '\tLAI 5\nLOOP\tDCB\n\tJFZ LOOP\n\tJMP NOWHERE\n' >"$work/faulty.asm"
cat >"$work/check.lua" <<'LUA'
local out = io.open(vim.env.RESULT, "w")
local ok = vim.wait(10000, function() return #vim.diagnostic.get(0) > 0 end, 50)
for _, d in ipairs(vim.diagnostic.get(0)) do
  out:write(string.format("diagnostic %d:%d %s\n", d.lnum, d.col, (d.message:gsub("\n.*", ""))))
end
local params = { textDocument = { uri = vim.uri_from_bufnr(0) }, position = { line = 2, character = 6 } }
local answers = vim.lsp.buf_request_sync(0, "textDocument/hover", params, 5000) or {}
for _, answer in pairs(answers) do
  if answer.result then out:write("hover " .. (answer.result.contents.value:gsub("\n.*", "")) .. "\n") end
end
out:write(ok and "waited\n" or "timed out\n")
out:close()
vim.cmd("qa!")
LUA
RESULT="$work/result" HOME="$work" XDG_CONFIG_HOME="$work" XDG_DATA_HOME="$work" XDG_STATE_HOME="$work" \
    timeout 60 nvim --headless --clean \
    -c "let g:brenvik_lsp = '$server'" -c "luafile $source/dist/nvim/brenvik.lua" \
    -c "edit $work/faulty.asm" -c "luafile $work/check.lua" >/dev/null 2>&1 </dev/null || true
result=$(cat "$work/result" 2>/dev/null || echo "no result")
expected="diagnostic 3:5 undefined symbol 'NOWHERE'
hover **LOOP** = 000002B (2), defined on line 2
waited"
[ "$result" = "$expected" ] || { echo "Neovim read back:"; echo "$result"; exit 1; }
echo ok
