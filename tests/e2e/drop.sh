#!/usr/bin/env bash
# Games dropped onto the game list from another program's window, as a user
# drops them from a file manager: a drop of two games, one of whose names the
# category already has, adds the other and leaves the taken one; a folder, a
# file that is not a game, a name the category has and an address on the web
# are refused before the drop. The disk and the list are checked after each.
# Usage: drop.sh PELLIWICK_BINARY PELLIWICK_SWF DRAG_SOURCE
set -euo pipefail
here=$(dirname "$0")
source "$here/../support/xsession.sh"

make_program_folder "$1"
mkdir -p "$work/Action" "$work/elsewhere/Folder.swf"
"$2" solid --color 1E50C8 --out "$work/Action/chess.swf"
"$2" solid --color 28A046 --out "$work/elsewhere/Pong.swf"
"$2" solid --color C81E1E --out "$work/elsewhere/CHESS.swf"
echo text >"$work/elsewhere/readme.txt"
drag_source=$3
sums() { (cd "$work" && find Action elsewhere -type f -print0 | sort -z | xargs -0 md5sum); }
start_program 1

# Drags the files from the other program's window onto the game list, as a
# hand does: press, move across once the drag is under way, release once the
# list has answered. Prints what the other program learnt: the list's answer
# before the drop (accepts, refuses) and what became of the drag (copied,
# refused).
drop() {
  "$drag_source" 20 600 "$@" >"$work/drag.log" 2>/dev/null &
  local source=$!
  said() { [ "$(wc -l <"$work/drag.log")" -ge "$1" ]; }
  wait_for 30 xdotool search --onlyvisible --name '^drag source$' || fail "no drag source"
  xdotool mousemove --sync 70 630 mousedown 1
  wait_for 30 said 1 || fail "the drag did not start"
  xdotool mousemove --sync 150 450 mousemove --sync 215 300
  wait_for 30 said 2 || fail "the list never answered the drag"
  xdotool mouseup 1
  wait_for 30 said 3 || fail "the drag never ended"
  kill $source
  wait $source 2>/dev/null || true
  echo $(tail -n 2 "$work/drag.log")
}

before=$(sums)
for refused in "$work/elsewhere/Folder.swf" "$work/elsewhere/readme.txt" \
  "$work/elsewhere/CHESS.swf" "http://127.0.0.1:9/game.swf"; do
  [ "$(drop "$refused")" = "refuses refused" ] || fail "a drag of $refused was not refused"
done
[ "$(sums)" = "$before" ] || fail "a refused drop changed files"
lists 1 || fail "a refused drop changed the list"

[ "$(drop "$work/elsewhere/Pong.swf" "$work/elsewhere/CHESS.swf")" = "accepts copied" ] ||
  fail "a drop of two games, one new, was refused: $(cat "$work/drag.log")"
cmp -s "$work/Action/Pong.swf" "$work/elsewhere/Pong.swf" || fail "the new game was not copied"
cmp -s "$work/Action/chess.swf" "$work/elsewhere/CHESS.swf" && fail "the taken name was overwritten"
files() { echo $(LC_ALL=C ls "$work/$1"); }
[ "$(files Action)" = "Pong.swf chess.swf" ] || fail "Action holds $(files Action)"
[ "$(files elsewhere)" = "CHESS.swf Folder.swf Pong.swf readme.txt" ] ||
  fail "the dropped files did not stay where they were: $(files elsewhere)"
wait_for 30 lists 2 || fail "the new game's entry was not appended"
echo "PASS: two games dropped, one added, the taken one and four refused drops left alone"
