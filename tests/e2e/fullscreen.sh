#!/usr/bin/env bash
# Full screen and the player's menu, with the real program under a private X
# server. A game that asks for full screen in answer to a click or a key
# fills the screen with its whole stage, keys and clicks still reaching it;
# Esc, the game itself, the player's menu, another program's window taking
# the keyboard, and the full-screen window closed as a window manager closes
# it each bring the main window back as it was, the next key reaching the
# game, as Esc does for a game that stops answering there. A request that no
# click preceded (at the game's start, or two seconds after a click) comes
# to nothing, and a game that asks at every frame cannot take the screen
# back after Esc. The main window closed in full screen ends the program.
# The menu offers full screen, and lies wholly in the player area, its first
# and last entries found and chosen, at the design size and in a larger
# window.
# Usage: fullscreen.sh PELLIWICK_BINARY MOVIES_FOLDER PELLIWICK_SWF DRAG_SOURCE CLOSE_WINDOW
set -euo pipefail
here=$(dirname "$0")
source "$here/../support/xsession.sh"
movies=$2

make_program_folder "$1" Action
"$3" keyswitch --color 1E50C8 --key-color F0C828 --out "$work/Action/a frames.swf"
cp "$movies/FullScreen.swf" "$work/Action/b full.swf"
cp "$movies/FullScreen.swf" "$work/Action/c late.swf"
cp "$movies/FullScreen.swf" "$work/Action/d loop.swf"
cp "$movies/FullScreen.swf" "$work/Action/e hang.swf"
start_program 5

# The screen's corners show the game's stage: its colour at the upper left,
# the white mark of the stage's lower right corner at the lower right.
full() { look && [ "$(pixel "$shot" 4 4)" = "$1" ] && [ "$(pixel "$shot" 1019 763)" = 255,255,255 ]; }
windowed() { look && [ "$(pixel "$shot" 4 4)" = 0,0,0 ] && [ "$(pixel "$shot" $player)" = "$1" ]; }
Grey=128,128,128 Green=40,160,70 Blue=40,80,200 Yellow=240,200,40
geometry() { xdotool getwindowgeometry "$window" | tail -n 2 | tr -s ' \n' ' '; }
selected() { [ "$(pixel "$shot" 305 $((282 + 16 * $1)))" != 255,255,255 ]; }
# The game on that line of the list starts in the window: its request at its
# start, which no click preceded, came to nothing.
start_game() { # LINE
  click $(line $1)
  wait_for 30 windowed $Grey || fail "the game on line $1 did not start in the window"
}

# The menu of the game of frames, just started, opened at X,Y, lies within
# the player area between rows Y0 and Y1; its last entry is lit under the
# pointer (at POINTER_X) and chosen, and its first plays the game on to its
# second frame.
menu_fits() { # X Y COLUMN Y0 Y1 POINTER_X WHERE
  open_menu "$1" "$2" "$3" "$4" "$5"
  [ "$menu_top" -gt "$4" ] && [ "$menu_bottom" -lt "$5" ] ||
    fail "$7 the menu ($menu_top to $menu_bottom) does not fit the player area ($4 to $5)"
  xdotool mousemove --sync "$6" $((menu_bottom - 8))
  wait_for 30 lit "$3" $((menu_bottom - 8)) || fail "$7 the menu's last entry is not lit under the pointer"
  xdotool click 1
  wait_for 30 plays 30,80,200 || fail "$7 choosing the last entry did not close the menu"
  open_menu "$1" "$2" "$3" "$4" "$5"
  click "$6" $((menu_top + 8))
  wait_for 30 plays 240,200,40 || fail "$7 the menu's first entry (Play) did not play the game on"
}

# At the design size the menu lies within the player area (191 to 514).
click $(line 0)
wait_for 30 plays 30,80,200 || fail "the game of frames did not start"
menu_fits 360 352 365 191 514 400 "At the design size"

