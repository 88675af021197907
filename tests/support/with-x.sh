#!/usr/bin/env bash
# Runs a test program under a private X server of its own, so that tests which
# need real windows (focus, the web engine's drawing) can run side by side.
set -u
source "$(dirname "$0")/xsession.sh"
trap stop_x EXIT
start_x
"$@"
