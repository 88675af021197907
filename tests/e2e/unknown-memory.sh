#!/usr/bin/env bash
# The real program on a machine whose memory it cannot read: /proc/meminfo
# shows nothing, in a mount namespace of the test's own. The player says so
# in its log, once, holds every game to the fixed 1.5 GB, and stops a game
# that eats memory there with a word of its own, each time it plays; the
# next game then plays. Skipped (exit code 77) where no namespace can be
# made.
# Usage: unknown-memory.sh PELLIWICK_BINARY MOVIES_FOLDER
set -euo pipefail

# The test runs again in the namespace, /proc/meminfo an empty file there;
# an ordinary user makes it in a user namespace of their own.
if [ -z "${PELLIWICK_IN_NAMESPACE:-}" ]; then
  namespace=(unshare --mount --propagation private)
  [ "$(id -u)" -eq 0 ] || namespace+=(--map-root-user)
  if ! "${namespace[@]}" true 2>/dev/null; then
    echo "SKIP: no mount namespace can be made here"
    exit 77
  fi
  empty=$(mktemp)
  code=0
  PELLIWICK_IN_NAMESPACE=1 "${namespace[@]}" \
    bash -c 'mount --bind "$0" /proc/meminfo && exec bash "$@"' "$empty" "$0" "$@" || code=$?
  rm -f "$empty"
  exit $code
fi

here=$(dirname "$0")
source "$here/../support/xsession.sh"
movies=$2
[ ! -s /proc/meminfo ] || fail "/proc/meminfo still tells the machine's memory"

make_program_folder "$1" Action
add_games "Action/a good=StageOnly" "Action/b hog=Hog"
export QT_LOGGING_RULES="pelliwick.player.debug=true"
good=30,80,200 grey=128,128,128
told="the machine's memory cannot be read (/proc/meminfo tells no MemTotal and MemAvailable): a game may hold 1536 MB"

start_program 2
play 0 $good "the good game did not play"
for round in 1 2; do
  stops=$(grep -c "game stopped for its memory" "$work/stderr.log" || true)
  click $(line 1)
  wait_for 10 plays $grey || fail "the memory eater did not start"
  said() { look && [ "$(pixel "$shot" $player)" != "$grey" ] && [ "$(darkest "$shot" 416x323+331+191)" -lt 128 ]; }
  wait_for 60 said || fail "the memory eater was not stopped with a word ($(pixel "$shot" $player))"
  [ "$(grep -c "game stopped for its memory" "$work/stderr.log")" -gt "$stops" ] ||
    fail "the player did not stop the memory eater"
  stop=$(grep -o 'game stopped for its memory: .*' "$work/stderr.log" | tail -n 1)
  echo "$stop"
  [[ $stop =~ held\ ([0-9]+)\ MB\ with\ the\ machine\'s\ memory\ unknown ]] ||
    fail "the memory eater was not stopped for the fixed bound: $stop"
  # Stopped once it passed 1.5 GB; how far past depends on how late the
  # check came on this machine.
  [ "${BASH_REMATCH[1]}" -gt 1536 ] || fail "the memory eater was stopped holding ${BASH_REMATCH[1]} MB"
  play 0 $good "the good game did not play after the memory eater"
done
[ "$(grep -cF "$told" "$work/stderr.log")" -eq 1 ] ||
  fail "the player told $(grep -cF "$told" "$work/stderr.log") times that it cannot read the machine's memory"
echo "PASS: without the machine's figures the player stopped the memory eater at 1.5 GB, and said why once"
