#!/bin/bash
# Journey through the terminal program in tmux: Auto find searches "/" (the
# terminal edition's drive), which holds 60,000 extra folders in the build
# tree (made once and kept) so that it lasts. The screen shows the progress
# while it runs; Escape a second after Start closes the dialog within 3 s,
# and so does a click on Cancel during a second search; nothing is written,
# and Exit then ends the program.
#   terminal_auto_find_cancel.sh CORVANT WORKDIR
set -u
. "$(dirname "$0")/terminal_harness.sh"
term_setup terminal-auto-find-cancel "$1" "$2"

pool=$(dirname "$TERM_RUN")/terminal-auto-find-folders
if [ ! -f "$pool.made" ]; then
    rm -rf "$pool"
    for group in $(seq -w 0 299); do
        mkdir -p "$pool/group$group/"folder{000..199} || term_fail "could not make the scratch folders"
    done
    touch "$pool.made"
fi

# on_screen PATTERN: the screen matches the extended regular expression.
on_screen() { term_screen | grep -qE -- "$1"; }

term_start_program
term_keys Down
term_wait_for "(*) Internet Explorer"
term_keys M-a
term_wait_for "Auto find web browser"
term_keys M-s
# The caption counts the folders searched and names the one being searched
# (the end of a long name, behind an ellipsis).
searching="Auto find web browser - [0-9,]+ folders? - (/|…|\.\.\.)"
for i in $(seq 50); do
    on_screen "$searching" && break
    sleep 0.1
done
on_screen "$searching" || term_fail "no progress on the screen"
sleep 0.8
# (Up to the frame.)
progress=$(term_screen | grep -oE "Auto find web browser - [0-9,]+ folders? - [^ ]*" | sed -E 's/(─|-)*(┐|\+)[│|]?$//')
[ -n "$progress" ] || term_fail "the progress is no longer shown a second after Start"
on_screen "Auto find web browser - [0-9,]+ folders? - ([0-9,]+|nothing) found" &&
    term_fail "the search ended within a second; it cannot be cancelled here"
printf '%s: searching: %s\n' "$TERM_NAME" "$progress"

pressed=$(date +%s%N)
term_keys Escape
term_wait_gone "Auto find web browser" 3
printf '%s: closed %d ms after Escape was sent\n' "$TERM_NAME" $(( ($(date +%s%N) - pressed) / 1000000 ))
on_screen "Corvant 1\.2 by" || term_fail "the main dialog is gone"

# Again, stopped this time by a click on Cancel (an SGR mouse report).
term_keys M-a
term_wait_for "Auto find web browser"
term_keys M-s
for i in $(seq 50); do
    on_screen "$searching" && break
    sleep 0.1
done
sleep 0.5
on_screen "Auto find web browser - [0-9,]+ folders? - ([0-9,]+|nothing) found" &&
    term_fail "the second search ended before the click"
# The button acts as it is released.
term_locate "Cancel"
term_mouse 0 "$TERM_COLUMN" "$TERM_ROW"
released=$(date +%s%N)
term_mouse 0 "$TERM_COLUMN" "$TERM_ROW" m
term_wait_gone "Auto find web browser" 3
printf '%s: closed %d ms after the button was released on Cancel\n' "$TERM_NAME" $(( ($(date +%s%N) - released) / 1000000 ))
on_screen "Corvant 1\.2 by" || term_fail "the main dialog is gone"

term_exit_program
[ ! -e "$TERM_STORE" ] || term_fail "the cancelled searches wrote a store at $TERM_STORE"
printf '%s: PASS\n' "$TERM_NAME"
