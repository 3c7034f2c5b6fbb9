#!/usr/bin/env bash
# Formats every tracked .cpp and .h file in place with the project's
# .clang-format (clang-format 14, installed by "scripts/deps.sh format").
# Usage: scripts/format.sh [--check]
#   --check  changes nothing; lists the files the formatting would change and
#            exits with 1 when there are any.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh format
format=$(command -v clang-format-14 || command -v clang-format)

mapfile -d '' dateien < <(git ls-files -z -- '*.cpp' '*.h')
if [ "${1:-}" = --check ]; then
    abweichend=0
    for d in "${dateien[@]}"; do
        if ! "$format" --style=file "$d" | cmp -s - "$d"; then
            echo "$d"
            abweichend=1
        fi
    done
    exit "$abweichend"
fi
"$format" -i --style=file "${dateien[@]}"
