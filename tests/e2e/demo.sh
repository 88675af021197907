#!/usr/bin/env bash
# The demo library that `make run` gives a newcomer, played by the real
# program under a private X server with a sound sink of the test's own: Snake
# moves at an arrow key, Balloon Pop sends up balloons, and Lights Out, solved
# with the mouse in five moves, beeps, chimes and keeps its best in the saves.
# Usage: demo.sh PELLIWICK_BINARY DEMO_GAMES SOUND_LEVEL
set -euo pipefail
here=$(dirname "$0")
source "$here/../support/xsession.sh"

make_program_folder "$1"
bash "$here/../../tools/make-demo-library.sh" "$work" "$2" >/dev/null
start_sound "$3"
start_program 1

# The games' stages are 320 x 240, stretched into the player's 416 x 323 at
# 331,191: a stage point x,y is at 331 + 1.3 x, 191 + 1.346 y on the screen.
at() { echo $((331 + $1 * 13 / 10)) $((191 + $2 * 1346 / 1000)); }

echo "Snake"
click $(line 0)
wait_for 30 shows_at $(at 160 10) 20,40,30 || fail "Snake did not start"
# The snake waits with its head at the sixth cell of the sixth row; an
# arrow sends it on into the seventh. On a busy machine the first frame can
# show before the game listens to keys, so the arrow is pressed until it
# goes (more presses to the right change nothing).
arrow_moves() { xdotool key Right && shows_at $(at 130 130) 140,220,80; }
wait_for 10 arrow_moves || fail "Snake did not move at the arrow key"

echo "Balloon Pop"
pick_category Down 3
wait_for 10 lists 1 || fail "Shooting Games does not list Balloon Pop"
click $(line 0)
wait_for 30 shows_at $(at 160 30) 140,200,240 || fail "Balloon Pop did not start"
# A balloon's string, drawn dark, rises into the sky below the scores.
balloon() { look && [ "$(darkest "$shot" 416x280+331+234)" -lt 100 ]; }
wait_for 20 balloon || fail "no balloon rose"

echo "Lights Out"
pick_category Down 2
wait_for 10 lists 1 || fail "Board Games does not list Lights Out"
click $(line 0)
# The cells are 44 wide from 50,16; the board is dealt by pressing the five
# it is solved by.
cell() { at $((72 + 44 * $1)) $((38 + 44 * $2)); }
wait_for 30 shows_at $(cell 2 2) 240,210,80 || fail "Lights Out did not start"
started=$(now)
for press in "1 1" "3 1" "2 2" "1 3" "3 3"; do
  click $(cell $press)
done
wait_for 10 shows_at $(cell 2 2) 60,140,80 || fail "five moves did not solve Lights Out"
wait_for 10 heard_since "$started" || fail "Lights Out made no sound"
# Filed under the game's entry, which names it in lower case.
best="$XDG_DATA_HOME/pelliwick-saves/localhost$work/Board/lights%20out.swf/best.sol"
wait_for 10 test -s "$best" || fail "Lights Out did not keep its best"
echo "PASS: the demo library's three games play, sound and keep their best"
