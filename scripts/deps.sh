#!/usr/bin/env bash
# Installs what Cardforge needs to build, run and test on Debian 12, and only what
# is missing. Usage: scripts/deps.sh [build|test|pruefen|format|screenshots]
# build also brings what "cpack -G DEB" needs. pruefen: what the test mode
# needs, and clang with its sanitizer and libFuzzer runtimes for
# scripts/pruefen.sh. format: clang-format for scripts/format.sh.
# screenshots: a display of its own, a remote hand and a camera for
# scripts/screenshots.sh.
set -euo pipefail

# Qt's own texts (file and print dialogs, standard buttons) come in German
# from qt6-translations-l10n; dpkg-dev gives cpack the tools for the .deb.
pakete=(qt6-base-dev qt6-image-formats-plugins qt6-translations-l10n fonts-liberation build-essential cmake ninja-build
        dpkg-dev)
if [ "${1:-build}" = test ] || [ "${1:-build}" = pruefen ]; then
    # The printer test starts a CUPS server of its own with a cups-pdf queue.
    pakete+=(xvfb xauth xdotool poppler-utils cups printer-driver-cups-pdf)
fi
if [ "${1:-build}" = pruefen ]; then
    pakete+=(clang libclang-rt-14-dev)
fi
if [ "${1:-build}" = screenshots ]; then
    pakete+=(xvfb xauth xdotool imagemagick bc)
fi
if [ "${1:-build}" = format ]; then
    pakete=(clang-format-14)
fi

fehlend=()
for p in "${pakete[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        fehlend+=("$p")
    fi
done
[ ${#fehlend[@]} -eq 0 ] && exit 0

echo "Installiere: ${fehlend[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Bitte als root ausführen oder sudo installieren." >&2; exit 1; }
    sudo_cmd=(sudo)
fi

# Without systemd (a container, a CI sandbox) the package scripts would start
# the CUPS daemon through its init script and leave it running, or fail the
# installation when it cannot start. The tests start their own server, so the
# system's stays off there, for this installation only. Where systemd runs,
# installing cups starts it as on any Debian desktop.
regel=/usr/sbin/policy-rc.d
if [ ! -d /run/systemd/system ] && [ ! -e "$regel" ]; then
    printf '#!/bin/sh\nexit 101\n' | "${sudo_cmd[@]}" tee "$regel" >/dev/null
    "${sudo_cmd[@]}" chmod 755 "$regel"
    trap '"${sudo_cmd[@]}" rm -f "$regel"' EXIT
fi

export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${fehlend[@]}"
