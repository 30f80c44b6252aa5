#!/bin/bash
# Journey under Wine: clear "htmlfile" in Preferences, then Specify location.
# .html, .htm and htmlfile keep what they held; the four protocols are
# written, with the Netscape-style DDE server of the default browser type.
#   wine_preferences_htmlfile.sh CORVANT_EXE WORKDIR WINDOW_TEXT_EXE
set -u
. "$(dirname "$0")/wine_harness.sh"
e2e_setup preferences-htmlfile "$@"

browser='C:\Program Files\Corvant Prefs\NETSCAPE.EXE'
e2e_place_browser "$E2E_DRIVE_C/Program Files/Corvant Prefs/NETSCAPE.EXE"

e2e_set_value .html "" REG_SZ "seeded.document"
e2e_set_value .htm "Content Type" REG_SZ "text/x-seeded"
e2e_set_value htmlfile\\shell\\open\\command "" REG_SZ 'C:\Seeded\VIEWER.EXE "%1"'
for key in http https ftp gopher; do
    e2e_delete_key "$key"
done
e2e_export_keys "$E2E_RUN/before.txt" .html .htm htmlfile

e2e_start_program
e2e_key alt+p
prefs=$(e2e_wait_window '^Corvant - Preferences$') || e2e_fail "the Preferences dialog did not appear"
e2e_focus "$prefs"
# The focus starts on OK; "htmlfile" is the last box in the tab order.
e2e_key shift+Tab space
e2e_key Return
e2e_wait_window_gone '^Corvant - Preferences$' 10 || e2e_fail "Enter did not close Preferences"
e2e_focus "$E2E_MAIN"
e2e_key alt+s
e2e_choose_file "$browser"
e2e_expect_success_box
e2e_exit_program

e2e_export_keys "$E2E_RUN/after.txt" .html .htm htmlfile
diff -u "$E2E_RUN/before.txt" "$E2E_RUN/after.txt" >"$E2E_RUN/htmlfile.diff" ||
    e2e_fail "htmlfile was cleared but .html, .htm or htmlfile changed (see $E2E_RUN/htmlfile.diff)"

icon="$browser,0"
command="\"$browser\" \"%1\""
e2e_check_protocols "$icon" "$command" NSShell
e2e_log "PASS"
