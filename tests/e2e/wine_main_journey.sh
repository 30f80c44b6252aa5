#!/bin/bash
# The main journey under Wine, with a stand-in browser that records how it
# was started: "Other browsers", "&Specify location..." picks the stand-in,
# "Done", and the test button starts it with the maker's address. Before the
# apply, htmlfile and http name another verb than open as their default, as
# Internet Explorer 7 and later leave htmlfile; afterwards a page and an
# address opened with the default verb (as a double click opens them) start
# the stand-in, from a 32-bit program and, in a 64-bit prefix, from a 64-bit
# one run by Wine's 64-bit loader.
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
old='"C:\\Old Browser\\old.exe" "%1"'
for class in htmlfile http; do
    e2e_set_value "$class\\shell" "" REG_SZ opennew
    e2e_set_value "$class\\shell\\opennew\\command" "" REG_SZ "$old"
done
e2e_set_value 'htmlfile\shell\open' LegacyDisable REG_SZ ""
page='C:\corvant-page.html'
printf '<html></html>\n' >"$E2E_DRIVE_C/corvant-page.html"

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

# e2e_open_by_default_verb LOADER ARCHITECTURE ADDRESS: a program of that
# architecture, started by that Wine loader, asks the shell to open ADDRESS
# with the class's default verb (Wine's start names "open" itself).
e2e_open_by_default_verb() {
    local shown
    shown=$(timeout 60 "$1" 'C:\windows\system32\cmd.exe' /c \
        "echo %PROCESSOR_ARCHITECTURE%& rundll32.exe shell32.dll,ShellExec_RunDLL $3" </dev/null 2>/dev/null |
        tr -d '\r' | head -n 1)
    [ "$shown" = "$2" ] || e2e_fail "the client meant to be $2 runs as ${shown:-nothing}"
}

e2e_open_by_default_verb wine x86 "$page"
e2e_expect_started "$page" "a 32-bit program"

if [ "${E2E_WINEARCH:-win64}" = win64 ]; then
    # Debian's wine starts system32's programs as 32-bit ones; its 64-bit
    # loader runs them as 64-bit programs.
    wine64=/usr/lib/wine/wine64
    [ -x "$wine64" ] || e2e_fail "Wine's 64-bit loader $wine64 is not installed (Debian's wine64 package)"
    e2e_open_by_default_verb "$wine64" AMD64 "$page"
    e2e_expect_started "$page" "a 64-bit program"
    e2e_open_by_default_verb "$wine64" AMD64 http://example.com/64-bit
    e2e_expect_started http://example.com/64-bit "a 64-bit program"
fi
e2e_log "PASS"
