#!/bin/bash
# Journey under Wine set to Windows 10, where the user has chosen another
# program for http in Settings (the per-user choice seeded with Wine's reg
# tool): "&Specify location..." writes every class as before, and the box
# after it names http, and nothing else, and the browser as Settings lists
# it, and asks whether to open those settings. No returns to the main
# dialog, which goes on working. A second apply's Yes asks the shell for
# Settings' page of Corvant's registration (a stand-in registered as the
# ms-settings class records it). The choice is left as it was. (Wine's own
# choices for https and ftp name those classes themselves, which the
# program has just written, so they are not named.)
#   wine_user_choice.sh CORVANT_EXE WORKDIR WINDOW_TEXT_EXE STUB_EXE
set -u
export E2E_WINVER=win10
. "$(dirname "$0")/wine_harness.sh"
e2e_setup user-choice "$@"

choice='HKCU\Software\Microsoft\Windows\Shell\Associations\UrlAssociations\http\UserChoice'
browser='C:\Corvant Choice\IEXPLORE.EXE'
e2e_place_browser "$E2E_DRIVE_C/Corvant Choice/IEXPLORE.EXE"

# The journeys share the prefix: what the seed replaces is put back on every way out.
before=$(e2e_reg query "$choice" /v ProgId | awk '$1 == "ProgId" { print $3 }')
put_back_choice() {
    if [ -n "$before" ]; then
        timeout 60 wine reg add "$choice" /v ProgId /t REG_SZ /d "$before" /f </dev/null >/dev/null 2>&1
    else
        timeout 60 wine reg delete "$choice" /f </dev/null >/dev/null 2>&1
    fi
}
trap 'status=$?; put_back_choice; e2e_key_exists ms-settings && e2e_delete_key ms-settings; (exit $status); e2e_cleanup' EXIT

timeout 60 wine reg add "$choice" /v ProgId /t REG_SZ /d OtherBrowserURL /f </dev/null >/dev/null 2>&1 ||
    e2e_fail "could not seed $choice"
for key in "${E2E_PROGRAM_KEYS[@]}"; do
    e2e_delete_key "$key"
done
# Settings stands in for itself: a recorder of how it was started.
settings="$E2E_DRIVE_C/Corvant Settings/settings.exe"
mkdir -p "$(dirname "$settings")" && cp "$E2E_STUB_BROWSER" "$settings" || e2e_fail "could not place $settings"
rm -f "$settings.txt"
e2e_set_value ms-settings "URL Protocol" REG_SZ ""
e2e_set_value 'ms-settings\shell\open\command' "" REG_SZ '"C:\Corvant Settings\settings.exe" "%1"'

e2e_start_program
e2e_key Down        # "Internet Explorer"
e2e_key alt+s       # "&Specify location..."
e2e_choose_file "$browser"

e2e_wait_box_after_apply Done
# window_text shows line feeds as \n. The browser's name is its own (from
# its version resource, or its file name), marked as chosen with Corvant.
shown=$(e2e_window_text Done)
printf '%s\n' "$shown" >"$E2E_RUN/box.txt"
printf '%s\n' "$shown" | awk -F '\t' '$1 == "Static" && $4 ~ /^Changes submitted to registry\.\\n\\nWindows opens http with the app chosen in its own default app settings, which come before these changes\. Open those settings now\? There, choose "[^"]+ \(chosen with Corvant\)" for it\.$/ { found = 1 } END { exit !found }' ||
    e2e_fail "the box does not name http and the browser as asked (see $E2E_RUN/box.txt)"
printf '%s\n' "$shown" | awk -F '\t' '$1 == "Button" { ids = ids $2 " " } END { exit ids != "6 7 " }' ||
    e2e_fail "the box does not have exactly Yes and No (see $E2E_RUN/box.txt)"

e2e_focus "$E2E_BOX"
e2e_key n           # "&No"
e2e_wait_window_gone '^Done$' 10 || e2e_fail "No did not close the box"
e2e_window_shown '^Corvant 1\.2 ' || e2e_fail "the main dialog is gone after No"

# The program goes on: Preferences opens and closes, then Exit ends it.
e2e_focus "$E2E_MAIN"
e2e_key alt+p
prefs=$(e2e_wait_window '^Corvant - Preferences$') || e2e_fail "Preferences did not open after No"
e2e_focus "$prefs"
e2e_key Return
e2e_wait_window_gone '^Corvant - Preferences$' 10 || e2e_fail "Enter did not close Preferences"

# Once more, and Yes: the file-open dialog starts at the file chosen last.
e2e_focus "$E2E_MAIN"
e2e_key alt+s
e2e_choose_file "$browser"
e2e_wait_box_after_apply Done
e2e_focus "$E2E_BOX"
e2e_key y           # "&Yes"
e2e_wait_window_gone '^Done$' 10 || e2e_fail "Yes did not close the box"
for i in $(seq $((E2E_WAIT * 10))); do
    [ -f "$settings.txt" ] && break
    sleep 0.1
done
[ -f "$settings.txt" ] || e2e_fail "Yes did not start Settings"
expected=$(printf '1\nms-settings:defaultapps?registeredAppMachine=Corvant')
[ "$(tr -d '\r' <"$settings.txt")" = "$expected" ] || e2e_fail "Settings was started with: $(tr '\n' ' ' <"$settings.txt")"
# The stand-in, started by the desktop's shell, may have taken the foreground.
e2e_exit_program_regaining_keyboard

icon="$browser,0"
command="\"$browser\" \"%1\""
e2e_check_everything_written "$icon" "$command" IExplore
[ "$(e2e_reg query "$choice" /v ProgId | awk '$1 == "ProgId" { print $3 }')" = OtherBrowserURL ] ||
    e2e_fail "the per-user choice for http was changed"
# The registration that page shows, where 64-bit Settings reads it.
[ "$(e2e_reg query 'HKLM\Software\RegisteredApplications' /v Corvant /reg:64 | awk '$1 == "Corvant" { print $3 }')" = \
    'Software\Corvant\Capabilities' ] || e2e_fail "the 64-bit view holds no registration of Corvant"
e2e_log "PASS"
