#!/bin/bash
# Journey through the terminal program in tmux: Auto find searches "/" (the
# terminal edition's drive), which holds 60,000 extra folders in the build
# tree (made once and kept) so that it lasts. The screen shows the progress
# while it runs; Escape a second after Start closes the dialog within 3 s,
# nothing is written, and Exit then ends the program.
#   terminal_auto_find_cancel.sh CORVANT WORKDIR
set -u
program=$1
work=$2
name=terminal-auto-find-cancel
if [ ! -x "$program" ]; then
    printf '%s: SKIP: %s has not been built\n' "$name" "$program"
    exit 77
fi
command -v tmux >/dev/null 2>&1 || { printf '%s: FAIL: tmux is not installed\n' "$name"; exit 1; }

run=$work/$name
rm -rf "$run"
mkdir -p "$run/data"
store=$run/data/corvant/registry.reg

socket=corvant-e2e-$$
session=cancel
cleanup() {
    local status=$?
    trap - EXIT INT TERM
    tmux -L "$socket" kill-server >/dev/null 2>&1
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
    printf '%s: FAIL: %s\n' "$name" "$*"
    screen >"$run/failure-screen.txt" 2>/dev/null &&
        printf '%s: last screen in %s\n' "$name" "$run/failure-screen.txt"
    exit 1
}

screen() { tmux -L "$socket" capture-pane -p -t "$session"; }

keys() {
    tmux -L "$socket" send-keys -t "$session" "$@" || fail "tmux send-keys $*"
    sleep 0.2
}

# wait_for TEXT [SECONDS]: until the screen shows TEXT (an extended regex).
wait_for() {
    local i
    for i in $(seq $((${2:-20} * 10))); do
        screen | grep -qE -- "$1" && return 0
        sleep 0.1
    done
    fail "the screen never showed: $1"
}

pool=$work/terminal-auto-find-folders
if [ ! -f "$pool.made" ]; then
    rm -rf "$pool"
    for group in $(seq -w 0 299); do
        mkdir -p "$pool/group$group/"folder{000..199} || fail "could not make the scratch folders"
    done
    touch "$pool.made"
fi

tmux -L "$socket" -f /dev/null new-session -d -s "$session" -x 100 -y 40 \
    "env XDG_DATA_HOME='$run/data' '$program' 2>'$run/stderr.txt'; echo \$? >'$run/exit-status'; sleep 120" ||
    fail "could not start tmux"

wait_for "Corvant 1.2 by"
keys Down
wait_for "\(\*\) Internet Explorer"
keys M-a
wait_for "Auto find web browser"
keys M-s
# The caption counts the folders searched and names the one being searched.
wait_for "Auto find web browser - [0-9,]+ folders? - /" 5
sleep 0.8
progress=$(screen | grep -oE "Auto find web browser - [0-9,]+ folders? - [^ ]*")
[ -n "$progress" ] || fail "the progress is no longer shown a second after Start"
screen | grep -qE "Auto find web browser - [0-9,]+ folders? - ([0-9,]+|nothing) found" &&
    fail "the search ended within a second; it cannot be cancelled here"
printf '%s: searching: %s\n' "$name" "$progress"

pressed=$(date +%s%N)
keys Escape
for i in $(seq 30); do
    screen | grep -qF "Auto find web browser" || break
    sleep 0.1
done
screen | grep -qF "Auto find web browser" && fail "the dialog did not close within 3 s of Escape"
printf '%s: closed %d ms after Escape was sent\n' "$name" $(( ($(date +%s%N) - pressed) / 1000000 ))
screen | grep -qF "Corvant 1.2 by" || fail "the main dialog is gone"

keys M-x
for i in $(seq 100); do
    [ -s "$run/exit-status" ] && break
    sleep 0.1
done
[ -s "$run/exit-status" ] || fail "the program did not end after Exit"
[ "$(cat "$run/exit-status")" = 0 ] || fail "the program ended with status $(cat "$run/exit-status")"
[ ! -s "$run/stderr.txt" ] || fail "the program reported: $(cat "$run/stderr.txt")"
[ ! -e "$store" ] || fail "the cancelled search wrote a store at $store"
printf '%s: PASS\n' "$name"
