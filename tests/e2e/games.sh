#!/usr/bin/env bash
# Games made as real games are (ActionScript 3, compiled with Haxe) played by
# the real program under a private X server, as the original player played
# them: a movie that draws nothing shows its own stage colour at once; a movie
# sees the address it was played from; an entry without its game file (a
# .jpg twin) leaves the player empty instead of showing the engine's advice.
# Usage: games.sh PELLIWICK_BINARY MOVIES_FOLDER
set -euo pipefail
here=$(dirname "$0")
source "$here/../support/xsession.sh"
movies=$2

make_program_folder "$1"
mkdir "$work/Action"
cp "$movies/StageOnly.swf" "$work/Action/a stage only.swf"
: >"$work/Action/b missing.jpg"
cp "$movies/UrlProbe.swf" "$work/Action/url probe.swf"

start_x
shot="$work/shot.png"
"$work/pelliwick" 2>"$work/stderr.log" &
app=$!
window_named '^Pelliwick 1\.1$' >/dev/null
wait_for 30 lists 3 || fail "the game list was never drawn"

# The whole player area, 416 x 323 at 331,191 on the screen, is white.
empty() { look && [ "$(darkest "$shot" 416x323+331+191)" -ge 250 ]; }
click $(line 0)
wait_for 30 plays 30,80,200 || fail "a movie that draws nothing did not show its stage colour"
click $(line 1)
wait_for 10 empty || fail "an entry without its game file did not leave the player empty"
click $(line 2)
wait_for 30 plays 40,160,70 ||
  fail "the movie did not see its own address ($(pixel "$shot" $player): red none, yellow another)"
echo "PASS: stage colour, the movie's own address, an empty player for a missing game"
