#!/usr/bin/env bash
# Runs one Windows program under Wine on a private Xvfb (or the one run-tests.sh exported),
# in the shared prefix, and exits with the program's exit code.
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
quorelle_start_xvfb
trap quorelle_stop_xvfb EXIT
quorelle_prepare_prefix
wine "$@"
