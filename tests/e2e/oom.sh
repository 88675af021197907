#!/usr/bin/env bash
# A game that takes more memory in one step than there is, played by the real
# program: the player's checks, a quarter of a second apart, cannot stop it
# in time, and the kernel must end the game's process and, of the machine's
# processes, none but the player's own pages (when the game's memory is slow
# to come back, its spare page may go as well); the player then says so, and
# the next game plays. The memory there is, here, is
# that of a memory cgroup of the test's own, a child of the test's, holding
# the program and a sentinel process larger than the game can grow: of all
# that the cgroup holds, the kernel must end the game's render process, which
# the player ranked first with its other pages, and not the larger sentinel. Skipped (exit code
# 77) where no memory cgroup can be made (an ordinary user, no memory
# controller where the test runs).
# Usage: oom.sh PELLIWICK_BINARY MOVIES_FOLDER MEMORY_BALLAST
set -euo pipefail
here=$(dirname "$0")
source "$here/../support/xsession.sh"
movies=$2
ballast_program=$3
sentinel_mb=3072

skip() {
  echo "SKIP: $*"
  exit 77
}
make_program_folder "$1" Action
add_games "Action/a good=StageOnly" "Action/b jump=Hog"
# Everything ended, the cgroup goes, besides what make_work_folder does.
trap 'status=$?; [ $status -eq 0 ] || [ $status -eq 77 ] || tail -n 20 "$work/stderr.log" 2>/dev/null
      [ -z "${app:-}" ] || kill "$app" 2>/dev/null || true
      [ -z "${helpers:-}" ] || kill $helpers 2>/dev/null || true
      stop_x; wait 2>/dev/null; rm -rf "$work"
      [ -z "${group:-}" ] || for pid in $(cat "$group/cgroup.procs" 2>/dev/null); do echo "$pid" >"$own/cgroup.procs" || true; done
      [ -z "${group:-}" ] || for _ in $(seq 100); do rmdir "$group" 2>/dev/null && break; sleep 0.1; done' EXIT
[ "$(id -u)" -eq 0 ] || skip "only root may make a memory cgroup here"
# The test's own cgroup, in the memory controller's hierarchy: cgroup v2's
# one, or v1's memory one.
if [ -f /sys/fs/cgroup/cgroup.controllers ]; then
  own=/sys/fs/cgroup$(sed -n 's/^0:://p' /proc/self/cgroup)
  limit_file=memory.max usage_file=memory.current
  grep -qw memory "$own/cgroup.subtree_control" 2>/dev/null ||
    echo +memory >"$own/cgroup.subtree_control" 2>/dev/null ||
    skip "the memory controller is not given to the cgroups below $own"
else
  own=/sys/fs/cgroup/memory$(sed -n 's/^[0-9]*:memory://p' /proc/self/cgroup)
  limit_file=memory.limit_in_bytes usage_file=memory.usage_in_bytes
  [ -f "$own/$limit_file" ] || skip "no memory controller here"
fi
group=$own/pelliwick-oom-$$
mkdir "$group" 2>/dev/null || { group=; skip "no cgroup can be made in $own"; }

export QT_LOGGING_RULES="pelliwick.player.debug=true"
good=30,80,200 grey=128,128,128

# The X server stays outside; the program, its engine's processes and the
# sentinel start inside, the test's shell stepping in only to start them.
start_x
echo $$ >"$group/cgroup.procs"
start_program 2
"$ballast_program" $sentinel_mb >"$work/sentinel.out" &
sentinel=$!
helpers="${helpers:-} $sentinel"
echo $$ >"$own/cgroup.procs"
wait_for 900 grep -q held "$work/sentinel.out" || fail "no sentinel of $sentinel_mb MB"
play 0 $good "the good game did not play"

# A gigabyte beside what the cgroup holds now: less than the game takes at
# once (1.5 GB), but more than its page could hold with the kernel's
# default ranking and still rank below the sentinel.
usage_mb=$(($(cat "$group/$usage_file") >> 20))
limit_mb=$((usage_mb + 1024))
echo $((limit_mb << 20)) >"$group/$limit_file"
echo "the cgroup holds $usage_mb MB (the sentinel $sentinel_mb MB) and may hold $limit_mb MB"

page=$(grep -o ': page ready, render process [0-9]*' "$work/stderr.log" | tail -n 1 | awk '{ print $NF }')
kills=$(oom_kills)
log_lines=$(wc -l <"$work/stderr.log")
click $(line 1)
wait_for 30 eval '! kill -0 "$page" 2>/dev/null' ||
  fail "the game's render process was not ended$(kill -0 "$sentinel" 2>/dev/null || echo ", the sentinel was")"
# Stopped, the game leaves the player's word in its place.
said() { look && [ "$(pixel "$shot" $player)" != "$grey" ] && [ "$(darkest "$shot" 416x323+331+191)" -lt 128 ]; }
wait_for 60 said || fail "the player said nothing of the game's end ($(pixel "$shot" $player))"
grep -q "the game's render process was ended: the machine ran out of memory" "$work/stderr.log" ||
  fail "the player did not tell the game's end for want of memory"
# Every process the kernel ended was one of the player's pages, each of
# which the player saw end.
ended=$(($(oom_kills) - kills))
pages_ended=$(tail -n +$((log_lines + 1)) "$work/stderr.log" | grep -c 'render process ended: .*Killed' || true)
echo "the kernel ended $ended process(es) for want of memory, $pages_ended of them the player's pages: the game's render process $page first"
for process in "$sentinel" "$app" "$XVFB_PID"; do
  kill -0 "$process" || fail "process $process was ended"
done
[ "$ended" -ge 1 ] && [ "$ended" -le "$pages_ended" ] ||
  fail "the kernel ended $ended processes, the player saw $pages_ended of its pages end"
play 0 $good "the good game did not play after the game that took more than there was"
echo "PASS: the kernel ended the game that took more than there was, and nothing but the player's pages"
