#!/bin/bash
# Journey through the terminal program in tmux where things go wrong: a store
# whose key names hold escape sequences, a paste whose end never comes, and
# an opener that fails (xdg-open without a desktop exits 3). (Yes after the
# apply with a failing opener: tests/ui/success_box_test.cpp.)
#   terminal_failures.sh CORVANT WORKDIR
set -u
. "$(dirname "$0")/terminal_harness.sh"
term_setup terminal-failures "$1" "$2"

mkdir -p "$TERM_RUN/bin" "$(dirname "$TERM_STORE")"
printf '#!/bin/sh\nexit 3\n' >"$TERM_RUN/bin/xdg-open"
chmod +x "$TERM_RUN/bin/xdg-open"
opener_path="PATH=$TERM_RUN/bin:$PATH"

# A title, the clipboard and a colour, in a root key's name the store cannot read.
printf 'REGEDIT4\r\n\r\n[HKEY_\033]0;OWNED\007\033]52;c;T1dORUQ=\007\033[31mRED\\x]\r\n' >"$TERM_STORE"
term_start_program "$opener_path" LC_ALL=C.UTF-8
term_keys M-e
term_wait_for "Could not open http://example.com/: xdg-open ended with status 3."
# A paste that never ends: after a moment keys act again, and the notice is gone.
term_keys -l $'\033[200~abc'
sleep 0.5
term_keys Tab
term_wait_gone "Could not open"
term_keys M-x
for i in $(seq 100); do
    [ -s "$TERM_RUN/exit-status" ] && break
    sleep 0.1
done
[ -s "$TERM_RUN/exit-status" ] || term_fail "Alt+X did not end the program after the paste"
grep -qF 'unknown root key' "$TERM_RUN/stderr.txt" || term_fail "no store problem on standard error"
! grep -q $'[\033\007]' "$TERM_RUN/stderr.txt" || term_fail "raw ESC or BEL on standard error"
grep -qF $'\xEF\xBF\xBD]0;OWNED' "$TERM_RUN/stderr.txt" || term_fail "the escapes are not shown as U+FFFD"

printf '%s: PASS\n' "$TERM_NAME"
