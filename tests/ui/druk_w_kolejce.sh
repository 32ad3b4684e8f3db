#!/usr/bin/env bash
# Prints through the real queue of the print server started for the tests
# (CUPS_SERVER) and checks with an IPP Get-Jobs that the job is there under
# the title "Plik LOG".
set -euo pipefail
program=$1
here=$(dirname "$0")
[ -S "${CUPS_SERVER:-}" ] || { echo "no print server socket at '${CUPS_SERVER:-}'" >&2; exit 1; }
unset PRINTER LPDEST

"$program"

# The socket's path, percent-encoded, is the host of an IPP address.
host=$(printf '%s' "$CUPS_SERVER" | sed 's|/|%2F|g')
ipptool -tv "ipp://$host/printers/PDF" "$here/get-jobs.test"
