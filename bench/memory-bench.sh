#!/usr/bin/env bash
# The memory benchmark: what the player lets a game hold on this machine, and
# how soon it stops a game that grows without bound. In one launch of the
# program, on a quiet machine:
#   - the largest steady game the player lets play here, from its own figures
#     (its log as a game starts), and the heaviest steady game the engine
#     itself holds (Heavy, 3500 MB of bitmaps), played a minute: whether it
#     was stopped, and what its page held;
#   - a game eating 100 MB a second (Hog, paced) on the machine as it is: how
#     long until it was stopped, or until it stopped growing at the engine's
#     own limit, and what its page then held;
#   - the same game on the machine made short by a ballast that leaves the
#     player's reserve and 2 GB available, ROUNDS times: how long from its
#     first frame to its stop, and from the moment the machine's available
#     memory first fell below the reserve (read every 50 ms) to the stop,
#     with the page's memory and the machine's at the stop, and whether the
#     kernel ended any process.
# Builds nothing: run `cmake --build BUILD_DIR` with -DPELLIWICK_BENCHMARKS=ON
# first.
#
# Usage: bench/memory-bench.sh BUILD_DIR [ROUNDS]
#   ROUNDS   stops of the eater on the machine made short (default 3)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR [ROUNDS]" >&2; exit 2; }
build=$(cd "$1" && pwd)
rounds=${2:-3}
movies=$build/bench/movies
ballast_program=$build/tools/memory-ballast/memory-ballast
for file in "$build/pelliwick" "$movies/Heavy.swf" "$movies/Hog.swf" "$ballast_program"; do
  [ -e "$file" ] || { echo "missing $file: build first (cmake --build $1)" >&2; exit 2; }
done

source "$here/bench-support.sh" "$@"
make_program_folder "$build/pelliwick" Action
heavy_mb=3500
add_games "Action/a good=StageOnly" "Action/b heavy $heavy_mb=Heavy" "Action/c paced hog=Hog"
export QT_LOGGING_RULES="pelliwick.player.debug=true"
good=30,80,200 grey=128,128,128 green=40,160,70

logged() { grep -c "$1" "$work/stderr.log" || true; }
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", (b - a) / 1000 }'; } # FROM_MS TO_MS
resident_mb() { awk '/^VmRSS:/ { print int($2 / 1024) }' "/proc/$1/status" 2>/dev/null || echo 0; }
# The render process of the page the player shows.
current_page() { grep -o ': page ready, render process [0-9]*' "$work/stderr.log" | tail -n 1 | awk '{ print $NF }'; }
play_good() {
  click $(line 0)
  wait_for 60 plays $good || fail "the good game did not play"
}
# Clicks the eater and waits for its first frame; prints that moment.
eater_started() {
  click $(line 2)
  local seen
  while seen=$(now) && ! plays $grey; do
    [ $((seen - $1)) -lt 60000 ] || fail "the eater did not start"
  done
  echo "$seen"
}

start_x
wait_quiet
start_program 3
play_good
read -r available total reserve <<<"$(machine_figures)"
largest=$(grep -o 'may come to hold [0-9]* MB' "$work/stderr.log" | tail -n 1 | awk '{ print $5 }')
[ -n "$reserve" ] && [ -n "$largest" ] || fail "the player told no figures of the machine's memory"

# The heaviest steady game the engine holds: a minute of play.
click $(line 1)
wait_for 600 plays $green || fail "the heavy game did not settle ($(pixel "$shot" $player))"
page=$(current_page)
until_ms=$(($(now) + 60000))
heavy_outcome="played a minute, not stopped"
while [ "$(now)" -lt $until_ms ]; do
  if ! plays $green; then
    heavy_outcome="stopped ($(pixel "$shot" $player))"
    break
  fi
  sleep 1
done
heavy_page_mb=$(resident_mb "$page")
play_good

