#!/bin/bash
# The main journey under Wine, with a stand-in browser that records how it
# was started: "Other browsers", "&Specify location..." picks the stand-in,
# "Done", and the test button starts it with the maker's address. In a 64-bit
# prefix, a 64-bit program then opens an address through the classes that
# the 32-bit Corvant wrote, and the stand-in answers it too.
# E2E_WINEARCH and E2E_WINVER choose the prefix (see wine_harness.sh).
#   wine_main_journey.sh CORVANT_EXE WORKDIR WINDOW_TEXT_EXE STUB_BROWSER_EXE
set -u
. "$(dirname "$0")/wine_harness.sh"
e2e_setup "main-journey${E2E_WINEARCH:+-$E2E_WINEARCH}${E2E_WINVER:+-$E2E_WINVER}" "$@"
[ -f "$E2E_STUB_BROWSER" ] || e2e_fail "no stand-in browser was given"

case "${E2E_WINVER:-}" in
winxp) [ "$(e2e_windows_version)" = 5.1 ] || e2e_fail "the prefix does not report Windows XP" ;;
esac

browser='C:\Corvant Stub\browser.exe'
stub="$E2E_DRIVE_C/Corvant Stub/browser.exe"
record=$stub.txt
mkdir -p "$(dirname "$stub")"
cp "$E2E_STUB_BROWSER" "$stub" || e2e_fail "could not place the stand-in browser"
rm -f "$record"
for key in "${E2E_PROGRAM_KEYS[@]}"; do
    e2e_delete_key "$key"
done

# e2e_expect_started ADDRESS WHO: the stand-in records exactly ADDRESS.
e2e_expect_started() {
    local i
    for i in $(seq $((E2E_WAIT * 10))); do
        [ -f "$record" ] && break
        sleep 0.1
    done
    [ -f "$record" ] || e2e_fail "$2 did not start the stand-in browser"
    [ "$(tr -d '\r' <"$record")" = "$(printf '1\n%s' "$1")" ] ||
        e2e_fail "$2 started the stand-in browser with: $(tr '\n' ' ' <"$record")"
    rm -f "$record"
    e2e_log "$2 started the stand-in browser with $1"
}

e2e_start_program
e2e_key Down Down   # "Other browsers"
e2e_key alt+s       # "&Specify location..."
e2e_choose_file "$browser"
e2e_expect_success_box
e2e_key alt+e       # the test button, "&example.com"
e2e_expect_started http://example.com/ "the test button"
# The started program took the foreground (the desktop's shell started it,
# a moment later); a click on the dialog's margin brings it back, as the
# user would.
e2e_exit_program_regaining_keyboard
e2e_check_everything_written "$browser,0" "\"$browser\" \"%1\"" ""

if [ "${E2E_WINEARCH:-win64}" = win64 ]; then
    # System32 of a 64-bit prefix holds the 64-bit programs.
    cmd=$E2E_DRIVE_C/windows/system32/cmd.exe
    objdump -f "$cmd" 2>/dev/null | grep -q 'pei-x86-64' || e2e_fail "$cmd is not a 64-bit program"
    timeout 60 wine 'C:\windows\system32\cmd.exe' /c start http://example.com/64-bit </dev/null >/dev/null 2>&1 ||
        e2e_fail "a 64-bit cmd /c start failed"
    e2e_expect_started http://example.com/64-bit "a 64-bit program"
fi
e2e_log "PASS"
