#!/usr/bin/env bash
# The notice that says how to leave full screen, with the real program under
# a private X server: as a game's request (a key's) and the player's menu
# each fill the screen, a dark box with light words shows over the top of
# the game, a click on it and a key reach the game while it shows, and a few
# seconds later it is gone, the game whole under it.
# Usage: notice.sh PELLIWICK_BINARY MOVIES_FOLDER
set -euo pipefail
here=$(dirname "$0")
source "$here/../support/xsession.sh"
movies=$2

make_program_folder "$1" Action
# A game that stays full screen at any key, and shows what reached it there.
cp "$movies/FullScreen.swf" "$work/Action/a stay.swf"
start_program 1

Grey=128,128,128 Green=40,160,70 Blue=40,80,200 Yellow=240,200,40
# The notice lies centred near the top of the screen, where the game's stage
# is otherwise of one colour: a dark box with light words.
box=360x50+332+72 middle="512 97"
notice() {
  [ "$(darkest "$shot" $box)" -lt 50 ] &&
    [ "$(convert "$shot" -crop $box +repage -colorspace Gray -format '%[fx:int(255*maxima)]' info:)" \
      -ge 200 ]
}
full() { [ "$(pixel "$shot" 4 4)" = "$1" ]; } # the game's colour fills the screen
fills() { look && full "$1"; }                 # GAME_COLOUR
shown() { look && full "$1" && notice; }       # GAME_COLOUR
gone() {                                       # GAME_COLOUR
  look && full "$1" && [ "$(pixel "$shot" $middle)" = "$1" ] &&
    [ "$(convert "$shot" -crop $box +repage -unique-colors -format '%w' info:)" -eq 1 ]
}
# What reached the game while the notice showed: it showed as the test
# sent it, and still shows in the first look after it.
while_shown() { # WHAT
  look && notice || fail "the notice had gone before $1 could be shown to reach the game under it"
}

echo "the game's request: a click on the notice"
click $(line 0)
wait_for 30 plays $Grey || fail "the game did not start in the window"
xdotool key f
wait_for 30 shown $Green || fail "no notice over the game as its request filled the screen"
click $middle
while_shown "a click"
wait_for 30 fills $Blue || fail "a click on the notice did not reach the game"
wait_for 30 gone $Blue || fail "the notice did not go"
xdotool key Escape
wait_for 30 plays $Grey || fail "Esc did not leave full screen after the notice"

echo "the game's request again: a key"
xdotool key f
wait_for 30 shown $Green || fail "no notice as the game's request filled the screen again"
xdotool key a
while_shown "a key"
wait_for 30 fills $Yellow || fail "a key did not reach the game while the notice showed"
wait_for 30 gone $Yellow || fail "the notice did not go the second time"
xdotool key Escape
wait_for 30 plays $Grey || fail "Esc did not leave full screen the second time"

echo "the menu's request"
open_menu 360 300 365 191 514
click 400 $((menu_lines[0] + 8))
wait_for 30 shown $Green || fail "no notice over the game as the menu filled the screen"
wait_for 30 gone $Green || fail "the notice did not go after the menu's request"
xdotool key Escape
wait_for 30 plays $Grey || fail "Esc did not leave the menu's full screen"
echo "PASS: the notice showed over the game for both requests, took no key or click, and went"
