#!/usr/bin/env bash
# Builds Tidefetch with its tests and benchmarks and runs the whole test suite headless.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh -DTIDEFETCH_BUILD_BENCHMARKS=ON -DBUILD_TESTING=ON
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
