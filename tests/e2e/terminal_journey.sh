#!/bin/bash
# Journey through the terminal program in tmux, against a scratch store:
# choose "Internet Explorer", "&Specify location...", type a full path with a
# space into the file chooser, see "Done", close it, Exit. The screens show
# the dialogs' texts, and the store holds every key and value afterwards.
#   terminal_journey.sh CORVANT WORKDIR
set -u
program=$1
work=$2
name=terminal-journey
if [ ! -x "$program" ]; then
    printf '%s: SKIP: %s has not been built\n' "$name" "$program"
    exit 77
fi
command -v tmux >/dev/null 2>&1 || { printf '%s: FAIL: tmux is not installed\n' "$name"; exit 1; }

run=$work/$name
rm -rf "$run"
mkdir -p "$run/data" "$run/Corvant Browsers"
store=$run/data/corvant/registry.reg
browser="$run/Corvant Browsers/IEXPLORE.EXE"
printf '#!/bin/sh\nexit 0\n' >"$browser"
chmod +x "$browser"

socket=corvant-e2e-$$
session=journey
cleanup() {
    local status=$?
    trap - EXIT INT TERM
    tmux -L "$socket" kill-server >/dev/null 2>&1
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
    printf '%s: FAIL: %s\n' "$name" "$*"
    screen >"$run/failure-screen.txt" 2>/dev/null &&
        printf '%s: last screen in %s\n' "$name" "$run/failure-screen.txt"
    exit 1
}

screen() { tmux -L "$socket" capture-pane -p -t "$session"; }

keys() {
    tmux -L "$socket" send-keys -t "$session" "$@" || fail "tmux send-keys $*"
    sleep 0.2
}

# wait_for TEXT [SECONDS]: until the screen shows TEXT.
wait_for() {
    local i
    for i in $(seq $((${2:-20} * 10))); do
        screen | grep -qF -- "$1" && return 0
        sleep 0.1
    done
    fail "the screen never showed: $1"
}

wait_gone() {
    local i
    for i in $(seq $((${2:-20} * 10))); do
        screen | grep -qF -- "$1" || return 0
        sleep 0.1
    done
    fail "the screen still shows: $1"
}

# The program's exit status is written once it ends; the pane then stays
# open for a bounded time so that its last screen can be read.
tmux -L "$socket" -f /dev/null new-session -d -s "$session" -x 100 -y 40 \
    "env XDG_DATA_HOME='$run/data' '$program' 2>'$run/stderr.txt'; echo \$? >'$run/exit-status'; sleep 120" ||
    fail "could not start tmux"

wait_for "Corvant 1.2 by"
main=$(screen)
for text in "Step 1 - Browser type" "Netscape" "Internet Explorer" "Other browsers" \
    "Step 2 (optional)" "Preferences" "Step 3 - Browser's EXE" "Auto find" \
    "Specify location..." "Test default browser" "Exit"; do
    printf '%s\n' "$main" | grep -qF -- "$text" || fail "the main dialog does not show: $text"
done
printf '%s\n' "$main" >"$run/main-screen.txt"

keys Down
wait_for "(*) Internet Explorer"
keys M-s
wait_for "Select browser executable"
keys -l "$browser"
keys Enter
wait_for "Changes submitted to registry."
screen | grep -qF -- "Done" || fail "the success box has no title Done"
keys Enter
wait_gone "Changes submitted to registry."
keys M-x
for i in $(seq 100); do
    [ -s "$run/exit-status" ] && break
    sleep 0.1
done
[ -s "$run/exit-status" ] || fail "the program did not end after Exit"
[ "$(cat "$run/exit-status")" = 0 ] || fail "the program ended with status $(cat "$run/exit-status")"
[ ! -s "$run/stderr.txt" ] || fail "the program reported: $(cat "$run/stderr.txt")"

# --- The store: REGEDIT4 text, one [key] section per key ---
[ -f "$store" ] || fail "no store at $store"

# expect KEY LINE: the section of KEY (below HKEY_CLASSES_ROOT) holds LINE.
expect() {
    # Through the environment: awk -v would take the backslashes as escapes.
    SECTION="[HKEY_CLASSES_ROOT\\$1]" WANT="$2" awk '
        BEGIN { section = ENVIRON["SECTION"]; want = ENVIRON["WANT"] }
        { sub(/\r$/, "") }
        /^\[/ { inside = ($0 == section); seen = seen || inside; next }
        inside && $0 == want { found = 1 }
        END { exit !(found || (want == "" && seen)) }' "$store" ||
        fail "the store's [$1] lacks: ${2:-the key itself}"
}

# In the store a string is quoted and its backslashes and quotes escaped.
quoted=$(printf '%s' "$browser" | sed -e 's/\\/\\\\/g' -e 's/"/\\"/g')
for extension in .html .htm; do
    expect "$extension" '@="htmlfile"'
    expect "$extension" '"Content Type"="text/html"'
done
while IFS='|' read -r class description; do
    expect "$class" "@=\"$description\""
    expect "$class" '"EditFlags"=dword:00000002'
    expect "$class" '"URL Protocol"=""'
    expect "$class\\DefaultIcon" "@=\"$quoted,0\""
    expect "$class\\shell" ""
    expect "$class\\shell\\open" ""
    expect "$class\\shell\\open\\command" "@=\"\\\"$quoted\\\" \\\"%1\\\"\""
    expect "$class\\shell\\open\\ddeexec" '@="%1"'
    expect "$class\\shell\\open\\ddeexec\\Application" '@="IExplore"'
    expect "$class\\shell\\open\\ddeexec\\Topic" '@="WWW_OpenURL"'
done <<'EOF'
htmlfile|HyperText Document
http|URL:HyperText Transfer Protocol
https|URL:HyperText Transfer Protocol with Privacy
ftp|URL:File Transfer Protocol
gopher|URL:Gopher Protocol
EOF
printf '%s: PASS\n' "$name"
