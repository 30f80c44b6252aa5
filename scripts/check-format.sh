#!/usr/bin/env bash
# Fails, naming the files, when a C++ source in the repository is not laid out
# as .clang-format says. With --fix, reformats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "clang-format is not installed (scripts/setup.sh test)" >&2; exit 1; }

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t sources < <(git ls-files -- '*.cpp' '*.h')
else
    mapfile -t sources < <(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -type f -print | sort)
fi
if [ "${1:-}" = "--fix" ]; then
    clang-format -i "${sources[@]}"
    exit 0
fi

# One run over every file; each departure is reported as "FILE:LINE:COL: error: ...".
if report=$(clang-format --dry-run -Werror "${sources[@]}" 2>&1); then
    echo "all ${#sources[@]} sources formatted"
    exit 0
fi
mapfile -t unformatted < <(sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: .*/\1/p' <<<"$report" | sort -u)
if [ ${#unformatted[@]} -eq 0 ]; then
    printf 'clang-format failed:\n%s\n' "$report" >&2
    exit 1
fi
echo "Not formatted as .clang-format says (fix with scripts/check-format.sh --fix):" >&2
printf '  %s\n' "${unformatted[@]}" >&2
exit 1
