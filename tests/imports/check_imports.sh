#!/bin/sh
# Checks that a 32-bit Windows program starts on Windows XP SP3: its PE
# header asks for Windows 5.1 at most, and every function that it imports is
# in the list of known functions, none of them newer than Windows XP. Also
# that every DLL it imports is a KnownDLL, which no DLL planted beside the
# program can stand in for.
#   check_imports.sh OBJDUMP PROGRAM LIST KNOWN_DLLS
# LIST has one function a line: DLL, function and the oldest Windows client
# that Microsoft's documentation gives for it, separated by tabs. KNOWN_DLLS
# has one DLL name a line.
set -eu
objdump=$1
program=$2
list=$3
known=$4

header=$("$objdump" -p "$program") || { echo "cannot read $program" >&2; exit 1; }
status=0

version() { printf '%s\n' "$header" | awk -v field="$1" '$1 == field { print $2; exit }'; }
for kind in Subsystem OSystem; do
    major=$(version "Major${kind}Version")
    minor=$(version "Minor${kind}Version")
    if [ -z "$major" ] || [ "$major" -gt 5 ] || { [ "$major" -eq 5 ] && [ "$minor" -gt 1 ]; }; then
        echo "the PE header asks for $kind version $major.$minor; Windows XP is 5.1"
        status=1
    fi
done

# "DLL function" for each import, DLL names in upper case; a function
# imported by ordinal alone shows as "DLL #ordinal".
imports=$(printf '%s\n' "$header" | awk '
    /^\tDLL Name: / { dll = toupper($3); next }
    /^$/ || /^ [0-9a-f]+\t/ { next }
    dll != "" && /^\t[0-9a-f]+\t/ {
        if (NF >= 3 && $3 != "<none>") print dll, $3
        else print dll, "#" $2
    }' | sort -u)
[ -n "$imports" ] || { echo "no imports found in $program" >&2; exit 1; }

problems=$(printf '%s\n' "$imports" | awk -F '\t' -v OFS='\t' '
    NR == FNR {
        if ($0 ~ /^#/ || NF < 3) next
        oldest[toupper($1) " " $2] = $3
        next
    }
    {
        if (!($0 in oldest)) { print $0 ": not in the list"; next }
        v = oldest[$0]
        if (v !~ /^(95|98|NT 4|2000|XP|XP SP1|XP SP2|XP SP3)$/) print $0 ": needs Windows " v
    }' "$list" -)
unknown=$(printf '%s\n' "$imports" | awk 'NR == FNR { if ($0 !~ /^#/ && NF > 0) known[toupper($1)] = 1; next }
    !($1 in known) && !($1 in told) { print $1 ": not a KnownDLL, so looked for beside the program first"; told[$1] = 1 }
    ' "$known" -)
problems=$(printf '%s\n%s\n' "$problems" "$unknown" | sed '/^$/d')
if [ -n "$problems" ]; then
    printf '%s\n' "$problems"
    status=1
fi
count=$(printf '%s\n' "$imports" | wc -l)
if [ $status -eq 0 ]; then
    echo "$count imports, all of them on Windows XP and from KnownDLLs; PE header 5.1 or older"
else
    echo "$(basename "$program") would not start on Windows XP SP3, or imports from a DLL that can be planted ($count imports checked)"
fi
exit $status
