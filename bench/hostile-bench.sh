#!/usr/bin/env bash
# The hostile-games benchmark: how soon the next game plays after a game that
# floods the player with requests, one whose script never ends, one that eats
# memory until the player stops it (on a machine made short of memory), and
# one that ends big, each against a
# fresh page's first game in the same launch: on a quiet machine, and on one
# whose two cores are busy with other work (stress-ng). After a held page the
# next game is picked twice: at once (the player has not found the page held
# yet) and once the player has a spare page ready. Also weighs a ready spare
# page. Prints the figures as a table. Builds nothing: run
# `cmake --build BUILD_DIR` with -DPELLIWICK_BENCHMARKS=ON first.
#
# Usage: bench/hostile-bench.sh BUILD_DIR [ROUNDS]
#   ROUNDS   launches on each kind of machine (default 3)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR [ROUNDS]" >&2; exit 2; }
build=$(cd "$1" && pwd)
rounds=${2:-3}
movies=$build/bench/movies
ballast_program=$build/tools/memory-ballast/memory-ballast
for file in "$build/pelliwick" "$movies/Endless.swf" "$ballast_program"; do
  [ -e "$file" ] || { echo "missing $file: build first (cmake --build $1)" >&2; exit 2; }
done
command -v stress-ng >/dev/null || { echo "no stress-ng: tools/setup.sh bench installs it" >&2; exit 2; }

source "$here/bench-support.sh" "$@"
make_program_folder "$build/pelliwick" Action
figures=$work/figures
: >"$figures"
add_games "Action/a flood=Flood" "Action/b endless=Endless" "Action/c hog=Hog" \
  "Action/d good=StageOnly" "Action/e bloat=Hog"
export QT_LOGGING_RULES="pelliwick.player.debug=true"
good=30,80,200 grey=128,128,128

logged() { grep -c "$1" "$work/stderr.log" || true; }
more_logged() { [ "$(logged "$1")" -gt "$2" ]; } # TEXT COUNT_BEFORE
# The moment the screen first shows the good game, at most 60 s after SINCE.
good_seen_after() { # SINCE
  local began
  while began=$(now) && ! plays $good; do
    [ $((began - $1)) -lt 60000 ] || fail "the good game did not play"
  done
  echo "$began"
}
# Picks the good game; its time from the click to its first frame goes into
# the figures as "LOAD.KEY ms", and as a ratio to the fresh page's.
good_after() { # LOAD KEY
  local clicked
  clicked=$(now)
  click $(line 3)
  local elapsed=$(($(good_seen_after "$clicked") - clicked))
  echo "$1.$2 $elapsed" >>"$figures"
  echo "$1.$2.ratio $(awk -v a="$elapsed" -v b="$fresh_ms" 'BEGIN { printf "%.2f", a / b }')" >>"$figures"
}
# "PID MS" for the main thread of each process of the program: its CPU time.
main_threads() {
  local pid
  for pid in $(descendants "$app"); do
    sed 's/.*) //' "/proc/$pid/task/$pid/stat" 2>/dev/null |
      awk -v pid="$pid" -v hz="$(getconf CLK_TCK)" '{ print pid, int(($12 + $13) * 1000 / hz) }'
  done
}
# The most CPU time a main thread has worked since BEFORE (main_threads).
most_worked() { # BEFORE
  main_threads | awk -v before="$1" 'BEGIN { n = split(before, b, "\n"); for (i = 1; i <= n; i++) { split(b[i], f, " "); was[f[1]] = f[2] } }
    ($1 in was) && $2 - was[$1] > most { most = $2 - was[$1] } END { print most + 0 }'
}
# Pss of one process, in MB.
pss() { awk '/^Pss:/ { print int($2 / 1024) }' "/proc/$1/smaps_rollup"; }

