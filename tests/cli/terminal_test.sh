#!/usr/bin/env bash
# brenvik-sim at a real terminal, as a person runs it in an interactive shell
# (tmux): the terminal is as the user had it whenever the program stops, and as
# the program wants it whenever it runs.
# usage: terminal_test.sh BRENVIK_SIM
set -euo pipefail
sim=$1
work=$(mktemp -d)
socket=brenvik-terminal-$$
cleanup() {
    tmux -L "$socket" kill-server 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Shows every key as <key>, so that the program's echo and the terminal's differ; a Q ends it.
printf 'W\tINP 0\n\tNDI 1\n\tJTZ W\n\tINP 1\n\tLBA\n\tLAI "<"\n\tOUT 8\n\tLAB\n\tOUT 8\n\tLAI ">"\n\tOUT 8\n\tLAB\n\tCPI "Q"\n\tJFZ W\n\tHLT\n' \
    >"$work/keys.asm"
printf 'L\tLAI "x"\n\tOUT 8\n\tJMP L\n' >"$work/spew.asm"
# The simulator under a name of its own, so that this test finds its process and no other.
cp "$sim" "$work/sim"

tmux -L "$socket" -f /dev/null new-session -d -x 100 -y 30 "env PS1='$ ' bash --norc --noprofile -i"
send() { tmux -L "$socket" send-keys "$@"; }
screen() { tmux -L "$socket" capture-pane -p; }
fail() {
    echo "FAILED: $*"
    screen
    exit 1
}
await() {
    for _ in $(seq 100); do
        screen | grep -qF -- "$1" && return 0
        sleep 0.05
    done
    fail "the screen never showed '$1'"
}
running() {
    for _ in $(seq 100); do
        pgrep -f "^$work/sim " >/dev/null && sleep 0.2 && return 0
        sleep 0.05
    done
    fail "the simulator did not start"
}
# The verdict on the terminal mode, printed by a command that runs after the program.
verdict="stty -a | grep -qE -- '-icanon|-echo ' && echo RAW-LEFT-\$((6*7)) || echo RESTORED-\$((6*7))"
expect_restored() {
    await "-42"
    screen | grep -qF "RESTORED-42" || fail "$1 left the terminal raw"
    send "clear" Enter
    sleep 0.2
}

await '$'
# Ctrl+Z gives the user the terminal back; fg gives it to the program again.
send "$work/sim $work/keys.asm" Enter
running
send "ab"
await "<a><b>"
send C-z
await "Stopped"
send "$verdict" Enter
expect_restored "Ctrl+Z"
send "fg" Enter
running
send "cd"
await "<c><d>"
send "Q"
send "$verdict" Enter
expect_restored "a program that halted"

# A reader that goes away ends the program with the terminal as it was.
send "sh -c '$work/sim $work/spew.asm | head -c 10'; $verdict" Enter
expect_restored "a closed pipe"

# So does every signal that ends it.
for signal in HUP QUIT TERM INT; do
    send "sh -c '$work/sim $work/keys.asm'; $verdict" Enter
    running
    pkill "-$signal" -f "^$work/sim "
    expect_restored "SIG$signal"
done
echo "1 passed, 0 failed"
