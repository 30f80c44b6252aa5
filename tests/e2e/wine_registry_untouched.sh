#!/bin/bash
# Journeys under Wine that end the program at once: Escape, and Enter while
# the focus is still on "Netscape". Neither may change the registry.
#   wine_registry_untouched.sh CORVANT_EXE WORKDIR WINDOW_TEXT_EXE
set -u
. "$(dirname "$0")/wine_harness.sh"
e2e_setup registry-untouched "$@"

# Values of our own in keys the program would overwrite, and one key absent,
# so that both an overwrite and a creation would show in the export.
e2e_set_value htmlfile\\shell\\open\\command "" REG_SZ 'C:\Before\OLD.EXE "%1"'
e2e_set_value http "" REG_SZ "Before"
e2e_delete_key gopher

for exitKey in Escape Return; do
    e2e_export_keys "$E2E_RUN/before.txt" "${E2E_PROGRAM_KEYS[@]}"
    grep -qF 'C:\\Before\\OLD.EXE' "$E2E_RUN/before.txt" || e2e_fail "the seeded value is missing from the export"
    e2e_start_program
    e2e_key "$exitKey"
    e2e_wait_program_end
    e2e_export_keys "$E2E_RUN/after.txt" "${E2E_PROGRAM_KEYS[@]}"
    diff -u "$E2E_RUN/before.txt" "$E2E_RUN/after.txt" >"$E2E_RUN/$exitKey.diff" ||
        e2e_fail "$exitKey at start changed the registry (see $E2E_RUN/$exitKey.diff)"
    e2e_log "$exitKey at start: registry unchanged"
done
e2e_log "PASS"
