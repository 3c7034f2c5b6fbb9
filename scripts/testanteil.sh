#!/usr/bin/env bash
# Prints how large the tests are against the program: "src N, tests M, M/N = x %".
# Counted are the lines of the *.cpp and *.h files that are neither blank nor
# comment lines (a line starting with //, /* or *): the program is src/, the
# tests are tests/ (the thin start-up in app/ and the fuzz targets in fuzz/
# are counted on neither side). The project keeps the tests at a quarter to a
# third of the program, never above 35 %.
set -euo pipefail
cd "$(dirname "$0")/.."

zeilen() {
    find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z | xargs -0 -r cat \
        | { grep -cvE '^[[:space:]]*($|//|/\*|\*)' || true; }
}

programm=$(zeilen src)
tests=$(zeilen tests)
awk -v n="$programm" -v m="$tests" 'BEGIN { printf "src %d, tests %d, M/N = %.1f %%\n", n, m, n ? 100 * m / n : 0 }'
