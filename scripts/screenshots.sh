#!/usr/bin/env bash
# Runs the demo (scripts/demo.sh) under Xvfb and drives it from the outside with
# xdotool: a search, ticking three hits and adding them, a pasted link checked,
# the available links downloaded. It saves a PNG of each page on the way
# (<page>.png), then each page again with the window at 1200 x 800
# (<page>-1200x800.png), and each page of a second demo at 200 % scaling
# (<page>-200.png).
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

start_display() { # WIDTHxHEIGHT: a free display, whose number Xvfb writes
    local displayfd display
    exec {displayfd}<> <(:)
    Xvfb -displayfd "$displayfd" -screen 0 "$1x24" -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    read -r -t 10 display <&"$displayfd"
    export DISPLAY=":$display"
}
start_demo() { # sets window to the demo's window
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
}
stop_all() {
    cleanup
    pids=()
}
each_page() { # suffix: every page through its Ctrl key, shot as <page><suffix>
    local keys=(ctrl+1 ctrl+2 ctrl+3 ctrl+4) names=(add-new-download download-list search about)
    # A click on the toolbar's brand piece gives the window the keyboard.
    xdotool mousemove --window "$window" 20 20 click 1
    sleep 0.3
    for i in 0 1 2 3; do
        xdotool key --window "$window" "${keys[i]}"
        sleep 1
        shoot "${names[i]}$1"
    done
}

start_display 1280x900
start_demo

# Places in the window at its first size, from the layout's twips, as they lie
# at 96 DPI and 8-point text (800 x 560 pixels: the toolbar row is 70 pixels
# high and the pages start 68 pixels down). The layout grows with the desktop's
# text size, so each place is scaled by the window's width against 800.
width=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
scaled() { # pixels at 800 wide
    echo $(($1 * width / 800))
}
click() { # x y
    xdotool mousemove --window "$window" "$(scaled "$1")" "$(scaled "$2")" click 1
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
ADD_PAGE=207 LIST_PAGE=310 SEARCH_PAGE=416 ABOUT_PAGE=$((800 - 63))

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

# Each page at 1200 x 800, with what the session left in it.
xdotool windowsize --sync "$window" 1200 800
sleep 1
each_page -1200x800

# Each page of a new demo at 200 %, on a screen twice as large.
stop_all
start_display 2560x1800
QT_SCALE_FACTOR=2 start_demo
each_page -200