# The eater on the machine as it is.
stops=$(logged "game stopped for its memory")
clicked=$(now)
started=$(eater_started "$clicked")
page=$(current_page)
last_mb=0 last_grew=$(now) as_is=""
while [ -z "$as_is" ]; do
  sleep 0.2
  at=$(now) mb=$(resident_mb "$page")
  if [ "$(logged "game stopped for its memory")" -gt "$stops" ]; then
    as_is="stopped by the player after $(seconds "$started" "$at") s"
  elif [ "$mb" -gt $((last_mb + 20)) ]; then
    last_mb=$mb last_grew=$at
  elif [ $((at - last_grew)) -ge 5000 ]; then
    as_is="grew no more after $(seconds "$started" "$last_grew") s (the engine's own limit), not stopped"
  fi
  [ $((at - started)) -lt 300000 ] || fail "the eater neither grew nor was stopped in 5 minutes"
done
as_is_mb=$last_mb as_is_available=$(available_mb)
play_good

# The eater on the machine made short, ROUNDS times.
kills=$(oom_kills)
leave_available "$ballast_program" $((reserve + 2048))
figures=$work/figures
: >"$figures"
for round in $(seq "$rounds"); do
  stops=$(logged "game stopped for its memory")
  left=$(available_mb)
  started=$(eater_started "$(now)")
  page=$(current_page)
  first_mb=$(resident_mb "$page")
  crossed="" last_mb=$first_mb last_grew=$started
  while [ "$(logged "game stopped for its memory")" -eq "$stops" ]; do
    at=$(now)
    [ -n "$crossed" ] || [ "$(available_mb)" -ge "$reserve" ] || crossed=$at
    mb=$(resident_mb "$page")
    if [ "$mb" -gt $((last_mb + 20)) ]; then
      last_mb=$mb last_grew=$at
    elif [ $((at - last_grew)) -ge 5000 ]; then
      fail "the eater grew no more at $mb MB, and the machine had $(available_mb) MB available"
    fi
    sleep 0.05
  done
  stopped=$(now)
  line=$(grep -o 'game stopped for its memory: .*' "$work/stderr.log" | tail -n 1)
  [[ $line =~ held\ ([0-9]+)\ MB\ with\ ([0-9]+)\ MB\ available ]] || fail "no figures in: $line"
  echo "left $left" >>"$figures"
  echo "seconds $(seconds "$started" "$stopped")" >>"$figures"
  echo "rate $(awk -v mb=$((BASH_REMATCH[1] - first_mb)) -v a="$started" -v b="$stopped" 'BEGIN { printf "%d", mb * 1000 / (b - a) }')" >>"$figures"
  [ -z "$crossed" ] || echo "after-reserve-ms $((stopped - crossed))" >>"$figures"
  echo "page-mb ${BASH_REMATCH[1]}" >>"$figures"
  echo "available-mb ${BASH_REMATCH[2]}" >>"$figures"
  play_good
done
kill -0 "$ballast" 2>/dev/null && ballast_lived=yes || ballast_lived=no
kill "$ballast" 2>/dev/null || true
wait "$ballast" 2>/dev/null || true
ended=$(($(oom_kills) - kills))

range() { # KEY: "median (min–max)", or "none"
  local found
  read -r -a found <<<"$(stat "$1")"
  [ ${#found[@]} -ge 3 ] && echo "${found[0]} (${found[1]}–${found[2]})" || echo none
}
echo
echo "Memory: what the player lets a game hold, and how soon it stops one that grows without bound"
echo "(the machine: $total MB, $available MB available as the first game started; the player keeps $reserve MB)"
echo
echo "| Figure | Measured |"
echo "|---|---|"
echo "| The largest steady game the player lets play here now | $largest MB (half of the machine: $((total / 2)) MB) |"
echo "| The heaviest steady game the engine holds ($heavy_mb MB of bitmaps) | its page $heavy_page_mb MB: $heavy_outcome |"
echo "| A game eating 100 MB a second, the machine as it is | $as_is; its page $as_is_mb MB, $as_is_available MB available |"
echo "| The same, the machine made short: available at its start | $(range left) MB |"
echo "| — from its first frame to its stop | $(range seconds) s, growing $(range rate) MB a second |"
echo "| — from the machine below the reserve to the stop | $(range after-reserve-ms) ms |"
echo "| — its page at the stop | $(range page-mb) MB |"
echo "| — the machine's available memory at the stop | $(range available-mb) MB of $total MB |"
echo "| Processes the kernel ended for want of memory meanwhile | $ended (the ballast lived: $ballast_lived) |"
echo
echo "Medians (min–max) of $rounds stops, at $(source_commit)."