one_launch() { # LOAD
  local load=$1 spares
  : >"$work/stderr.log"
  rm -rf "$XDG_DATA_HOME"
  start_program 5
  click $(line 3)
  fresh_ms=$(($(good_seen_after "$shown_at") - shown_at))
  echo "$load.fresh $fresh_ms" >>"$figures"

  click $(line 0)
  wait_for 30 plays $grey || fail "the flood did not start"
  wait_for 60 eval '[ "$(logged refused)" -ge 300 ]' || fail "the flood was not refused"
  good_after "$load" flood

  # Picked as soon as the script runs: the player finds the page held only
  # as the next game waits for it.
  click $(line 1)
  wait_for 30 plays $grey || fail "the endless script did not start"
  local before
  before=$(main_threads)
  wait_for 60 eval '[ "$(most_worked "$before")" -ge 100 ]' || fail "the script did not run"
  good_after "$load" endless.at-once

  spares=$(logged "spare page ready")
  click $(line 1)
  wait_for 30 plays $grey || fail "the endless script did not start"
  wait_for 60 more_logged "spare page ready" "$spares" || fail "no spare page was readied"
  local spare
  spare=$(grep "spare page ready" "$work/stderr.log" | tail -n 1 | awk '{ print $NF }')
  echo "$load.spare.pss $(pss "$spare")" >>"$figures"
  good_after "$load" endless.spare-ready

  # The player stops a game for its memory when the machine runs short, and
  # the engine holds no more than some 4.3 GB of a game: a machine with more
  # to spare is made short, while the eater plays, by a ballast that leaves
  # the player's reserve and 1.5 GB (as HostileEndToEnd does).
  local reserve stops
  read -r _ _ reserve <<<"$(machine_figures)"
  leave_available "$ballast_program" $((reserve + 1536))
  stops=$(logged "game stopped for its memory")
  click $(line 2)
  wait_for 30 plays $grey || fail "the memory eater did not start"
  said() { look && [ "$(pixel "$shot" $player)" != "$grey" ] && [ "$(darkest "$shot" 416x323+331+191)" -lt 128 ]; }
  wait_for 120 said || fail "the memory eater was not stopped"
  more_logged "game stopped for its memory" "$stops" || fail "the player did not stop the memory eater"
  good_after "$load" memory-eater
  if [ -n "$ballast" ]; then
    kill "$ballast"
    wait "$ballast" 2>/dev/null || true
  fi

  click $(line 4)
  wait_for 60 plays 240,200,40 || fail "the big game did not grow"
  good_after "$load" ended-big

  kill "$app"
  wait "$app" 2>/dev/null || true
  app=
}

start_x
for round in $(seq "$rounds"); do
  wait_quiet
  one_launch quiet
  stress-ng --cpu 2 --quiet &
  hogs=$!
  helpers="${helpers:-} $hogs"
  one_launch busy
  kill "$hogs"
  wait "$hogs" 2>/dev/null || true
done

row() { # LABEL KEY
  local quiet busy
  quiet=$(stat "quiet.$2") busy=$(stat "busy.$2")
  printf '| %s | %s | %s | %s | %s |\n' "$1" "${quiet%% *} ms" "$(stat "quiet.$2.ratio" | cut -d' ' -f1) ×" \
    "${busy%% *} ms" "$(stat "busy.$2.ratio" | cut -d' ' -f1) ×"
}
echo
echo "Hostile games: from the click to the next game's first frame, medians of $rounds launches"
echo "(ratio: to the fresh page's first game in the same launch)"
echo
echo "| After | Quiet | Ratio | Two busy cores | Ratio |"
echo "|---|---|---|---|---|"
printf '| a fresh page, its first game (from the window) | %s ms | 1 | %s ms | 1 |\n' \
  "$(stat quiet.fresh | cut -d' ' -f1)" "$(stat busy.fresh | cut -d' ' -f1)"
row "a flood of requests" flood
row "a script that never ends, picked at once" endless.at-once
row "a script that never ends, a spare page ready" endless.spare-ready
row "a game that ate memory (stopped)" memory-eater
row "a game that ended big" ended-big
echo
echo "A ready spare page: Pss $(stat quiet.spare.pss | cut -d' ' -f1) MB quiet, $(stat busy.spare.pss | cut -d' ' -f1) MB busy"
