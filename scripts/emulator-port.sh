#!/usr/bin/env bash
# Prints the port that tidefetch-emulator announces on the first line of its
# output ("PORT n"), written to FILE; waits up to 10 seconds for it and fails
# when none comes.
#
#   scripts/emulator-port.sh FILE
set -euo pipefail
for _ in $(seq 200); do
    port=$(sed -n 's/^PORT //p' "$1")
    if [ -n "$port" ]; then
        echo "$port"
        exit 0
    fi
    sleep 0.05
done
exit 1
