#!/bin/bash
# Journey through the terminal program in tmux with the mouse: the frames
# are drawn with line drawing characters (box drawing in a UTF-8 locale, the
# terminal's line drawing set otherwise); too small a terminal is told the
# size every dialog needs; a click, sent as the SGR mouse report an xterm
# sends, on "Internet Explorer" selects it, a click outside the dialog does
# nothing, and a click on "Exit" ends the program.
#   terminal_mouse.sh CORVANT WORKDIR
set -u
. "$(dirname "$0")/terminal_harness.sh"
term_setup terminal-mouse "$1" "$2"

# Whether the screen shows TEXT anywhere, as a fixed string.
shows() { term_screen | grep -qF -- "$1"; }

term_start_program LC_ALL=C.UTF-8
for piece in "┌─ Corvant 1.2 by Fernhollow Software ─" "│ This utility" "└──" "─┘" "┌ Step 1 - Browser type ┐"; do
    shows "$piece" || term_fail "no box drawing on the screen: $piece"
done
shows "+-" && term_fail "a frame is drawn in ASCII"
term_screen >"$TERM_RUN/main-screen.txt"

# Too small a terminal: the size every dialog needs (the widest message box
# and the main dialog) is named, and clicks do nothing until it is larger.
# On that screen the dialog would stand in its top left corner: the click
# goes where "Exit" would be.
term_locate "┌─ Corvant"
corner_column=$TERM_COLUMN corner_row=$TERM_ROW
term_locate "Exit"
exit_column=$((TERM_COLUMN - corner_column + 1)) exit_row=$((TERM_ROW - corner_row + 1))
tmux -L "$TERM_SOCKET" resize-window -t "$TERM_SESSION" -x 60 -y 20 || term_fail "could not resize the window"
term_wait_for "Corvant needs at least 71x24"
term_mouse 0 "$exit_column" "$exit_row"
term_mouse 0 "$exit_column" "$exit_row" m
tmux -L "$TERM_SOCKET" resize-window -t "$TERM_SESSION" -x 100 -y 40 || term_fail "could not resize the window"
term_wait_for "Corvant 1.2 by"
[ ! -s "$TERM_RUN/exit-status" ] || term_fail "a click on the too small screen ended the program"

term_click "Internet Explorer"
term_wait_for "(*) Internet Explorer"
shows "( ) Netscape" || term_fail "Netscape is still selected"

# Outside the dialog: the screen stays as it was.
before=$(term_screen)
term_mouse 0 1 1
term_mouse 0 1 1 m
sleep 0.3
[ "$(term_screen)" = "$before" ] || term_fail "a click outside the dialog changed the screen"

term_click "Exit"
term_expect_ended "after a click on Exit"
[ ! -e "$TERM_STORE" ] || term_fail "choosing a browser type wrote a store"

# In the "C" locale the frames are in the terminal's line drawing set, which
# tmux keeps as such: the letters that stand for the lines, after a switch
# to the set (^N for tmux), never "+-".
term_start_program LC_ALL=C
escapes=$(tmux -L "$TERM_SOCKET" capture-pane -p -e -t "$TERM_SESSION")
printf '%s\n' "$escapes" | grep -q $'\x0e''lq' || term_fail "no line drawing in the C locale"
shows "+-" && term_fail "a frame is drawn in ASCII in the C locale"
term_click "Exit"
term_expect_ended "after a click on Exit in the C locale"
printf '%s: PASS\n' "$TERM_NAME"
