#!/usr/bin/env bash
# Builds the terminal edition of Corvant and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh start
cmake --preset native >/dev/null
cmake --build --preset native --target corvant >/dev/null
exec build/native/ui/corvant
