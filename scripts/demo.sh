#!/usr/bin/env bash
# The demo: Tidefetch against the service emulator, in a throwaway folder, so you
# can search, add, check and download without the real service and without
# touching your own queue or settings.
#
#   scripts/demo.sh              installs what is missing and builds (as scripts/run.sh), then runs build/
#   scripts/demo.sh BUILD-DIR    runs the programs of BUILD-DIR as they are
#
# The emulator listens on a free loopback port. The folder holds a portable copy
# of the program: the program with a copy of the shipped empty list and the wait
# animation beside it, so it keeps its list there and never opens yours. The
# folder also holds the settings (XDG_CONFIG_HOME, pointing every service at the
# emulator), the per-user folders the program might look at (XDG_DATA_HOME,
# XDG_RUNTIME_DIR) and the download folder. Closing the window, or Ctrl+C here,
# ends the emulator and removes the folder.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -ge 1 ]; then
    build=$(realpath "$1")
else
    scripts/build.sh -- --target tidefetch tidefetch-emulator
    build=$(realpath build)
fi

work=$(mktemp -d -t tidefetch-demo.XXXXXX)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# The emulator prints its ports and its https authority's file first, then the
# links of its demo files (on its own host; the program takes links of the
# service's domain, and checks and fetches them through the hosts of its settings).
"$build/bin/tidefetch-emulator" --links --ca-file "$work/emulator-ca.pem" >"$work/emulator.out" \
    2>"$work/emulator.log" &
pids+=($!)
if ! port=$(scripts/emulator-port.sh "$work/emulator.out"); then
    echo "the emulator did not start; its log:" >&2
    cat "$work/emulator.log" >&2
    exit 1
fi
host="127.0.0.1:$port"
tls_port=$(scripts/emulator-port.sh "$work/emulator.out" TLSPORT)

mkdir -p "$work/program" "$work/config" "$work/data" "$work/downloads"
mkdir -m 700 "$work/runtime"
cp "$build/bin/tidefetch" "$build/share/tidefetch/DownList.db" "$build/share/tidefetch/WaitOrange.gif" "$work/program/"
# The per-user store of "Velm Tidefetch" under XDG_CONFIG_HOME.
cat >"$work/config/Velm Tidefetch.conf" <<EOF
[Services]
ApiHost=$host
FileServerHost=$host
SearchHost=$host

[Settings]
DownPath=$work/downloads
EOF

cat <<EOF
Tidefetch demo: every service is played by the emulator on $host.
  Folder:     $work (removed at the end)
  Downloads:  $work/downloads
  Requests:   $work/emulator.log
Try a search for "lecture" or "holiday", tick hits and add them; or paste links like these
into "Add New Download":
$(grep '^http://' "$work/emulator.out" | head -n 3 | sed "s#^http://$host/#  http://rapidshare.com/#")
or direct links, one over http and one over https (the emulator's authority is trusted):
  http://$host/direct/5_s20m_rate2048/direct-sample.bin
  https://127.0.0.1:$tls_port/direct/6_s20m_rate2048_cdquoted/secure-sample.bin
EOF

TIDEFETCH_EXTRA_CA_FILE="$work/emulator-ca.pem" \
    XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime" "$work/program/tidefetch" &
pids+=($!)
wait "$!"
