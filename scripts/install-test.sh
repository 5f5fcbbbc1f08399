#!/usr/bin/env bash
# Installs a build's Debian package into a throwaway root and runs it from there,
# as a user who has never run Tidefetch:
#
#   scripts/install-test.sh BUILD-DIR
#
# 1. `cpack -G DEB` makes the package; its Depends must name the Qt libraries
#    and the plugins Qt loads at run time.
# 2. `dpkg-deb -x` unpacks it into a folder that is then made read-only; the
#    desktop entry and metainfo found there must pass their validators.
# 3. The unpacked tidefetch-emulator plays the service on a free loopback port;
#    the settings point every service, and the link domain, at it.
# 4. The unpacked tidefetch starts under xvfb-run with an empty HOME and one of
#    the emulator's links as argument: the per-user list must appear and hold the
#    link, checked "Available". The program is stopped with SIGTERM, started again
#    without links, and stopped again: the row must still be there.
# 5. Nothing in the unpacked tree may have changed.
#
# Exits 0 when all holds, 1 with the programs' output when something does not,
# and 77 when a tool is missing (scripts/install-deps.sh installs them).
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 BUILD-DIR" >&2; exit 2; }
build=$(realpath "$1")
scripts=$(dirname "$(realpath "$0")")
for tool in cpack dpkg-deb dpkg-shlibdeps xvfb-run xauth sqlite3 desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || { echo "install test: $tool is missing" >&2; exit 77; }
done

