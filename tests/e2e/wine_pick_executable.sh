#!/bin/bash
# Journey under Wine: choose "Internet Explorer", pick the browser through
# "&Specify location..." by typing a full path with a space, see "Done",
# leave through Exit; then every key and value the program writes.
#   wine_pick_executable.sh CORVANT_EXE WORKDIR WINDOW_TEXT_EXE
set -u
. "$(dirname "$0")/wine_harness.sh"
e2e_setup specify-location "$@"

browser='C:\Program Files\Corvant Test\IEXPLORE.EXE'
e2e_place_browser "$E2E_DRIVE_C/Program Files/Corvant Test/IEXPLORE.EXE"

# The classes are created from nothing, so every nested key is the program's.
for key in "${E2E_PROGRAM_KEYS[@]}"; do
    e2e_delete_key "$key"
done

e2e_start_program
e2e_key Down        # from "Netscape" to "Internet Explorer"
e2e_key alt+s       # "&Specify location..."
e2e_choose_file "$browser"
e2e_expect_success_box
e2e_exit_program

icon="$browser,0"
command="\"$browser\" \"%1\""
e2e_check_everything_written "$icon" "$command" IExplore
e2e_log "PASS"
