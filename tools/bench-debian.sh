#!/usr/bin/env bash
# make bench on a Debian release of choice, from this machine: in a clean
# Debian of the release RELEASE names (12 or 13; 12 when unset), made for the
# purpose as make try-fresh makes one, make bench runs on a clean clone of
# this project (its last commit) as root, as the figures of this machine are
# taken (a normal user's engine runs sandboxed, in more processes, and one of
# the benchmark's engine configurations needs the sandbox off), with the X
# server of this machine lent to it, so that the releases are measured on the
# same X server. Its output goes to the terminal and to LOG. Needs root and
# Debian's and npm's registries, fetches some 700 MB and takes a while; the
# figures mean something only on a quiet machine.
# Usage: [RELEASE=13] tools/bench-debian.sh [LOG]   (LOG: build/bench-debian<RELEASE>.log
# of this project; KEEP=1 keeps the new system in /var/tmp)
set -euo pipefail
project=$(cd "$(dirname "$0")/.." && pwd)
source "$project/tests/support/xsession.sh"
source "$project/tools/clean-debian.sh"
log=$(realpath -m "${1:-$project/build/bench-debian$RELEASE.log}")
mkdir -p "$(dirname "$log")"

finish() {
  local status=$?
  stop_x
  remove_clean_debian
  exit $status
}
trap finish EXIT

make_clean_debian bench-debian make,sudo
add_newcomer "$project"
start_x
lend_x
echo "make bench on Debian $RELEASE, on this machine's X server $DISPLAY; output in $log"
source=$(git -C "$project" describe --always)
as_newcomer "sudo env PELLIWICK_BENCH_DISPLAY=$DISPLAY PELLIWICK_BENCH_SOURCE=$source make bench" 2>&1 |
  tee "$log"
