#!/usr/bin/env bash
# Hostile games played by the real program under a private X server, each
# followed by a good game that must play at once (within 2 s of its click,
# below): a game that floods the player with requests (for missing files of
# its folder and for files of a large folder outside it), a game whose script
# never ends, a game that eats memory, which the player stops with a word of
# its own, a game that ends big, whose memory the page must not keep, and
# games that ask for the user's files without a click and with one. After
# them the program holds about as much memory as after a fresh start, and no
# file has changed but the one the user saved.
# Usage: hostile.sh PELLIWICK_BINARY MOVIES_FOLDER
set -euo pipefail
here=$(dirname "$0")
source "$here/../support/xsession.sh"
movies=$2

make_program_folder "$1"
mkdir "$work/Action"
cp "$movies/Flood.swf" "$work/Action/a flood.swf"
cp "$movies/Endless.swf" "$work/Action/b endless.swf"
cp "$movies/Hog.swf" "$work/Action/c hog.swf"
cp "$movies/StageOnly.swf" "$work/Action/d good.swf"
cp "$movies/Hog.swf" "$work/Action/e bloat.swf"
cp "$movies/FilePicker.swf" "$work/Action/f browse.swf"
cp "$movies/FilePicker.swf" "$work/Action/save.swf"
# The user's home, where the file dialogs start.
export HOME=$work/home
mkdir "$HOME"
echo "a level" >"$HOME/level.txt"
library() { (cd "$work/Action" && md5sum ./*); }
before=$(library)

# The resident memory of the program and every process it started, in MB.
memory() {
  local pids=" $app " grew=1 pid parent
  while [ $grew -eq 1 ]; do
    grew=0
    for status in /proc/[0-9]*/status; do
      pid=$(awk '/^Pid:/ { print $2 }' "$status" 2>/dev/null) || continue
      parent=$(awk '/^PPid:/ { print $2 }' "$status" 2>/dev/null) || continue
      if [[ $pids == *" $parent "* && $pids != *" $pid "* ]]; then
        pids="$pids$pid "
        grew=1
      fi
    done
  done
  for pid in $pids; do awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null; done |
    awk '{ sum += $1 } END { print int(sum / 1024) }'
}

good=30,80,200 grey=128,128,128
# Within 2 s; where the page must be made anew first, its engine starts
# afresh (1.0 to 1.7 s here), and the test leaves half a second more for a
# slower machine.
# Plays the good game and says how long after the click it showed: the time
# the screenshot that first showed it was begun.
good_plays_within() { # MILLISECONDS WHAT
  local clicked began elapsed
  clicked=$(now)
  click $(line 3)
  while began=$(now) && ! plays $good; do
    [ $((began - clicked)) -lt 10000 ] || fail "the good game did not play after $2"
  done
  elapsed=$((began - clicked))
  echo "the good game played $elapsed ms after its click, after $2"
  [ $elapsed -le "$1" ] || fail "the good game took $elapsed ms to play after $2"
}

start_program 7
click $(line 3)
wait_for 30 plays $good || fail "the good game did not play"
fresh=$(memory)
echo "the program holds $fresh MB, fresh with a game"

click $(line 0)
wait_for 10 plays $grey || fail "the flood did not start"
sleep 1
good_plays_within 2000 "a flood of requests"

click $(line 1)
wait_for 10 plays $grey || fail "the endless script did not start"
sleep 1
good_plays_within 2500 "a script that never ends"

click $(line 2)
wait_for 10 plays $grey || fail "the memory eater did not start"
# Stopped, the game leaves the player's word in its place.
said() { look && [ "$(pixel "$shot" $player)" != "$grey" ] && [ "$(darkest "$shot" 416x323+331+191)" -lt 128 ]; }
wait_for 20 said || fail "the memory eater was not stopped with a word ($(pixel "$shot" $player))"
good_plays_within 2000 "a game that ate memory"

# A game that ends big, though within the limit, leaves its memory in the
# page's engine: the page is made anew before the next game.
click $(line 4)
wait_for 20 plays 240,200,40 || fail "the big game did not grow"
good_plays_within 2500 "a game that ended big"

# Games that ask for the user's files at once, to open one and to save one,
# get nothing and show no box; asked in answer to a click inside the game,
# the program's file dialog opens in the user's home, and a file saved goes
# where the user says, nowhere else. No box stays over the next game.
files() { (cd "$work" && find . -path ./shot.png -prune -o -type f -print | sort); }
files_before=$(files)
click $(line 5)
wait_for 10 plays $grey || fail "the browsing game did not start"
click $player
window_named '^Open$' >/dev/null
xdotool type "level.txt"
xdotool key Return
wait_for 10 plays 40,160,70 || fail "the file picked in the dialog did not reach the game ($(pixel "$shot" $player))"
good_plays_within 2000 "a game that asked for a file to open"
click $(line 6)
wait_for 10 plays $grey || fail "the saving game did not start"
click $player
window_named '^Save As$' >/dev/null
xdotool type "picked.txt"
xdotool key Return
wait_for 10 test -s "$HOME/picked.txt" || fail "the game's file was not saved where the user said"
[ "$(cat "$HOME/picked.txt")" = "saved by a game" ] || fail "the saved file holds $(cat "$HOME/picked.txt")"
good_plays_within 2000 "a game that saved a file"
[ "$(diff <(echo "$files_before") <(files) | grep '^[<>]' | grep -v '/home/.config/')" = "> ./home/picked.txt" ] ||
  fail "files changed beyond the one saved: $(diff <(echo "$files_before") <(files))"

after=$(memory)
echo "the program holds $after MB after the hostile games"
# A fresh start itself holds from one run to the next as much as 60 MB more
# or less (the engine's heap); what a hostile game leaves is far more.
[ $((after * 10)) -le $((fresh * 12)) ] || fail "$after MB after the hostile games, $fresh MB fresh"
[ "$(library)" = "$before" ] || fail "the library changed"
echo "PASS: after each hostile game the next played at once, in as much memory as fresh"
