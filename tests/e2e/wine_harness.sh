# Shared steps of the journeys that drive corvant.exe under Wine on a private
# X display. Sourced by the journey scripts:
#   . wine_harness.sh
#   e2e_setup NAME EXE WORKDIR
# Every wait is bounded; the display, the program and Wine's server are
# stopped on every way out (the EXIT trap).

E2E_WAIT=${E2E_WAIT:-30}

e2e_log() { printf '%s: %s\n' "$E2E_NAME" "$*"; }

e2e_screenshot() {
    [ -n "${DISPLAY:-}" ] || return 0
    if timeout 20 import -window root "$E2E_RUN/$1.png" >/dev/null 2>&1; then
        e2e_log "screen saved to $E2E_RUN/$1.png"
    else
        e2e_log "no screenshot could be taken"
    fi
}

# Report a failure with a picture of the screen, then stop (the trap cleans up).
e2e_fail() {
    e2e_log "FAIL: $*"
    e2e_screenshot failure
    exit 1
}

e2e_cleanup() {
    local status=$?
    trap - EXIT INT TERM
    if [ -n "${E2E_PREFIX:-}" ] && [ -d "$E2E_PREFIX" ]; then
        WINEPREFIX=$E2E_PREFIX timeout 20 wineserver -k >/dev/null 2>&1
    fi
    if [ -n "${E2E_PROGRAM_PID:-}" ]; then
        kill "$E2E_PROGRAM_PID" 2>/dev/null
        wait "$E2E_PROGRAM_PID" 2>/dev/null
    fi
    if [ -n "${E2E_XVFB_PID:-}" ]; then
        kill "$E2E_XVFB_PID" 2>/dev/null
        wait "$E2E_XVFB_PID" 2>/dev/null
    fi
    exit "$status"
}

e2e_require_tools() {
    local tool
    for tool in wine wineserver wineboot Xvfb xdotool import iconv flock timeout; do
        command -v "$tool" >/dev/null 2>&1 || e2e_fail "$tool is not installed"
    done
}

# A display of our own, so that no other window takes the keys.
e2e_start_display() {
    local numberFile=$E2E_RUN/display-number i number=""
    : >"$numberFile"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numberFile" >"$E2E_RUN/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    for i in $(seq 100); do
        number=$(head -n 1 "$numberFile")
        [ -n "$number" ] && break
        kill -0 "$E2E_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    [ -n "$number" ] || e2e_fail "Xvfb did not start (see $E2E_RUN/xvfb.log)"
    export DISPLAY=:$number
}

# The journeys share one scratch prefix (ctest runs them one at a time). Its
# home folder is an empty scratch folder: the prefix links the user's folders
# to it, and the drive C search must not wander into the real home.
# E2E_WINEARCH=win32 asks for a 32-bit prefix instead of the 64-bit one (with
# WoW64), E2E_WINVER=winxp|win7|... for the Windows version it reports; each
# such combination has a prefix of its own.
e2e_prepare_prefix() {
    local kind=${E2E_WINEARCH:+-$E2E_WINEARCH}${E2E_WINVER:+-$E2E_WINVER}
    E2E_PREFIX=$E2E_WORK/wineprefix$kind
    export WINEPREFIX=$E2E_PREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    export HOME=$E2E_WORK/home
    mkdir -p "$HOME"
    (
        flock -w 300 9 || exit 1
        if [ ! -f "$E2E_PREFIX/.corvant-e2e-ready" ]; then
            WINEARCH=${E2E_WINEARCH:-win64} timeout 240 wineboot -i >/dev/null 2>&1
            timeout 60 wineserver -w
            [ -d "$E2E_PREFIX/drive_c/windows" ] || exit 1
            if [ -n "${E2E_WINVER:-}" ]; then
                timeout 60 wine winecfg -v "$E2E_WINVER" >/dev/null 2>&1 || exit 1
                timeout 60 wineserver -w
            fi
            "$(dirname "${BASH_SOURCE[0]}")/../wine/wine-fonts" "$E2E_PREFIX" || exit 1
            touch "$E2E_PREFIX/.corvant-e2e-ready"
        fi
    ) 9>"$E2E_WORK/wineprefix$kind.lock" || e2e_fail "could not create the Wine prefix $E2E_PREFIX"
    E2E_DRIVE_C=$E2E_PREFIX/drive_c
}

