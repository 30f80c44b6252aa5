#!/bin/bash
# Journey under Wine set to Windows 7, where the user has chosen another
# program for http in Default Programs and no Settings app exists (no
# ms-settings: handler): the box after the apply names http and the browser
# as Default Programs lists it, and Yes opens Control Panel's Default
# Programs page, with the arguments that name it. Corvant is elevated (as
# every program under Wine), so the page that lists the registered programs
# is asked of the desktop's shell, with the user's own rights, before the
# registration's own page (which only Corvant's process could show, and
# which Wine 8 does not provide). A stand-in control.exe records how it was
# started.
#   wine_default_programs_win7.sh CORVANT_EXE WORKDIR WINDOW_TEXT_EXE STUB_EXE
set -u
export E2E_WINVER=win7
. "$(dirname "$0")/wine_harness.sh"
e2e_setup default-programs-win7 "$@"
[ -f "$E2E_STUB_BROWSER" ] || e2e_fail "no stand-in program was given"
[ "$(e2e_windows_version)" = 6.1 ] || e2e_fail "the prefix does not report Windows 7"
# Wine starts its own control.exe for a path in the system folders unless
# told to take the file there. Corvant, elevated, hands the request to the
# desktop's shell (64-bit explorer.exe), which starts it from system32.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;control.exe=n"
timeout 20 wineserver -k >/dev/null 2>&1

choice='HKCU\Software\Microsoft\Windows\Shell\Associations\UrlAssociations\http\UserChoice'
browser='C:\Corvant Choice\IEXPLORE.EXE'
e2e_place_browser "$E2E_DRIVE_C/Corvant Choice/IEXPLORE.EXE"
timeout 60 wine reg add "$choice" /v ProgId /t REG_SZ /d OtherBrowserURL /f </dev/null >/dev/null 2>&1 ||
    e2e_fail "could not seed $choice"
# Windows 7 has no Settings app to open.
e2e_key_exists ms-settings && e2e_delete_key ms-settings
for key in "${E2E_PROGRAM_KEYS[@]}"; do
    e2e_delete_key "$key"
done
# Control Panel stands in for itself in both system folders (the 64-bit one
# and the one 32-bit programs see); this prefix is this journey's own.
for folder in system32 syswow64; do
    if [ -d "$E2E_DRIVE_C/windows/$folder" ]; then
        cp "$E2E_STUB_BROWSER" "$E2E_DRIVE_C/windows/$folder/control.exe" || e2e_fail "could not place control.exe"
        rm -f "$E2E_DRIVE_C/windows/$folder/control.exe.txt"
    fi
done

e2e_start_program
e2e_key Down        # "Internet Explorer"
e2e_key alt+s       # "&Specify location..."
e2e_choose_file "$browser"
e2e_wait_box_after_apply Done
shown=$(e2e_window_text Done)
printf '%s\n' "$shown" >"$E2E_RUN/box.txt"
printf '%s\n' "$shown" | awk -F '\t' '$1 == "Static" && $4 ~ /Windows opens http with.* There, choose "[^"]+ \(chosen with Corvant\)" for it\.$/ { found = 1 } END { exit !found }' ||
    e2e_fail "the box does not name http and the browser (see $E2E_RUN/box.txt)"
printf '%s\n' "$shown" | grep -q 'Settings' && e2e_fail "the box speaks of Settings, which Windows 7 does not have"
e2e_focus "$E2E_BOX"
e2e_key y           # "&Yes"
e2e_wait_window_gone '^Done$' 10 || e2e_fail "Yes did not close the box"

record=""
for i in $(seq $((E2E_WAIT * 10))); do
    record=$(ls "$E2E_DRIVE_C"/windows/{system32,syswow64}/control.exe.txt 2>/dev/null | head -n 1)
    [ -n "$record" ] && break
    sleep 0.1
done
[ -n "$record" ] || e2e_fail "Yes did not start Control Panel"
expected=$(printf '4\n/name\nMicrosoft.DefaultPrograms\n/page\npageDefaultProgram')
[ "$(tr -d '\r' <"$record")" = "$expected" ] ||
    e2e_fail "Control Panel was started with: $(tr '\n' ' ' <"$record")"
e2e_window_shown '^Corvant Error$' && e2e_fail "an error box appeared although Default Programs opened"
e2e_log "Yes opened Default Programs"

# Control Panel, started by the desktop's shell a moment later, took the foreground.
e2e_exit_program_regaining_keyboard
e2e_check_everything_written "$browser,0" "\"$browser\" \"%1\"" IExplore
e2e_log "PASS"
