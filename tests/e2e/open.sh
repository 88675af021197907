#!/usr/bin/env bash
# Games opened as a file manager or a shell opens them, `pelliwick FILE`,
# with the real program under a private X server, judged by the screen and
# the disk. A game in a category, at its top or deep down, named by a
# relative path of blanks, shell characters and bytes that are not UTF-8, or
# by a link from elsewhere: its category is shown and it plays, selected, and
# of several files only the first is opened. A game from elsewhere: the
# category asked for, the game copied there and played; a name the category
# has: said so, nothing copied, nothing played; Cancel, also for a game in a
# hidden folder the listing does not enter: nothing copied. A path that is
# missing, a folder or a text: one message, then the window as usual. No
# other file ever changes.
# Usage: open.sh PELLIWICK_BINARY MOVIES_FOLDER PELLIWICK_SWF CLOSE_WINDOW
set -euo pipefail
here=$(dirname "$0")
source "$here/../support/xsession.sh"
movies=$2 swf=$3 close_window=$4

make_program_folder "$1" Action Sport Board
odd="Old Pack \$(x) & Café" latin=Pok$'\xe9'mon
mkdir -p "$work/Board/$odd/$latin" "$work/Action/.stash" "$work/elsewhere/Folder.swf" \
  "$work/desktop"
add_games "Action/apple=KeyColour" "Sport/Ball=StageOnly" "Sport/Bat=KeyColour" \
  "Board/$odd/$latin/Deep One=Child" "Action/.stash/hidden=Child" "elsewhere/APPLE=StageOnly"
"$swf" solid --color C81E1E --out "$work/elsewhere/New Game.swf"
echo text >"$work/elsewhere/readme.txt"
ln -s "$work/Sport/Ball.swf" "$work/desktop/Ball.swf"
sums() { (cd "$work" && find Action Sport Board elsewhere desktop -type f | LC_ALL=C sort |
  xargs -d '\n' md5sum); }
blue=30,80,200 green=40,160,70 red=200,30,30
empty() { look && [ "$(darkest "$shot" 416x323+331+191)" -ge 250 ]; }
selected() { look && [ "$(pixel "$shot" 305 $((282 + 16 * $1)))" != 255,255,255 ]; }

# Starts the program with these arguments from the current folder, and waits
# for its main window.
open_with() { # ARGUMENT...
  [ -n "${XVFB_PID:-}" ] || start_x
  shot="$work/shot.png"
  "$work/pelliwick" "$@" 2>>"$work/stderr.log" &
  app=$!
  window=$(window_named "$main_window")
}
# The game plays in the category shown, its line selected.
shows_playing() { # GAMES_LISTED LINE R,G,B WHAT
  wait_for 60 plays "$3" || fail "$4 did not play ($(pixel "$shot" $player))"
  lists "$1" || fail "$4: the list shows $(lines_shown) games, not its category's $1"
  selected "$2" || fail "$4 is not selected on line $2"
}
# The program's one message, answered; then the window as usual: the first
# category listed and nothing playing.
says_once() { # WHAT
  window_named '^pelliwick$' >/dev/null
  xdotool key Return
  wait_for 10 gone '^pelliwick$' || fail "the message about $1 did not go"
  wait_for 30 lists 1 || fail "after the message about $1 the window is not as usual"
  empty || fail "something plays after the message about $1"
}
# The category dialog: that many entries down from the first, then OK.
add_to() { # DOWN_PRESSES
  window_named '^Add to\.\.\.$' >/dev/null
  local _
  for _ in $(seq "$1"); do xdotool key Down; done
  xdotool key Return
}

before=$(sums)
echo "a game in a category, and another file after it"
cd "$work"
open_with Sport/Ball.swf "elsewhere/New Game.swf"
shows_playing 2 0 $blue "the game in Sport"
gone '^Add to\.\.\.$' || fail "the second file was opened too"
quit

echo "a game deep in a category's folders, by a relative path of odd bytes"
cd "$work/Board/$odd"
open_with "$latin/../$latin/Deep One.swf"
shows_playing 1 0 $green "the game in Board's subfolder"
quit
cd "$work"

echo "a link from elsewhere to a game in a category"
open_with "$work/desktop/Ball.swf"
shows_playing 2 0 $blue "the linked game"
quit
[ "$(sums)" = "$before" ] || fail "opening games in categories changed files"

echo "a game from elsewhere, added to the category picked"
open_with "$work/elsewhere/New Game.swf"
add_to 5
shows_playing 2 1 $red "the game added to Board"
cmp -s "$work/Board/New Game.swf" "$work/elsewhere/New Game.swf" ||
  fail "the game was not copied into Board"
quit
rm "$work/Board/New Game.swf"
[ "$(sums)" = "$before" ] || fail "adding the game changed other files"

echo "a game whose name the category has"
open_with "$work/elsewhere/APPLE.swf"
add_to 0
says_once "the taken name"
cmp -s "$work/Action/apple.swf" "$movies/KeyColour.swf" || fail "the taken name was overwritten"
quit

echo "a game in a hidden folder of a category, and Cancel"
open_with "$work/Action/.stash/hidden.swf"
window_named '^Add to\.\.\.$' >/dev/null
xdotool key Escape
wait_for 10 gone '^Add to\.\.\.$' || fail "Escape did not cancel"
wait_for 30 lists 1 || fail "after Cancel the window is not as usual"
empty || fail "something plays after Cancel"
quit

echo "a missing file of a name that is not UTF-8, a folder and a text: a message each"
for path in "$work/elsewhere/$latin.swf" "$work/elsewhere/Folder.swf" "$work/elsewhere/readme.txt"; do
  open_with "$path"
  says_once "$path"
  quit
done
[ "$(sums)" = "$before" ] || fail "the files changed: $(diff <(echo "$before") <(sums))"
echo "PASS: games opened from a file manager or a shell play, in their category or added to one"