app_id=org.velm.tidefetch
work=$(mktemp -d -t tidefetch-install.XXXXXX)
emulator_pid=""
program_pid=""
runner_pid=""
cleanup() {
    # Only the program is stopped: xvfb-run then ends and stops its X server.
    [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
    [ -z "$runner_pid" ] || wait "$runner_pid" 2>/dev/null || true
    [ -z "$emulator_pid" ] || kill "$emulator_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    chmod -R u+w "$work"
    rm -rf "$work"
}
trap cleanup EXIT

show() { # file...: prints each file that exists, under its name
    for file in "$@"; do
        [ -s "$file" ] || continue
        echo "----- $file"
        cat "$file"
    done
}
fail() {
    echo "install test: $*" >&2
    show "$work/cpack.log" "$work/emulator.out" "$work/emulator.log" "$work"/program-*.log >&2
    exit 1
}
step() { echo "== $*"; }

step "making the package"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" >"$work/cpack.log" 2>&1 ||
    fail "cpack failed"
debs=("$work/package"/*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    fail "cpack made no single .deb"
fi
deb=${debs[0]}
basename "$deb"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for package in libqt6core6 libqt6gui6 libqt6network6 libqt6sql6 libqt6widgets6 libqt6sql6-sqlite qt6-qpa-plugins; do
    [[ ", $depends," == *", $package "* || ", $depends," == *", $package,"* ]] ||
        fail "Depends does not name $package"
done

step "unpacking it into a read-only folder"
root="$work/root"
dpkg-deb -x "$deb" "$root"
for file in usr/bin/tidefetch usr/bin/tidefetch-emulator usr/share/tidefetch/DownList.db \
    usr/share/tidefetch/WaitOrange.gif "usr/share/applications/$app_id.desktop" \
    "usr/share/metainfo/$app_id.metainfo.xml" "usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
    "usr/share/icons/hicolor/256x256/apps/$app_id.png" usr/share/man/man1/tidefetch.1 \
    usr/share/doc/tidefetch/LICENSE; do
    [ -f "$root/$file" ] || fail "the package has no /$file"
done
[ ! -e "$root/usr/bin/DownList.db" ] || fail "the package puts a list beside the program"
chmod -R a-w "$root"
# Root may write into a read-only folder, so the tree is also compared afterwards.
manifest() {
    (cd "$root" && find . -printf '%p %y %s %m %T@\n' | sort && find . -type f -exec sha256sum {} + | sort)
}
manifest >"$work/manifest.before"
# desktop-file-validate ends with 0 after warnings and hints, so any output fails.
if ! validation=$(desktop-file-validate "$root/usr/share/applications/$app_id.desktop" 2>&1) || [ -n "$validation" ]; then
    fail "desktop-file-validate: $validation"
fi
appstreamcli validate --no-net --strict "$root/usr/share/metainfo/$app_id.metainfo.xml" || fail "the metainfo is not valid"

step "starting the emulator"
"$root/usr/bin/tidefetch-emulator" --links >"$work/emulator.out" 2>"$work/emulator.log" &
emulator_pid=$!
port=$("$scripts/emulator-port.sh" "$work/emulator.out") || fail "the emulator did not print its port"
host="127.0.0.1:$port"
# Its links follow the ports and the CA file in the same write, on its own
# host, which is the link domain here.
link=$(grep -m1 '^http://' "$work/emulator.out" || true)
[ -n "$link" ] || fail "the emulator printed no link"
echo "emulator on $host; link $link"

# A user who never ran Tidefetch: an empty HOME with only the settings in it.
home="$work/home"
mkdir -p "$home/.config" "$work/downloads" "$work/empty"
mkdir -m 0700 "$work/runtime"
cat >"$home/.config/Velm Tidefetch.conf" <<EOF
[Services]
ApiHost=$host
FileServerHost=$host
SearchHost=$host
ServiceDomain=$host

[Settings]
DownPath=$work/downloads
EOF
list="$home/.local/share/Tidefetch/DownList.db"

run=0
start_program() { # link...
    run=$((run + 1))
    rm -f "$work/program.pid"
    # The folders of XDG_*_DIRS are empty ones, so nothing installed on this
    # machine stands in for the unpacked files; the display is Xvfb's alone, and
    # there is no session bus. The inner shell writes its own pid, then becomes
    # the program.
    # shellcheck disable=SC2016 # expanded by the inner shell
    env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_CACHE_HOME -u XDG_STATE_HOME -u QT_QPA_PLATFORM \
        -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS \
        HOME="$home" XDG_RUNTIME_DIR="$work/runtime" XDG_DATA_DIRS="$work/empty" XDG_CONFIG_DIRS="$work/empty" \
        xvfb-run -a sh -c 'echo $$ >"$0" && exec "$@"' "$work/program.pid" "$root/usr/bin/tidefetch" "$@" \
        >"$work/program-$run.log" 2>&1 &
    runner_pid=$!
    for _ in $(seq 100); do
        [ -s "$work/program.pid" ] && break
        sleep 0.1
    done
    program_pid=$(cat "$work/program.pid" 2>/dev/null) || fail "xvfb-run did not start the program"
}
stop_program() {
    kill -0 "$program_pid" 2>/dev/null || fail "the program ended before it was stopped (run $run)"
    kill -TERM "$program_pid"
    wait "$runner_pid" 2>/dev/null || true
    program_pid=""
    runner_pid=""
}
status_of_link() { # prints the link's Status in the check list, nothing without a row
    [ -f "$list" ] || return 0
    sqlite3 -cmd ".timeout 2000" "$list" \
        "Select Status From CheckList Where Sharing_Link = '${link//\'/\'\'}'" 2>/dev/null || true
}

step "starting the program with the link"
start_program "$link"
status=""
for _ in $(seq 600); do
    status=$(status_of_link)
    [ "$status" = Available ] && break
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
[ -f "$list" ] || fail "no list at $list"
[ -n "$status" ] || fail "the check list does not hold $link"
[ "$status" = Available ] || fail "the link's status is \"$status\", not Available"
echo "$list holds the link: $status"
stop_program

step "starting the program again without links"
start_program
sleep 4
stop_program
[ "$(status_of_link)" = Available ] || fail "the link is gone from the check list after a restart"
rows=$(sqlite3 "$list" "Select Count(*) From CheckList")
[ "$rows" -eq 1 ] || fail "the check list holds $rows rows, not 1"
echo "the row is still there"

step "checking the unpacked tree is unchanged"
manifest >"$work/manifest.after"
diff "$work/manifest.before" "$work/manifest.after" || fail "the program wrote into the unpacked tree"
echo "install test passed"
