#!/bin/bash
# Journey through the terminal program in tmux: a stand-in browser that is
# no ".exe" and lives in a folder with a space is chosen for "Other browsers"
# by typing its path into the file chooser; after "Done", the test button
# starts it with the web address as its one argument, on its own and
# without a trace on the screen.
#   terminal_test_button.sh CORVANT WORKDIR
set -u
. "$(dirname "$0")/terminal_harness.sh"
term_setup terminal-test-button "$1" "$2"

# The stand-in records its arguments and process ids, writes to every output
# it might have, then keeps running like a browser until told to stop.
browser="$TERM_RUN/My Browser/browser"
record="$TERM_RUN/browser-arguments"
mkdir -p "$(dirname "$browser")"
cat >"$browser" <<STUB
#!/bin/sh
{ printf '%s\n' "\$#"; printf '%s\n' "\$@"; } >'$record.part'
echo "\$\$ \$PPID" >'$TERM_RUN/browser-pids'
mv '$record.part' '$record'
echo BROWSER-NOISE; echo BROWSER-NOISE >&2; echo BROWSER-NOISE 2>/dev/null >/dev/tty
i=0; while [ ! -e '$TERM_RUN/stop-browser' ] && [ \$i -lt 1200 ]; do sleep 0.1; i=\$((i + 1)); done
STUB
chmod +x "$browser"
stop_browser() { touch "$TERM_RUN/stop-browser"; }
term_at_exit stop_browser

term_start_program
term_keys Down Down
term_wait_for "(*) Other browsers"
term_keys M-s
term_wait_for "Select browser executable"
term_keys -l "$browser"
term_keys Enter
term_wait_for "Changes submitted to registry."
term_keys Enter
term_wait_gone "Changes submitted to registry."
quoted=$(printf '%s' "$browser" | sed -e 's/\\/\\\\/g' -e 's/"/\\"/g')
term_expect_store 'http\shell\open\command' "@=\"\\\"$quoted\\\" \\\"%1\\\"\""
# Other browsers serve no DDE: the class keeps no ddeexec key.
! grep -qiF '[HKEY_LOCAL_MACHINE\Software\Classes\http\shell\open\ddeexec' "$TERM_STORE" ||
    term_fail "the store keeps DDE settings for another browser"

program=$(term_program_pid) || true
[ -n "$program" ] || term_fail "could not find the program's process"
# From "Specify location..." the next tab stop is the test button, which
# becomes the default button as it takes the focus.
term_keys Tab
term_wait_for ">< example.com >"
before=$(term_screen)
term_keys Space
for i in $(seq 100); do
    [ -s "$record" ] && break
    sleep 0.1
done
[ -s "$record" ] || term_fail "the test button did not start the chosen browser"
[ "$(cat "$record")" = "$(printf '1\nhttp://example.com/')" ] ||
    term_fail "the browser was started with: $(tr '\n' '|' <"$record")"

# The browser is still running, but not as the program's child, and the
# program has no child left over (no zombie) either.
read -r browser_pid browser_parent <"$TERM_RUN/browser-pids"
kill -0 "$browser_pid" 2>/dev/null || term_fail "the browser is not running"
[ "$browser_parent" != "$program" ] || term_fail "the browser is the program's child"
children=$(ps -o pid=,stat= --ppid "$program")
[ -z "$children" ] || term_fail "the program has children left: $children"

# Nothing the browser wrote reached the screen, which is as it was.
sleep 0.5
after=$(term_screen)
printf '%s\n' "$after" | grep -qF BROWSER-NOISE && term_fail "the browser's output reached the screen"
[ "$before" = "$after" ] || {
    printf '%s\n' "$before" >"$TERM_RUN/screen-before.txt"
    printf '%s\n' "$after" >"$TERM_RUN/screen-after.txt"
    term_fail "the screen changed (see screen-before.txt and screen-after.txt)"
}
stop_browser
term_exit_program
printf '%s: PASS\n' "$TERM_NAME"