# e2e_use_locale NAME: Wine's programs from here on run in the Unix locale
# NAME (such as ja_JP.UTF-8), from which Wine takes the system's code page.
# Where the system has not generated it, it is built once into the work
# folder from the locale sources of Debian's locales package.
e2e_use_locale() {
    local name=$1 sources=${1%%.*} folder=$E2E_WORK/locales
    if ! locale -a 2>/dev/null | grep -qixF "$(printf '%s' "$name" | sed 's/UTF-8/utf8/')"; then
        if [ ! -d "$folder/$name" ]; then
            mkdir -p "$folder"
            localedef -i "$sources" -f UTF-8 "$folder/$name" >"$E2E_RUN/localedef.log" 2>&1 ||
                e2e_fail "could not build the locale $name (is Debian's locales package installed? see $E2E_RUN/localedef.log)"
        fi
        export LOCPATH=$folder
    fi
    export LC_ALL=$name LANG=$name
    [ "$(locale charmap 2>/dev/null)" = UTF-8 ] || e2e_fail "the locale $name cannot be used"
}

# The Windows version the prefix reports, as "major.minor".
e2e_windows_version() {
    e2e_reg query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion' /v CurrentVersion |
        awk '$1 == "CurrentVersion" { print $3 }'
}

# e2e_setup NAME EXE WORKDIR [WINDOW_TEXT_EXE [STUB_BROWSER_EXE]]
e2e_setup() {
    E2E_NAME=$1
    E2E_EXE=$2
    E2E_WORK=$3
    E2E_WINDOW_TEXT=${4:-}
    E2E_STUB_BROWSER=${5:-}
    if [ ! -f "$E2E_EXE" ]; then
        printf '%s: SKIP: %s has not been built\n' "$E2E_NAME" "$E2E_EXE"
        exit 77
    fi
    E2E_RUN=$E2E_WORK/$E2E_NAME
    rm -rf "$E2E_RUN"
    mkdir -p "$E2E_RUN"
    trap e2e_cleanup EXIT
    trap 'exit 130' INT TERM
    e2e_require_tools
    e2e_start_display
    e2e_prepare_prefix
    # Leftovers of an interrupted earlier run.
    timeout 20 wineserver -k >/dev/null 2>&1
}

# A small Windows executable to stand in for a browser (any PE file will do:
# the program only records its path).
e2e_place_browser() {
    local unixPath=$1
    mkdir -p "$(dirname "$unixPath")"
    cp "$E2E_EXE" "$unixPath" || e2e_fail "could not copy a stand-in browser to $unixPath"
}

e2e_start_program() {
    (cd "$E2E_RUN" && exec wine "$E2E_EXE" </dev/null >"$E2E_RUN/program.log" 2>&1) &
    E2E_PROGRAM_PID=$!
    # Wine's first start in a fresh prefix takes a while.
    E2E_MAIN=$(e2e_wait_window '^Corvant 1\.2 ' 90) || e2e_fail "the main dialog did not appear"
    e2e_focus "$E2E_MAIN"
}

# e2e_program_ended [SECONDS]: true once the program has ended by itself.
e2e_program_ended() {
    local i
    for i in $(seq $((${1:-$E2E_WAIT} * 10))); do
        kill -0 "$E2E_PROGRAM_PID" 2>/dev/null || {
            wait "$E2E_PROGRAM_PID" 2>/dev/null
            E2E_PROGRAM_PID=""
            return 0
        }
        sleep 0.1
    done
    return 1
}

e2e_wait_program_end() {
    e2e_program_ended || e2e_fail "the program did not end"
}

