#!/usr/bin/env bash
# Proof under sanitizers, run after the normal tests:
#  1. the whole test suite built with gcc's AddressSanitizer and
#     UndefinedBehaviorSanitizer in build-asan/ and run by ctest with leak
#     detection (suppressions: scripts/lsan.supp);
#  2. the libFuzzer targets of fuzz/ built with clang in build-fuzz/, each run for
#     a fixed time on its seed corpus in fuzz/corpus/ (new inputs go to
#     build-fuzz/korpus/, findings to build-fuzz/funde/).
# Usage: scripts/pruefen.sh [seconds per fuzzer, default 30]
# Every step runs even when an earlier one failed. The last line is either
# "PRUEFEN OK" or "PRUEFEN FEHLGESCHLAGEN: <steps>"; the exit status is 0 only
# with "PRUEFEN OK".
set -uo pipefail
cd "$(dirname "$0")/.."
wurzel=$PWD
sekunden=${1:-30}
fuzzer=(fuzz_adiffeld fuzz_satzparsen fuzz_dateiladen fuzz_layoutlisten fuzz_zahlen)
fehler=()
beginn=$SECONDS

abschnitt() { printf '\n=== %s\n' "$*"; }

if ! scripts/deps.sh pruefen; then
    echo "PRUEFEN FEHLGESCHLAGEN: Pakete"
    exit 1
fi

export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$wurzel/scripts/lsan.supp"

abschnitt "Testsuite unter ASan und UBSan (gcc, build-asan/)"
if cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCARDFORGE_SANITIZE=ON >/dev/null \
    && cmake --build build-asan -j2; then
    (cd build-asan && ctest --output-on-failure --no-tests=error -j2) || fehler+=(asan-tests)
else
    fehler+=(asan-build)
fi

abschnitt "Fuzzer (clang, build-fuzz/), je ${sekunden} s"
if cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
        -DCARDFORGE_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null \
    && cmake --build build-fuzz -j2 --target cardforge_fuzzer; then
    mkdir -p build-fuzz/funde
    for f in "${fuzzer[@]}"; do
        mkdir -p "build-fuzz/korpus/$f"
        log="build-fuzz/$f.log"
        # The seed corpus comes second, so new inputs never land in the source tree.
        "build-fuzz/fuzz/$f" "build-fuzz/korpus/$f" "fuzz/corpus/$f" -max_total_time="$sekunden" -timeout=10 \
            -rss_limit_mb=2560 -print_final_stats=1 -artifact_prefix="build-fuzz/funde/$f-" >"$log" 2>&1
        rc=$?
        laeufe=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        if [ "$rc" -eq 0 ]; then
            echo "$f: ${laeufe:-?} Läufe, ohne Befund"
        else
            echo "$f: Befund nach ${laeufe:-?} Läufen (Exit $rc), Eingabe in build-fuzz/funde/:"
            grep -v -E '^#[0-9]+[[:space:]]+(NEW|REDUCE|pulse|RELOAD)' "$log" | tail -n 60
            fehler+=("$f")
        fi
    done
else
    fehler+=(fuzz-build)
fi

dauer=$((SECONDS - beginn))
echo
if [ ${#fehler[@]} -eq 0 ]; then
    echo "Dauer: ${dauer} s"
    echo "PRUEFEN OK"
else
    echo "Dauer: ${dauer} s"
    echo "PRUEFEN FEHLGESCHLAGEN: ${fehler[*]}"
    exit 1
fi
