#!/bin/bash
# Journey under Wine in a Japanese locale (code page 932): Auto find for
# Netscape walks into folders whose names hold a character with 0x5C ('\')
# as its second byte (ソフト is 83 5C 83 74 83 67), lists the browser below
# them beside one below an ordinary Japanese name (テスト), and skips a
# folder whose name code page 932 cannot hold (한국); the first entry is
# applied.
#   wine_auto_find_japanese.sh CORVANT_EXE WORKDIR WINDOW_TEXT_EXE
set -u
. "$(dirname "$0")/wine_harness.sh"
e2e_setup auto-find-japanese "$@"
e2e_use_locale ja_JP.UTF-8

folders=("$E2E_DRIVE_C/ソフト" "$E2E_DRIVE_C/テスト" "$E2E_DRIVE_C/한국")
trap 'status=$?; rm -rf "${folders[@]}"; (exit $status); e2e_cleanup' EXIT
for folder in "${folders[@]}"; do
    e2e_place_browser "$folder/Netscape/NETSCAPE.EXE"
done

# Every copy on drive C that code page 932 can name, as the search lists them.
(cd "$E2E_DRIVE_C" && find . -iname netscape.exe ! -path './한국/*') |
    sed -e 's|^\./||' -e 's|[^/]*$|NETSCAPE.EXE|' -e 's|/|\\|g' -e 's|^|C:\\|' | sort >"$E2E_RUN/expected-list.txt"
grep -qxF 'C:\ソフト\Netscape\NETSCAPE.EXE' "$E2E_RUN/expected-list.txt" || e2e_fail "the stand-in was not placed"

for key in "${E2E_PROGRAM_KEYS[@]}"; do
    e2e_delete_key "$key"
done

e2e_start_program   # "Netscape" is chosen from the start
e2e_key alt+a
finder=$(e2e_wait_window '^Auto find web browser$') || e2e_fail "the Auto find dialog did not appear"
title='Auto find web browser*'
e2e_focus "$finder"
e2e_key alt+s
e2e_wait_control_enabled "$title" 1013 200 || e2e_fail "the search found nothing, or did not finish"
# The program's texts are in code page 932.
e2e_window_text "$title" | iconv -f CP932 -t UTF-8 | awk -F '\t' '$1 == "entry" { print $3 }' |
    sort >"$E2E_RUN/listed.txt"
diff -u "$E2E_RUN/expected-list.txt" "$E2E_RUN/listed.txt" >"$E2E_RUN/list.diff" ||
    e2e_fail "the list is not every copy that code page 932 can name (see $E2E_RUN/list.diff)"
e2e_log "listed: $(tr '\n' ' ' <"$E2E_RUN/listed.txt")"

e2e_focus "$finder"
e2e_key alt+a       # "&Accept": the first entry
e2e_expect_success_box
e2e_exit_program
command=$(e2e_reg query 'HKCR\http\shell\open\command' /ve | iconv -f CP932 -t UTF-8 |
    awk -F '    ' '/REG_SZ/ { print $4 }')
applied=${command% \"%1\"}
applied=${applied#\"}
grep -qxF -- "${applied%\"}" "$E2E_RUN/expected-list.txt" ||
    e2e_fail "the applied command names no listed copy: $command"
e2e_log "applied: $command"
e2e_log "PASS"
