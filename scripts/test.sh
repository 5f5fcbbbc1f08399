#!/usr/bin/env bash
# Builds Tidefetch and runs the whole test suite headless.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
