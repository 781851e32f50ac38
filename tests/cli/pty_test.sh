#!/usr/bin/env bash
# brenvik-sim's serial terminal as a user attaches a terminal program to it:
# through --pty a line typed in socat comes back as the 8008-SBC example
# echoes it; a program waiting for a key leaves the processor idle; and at the
# machine's own clock a run takes as long as it would on the board.
# usage: pty_test.sh BRENVIK_SIM EXAMPLES_DIR
set -euo pipefail
sim=$1
examples=$2
work=$(mktemp -d)
cleanup() {
    kill "${pid:-}" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAILED: $*"
    exit 1
}

"$sim" --machine 8008-sbc --pty "$examples/sbc_echo.asm" >"$work/path" 2>"$work/err" &
pid=$!
for _ in $(seq 100); do
    [ -s "$work/path" ] && break
    sleep 0.05
done
pty=$(cat "$work/path")
[ -c "$pty" ] || fail "no pseudo-terminal named: '$pty' $(cat "$work/err")"

# A key at a time, as typed, then the echo read until it is whole.
{
    sleep 0.2
    for key in h e l l o , ' ' p t y; do
        printf '%s' "$key"
        sleep 0.05
    done
    printf '\r'
    sleep 0.5
} | timeout 5 socat - "$pty,raw,echo=0" >"$work/screen" || true
grep -qF "each key comes back." "$work/screen" || fail "no greeting: $(od -c "$work/screen" | head)"
grep -qF "HELLO, PTY" "$work/screen" || fail "no echo: $(od -c "$work/screen" | tail -3)"
# As sent: the greeting's CR LF reaches the terminal program as it is.
grep -q $'back\\.\r$' "$work/screen" || fail "the greeting's CR LF changed"

# Waiting for a key, the program keeps no core busy: its processor time
# (user and system, in clock ticks) hardly grows over two seconds.
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
before=$(ticks)
sleep 2
spent=$(($(ticks) - before))
[ "$spent" -lt $(($(getconf CLK_TCK) / 4)) ] || fail "$spent clock ticks spent in two seconds of waiting"
kill "$pid"
wait "$pid" 2>/dev/null || true

# A program that ends before a terminal program is attached keeps what it sent until it is read.
printf '\tLAI "!"\n\tOUT 8\n\tHLT\n' >"$work/bang.asm"
"$sim" --pty "$work/bang.asm" >"$work/path" 2>"$work/err" &
pid=$!
sleep 0.5
kill -0 "$pid" 2>/dev/null || fail "it ended with its output unread: $(cat "$work/err")"
timeout 5 socat -u "$(cat "$work/path"),raw,echo=0" - >"$work/screen" &
reader=$!
wait "$pid" || fail "the program's exit status was $?"
wait "$reader" || true
grep -qF '!' "$work/screen" || fail "its output was lost: $(od -c "$work/screen")"

# About half a second's states at 500 kHz: never sooner at the machine's clock.
printf '\tLBI 30\nOUTER\tLCI 0\nINNER\tDCC\n\tJFZ INNER\n\tDCB\n\tJFZ OUTER\n\tHLT\n' >"$work/delay.asm"
"$sim" --registers "$work/delay.asm" 2>"$work/states"
start=$(date +%s%N)
"$sim" --speed real "$work/delay.asm"
elapsed=$((($(date +%s%N) - start) / 1000000))
states=$(grep -oE "states=[0-9]+" "$work/states" | cut -d= -f2)
[ "$states" -gt 100000 ] || fail "the delay is only $states states"
[ "$elapsed" -ge $((states * 1000 / 250000)) ] || fail "$states states took $elapsed ms at the machine's clock"
echo "1 passed, 0 failed"
