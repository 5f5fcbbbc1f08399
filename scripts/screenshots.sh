#!/usr/bin/env bash
# Runs the demo (scripts/demo.sh) under Xvfb and drives it from the outside with
# xdotool: a search, ticking three hits and adding them, a pasted link checked,
# the available links downloaded. It saves a PNG of each page on the way.
#
#   scripts/screenshots.sh [build-dir] [output-dir]
#
# build-dir defaults to build, output-dir to screenshots. Needs Xvfb, ImageMagick
# and xdotool (installed here when missing).
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
out=$(realpath -m "${2:-screenshots}")

scripts/install-packages.sh xvfb imagemagick xdotool

pids=()
cleanup() {
    # Newest first, each to its end: the demo removes its folder and emulator
    # while the display is still there.
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
}
trap cleanup EXIT
mkdir -p "$out"

# A free display: Xvfb writes the number it took.
exec {displayfd}<> <(:)
Xvfb -displayfd "$displayfd" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
read -r -t 10 display <&"$displayfd"
export DISPLAY=":$display"

scripts/demo.sh "$build" >/dev/null &
pids+=($!)
window=""
for _ in $(seq 50); do
    window=$(xdotool search --name '^Tidefetch$' 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.2
done
[ -n "$window" ] || { echo "the window did not open" >&2; exit 1; }
sleep 1.5 # the opening transition

# Places in the window at its first size (800 x 560 pixels at 96 DPI), from the
# layout's twips: the toolbar row is 70 pixels high and the pages start 68
# pixels down.
width=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
click() { # x y
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 0.3
}
keys() {
    xdotool key --window "$window" --delay 80 "$@"
}
page() { # x: a toolbar button; waits for the transition
    click "$1" 35
    sleep 1.2
}
shoot() { # name
    import -window "$window" "$out/$1.png"
    echo "$out/$1.png"
}
ADD_PAGE=207 LIST_PAGE=310 SEARCH_PAGE=416 ABOUT_PAGE=$((width - 63))

# Search for "lecture" and tick the first three hits: the demo's lecture series.
page $SEARCH_PAGE
click 242 91 # txtSearch: the hint goes
xdotool type --window "$window" --delay 40 "lecture"
keys Return
sleep 2
click 120 300 # a cell of GridSearch, then its first row's tick box
keys ctrl+Home space Down space Down space
click 323 484 # "Add selected items as new downloads"
sleep 2
shoot search

# Paste one more link and check it: the check list shows what the service said.
page $ADD_PAGE
click 117 165 # txtLinks
xdotool type --window "$window" --delay 10 "http://rapidshare.com/files/3000004_s700m_rate8192/city-lights-documentary.avi"
click 724 220 # "Check Links"
sleep 2
shoot add-new-download

# "Download Available Links", then watch the first transfer.
click 689 486
page $LIST_PAGE
sleep 4
shoot download-list

page $ABOUT_PAGE
shoot about
