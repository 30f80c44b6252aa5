#!/usr/bin/env bash
# The same settings applied (a) by the native build into its store file,
# imported under Wine with regedit /S, and (b) by the Windows build under
# Wine, must give the same keys, value names, types and bytes.
#   interop.sh NATIVE_APPLY_TOOL WINDOWS_APPLY_TOOL WINE_RUN PREFIX SCRATCH
set -euo pipefail
native_tool=$1 windows_tool=$2 wine_run=$3 prefix=$4 scratch=$5

if [ ! -x "$native_tool" ]; then
    echo "SKIP: the native build's apply_tool is missing ($native_tool); build the native preset first"
    exit 77
fi

rm -rf "$scratch"
mkdir -p "$scratch/xdg"
keys=(.html .htm htmlfile http https ftp gopher)
path='C:\Program Files\Interop Browser\BROWSER.EXE'

# The apply wants a file there: natively below the tool's current directory,
# under Wine on drive C.
for c_drive in "$scratch/native/C:" "$prefix/drive_c"; do
    mkdir -p "$c_drive/Program Files/Interop Browser"
    touch "$c_drive/Program Files/Interop Browser/BROWSER.EXE"
done

winpath() { printf 'Z:%s' "${1//\//\\}"; }
wine_do() { "$wine_run" "$prefix" "$@" </dev/null; }

clear_keys() {
    for key in "${keys[@]}"; do wine_do reg delete "HKCR\\$key" /f >/dev/null 2>&1 || true; done
}

export_keys() {
    local into=$1
    mkdir -p "$into"
    for key in "${keys[@]}"; do
        wine_do reg export "HKCR\\$key" "$(winpath "$into/$key.reg")" /y >/dev/null
    done
}

for browser in ie other; do
    clear_keys
    (cd "$scratch/native" && XDG_DATA_HOME="$scratch/xdg" "$native_tool" "$path" "$browser")
    store="$scratch/xdg/corvant/registry.reg"
    wine_do regedit /S "$(winpath "$store")"
    export_keys "$scratch/$browser-native"
    rm -f "$store"

    clear_keys
    wine_do "$windows_tool" "$path" "$browser"
    export_keys "$scratch/$browser-windows"
    clear_keys

    for key in "${keys[@]}"; do
        if ! cmp -s "$scratch/$browser-native/$key.reg" "$scratch/$browser-windows/$key.reg"; then
            echo "FAIL ($browser): HKCR\\$key differs between the native store and the Windows build"
            diff <(iconv -f UTF-16LE -t UTF-8 "$scratch/$browser-native/$key.reg") \
                 <(iconv -f UTF-16LE -t UTF-8 "$scratch/$browser-windows/$key.reg") || true
            exit 1
        fi
    done
    # Guard against comparing two empty exports.
    if ! iconv -f UTF-16LE -t UTF-8 "$scratch/$browser-windows/http.reg" | grep -q 'BROWSER.EXE'; then
        echo "FAIL ($browser): nothing was written"
        exit 1
    fi
done
echo "the native store and the Windows build wrote the same keys and values"
