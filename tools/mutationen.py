#!/usr/bin/env python3
"""Runs the test suite once per source mutation and tells which mutations it catches.

A mutation is a line of a list (tools/mutationen-*.txt):
    file | original text | replacement [| ctest name pattern]
The original text must occur exactly once in the file; "\n" in it stands for a
line break; "#" starts a comment line. The optional pattern limits the run to the
tests whose names match it (ctest -R), for speed; without it the whole suite runs.
Each mutation is applied, the build directory rebuilt and ctest run; the file is
restored afterwards, also on Ctrl+C. A mutation whose build fails counts as caught
by the compiler. Output: one line per mutation, "caught" or "SURVIVED", and a total.

Usage: tools/mutationen.py [BUILD_DIR] [--liste FILE]... [--nur TEXT] [--ctest-args "..."]
"""
import argparse
import re
import os
import subprocess
import sys
import time

wurzel = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def lesen(liste):
    mutationen = []
    with open(liste, encoding="utf-8") as f:
        for nr, zeile in enumerate(f, 1):
            zeile = zeile.rstrip("\n")
            if not zeile.strip() or zeile.lstrip().startswith("#"):
                continue
            teile = [t.strip() for t in zeile.split(" | ")]
            if len(teile) not in (3, 4):
                sys.exit(f"{liste}:{nr}: expected 'file | original | replacement [| tests]'")
            mutationen.append((nr, teile[0], teile[1], teile[2], teile[3] if len(teile) == 4 else ""))
    return mutationen


def ziele(build, muster):
    """The build targets the selected tests need: each test's executable, and
    the program itself, which the start-up and end-to-end tests run."""
    if not muster:
        return []
    t = subprocess.run(["ctest", "-N", "-R", muster], cwd=build, capture_output=True, text=True)
    # ctest pads the number: "Test  #1: name", "Test #12: name".
    namen = [z.split(": ", 1)[1].strip() for z in t.stdout.splitlines() if re.match(r"\s*Test\s+#\d+: ", z)]
    if not namen or any(n.startswith("build/") for n in namen):
        return []
    return sorted({n.rsplit("/", 1)[-1] for n in namen}) + ["cardforge"]


def main():
    a = argparse.ArgumentParser()
    a.add_argument("build", nargs="?", default=os.path.join(wurzel, "build"))
    a.add_argument("--liste", action="append", help="list file (repeatable); default: every tools/mutationen-*.txt")
    a.add_argument("--nur", default="", help="only mutations whose file contains this text")
    a.add_argument("--ctest-args", default="-j2 --stop-on-failure")
    args = a.parse_args()

    listen = args.liste or sorted(
        os.path.join(wurzel, "tools", d) for d in os.listdir(os.path.join(wurzel, "tools"))
        if d.startswith("mutationen-") and d.endswith(".txt"))
    mutationen = [m for liste in listen for m in lesen(liste)]
    ergebnisse = []
    for nr, datei, alt, neu, muster in mutationen:
        if args.nur and args.nur not in datei:
            continue
        pfad = os.path.join(wurzel, datei)
        with open(pfad, encoding="utf-8") as f:
            original = f.read()
        # "\n" in a mutation stands for a line break.
        alt_t, neu_t = alt.replace("\\n", "\n"), neu.replace("\\n", "\n")
        if original.count(alt_t) != 1:
            print(f"{nr:4} {datei}: original found {original.count(alt_t)} times, skipped", flush=True)
            ergebnisse.append((nr, "skipped"))
            continue
        start = time.time()
        try:
            with open(pfad, "w", encoding="utf-8") as f:
                f.write(original.replace(alt_t, neu_t))
            # Only what the selected tests run is rebuilt; on this shared machine a
            # whole build per mutation takes minutes.
            zl = ziele(args.build, muster)
            bau = subprocess.run(["cmake", "--build", args.build] + (["--target"] + zl if zl else []),
                                 capture_output=True, text=True)
            if bau.returncode != 0:
                urteil = "caught (build)"
            else:
                auswahl = ["-R", muster] if muster else []
                t = subprocess.run(["ctest", "--no-tests=error"] + args.ctest_args.split() + auswahl,
                                   cwd=args.build, capture_output=True, text=True)
                urteil = "caught" if t.returncode != 0 else "SURVIVED"
        finally:
            with open(pfad, "w", encoding="utf-8") as f:
                f.write(original)
        dauer = time.time() - start
        print(f"{nr:4} {urteil:15} {datei}: {alt[:60]!r} -> {neu[:40]!r} ({dauer:.0f} s)", flush=True)
        ergebnisse.append((nr, urteil))
    # Back to the unmutated build.
    subprocess.run(["cmake", "--build", args.build], capture_output=True)
    gefangen = sum(1 for _, u in ergebnisse if u.startswith("caught"))
    ueberlebt = [nr for nr, u in ergebnisse if u == "SURVIVED"]
    print(f"caught {gefangen} of {len(ergebnisse)}; survived: {ueberlebt}")


if __name__ == "__main__":
    main()