# A game asks for full screen as it starts, with no click: it stays in the
# window. A click: the whole stage fills the screen.
before=$(geometry)
start_game 1
click $player
wait_for 30 full $Green || fail "a click's request did not fill the screen with the stage"
# A key reaches the game, which leaves full screen.
xdotool key a
wait_for 30 windowed $Yellow || fail "the game did not leave full screen for a key"
# Esc: the window as it was, the game's selection, and the keyboard on the game.
click $player
wait_for 30 full $Green || fail "the second request did not fill the screen"
xdotool key Escape
wait_for 30 windowed $Blue || fail "Esc did not bring the game back to the window"
[ "$(geometry)" = "$before" ] || fail "the window came back as $(geometry), not $before"
selected 1 && [ "$(lines_shown)" -eq 5 ] || fail "the list did not come back as it was"
xdotool key a
wait_for 30 plays $Yellow || fail "after Esc a key did not reach the game"

# The menu offers full screen, in the window and in full screen, first after
# the quality entries.
open_menu 360 300 365 191 514
click 400 $((menu_lines[0] + 8))
wait_for 30 full $Green || fail "the menu's Enter Full Screen did not fill the screen"
open_menu 200 200 205 0 768
click 240 $((menu_lines[0] + 8))
wait_for 30 windowed $Yellow || fail "the menu's Exit Full Screen did not leave full screen"

# A key's request fills the screen too, and there a click reaches the game.
xdotool key f
wait_for 30 full $Green || fail "a key's request did not fill the screen"
click 500 400
xdotool key Escape
wait_for 30 windowed $Blue || fail "a click in full screen did not reach the game"

# Another program's window taking the keyboard, and the full-screen window
# closed as a window manager closes it, each leave full screen.
"$4" 20 600 "$work/Action/a frames.swf" >/dev/null 2>&1 &
helpers=$!
wait_for 30 xdotool search --onlyvisible --name '^drag source$' || fail "no other program"
click $player
wait_for 30 full $Green || fail "a click did not fill the screen again"
xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^drag source$')"
wait_for 30 windowed $Blue || fail "another window taking the keyboard did not leave full screen"
xdotool windowfocus --sync "$window"
click $player
wait_for 30 full $Green || fail "a click did not fill the screen once more"
"$5" "$(xdotool getwindowfocus)"
wait_for 30 windowed $Blue || fail "closing the full-screen window did not leave full screen"
[ "$(geometry)" = "$before" ] || fail "the window came back as $(geometry), not $before"
xdotool key a
wait_for 30 plays $Yellow || fail "after leaving full screen a key did not reach the game"

# Asked two seconds after a click: nothing. Asked at every frame: once for
# the click, and after Esc the window stays the user's.
start_game 2
click $player
wait_for 30 windowed $Blue || fail "a request two seconds after a click was granted"
start_game 3
click $player
wait_for 30 full $Green || fail "the game asking at every frame did not get full screen for a click"
xdotool key Escape
wait_for 30 windowed $Blue || fail "Esc did not leave a game that asks at every frame"
click $(line 0)
wait_for 30 plays 30,80,200 || fail "after Esc the game asking at every frame kept the screen"

# A game that stops answering in full screen: Esc brings the window back all
# the same, and another game plays.
start_game 4
click $player
wait_for 30 full $Green || fail "the game that hangs did not get full screen for a click"
wait_for 60 grep -q "spare page started" "$work/stderr.log" || fail "the game did not hang"
xdotool key Escape
wait_for 30 shows_at 4 4 0,0,0 || fail "Esc did not leave the full screen of a game that hangs"
click $(line 0)
wait_for 30 plays 30,80,200 || fail "after a game that hangs left full screen no other game played"

# In a larger window, opened by the player area's lower right corner, the
# menu lies wholly within the area (191 to 717).
xdotool windowsize --sync "$window" 800 560
wait_for 30 shows_at 950 700 30,80,200 || fail "the player area did not grow with the window"
menu_fits 950 700 940 191 717 920 "In a larger window"

# The main window closed as a window manager closes it, while a game is full
# screen (from the desktop's list of windows), ends the program as its close
# button does.
start_game 1
click $player
wait_for 30 full $Green || fail "a click did not fill the screen before the main window closed"
"$5" "$window"
ended() { ! kill -0 "$app" 2>/dev/null; }
wait_for 30 ended || fail "the program went on after its main window closed in full screen"
code=0
wait "$app" || code=$?
[ $code -eq 0 ] || fail "exit code $code after the main window closed in full screen"
echo "PASS: full screen granted for a click or a key and left five ways, refused otherwise; the menu fits"
