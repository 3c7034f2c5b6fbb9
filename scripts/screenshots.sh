#!/usr/bin/env bash
# Makes the screenshots the README shows, as PNG files in doc/: the main window
# with the sample card and a QSO of the example log, the layout window, and an
# item being dragged on the preview. Starts the built program on a display of
# its own (Xvfb) with a temporary home and prepared settings, and drives it with
# xdotool; the user's own settings are never touched.
# Needs xvfb, xdotool and imagemagick ("scripts/deps.sh screenshots").
# Usage: scripts/screenshots.sh [build folder, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh screenshots
bau=$(realpath "${1:-build}")
ziel=$PWD/doc
for datei in cardforge Beispielkarte.png; do
    [ -e "$bau/$datei" ] || { echo "$bau/$datei fehlt: zuerst bauen (cmake --build $bau)." >&2; exit 1; }
done

tmp=$(mktemp -d)
xvfb_pid=
programm_pid=
aufraeumen() {
    [ -n "$programm_pid" ] && kill "$programm_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$tmp"
}
trap aufraeumen EXIT

export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/home/.config CUPS_SERVER=/nonexistent.sock
export LANG=de_DE.UTF-8 LANGUAGE=de QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_CONFIG_HOME/Cardforge" "$HOME/Funk"
cp examples/Beispiel.adi "$HOME/Funk/"
# A log and a station; the sample card comes in through the layout window, as
# a new user gets it.
{
    echo '[Settings]'
    echo "AdifDatGes=\"$HOME/Funk/Beispiel.adi;\""
    echo 'MyCall=DL0XYZ'
    echo 'MyName=Erika'
    echo 'MyQTH=Musterstadt'
    echo 'MyLoc=JO31AA'
} >"$XDG_CONFIG_HOME/Cardforge/Cardforge.ini"

# A display number nobody uses.
nummer=77
while [ -e "/tmp/.X$nummer-lock" ]; do nummer=$((nummer + 1)); done
export DISPLAY=:$nummer
Xvfb "$DISPLAY" -screen 0 1900x1200x24 -dpi 96 -nolisten tcp &
xvfb_pid=$!
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

fenster() { xdotool search --sync --onlyvisible --name "^$1\$" | head -n1; }
# A window alone, cut from the screen at its place (without a window manager
# the windows have no frames).
aufnehmen() {
    local id=$1 datei=$2 x y b h
    eval "$(xdotool getwindowgeometry --shell "$id" | sed -n 's/^\(X\|Y\|WIDTH\|HEIGHT\)=/G_\1=/p')"
    x=$G_X y=$G_Y b=$G_WIDTH h=$G_HEIGHT
    import -window root -crop "${b}x${h}+${x}+${y}" +repage "$datei"
    echo "$datei: ${b}x${h}"
}

"$bau/cardforge" >"$tmp/cardforge.log" 2>&1 &
programm_pid=$!
haupt=$(fenster Cardforge)
xdotool windowmove "$haupt" 0 0
sleep 1

# The sample card: Settings -> "QSL-Karte einrichten", "Beispiel laden" (a
# first start asks nothing) and "OK", which also fits the window to the card.
xdotool windowfocus --sync "$haupt" key alt+s q
layout=$(fenster "QSL-Karte einrichten")
xdotool windowmove "$layout" 600 0
sleep 1
xdotool windowfocus --sync "$layout" key alt+b
sleep 1
xdotool windowfocus --sync "$layout" key alt+o
sleep 1

# A QSO of the example log: the log browser (F4) and "OK".
xdotool windowfocus --sync "$haupt" key F4
adif=$(fenster ADIF-QSO-Daten)
xdotool windowmove "$adif" 600 0
sleep 1
xdotool windowfocus --sync "$adif" key alt+o
sleep 0.5
xdotool windowfocus --sync "$haupt"
sleep 1
aufnehmen "$haupt" "$ziel/Hauptfenster.png"

# The layout window again, with the sample's entries.
xdotool windowfocus --sync "$haupt" key alt+s q
layout=$(fenster "QSL-Karte einrichten")
xdotool windowmove "$layout" 600 0
xdotool windowfocus --sync "$layout"
sleep 1
aufnehmen "$layout" "$ziel/Layoutfenster.png"

# A drag in progress: the callsign picked on the preview and held while it
# moves, the layout window's marking and grid on.
eval "$(xdotool getwindowgeometry --shell "$haupt")"
pxmm=$(echo "96 / 25.4" | bc -l)
# The callsign's box on the sample card: left 82, top 9.5, 51 x 13 mm; the
# card area starts below the menu bar.
menueleiste=24
sx=$(printf '%.0f' "$(echo "$X + (82 + 25) * $pxmm" | bc -l)")
sy=$(printf '%.0f' "$(echo "$Y + $menueleiste + (9.5 + 6) * $pxmm" | bc -l)")
xdotool mousemove "$sx" "$sy" mousedown 1
for schritt in 1 2 3 4 5 6; do
    xdotool mousemove "$((sx - 4 * schritt))" "$((sy + 3 * schritt))"
    sleep 0.1
done
sleep 0.5
aufnehmen "$haupt" "$ziel/Ziehen.png"
xdotool mouseup 1
# Cancel puts the callsign back; nothing of this run is kept anyway.
xdotool windowfocus --sync "$layout" key Escape 2>/dev/null || true
echo "Aufnahmen in $ziel"
