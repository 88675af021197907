#!/usr/bin/env bash
# A heavy game that settles, played by the real program under a private X
# server: it holds 2.5 GB of bitmaps, as a large game holds its decoded
# pictures, and on a machine that carries it, it plays on: its colour stays
# for a minute, its page holds what it took, and it still answers a click.
# The next game then plays as after any other, and the program gives the
# memory back. Where the machine has not the memory to spare beside the
# reserve the player keeps, the test is skipped (exit code 77) and says why.
# Usage: heavy.sh PELLIWICK_BINARY MOVIES_FOLDER
set -euo pipefail
here=$(dirname "$0")
source "$here/../support/xsession.sh"
movies=$2
heavy_mb=2500

make_program_folder "$1" Action
add_games "Action/a good=StageOnly" "Action/b heavy $heavy_mb=Heavy"
# The player's log tells the machine's figures and its render processes.
export QT_LOGGING_RULES="pelliwick.player.debug=true"
good=30,80,200 grey=128,128,128 green=40,160,70 blue=40,80,200

# The resident memory of a process, in MB.
resident_mb() { awk '/^VmRSS:/ { print int($2 / 1024) }' "/proc/$1/status"; }
# The resident memory of the program and every process it started, in MB.
program_mb() {
  for pid in $app $(descendants "$app"); do resident_mb "$pid" 2>/dev/null; done |
    awk '{ sum += $1 } END { print sum }'
}
stopped_for_memory() { grep -q "game stopped for its memory" "$work/stderr.log"; }

# A fresh page's first game, from the window shown: what "as after any other
# game" is measured against, in this run.
start_program 2
click $(line 0)
while began=$(now) && ! plays $good; do
  [ $((began - shown_at)) -lt 30000 ] || fail "the good game did not play"
done
fresh_ms=$((began - shown_at))
fresh_mb=$(program_mb)
echo "a fresh page played its first game $fresh_ms ms after the window showed; the program holds $fresh_mb MB"

read -r available total reserve <<<"$(machine_figures)"
[ -n "$reserve" ] || fail "the player told no figures of the machine's memory"
# The page holds some 250 MB beside the game's bitmaps; half a gigabyte more
# leaves room for what other programs take meanwhile.
needed=$((heavy_mb + 750))
if [ $((available - needed)) -lt "$reserve" ]; then
  echo "SKIP: the machine has $available MB of $total MB available; a game of $heavy_mb MB needs $needed MB beside the $reserve MB the player keeps for the rest of the machine"
  exit 77
fi
echo "the machine has $available MB of $total MB available, the player keeps $reserve MB"

click $(line 1)
held() { plays $green || { stopped_for_memory && fail "the heavy game was stopped as it grew"; }; }
wait_for 600 held || fail "the heavy game did not settle ($(pixel "$shot" $player))"
page=$(grep -o ': page ready, render process [0-9]*' "$work/stderr.log" | tail -n 1 | awk '{ print $NF }')
holds=$(resident_mb "$page")
echo "the heavy game settled; its page holds $holds MB"
[ "$holds" -ge $heavy_mb ] || fail "the heavy game's page holds $holds MB, not the $heavy_mb MB of its bitmaps"

# A minute of play: the colour stays, and so does what the page holds.
until_ms=$(($(now) + 60000))
while [ "$(now)" -lt $until_ms ]; do
  plays $green || fail "the heavy game stopped showing its colour ($(pixel "$shot" $player))"
  [ "$(resident_mb "$page")" -ge $heavy_mb ] || fail "the heavy game's page let its memory go"
  sleep 1
done
stopped_for_memory && fail "the heavy game was stopped"
click $player
wait_for 30 plays $blue || fail "the heavy game did not answer a click after a minute ($(pixel "$shot" $player))"
echo "the heavy game played a minute, holding $(resident_mb "$page") MB, and answered a click"

# The page that keeps the heavy game's memory is made anew for the next
# game, from a spare page readied while the heavy game played.
clicked=$(now)
click $(line 0)
while began=$(now) && ! plays $good; do
  [ $((began - clicked)) -lt 30000 ] || fail "the good game did not play after the heavy game"
done
elapsed=$((began - clicked))
echo "the good game played $elapsed ms after its click, after the heavy game"
[ $elapsed -le $((fresh_ms + 500)) ] ||
  fail "the good game took $elapsed ms to play after the heavy game, a fresh page $fresh_ms ms"
after_mb=$(program_mb)
echo "the program holds $after_mb MB after the heavy game"
# A fresh start itself holds from one run to the next as much as 60 MB more
# or less (the engine's heap); a page that kept the heavy game's holds GBs.
[ $((after_mb * 10)) -le $((fresh_mb * 12)) ] || fail "$after_mb MB after the heavy game, $fresh_mb MB fresh"
echo "PASS: the heavy game of $heavy_mb MB played on, and the next game as after any other"
