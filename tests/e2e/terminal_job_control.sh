#!/bin/bash
# Journey through job control and resizing, from an interactive shell in
# tmux: Ctrl+Z, a resize while stopped, fg (the dialog is drawn again at
# once, centred on the new size), resizes while running, down to 80x24, and
# a second stop; then pastes and letters beyond ASCII. The program lives on
# through all of it and ends with status 0 through Exit.
#   terminal_job_control.sh CORVANT WORKDIR
set -u
. "$(dirname "$0")/terminal_harness.sh"
term_setup terminal-job-control "$1" "$2"

resize() { tmux -L "$TERM_SOCKET" resize-window -t "$TERM_SESSION" -x "$1" -y "$2" || term_fail "could not resize to $1x$2"; }

# The column of the main dialog's top left corner, counted from 1.
corner_column() {
    term_locate "┌─ Corvant"
    printf '%s' "$TERM_COLUMN"
}

# The dialog is 60 cells wide with its frame, and centred.
expect_centred_on() {
    term_wait_for "┌─ Corvant 1.2 by"
    local want=$((($1 - 60) / 2 + 1)) i
    for i in $(seq 20); do
        [ "$(corner_column)" = "$want" ] && return 0
        sleep 0.1
    done
    term_fail "the dialog is not centred on $1 columns (corner at $(corner_column), not $want)"
}

# The program is the only child of the pane's shell.
alive() { [ -n "$(term_program_pid)" ] || term_fail "the program ended $1"; }

tmux -L "$TERM_SOCKET" -f /dev/null new-session -d -s "$TERM_SESSION" -x 100 -y 40 \
    "env -i PATH='$PATH' HOME='$TERM_RUN' TERM=tmux-256color PS1='$ ' bash --norc --noprofile -i" ||
    term_fail "could not start tmux"
term_wait_for '$'
resize 100 40
term_keys -l "XDG_DATA_HOME='$TERM_RUN/data' LC_ALL=C.UTF-8 '$TERM_PROGRAM_PATH' 2>'$TERM_RUN/stderr.txt'"
term_keys Enter
expect_centred_on 100

for round in 1 2; do
    term_keys C-z
    term_wait_for "Stopped"
    resize 90 30
    sleep 0.3
    term_keys -l "fg"
    term_keys Enter
    # Drawn again at the new size without waiting for a key.
    expect_centred_on 90
    alive "after fg"
    resize 80 24
    expect_centred_on 80
    resize 120 40
    expect_centred_on 120
    alive "after resizes while running"
    resize 100 40
    expect_centred_on 100
done

# A paste is text: in the main dialog its letters press nothing ("x" would be
# Exit); in the file chooser it goes into the name field, without what
# follows its first line break, and presses no button. Letters beyond ASCII
# are typed as themselves.
paste() {
    tmux -L "$TERM_SOCKET" set-buffer -- "$1" && tmux -L "$TERM_SOCKET" paste-buffer -p -t "$TERM_SESSION" ||
        term_fail "could not paste"
    sleep 0.3
}
paste "x"
alive "after a paste of x in the main dialog"
term_keys M-s
term_wait_for "Look in:"
paste $'/usr/bin/env\n\nx'
term_wait_for "File name: >/usr/bin/env_"
term_keys -l " Ü€"
term_wait_for "File name: >/usr/bin/env Ü€_"
term_keys Escape
term_wait_gone "Look in:"

# The mouse still acts: Internet Explorer, then Exit.
term_click "Internet Explorer"
term_wait_for "(*) Internet Explorer"
# The shell is back once the program has ended: its status is fg's.
term_keys M-x
term_wait_for '$ ' 10
term_keys -l "echo \$? >'$TERM_RUN/exit-status'"
term_keys Enter
term_expect_ended "after Exit"
printf '%s: PASS\n' "$TERM_NAME"
