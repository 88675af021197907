#!/usr/bin/env bash
# Games made as real games are (ActionScript 3, compiled with Haxe) played by
# the real program under a private X server, as the original player played
# them: a movie that draws nothing shows its own stage colour at once; a movie
# sees the address it was played from; an entry without its game file (a
# .jpg twin) leaves the player empty instead of showing the engine's advice;
# keys and the mouse reach the game, the mouse at the stretched scale; a game
# loads the text, XML and movie files beside it, also by a name in other
# letters than the file has; a game whose name is not UTF-8 plays.
# Usage: games.sh PELLIWICK_BINARY MOVIES_FOLDER
set -euo pipefail
here=$(dirname "$0")
source "$here/../support/xsession.sh"
movies=$2

make_program_folder "$1" Action
cp "$movies/StageOnly.swf" "$work/Action/a stage only.swf"
: >"$work/Action/b missing.jpg"
cp "$movies/KeyColour.swf" "$work/Action/c keys.swf"
cp "$movies/Child.swf" "$work/Action/child.swf"
cp "$movies/PressButton.swf" "$work/Action/d button.swf"
cp "$movies/TextLoader.swf" "$work/Action/e text.swf"
echo pelliwick >"$work/Action/data.txt"
cp "$movies/XmlLoader.swf" "$work/Action/f levels.swf"
printf '<levels><level/><level/><level/></levels>\n' >"$work/Action/levels.xml"
cp "$movies/MovieLoader.swf" "$work/Action/g loader.swf"
cp "$movies/UrlProbe.swf" "$work/Action/url probe.swf"
# A name from an old Windows archive: Latin-1, not UTF-8.
cp "$movies/StageOnly.swf" "$work/Action/h Pok"$'\xe9'"mon.swf"

start_program 10

# The whole player area, 416 x 323 at 331,191 on the screen, is white.
empty() { look && [ "$(darkest "$shot" 416x323+331+191)" -ge 250 ]; }
click $(line 0)
wait_for 30 plays 30,80,200 || fail "a movie that draws nothing did not show its stage colour"
click $(line 1)
wait_for 10 empty || fail "an entry without its game file did not leave the player empty"
click $(line 9)
wait_for 30 plays 40,160,70 ||
  fail "the movie did not see its own address ($(pixel "$shot" $player): red none, yellow another)"

click $(line 2)
wait_for 30 plays 128,128,128 || fail "the keyboard game did not start"
xdotool key a
wait_for 10 plays 40,160,70 || fail "the key A did not reach the game ($(pixel "$shot" $player))"

# The button covers 100,100 to 200,150 of a 400 x 300 stage, stretched into
# the player's 416 x 323 at 331,191: 435,299 to 539,352 on the screen. The
# stage's colour says what the mouse did; it is read in a corner.
click $(line 4)
stage() { shows_at 340 200 "$1"; }
wait_for 30 stage 128,128,128 || fail "the mouse game did not start"
# Inside only when stretched: unstretched, the button would end at 531,341.
xdotool mousemove --sync 536 350
wait_for 10 stage 240,200,40 || fail "hovering over the button did not reach the game"
xdotool mousedown 1
wait_for 10 stage 40,80,200 || fail "pressing the button did not reach the game"
xdotool mouseup 1
wait_for 10 stage 40,160,70 || fail "releasing the button did not click it"
# Beside the stretched button, though the unstretched one would be there.
xdotool mousemove --sync 433 325 click 1
wait_for 10 stage 200,30,30 || fail "a press beside the button did not reach the game as such"

click $(line 5)
wait_for 30 plays 40,160,70 ||
  fail "the game did not read data.txt as DATA.TXT ($(pixel "$shot" $player): red none, yellow other)"
click $(line 6)
wait_for 30 plays 40,160,70 || fail "the game did not read levels.xml ($(pixel "$shot" $player))"
click $(line 7)
wait_for 30 plays 40,160,70 || fail "the game did not load the movie beside it ($(pixel "$shot" $player))"
click $(line 8)
wait_for 30 plays 30,80,200 || fail "a game whose name is not UTF-8 did not play ($(pixel "$shot" $player))"
echo "PASS: stage colour, own address, empty player for a missing game, keys, mouse, files beside"
