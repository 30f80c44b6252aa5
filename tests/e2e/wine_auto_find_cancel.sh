#!/bin/bash
# Journey under Wine: Auto find on a drive C with 40,000 extra folders, which
# takes minutes to search. While it runs the dialog answers and shows its
# progress; Escape 2 s after Start closes it within 3 s, the registry is as
# it was, and Exit then ends the program.
#   wine_auto_find_cancel.sh CORVANT_EXE WORKDIR WINDOW_TEXT_EXE
set -u
. "$(dirname "$0")/wine_harness.sh"
e2e_setup auto-find-cancel "$@"

# The folders are made once and kept beside the prefix; they are moved onto
# drive C for this journey only (the other journeys search drive C), and
# moved back on every way out.
pool=$E2E_WORK/auto-find-cancel-folders
scratch="$E2E_DRIVE_C/Corvant Scratch Folders"
[ -e "$scratch" ] && { mv "$scratch" "$pool.stale" && rm -rf "$pool.stale"; }
if [ ! -f "$pool.made" ]; then
    rm -rf "$pool"
    for group in $(seq -w 0 199); do
        mkdir -p "$pool/group $group/"folder{000..199} || e2e_fail "could not make the scratch folders"
    done
    touch "$pool.made"
fi
mv "$pool" "$scratch" || e2e_fail "could not move the scratch folders onto drive C"
# Closing a window, Wine waits up to 2 s for a window manager, which this
# display does not have. This journey times the closing, so Wine does not
# manage its windows; the setting goes again on the way out.
driver='HKCU\Software\Wine\X11 Driver'
trap 'status=$?; mv "$scratch" "$pool"; timeout 60 wine reg delete "$driver" /v Managed /f >/dev/null 2>&1;
      (exit $status); e2e_cleanup' EXIT
timeout 60 wine reg add "$driver" /v Managed /d N /f </dev/null >/dev/null 2>&1 || e2e_fail "could not set $driver"
e2e_log "drive C holds $(find "$scratch" -mindepth 2 -type d | wc -l) scratch folders"

e2e_export_keys "$E2E_RUN/before.txt" "${E2E_PROGRAM_KEYS[@]}"
e2e_start_program
e2e_key Down        # "Internet Explorer"
e2e_key alt+a       # "&Auto find"
finder=$(e2e_wait_window '^Auto find web browser$') || e2e_fail "the Auto find dialog did not appear"
e2e_focus "$finder"
e2e_key alt+s       # "&Start"
sleep 2

# Still searching, the dialog answers another program at once and says how far it got.
shown=$(timeout 10 wine "$E2E_WINDOW_TEXT" 'Auto find web browser*' </dev/null 2>/dev/null | tr -d '\r') ||
    e2e_fail "the dialog did not answer while searching"
printf '%s\n' "$shown" | head -n 1 | grep -qE '^title	Auto find web browser - [0-9,]+ folders - C:\\' ||
    e2e_fail "the caption shows no progress: $(printf '%s\n' "$shown" | head -n 1)"
printf '%s\n' "$shown" | awk -F '\t' '$2 == 1013 && $3 == "disabled" { found = 1 } END { exit !found }' ||
    e2e_fail "Accept is usable while searching"
e2e_log "searching: $(printf '%s\n' "$shown" | head -n 1 | cut -f 2)"

pressed=$(date +%s%N)
e2e_key Escape
e2e_wait_window_gone '^Auto find web browser' 3 || e2e_fail "the dialog did not close within 3 s of Escape"
e2e_log "closed $(( ($(date +%s%N) - pressed) / 1000000 )) ms after Escape was sent"
e2e_window_shown '^Corvant 1\.2 ' || e2e_fail "the main dialog is gone"
e2e_exit_program

e2e_export_keys "$E2E_RUN/after.txt" "${E2E_PROGRAM_KEYS[@]}"
diff -u "$E2E_RUN/before.txt" "$E2E_RUN/after.txt" >"$E2E_RUN/registry.diff" ||
    e2e_fail "the cancelled search changed the registry (see $E2E_RUN/registry.diff)"
e2e_log "Escape stopped the search; registry unchanged"
e2e_log "PASS"
