#!/usr/bin/env bash
# Prints a value that tidefetch-emulator announces before its links, written to
# FILE: the http port ("PORT n") by default, or the value of the line that starts
# with KEY: TLSPORT (https, a certificate for 127.0.0.1 and localhost),
# WRONGHOSTPORT (https, a certificate for another host) or CA (the authority's
# PEM file). Waits up to 10 seconds for it and fails when none comes.
#
#   scripts/emulator-port.sh FILE [KEY]
set -euo pipefail
key=${2:-PORT}
for _ in $(seq 200); do
    value=$(sed -n "s/^$key //p" "$1")
    if [ -n "$value" ]; then
        echo "$value"
        exit 0
    fi
    sleep 0.05
done
exit 1
