#!/usr/bin/env bash
# Installs the Debian 12 packages that building, packaging and testing Tidefetch need.
set -euo pipefail
"$(dirname "$0")/install-packages.sh" \
    build-essential cmake pkg-config \
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-l10n-tools libqt6sql6-sqlite qt6-qpa-plugins libgl-dev libssl-dev \
    dpkg-dev dbus-daemon desktop-file-utils appstream librsvg2-bin xvfb xauth sqlite3
