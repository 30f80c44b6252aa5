# Shared steps of the journeys that drive the terminal program in tmux, on a
# private tmux server, against a scratch store. Sourced by the journey scripts:
#   . terminal_harness.sh
#   term_setup NAME PROGRAM WORKDIR
# Every wait is bounded; the tmux server is stopped on every way out.

term_setup() {
    TERM_NAME=$1
    TERM_PROGRAM_PATH=$2
    # The work folder is made by whichever journey runs first.
    TERM_RUN=$(mkdir -p "$3" && cd "$3" && pwd)/$1 || { printf '%s: FAIL: cannot make the folder %s\n' "$1" "$3"; exit 1; }
    if [ ! -x "$TERM_PROGRAM_PATH" ]; then
        printf '%s: SKIP: %s has not been built\n' "$TERM_NAME" "$TERM_PROGRAM_PATH"
        exit 77
    fi
    command -v tmux >/dev/null 2>&1 || { printf '%s: FAIL: tmux is not installed\n' "$TERM_NAME"; exit 1; }
    rm -rf "$TERM_RUN"
    mkdir -p "$TERM_RUN/data"
    TERM_STORE=$TERM_RUN/data/corvant/registry.reg
    TERM_SOCKET=corvant-e2e-$$
    TERM_SESSION=journey
    trap term_cleanup EXIT
    trap 'exit 130' INT TERM
}

# term_at_exit COMMAND: run COMMAND on the way out, before tmux is stopped.
term_at_exit() { TERM_AT_EXIT=$1; }

term_cleanup() {
    local status=$?
    trap - EXIT INT TERM
    [ -z "${TERM_AT_EXIT:-}" ] || eval "$TERM_AT_EXIT"
    tmux -L "$TERM_SOCKET" kill-server >/dev/null 2>&1
    exit "$status"
}

term_fail() {
    printf '%s: FAIL: %s\n' "$TERM_NAME" "$*"
    term_screen >"$TERM_RUN/failure-screen.txt" 2>/dev/null &&
        printf '%s: last screen in %s\n' "$TERM_NAME" "$TERM_RUN/failure-screen.txt"
    exit 1
}

term_screen() { tmux -L "$TERM_SOCKET" capture-pane -p -t "$TERM_SESSION"; }

term_keys() {
    tmux -L "$TERM_SOCKET" send-keys -t "$TERM_SESSION" "$@" || term_fail "tmux send-keys $*"
    sleep 0.2
}

# term_wait_for TEXT [SECONDS]: until the screen shows TEXT.
term_wait_for() {
    local i
    for i in $(seq $((${2:-20} * 10))); do
        term_screen | grep -qF -- "$1" && return 0
        sleep 0.1
    done
    term_fail "the screen never showed: $1"
}

term_wait_gone() {
    local i
    for i in $(seq $((${2:-20} * 10))); do
        term_screen | grep -qF -- "$1" || return 0
        sleep 0.1
    done
    term_fail "the screen still shows: $1"
}

# term_start_program [NAME=VALUE...]: starts the program in a 100x40 pane
# with the scratch store and these variables in its environment. Its exit
# status is written once it ends; the pane then stays open for a bounded
# time so that its last screen can be read.
term_start_program() {
    local settings="" setting
    for setting in "$@"; do settings="$settings '$setting'"; done
    rm -f "$TERM_RUN/exit-status"
    # A second start gets a server of its own: the first may still be ending.
    if [ -n "${TERM_STARTS:-}" ]; then
        tmux -L "$TERM_SOCKET" kill-server >/dev/null 2>&1
        TERM_SOCKET=corvant-e2e-$$-$TERM_STARTS
    fi
    TERM_STARTS=$((${TERM_STARTS:-0} + 1))
    tmux -L "$TERM_SOCKET" -f /dev/null new-session -d -s "$TERM_SESSION" -x 100 -y 40 \
        "env XDG_DATA_HOME='$TERM_RUN/data'$settings '$TERM_PROGRAM_PATH' 2>'$TERM_RUN/stderr.txt'; echo \$? >'$TERM_RUN/exit-status'; sleep 120" ||
        term_fail "could not start tmux"
    term_wait_for "Corvant 1.2 by"
}

# The process id of the running program (the pane's shell runs it as its child).
term_program_pid() {
    local shell
    shell=$(tmux -L "$TERM_SOCKET" display-message -p -t "$TERM_SESSION" '#{pane_pid}') || return 1
    ps -o pid= --ppid "$shell" | awk 'NR == 1 { print $1 }'
}

# Leave through "E&xit": the program ends with status 0 and said nothing on standard error.
term_exit_program() {
    term_keys M-x
    term_expect_ended "after Exit"
}

# term_expect_ended WHEN: within 10 s the program has ended with status 0,
# having said nothing on standard error.
term_expect_ended() {
    local i
    for i in $(seq 100); do
        [ -s "$TERM_RUN/exit-status" ] && break
        sleep 0.1
    done
    [ -s "$TERM_RUN/exit-status" ] || term_fail "the program did not end $1"
    [ "$(cat "$TERM_RUN/exit-status")" = 0 ] || term_fail "the program ended with status $(cat "$TERM_RUN/exit-status")"
    [ ! -s "$TERM_RUN/stderr.txt" ] || term_fail "the program reported: $(cat "$TERM_RUN/stderr.txt")"
}

# term_locate TEXT: sets TERM_COLUMN and TERM_ROW to the cell of the first
# character of TEXT's first appearance on the screen, counted from 1 as the
# terminal's mouse counts.
term_locate() {
    local row=0 line before
    # Characters, not bytes: the frames may be drawn in UTF-8.
    local LC_ALL=C.UTF-8
    while IFS= read -r line; do
        row=$((row + 1))
        case $line in
        *"$1"*)
            before=${line%%"$1"*}
            TERM_COLUMN=$((${#before} + 1))
            TERM_ROW=$row
            return 0
            ;;
        esac
    done < <(term_screen)
    term_fail "cannot click what the screen does not show: $1"
}

# term_mouse BUTTON COLUMN ROW [m]: the report an xterm sends for a mouse
# button (0 the left) pressed, or with "m" released, at a cell counted from
# 1 (SGR form).
term_mouse() {
    term_keys -l "$(printf '\033[<%d;%d;%d%s' "$1" "$2" "$3" "${4:-M}")"
}

# term_click TEXT: the left button pressed and released on TEXT's first character.
term_click() {
    term_locate "$1"
    term_mouse 0 "$TERM_COLUMN" "$TERM_ROW"
    term_mouse 0 "$TERM_COLUMN" "$TERM_ROW" m
}

# term_expect_store KEY [LINE]: the store has a section for KEY (below
# HKEY_LOCAL_MACHINE\Software\Classes, where the store writes the classes), and it
# holds LINE.
term_expect_store() {
    # Through the environment: awk -v would take the backslashes as escapes.
    SECTION="[HKEY_LOCAL_MACHINE\\Software\\Classes\\$1]" WANT="${2:-}" awk '
        BEGIN { section = ENVIRON["SECTION"]; want = ENVIRON["WANT"] }
        { sub(/\r$/, "") }
        /^\[/ { inside = ($0 == section); seen = seen || inside; next }
        inside && $0 == want { found = 1 }
        END { exit !(found || (want == "" && seen)) }' "$TERM_STORE" ||
        term_fail "the store's [$1] lacks: ${2:-the key itself}"
}
