#!/bin/bash
# Renews the README's pictures of the main dialog:
#   docs/main-dialog-wine.png      corvant.exe under Wine (Xvfb, Wine's own
#                                  desktop window, so the caption is drawn)
#   docs/main-dialog-terminal.png  the terminal program in tmux, its screen
#                                  drawn with its colours and lines in a
#                                  monospace font (tools/terminal_picture.py)
# Usage: tools/screenshots.sh [WINDOWS_BUILD_DIR [NATIVE_BUILD_DIR]]
# (defaults build/windows and build/native; build both first).
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
windowsBuild=$(realpath -m "${1:-$root/build/windows}")
nativeBuild=$(realpath -m "${2:-$root/build/native}")
exe=$windowsBuild/ui/corvant.exe
program=$nativeBuild/ui/corvant
docs=$root/docs
font=/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf
boldFont=/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf

for tool in wine wineboot wineserver Xvfb import convert tmux python3; do
    command -v "$tool" >/dev/null 2>&1 || { echo "screenshots: $tool is not installed" >&2; exit 1; }
done
[ -f "$exe" ] || { echo "screenshots: build $exe first" >&2; exit 1; }
[ -x "$program" ] || { echo "screenshots: build $program first" >&2; exit 1; }
for file in "$font" "$boldFont"; do
    [ -f "$file" ] || { echo "screenshots: the DejaVu Sans Mono font is missing ($file)" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/corvant-screenshots.XXXXXX")
socket=corvant-shots-$$
xvfb=""
cleanup() {
    trap - EXIT INT TERM
    [ -d "$work/prefix" ] && WINEPREFIX=$work/prefix timeout 20 wineserver -k >/dev/null 2>&1
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    tmux -L "$socket" kill-server >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
mkdir -p "$docs" "$work/home" "$work/data"

# --- Under Wine ---
: >"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for i in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { echo "screenshots: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(head -n 1 "$work/display")
export WINEPREFIX=$work/prefix HOME=$work/home WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
timeout 240 wineboot -i >/dev/null 2>&1
timeout 60 wineserver -w
"$root/tests/wine/wine-fonts" "$WINEPREFIX" || exit 1
(cd "$work" && exec wine explorer /desktop=Corvant,640x480 "$exe" </dev/null >/dev/null 2>&1) &

# The picture is taken once the dialog is drawn and the screen stands still.
previous=""
shot=""
for i in $(seq 60); do
    sleep 1
    import -window root -crop 640x480+0+0 +repage "$work/wine.png" 2>/dev/null || continue
    size=$(convert "$work/wine.png" -trim -format '%w %h' info: 2>/dev/null)
    sum=$(md5sum <"$work/wine.png")
    if [ "$sum" = "$previous" ] && [ "${size%% *}" -gt 200 ] 2>/dev/null; then
        shot=$work/wine.png
        break
    fi
    previous=$sum
done
[ -n "$shot" ] || { echo "screenshots: the main dialog did not appear under Wine" >&2; exit 1; }
# Cut away the desktop around the dialog, keeping a narrow margin of it.
convert "$shot" -trim +repage -bordercolor "$(convert "$shot" -format '%[pixel:p{0,0}]' info:)" \
    -border 12 -strip "$docs/main-dialog-wine.png" || exit 1

# --- In the terminal ---
# In a UTF-8 locale, so that the frames are box drawing; in tmux's own
# terminal type, which has colours.
tmux -L "$socket" -f /dev/null new-session -d -s shot -x 100 -y 36 \
    "env LC_ALL=C.UTF-8 XDG_DATA_HOME='$work/data' '$program'; sleep 60" || exit 1
for i in $(seq 100); do
    tmux -L "$socket" capture-pane -p -t shot | grep -qF "Corvant 1.2 by" && break
    sleep 0.1
done
sleep 0.5
tmux -L "$socket" capture-pane -p -e -N -t shot >"$work/screen.txt"
grep -qF "Corvant 1.2 by" "$work/screen.txt" || { echo "screenshots: the terminal program did not start" >&2; exit 1; }

# The screen's cells as rectangles and letters, around the dialog and its shadow.
python3 "$root/tools/terminal_picture.py" "$work/screen.txt" "$font" "$boldFont" "$work/screen.mvg" || exit 1
convert "mvg:$work/screen.mvg" -strip "$docs/main-dialog-terminal.png" || exit 1
echo "screenshots: wrote $docs/main-dialog-wine.png and $docs/main-dialog-terminal.png"
