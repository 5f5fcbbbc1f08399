#!/usr/bin/env bash
# Builds Tidefetch (the program and the files it ships with) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh -- --target tidefetch
exec build/bin/tidefetch "$@"