# e2e_wait_window TITLE_REGEX [SECONDS]: prints the window's id.
e2e_wait_window() {
    local id
    id=$(timeout "${2:-$E2E_WAIT}" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$id" ] || return 1
    printf '%s\n' "$id"
}

e2e_window_shown() {
    [ -n "$(xdotool search --onlyvisible --name "$1" 2>/dev/null)" ]
}

# e2e_wait_window_gone TITLE_REGEX [SECONDS]
e2e_wait_window_gone() {
    local i
    for i in $(seq $((${2:-$E2E_WAIT} * 10))); do
        e2e_window_shown "$1" || return 0
        sleep 0.1
    done
    return 1
}

# Without a window manager the keyboard goes where the focus is put by hand.
e2e_focus() {
    timeout 10 xdotool windowfocus --sync "$1" >/dev/null 2>&1 || e2e_fail "could not focus window $1"
    sleep 0.2
}

# Give a window the keyboard back with a click near its top left corner,
# where the program's dialogs have no control: a program that the shell
# started (a console one, say) keeps Wine's foreground otherwise.
e2e_activate() {
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")" || e2e_fail "window $1 is gone"
    xdotool mousemove $((X + 20)) $((Y + 5)) click 1 || e2e_fail "could not click window $1"
    sleep 0.5
    e2e_focus "$1"
}

# e2e_key_opens WINDOW KEY TITLE_REGEX: after another program took Wine's
# foreground (at a moment the journey cannot see), give WINDOW the keyboard
# back and press KEY, until the window it opens appears (three tries).
e2e_key_opens() {
    local attempt
    for attempt in 1 2 3; do
        e2e_activate "$1"
        e2e_key "$2"
        e2e_wait_window "$3" 5 >/dev/null && return 0
    done
    e2e_fail "$2 did not open a window titled $3"
}

e2e_key() {
    xdotool key --delay 60 "$@" || e2e_fail "xdotool key $*"
    sleep 0.2
}

e2e_type() {
    xdotool type --delay 30 -- "$1" || e2e_fail "xdotool type"
    sleep 0.2
}

# Type a full path into Wine's file-open dialog and confirm it. The dialog's
# name field autocompletes, and the first Enter after typing may only close
# the completion list, so Enter is repeated while the dialog stays open.
e2e_choose_file() {
    local dialog attempt
    dialog=$(e2e_wait_window '^Select browser executable$') || e2e_fail "the file-open dialog did not appear"
    e2e_focus "$dialog"
    e2e_type "$1"
    for attempt in 1 2 3; do
        e2e_key Return
        e2e_wait_window_gone '^Select browser executable$' 4 && return 0
        # Closing late rather than not at all: no second Enter for the box.
        e2e_window_shown '^(Done|Corvant Error)$' && return 0
        if ! timeout 10 xdotool windowfocus --sync "$dialog" >/dev/null 2>&1; then
            e2e_window_shown '^Select browser executable$' || return 0
        fi
        sleep 0.2
    done
    e2e_fail "the file-open dialog did not accept $1"
}

# e2e_wait_box_after_apply TITLE: waits for the box that ends an apply,
# "Done" or "Corvant Error", and fails unless it is TITLE; E2E_BOX is its id.
e2e_wait_box_after_apply() {
    E2E_BOX=$(e2e_wait_window '^(Done|Corvant Error)$') || e2e_fail "no box appeared after the apply"
    [ "$(xdotool getwindowname "$E2E_BOX")" = "$1" ] || e2e_fail "the box \"$1\" did not appear, another did"
}

# Wait for the success box and close it; an error box is a failure.
e2e_expect_success_box() {
    e2e_wait_box_after_apply Done
    e2e_expect_static_text Done "Changes submitted to registry."
    e2e_focus "$E2E_BOX"
    e2e_key Return
    e2e_wait_window_gone '^Done$' 10 || e2e_fail "the success box did not close"
    e2e_focus "$E2E_MAIN"
}

# Leave through "E&xit" after another program took Wine's foreground: the
# main dialog is given the keyboard back until Exit ends the program (three
# tries).
e2e_exit_program_regaining_keyboard() {
    local attempt
    for attempt in 1 2 3; do
        e2e_activate "$E2E_MAIN"
        e2e_key alt+x
        e2e_program_ended 5 && return 0
    done
    e2e_fail "Exit did not end the program"
}

# Leave through "E&xit" and make sure the program ends.
e2e_exit_program() {
    e2e_focus "$E2E_MAIN"
    e2e_key alt+x
    e2e_wait_program_end
}

# What a window shows, as printed by window_text (see window_text.cpp).
e2e_window_text() {
    [ -n "$E2E_WINDOW_TEXT" ] && [ -f "$E2E_WINDOW_TEXT" ] || e2e_fail "window_text has not been built"
    timeout 60 wine "$E2E_WINDOW_TEXT" "$1" </dev/null 2>/dev/null | tr -d '\r'
}

# e2e_expect_static_text TITLE TEXT: the window shows TEXT in one static control.
e2e_expect_static_text() {
    local shown
    shown=$(e2e_window_text "$1")
    printf '%s\n' "$shown" | awk -F '\t' -v want="$2" '$1 == "Static" && $4 == want { found = 1 } END { exit !found }' || {
        printf '%s\n' "$shown" >"$E2E_RUN/last-window.txt"
        e2e_fail "\"$1\" does not show: $2 (controls in $E2E_RUN/last-window.txt)"
    }
}

# e2e_wait_control_enabled TITLE ID [SECONDS]
e2e_wait_control_enabled() {
    local i
    for i in $(seq "${3:-$E2E_WAIT}"); do
        e2e_window_text "$1" | awk -F '\t' -v id="$2" '$2 == id && $3 == "enabled" { found = 1 } END { exit !found }' &&
            return 0
        sleep 1
    done
    return 1
}

# --- The registry, read through Wine's own reg tool ---

e2e_reg() {
    timeout 60 wine reg "$@" </dev/null 2>/dev/null | tr -d '\r'
}

e2e_key_exists() {
    timeout 60 wine reg query "HKCR\\$1" </dev/null >/dev/null 2>&1
}

e2e_delete_key() {
    timeout 60 wine reg delete "HKCR\\$1" /f </dev/null >/dev/null 2>&1
    ! e2e_key_exists "$1" || e2e_fail "could not delete HKCR\\$1"
}

# e2e_set_value KEY NAME TYPE DATA (NAME "" is the default value)
e2e_set_value() {
    if [ -z "$2" ]; then
        timeout 60 wine reg add "HKCR\\$1" /ve /t "$3" /d "$4" /f </dev/null >/dev/null 2>&1
    else
        timeout 60 wine reg add "HKCR\\$1" /v "$2" /t "$3" /d "$4" /f </dev/null >/dev/null 2>&1
    fi || e2e_fail "could not set $2 of HKCR\\$1"
}

# Dump a key and everything below it as lines "KEY<TAB>NAME<TAB>TYPE<TAB>DATA"
# (keys relative to HKEY_CLASSES_ROOT, "(Default)" for the default value); a
# key without values gives one line "KEY<TAB>-".
e2e_dump_key() {
    e2e_reg query "HKCR\\$1" /s | awk '
        function flush() { if (key != "" && !valued) printf "%s\t-\n", key }
        /^HKEY_CLASSES_ROOT\\/ { flush(); key = substr($0, 19); valued = 0; next }
        /^    / {
            line = substr($0, 5)
            n = split(line, part, "    ")
            name = part[1]; type = part[2]; data = ""
            for (i = 3; i <= n; i++) data = data (i > 3 ? "    " : "") part[i]
            printf "%s\t%s\t%s\t%s\n", key, name, type, data
            valued = 1
        }
        END { flush() }'
}

# Export keys (with everything below them) into one comparable text file.
e2e_export_keys() {
    local out=$1 key part
    shift
    : >"$out"
    for key in "$@"; do
        part=$E2E_RUN/export.reg
        rm -f "$part"
        if timeout 60 wine reg export "HKCR\\$key" "$(winepath_of "$part")" /y </dev/null >/dev/null 2>&1; then
            iconv -f UTF-16 -t UTF-8 "$part" | tr -d '\r' >>"$out"
        else
            printf '[absent %s]\n' "$key" >>"$out"
        fi
    done
}

# A Unix path as the Windows programs of the prefix see it (drive Z maps /).
winepath_of() {
    printf 'Z:%s\n' "$(printf '%s' "$1" | tr '/' '\\')"
}

# The keys below HKEY_CLASSES_ROOT that the program writes.
E2E_PROGRAM_KEYS=(.html .htm htmlfile http https ftp gopher)

# Check one class as a complete run leaves it: every nested key, and the
# description, icon, command and DDE values (none when SERVER is empty).
e2e_check_class() {
    local class=$1 description=$2 icon=$3 command=$4 server=$5 dump
    dump=$(e2e_dump_key "$class") || true
    e2e_expect_line "$dump" "$class	(Default)	REG_SZ	$description"
    e2e_expect_line "$dump" "$class	EditFlags	REG_DWORD	0x2"
    e2e_expect_line "$dump" "$class	URL Protocol	REG_SZ	"
    e2e_expect_line "$dump" "$class\\DefaultIcon	(Default)	REG_SZ	$icon"
    e2e_expect_line "$dump" "$class\\shell	(Default)	REG_SZ	open"
    e2e_expect_key "$dump" "$class\\shell\\open"
    e2e_expect_line "$dump" "$class\\shell\\open\\command	(Default)	REG_SZ	$command"
    if [ -z "$server" ]; then
        # Other browsers: no DDE settings at all.
        if printf '%s\n' "$dump" | grep -qi 'ddeexec'; then
            printf '%s\n' "$dump" >"$E2E_RUN/last-dump.txt"
            e2e_fail "HKCR\\$class has DDE settings (dump in $E2E_RUN/last-dump.txt)"
        fi
        return
    fi
    e2e_expect_line "$dump" "$class\\shell\\open\\ddeexec	(Default)	REG_SZ	%1"
    e2e_expect_line "$dump" "$class\\shell\\open\\ddeexec\\Application	(Default)	REG_SZ	$server"
    e2e_expect_line "$dump" "$class\\shell\\open\\ddeexec\\Topic	(Default)	REG_SZ	WWW_OpenURL"
}

# Check the four protocol classes, each as a complete run leaves it.
e2e_check_protocols() {
    local icon=$1 command=$2 server=$3
    e2e_check_class http "URL:HyperText Transfer Protocol" "$icon" "$command" "$server"
    e2e_check_class https "URL:HyperText Transfer Protocol with Privacy" "$icon" "$command" "$server"
    e2e_check_class ftp "URL:File Transfer Protocol" "$icon" "$command" "$server"
    e2e_check_class gopher "URL:Gopher Protocol" "$icon" "$command" "$server"
}

# Check everything an apply with every name selected writes.
e2e_check_everything_written() {
    local icon=$1 command=$2 server=$3
    e2e_check_extension .html
    e2e_check_extension .htm
    e2e_check_class htmlfile "HyperText Document" "$icon" "$command" "$server"
    e2e_check_protocols "$icon" "$command" "$server"
}

e2e_check_extension() {
    local dump
    dump=$(e2e_dump_key "$1") || true
    e2e_expect_line "$dump" "$1	(Default)	REG_SZ	htmlfile"
    e2e_expect_line "$dump" "$1	Content Type	REG_SZ	text/html"
}

e2e_expect_key() {
    printf '%s\n' "$1" | cut -f 1 | grep -qxF -- "$2" || {
        printf '%s\n' "$1" >"$E2E_RUN/last-dump.txt"
        e2e_fail "registry key not found: HKCR\\$2 (dump in $E2E_RUN/last-dump.txt)"
    }
}

e2e_expect_line() {
    printf '%s\n' "$1" | grep -qxF -- "$2" || {
        printf '%s\n' "$1" >"$E2E_RUN/last-dump.txt"
        e2e_fail "registry line not found: $(printf '%s' "$2" | tr '\t' '|') (dump in $E2E_RUN/last-dump.txt)"
    }
}
