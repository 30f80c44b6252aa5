#!/bin/bash
# Journeys under Wine through "&Auto find":
# - "Internet Explorer", Start, Accept: the list holds every IEXPLORE.EXE of
#   drive C in sorted order, and the first of them is applied;
# - "Other browsers": the refusal box, with the system's default title.
#   wine_auto_find.sh CORVANT_EXE WORKDIR WINDOW_TEXT_EXE
set -u
. "$(dirname "$0")/wine_harness.sh"
e2e_setup auto-find "$@"

# Stand-ins in two folders with a space in their names; the lower-case one is
# listed upper-cased and sorts before every other copy on the drive.
e2e_place_browser "$E2E_DRIVE_C/Apps Corvant/iexplore.exe"
e2e_place_browser "$E2E_DRIVE_C/Corvant Extra/Deep/IEXPLORE.EXE"
first='C:\Apps Corvant\IEXPLORE.EXE'

# Every copy on drive C (Wine brings its own), as the search lists them.
(cd "$E2E_DRIVE_C" && find . -iname iexplore.exe) |
    sed -e 's|^\./||' -e 's|[^/]*$|IEXPLORE.EXE|' -e 's|/|\\|g' -e 's|^|C:\\|' |
    LC_ALL=C sort -f >"$E2E_RUN/expected-list.txt"
[ "$(head -n 1 "$E2E_RUN/expected-list.txt")" = "$first" ] ||
    e2e_fail "the stand-in does not sort first on drive C (see $E2E_RUN/expected-list.txt)"

for key in "${E2E_PROGRAM_KEYS[@]}"; do
    e2e_delete_key "$key"
done

e2e_start_program
e2e_key Down        # "Internet Explorer"
e2e_key alt+a       # "&Auto find"
finder=$(e2e_wait_window '^Auto find web browser$') || e2e_fail "the Auto find dialog did not appear"
# While searching and afterwards the caption shows how far the search got.
title='Auto find web browser*'
e2e_wait_control_enabled "$title" 1013 1 && e2e_fail "Accept is usable before the search"
e2e_focus "$finder"
e2e_key alt+s       # "&Start"
# The search walks the whole prefix drive; Accept becomes usable when it is done.
e2e_wait_control_enabled "$title" 1013 200 || e2e_fail "the search did not finish"
e2e_wait_control_enabled "$title" 1012 1 && e2e_fail "Start is still usable after the search"
count=$(wc -l <"$E2E_RUN/expected-list.txt")
e2e_window_text "$title" | grep -qE "^title	Auto find web browser - [0-9,]+ folders - $count found\$" ||
    e2e_fail "the caption does not say that $count were found: $(e2e_window_text "$title" | head -n 1)"

e2e_window_text "$title" | awk -F '\t' '$1 == "entry" { print $3 }' >"$E2E_RUN/listed.txt"
[ "$(head -n 1 "$E2E_RUN/listed.txt")" = "$first" ] ||
    e2e_fail "the list does not start with $first (see $E2E_RUN/listed.txt)"
LC_ALL=C sort -f "$E2E_RUN/listed.txt" | diff -u "$E2E_RUN/expected-list.txt" - >"$E2E_RUN/list.diff" ||
    e2e_fail "the list is not every copy on drive C (see $E2E_RUN/list.diff)"

e2e_focus "$finder"
e2e_key alt+a       # "&Accept" with nothing highlighted takes the first entry
e2e_expect_success_box
e2e_exit_program

icon="$first,0"
command="\"$first\" \"%1\""
e2e_check_everything_written "$icon" "$command" IExplore
e2e_log "accepted the first entry"

# "Other browsers": refused before any search, with Windows' default title.
e2e_start_program
e2e_key Down Down   # "Other browsers"
e2e_key alt+a
refusal=$(e2e_wait_window '^Error$') || e2e_fail "the refusal box did not appear"
e2e_expect_static_text Error \
    'Corvant can'"'"'t search for "other" browsers because their filenames are not known.'
e2e_window_shown '^Auto find web browser' && e2e_fail "the Auto find dialog opened for other browsers"
e2e_focus "$refusal"
e2e_key Return
e2e_wait_window_gone '^Error$' 10 || e2e_fail "the refusal box did not close"
e2e_exit_program
e2e_log "refused other browsers"
e2e_log "PASS"
