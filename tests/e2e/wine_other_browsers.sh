#!/bin/bash
# Journey under Wine with "Other browsers" over classes that an older
# registration left with a DelegateExecute handler, an ifexec command and
# DDE settings of its own:
# - the apply leaves no class with shell\open\ddeexec (no browser of today
#   serves it), removes DelegateExecute and keeps every other value;
# - the test button then starts the chosen stand-in browser with the address,
#   and (Wine gives every program an elevated token) through the desktop's
#   shell: its parent process is explorer.exe, not corvant.exe;
# - a browser in a folder whose name code page 1252 cannot hold (the file
#   dialog gives its name back with question marks) is refused with a box,
#   and nothing is written.
#   E2E_PARENT_RECORDER=EXE wine_other_browsers.sh CORVANT_EXE WORKDIR WINDOW_TEXT_EXE [STUB_BROWSER_EXE]
# E2E_PARENT_RECORDER is the stand-in browser that records its parent.
set -u
. "$(dirname "$0")/wine_harness.sh"
e2e_setup other-browsers "$@"
recorder=${E2E_PARENT_RECORDER:-}
[ -f "$recorder" ] || e2e_fail "the stand-in browser E2E_PARENT_RECORDER has not been built"

browser='C:\Corvant Other\browser.exe'
record="$E2E_DRIVE_C/Corvant Other/browser.exe.txt"
mkdir -p "$E2E_DRIVE_C/Corvant Other"
cp "$recorder" "$E2E_DRIVE_C/Corvant Other/browser.exe" || e2e_fail "could not place the stand-in browser"
rm -f "$record"
foreign_folder="$E2E_DRIVE_C/Браузер"
e2e_place_browser "$foreign_folder/IEXPLORE.EXE"
trap 'status=$?; rm -rf "$foreign_folder"; (exit $status); e2e_cleanup' EXIT

classes=(htmlfile http https ftp gopher)
for key in "${E2E_PROGRAM_KEYS[@]}"; do
    e2e_delete_key "$key"
done
for class in "${classes[@]}"; do
    e2e_set_value "$class\\shell\\open\\command" DelegateExecute REG_SZ '{17FE9752-0B5A-4665-84CD-569794602F5C}'
    e2e_set_value "$class\\shell\\open\\command" Kept REG_SZ yes
    e2e_set_value "$class\\shell\\open\\ddeexec" "" REG_SZ '%1'
    e2e_set_value "$class\\shell\\open\\ddeexec\\Application" "" REG_SZ NSShell
    e2e_set_value "$class\\shell\\open\\ddeexec\\ifexec" "" REG_SZ '*'
done

e2e_start_program
e2e_key Down Down   # "Other browsers"
e2e_key alt+s       # "&Specify location..."
e2e_choose_file "$browser"
e2e_expect_success_box

for class in "${classes[@]}"; do
    dump=$(e2e_dump_key "$class") || true
    e2e_expect_line "$dump" "$class\\shell\\open\\command	(Default)	REG_SZ	\"$browser\" \"%1\""
    e2e_expect_line "$dump" "$class\\shell\\open\\command	Kept	REG_SZ	yes"
    if printf '%s\n' "$dump" | grep -qiE 'ddeexec|DelegateExecute'; then
        printf '%s\n' "$dump" >"$E2E_RUN/last-dump.txt"
        e2e_fail "HKCR\\$class keeps ddeexec or DelegateExecute (dump in $E2E_RUN/last-dump.txt)"
    fi
done
e2e_log "no DDE settings and no DelegateExecute left; every other value kept"

e2e_key alt+e       # the test button
for i in $(seq 300); do
    [ -f "$record" ] && break
    sleep 0.1
done
[ -f "$record" ] || e2e_fail "the test button did not start the chosen browser"
[ "$(tr -d '\r' <"$record")" = "$(printf 'explorer.exe\nhttp://example.com/')" ] ||
    e2e_fail "the browser was started by, and with: $(tr '\n' ' ' <"$record")"
e2e_log "the desktop's shell started the chosen browser with the address"

e2e_export_keys "$E2E_RUN/before-refusal.txt" "${E2E_PROGRAM_KEYS[@]}"
# The browser that was started took Wine's foreground.
e2e_key_opens "$E2E_MAIN" alt+s '^Select browser executable$'
e2e_choose_file 'C:\Браузер\IEXPLORE.EXE'
e2e_wait_box_after_apply "Corvant Error"
e2e_expect_static_text 'Corvant Error' "The browser's path cannot be used: it does not name a file, or it holds letters that the system's code page cannot show. Move the browser or choose another copy."
e2e_focus "$E2E_BOX"
e2e_key Return
e2e_wait_window_gone '^Corvant Error$' 10 || e2e_fail "the error box did not close"
e2e_exit_program
e2e_export_keys "$E2E_RUN/after-refusal.txt" "${E2E_PROGRAM_KEYS[@]}"
diff "$E2E_RUN/before-refusal.txt" "$E2E_RUN/after-refusal.txt" >"$E2E_RUN/refusal.diff" ||
    e2e_fail "the refused path changed the registry (see $E2E_RUN/refusal.diff)"
e2e_log "refused a path that code page 1252 cannot hold"
e2e_log "PASS"
