#!/usr/bin/env bash
# Starts Tidefetch under Xvfb in a throwaway folder (its own copy of the program,
# list file and settings), visits each page and saves a PNG of each.
#
#   scripts/screenshots.sh [build-dir] [output-dir]
#
# build-dir defaults to build, output-dir to screenshots. With SAMPLE_ROWS=1 the
# throwaway list file first gets a few rows, so the grids have something to show.
# Needs Xvfb, ImageMagick and xdotool (installed here when missing).
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
out=$(realpath -m "${2:-screenshots}")

missing=()
for tool in Xvfb:xvfb import:imagemagick xdotool:xdotool; do
    command -v "${tool%%:*}" >/dev/null || missing+=("${tool##*:}")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

cp "$build/bin/tidefetch" "$build/bin/DownList.db" "$build/bin/WaitOrange.gif" "$work/"
mkdir -p "$work/home" "$out"
if [ "${SAMPLE_ROWS:-0}" = 1 ]; then
    python3 - "$work/DownList.db" <<'PY'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
down = [("ubuntu-22.04-desktop.iso", "42", "3.4 GB", "812.5 KB/s", "No Error", "01:12:40"),
        ("holiday-photos.zip", "Queued", "120.5 MB", "", "No Error", "00:00:00"),
        ("lecture-notes.pdf", "Complete", "2.25 MB", "", "No Error", ""),
        ("concert-2009.avi", "Wait 35 Seconds", "700 MB", "", "No Error", "00:00:00"),
        ("backup-part1.rar", "Error", "100 MB", "", "Server Down", ""),
        ("backup-part2.rar", "Stopped", "100 MB", "", "No Error", "")]
for name, status, size, speed, error, left in down:
    db.execute("INSERT INTO DownList (Check_Box, Local_File_Name, Download_Status, File_Size_String, Speed,"
               " Error_Desc, Time_Left, Sharing_Link) VALUES (1, ?, ?, ?, ?, ?, ?, ?)",
               (name, status, size, speed, error, left, "http://rapidshare.com/files/1/" + name))
check = [("http://rapidshare.com/files/101/song.mp3", "Available", "song.mp3", "4.5 MB"),
         ("http://rapidshare.com/files/102/video.mkv", "Checking", "??", "??"),
         ("http://rapidshare.com/files/103/gone.zip", "UnAvailable", "??", "??")]
for link, status, name, size in check:
    db.execute("INSERT INTO CheckList (Sharing_Link, Status, File_Name, File_Size) VALUES (?, ?, ?, ?)",
               (link, status, name, size))
db.commit()
PY
fi

# A free display: Xvfb writes the number it took.
exec {displayfd}<> <(:)
Xvfb -displayfd "$displayfd" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
read -r -t 10 display <&"$displayfd"
export DISPLAY=":$display"

HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" "$work/tidefetch" &
pids+=($!)
window=""
for _ in $(seq 50); do
    window=$(xdotool search --name '^Tidefetch$' 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.2
done
[ -n "$window" ] || { echo "the window did not open" >&2; exit 1; }
sleep 1.5

# The page buttons' centres (96 DPI): the toolbar row is 70 pixels high.
width=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
shoot() { # name x y
    xdotool mousemove --window "$window" "$2" "$3" click 1
    sleep 1.2
    import -window "$window" "$out/$1.png"
    echo "$out/$1.png"
}
shoot add-new-download 207 35
shoot download-list 310 35
shoot search 416 35
shoot about $((width - 13 - 22 - 28)) 35
