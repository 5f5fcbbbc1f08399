#!/usr/bin/env bash
# Installs what is missing, then configures and builds into build/.
#
#   scripts/build.sh [CMAKE-OPTION...] [-- BUILD-OPTION...]
#
# Options before "--" go to the configure step (-DTIDEFETCH_BUILD_BENCHMARKS=ON,
# ...), options after it to the build (--target tidefetch, ...); without any,
# every target of the configured build is built.
set -euo pipefail
cd "$(dirname "$0")/.."
configure=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    configure+=("$1")
    shift
done
[ $# -gt 0 ] && shift
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${configure[@]}" >/dev/null
cmake --build build -j"$(nproc)" "$@"
