#!/bin/bash
# Journey through the terminal program in tmux, against a scratch store:
# choose "Internet Explorer", "&Specify location...", type a full path with a
# space into the file chooser, see "Done", close it, Exit. The screens show
# the dialogs' texts, and the store holds every key and value afterwards.
#   terminal_journey.sh CORVANT WORKDIR
set -u
. "$(dirname "$0")/terminal_harness.sh"
term_setup terminal-journey "$1" "$2"

mkdir -p "$TERM_RUN/Corvant Browsers"
browser="$TERM_RUN/Corvant Browsers/IEXPLORE.EXE"
printf '#!/bin/sh\nexit 0\n' >"$browser"
chmod +x "$browser"

term_start_program
main=$(term_screen)
for text in "Step 1 - Browser type" "Netscape" "Internet Explorer" "Other browsers" \
    "Step 2 (optional)" "Preferences" "Step 3 - Browser's E" "Auto find" \
    "Specify location..." "Test default browser" "Exit"; do
    printf '%s\n' "$main" | grep -qF -- "$text" || term_fail "the main dialog does not show: $text"
done
printf '%s\n' "$main" >"$TERM_RUN/main-screen.txt"

term_keys Down
term_wait_for "(*) Internet Explorer"
term_keys M-s
term_wait_for "Select browser executable"
term_keys -l "$browser"
term_keys Enter
term_wait_for "Changes submitted to registry."
term_screen | grep -qF -- "Done" || term_fail "the success box has no title Done"
term_keys Enter
term_wait_gone "Changes submitted to registry."
term_exit_program

# --- The store: REGEDIT4 text, one [key] section per key ---
[ -f "$TERM_STORE" ] || term_fail "no store at $TERM_STORE"

# In the store a string is quoted and its backslashes and quotes escaped.
quoted=$(printf '%s' "$browser" | sed -e 's/\\/\\\\/g' -e 's/"/\\"/g')
for extension in .html .htm; do
    term_expect_store "$extension" '@="htmlfile"'
    term_expect_store "$extension" '"Content Type"="text/html"'
done
while IFS='|' read -r class description; do
    term_expect_store "$class" "@=\"$description\""
    term_expect_store "$class" '"EditFlags"=dword:00000002'
    term_expect_store "$class" '"URL Protocol"=""'
    term_expect_store "$class\\DefaultIcon" "@=\"$quoted,0\""
    term_expect_store "$class\\shell" ""
    term_expect_store "$class\\shell\\open" ""
    term_expect_store "$class\\shell\\open\\command" "@=\"\\\"$quoted\\\" \\\"%1\\\"\""
    term_expect_store "$class\\shell\\open\\ddeexec" '@="%1"'
    term_expect_store "$class\\shell\\open\\ddeexec\\Application" '@="IExplore"'
    term_expect_store "$class\\shell\\open\\ddeexec\\Topic" '@="WWW_OpenURL"'
done <<'EOF'
htmlfile|HyperText Document
http|URL:HyperText Transfer Protocol
https|URL:HyperText Transfer Protocol with Privacy
ftp|URL:File Transfer Protocol
gopher|URL:Gopher Protocol
EOF
printf '%s: PASS\n' "$TERM_NAME"
