#!/usr/bin/env bash
# Games dropped onto the game list from another program's window, as a user
# drops them from a file manager: a drop of games, one of whose names the
# category already has, adds the others (one with a Latin-1 name, one a link
# to a game elsewhere, copied with its target untouched) and leaves the
# taken one; a folder, a file that is not a game, a name the category has
# and an address on the web are refused before the drop. The disk and the
# list are checked after each.
# Usage: drop.sh PELLIWICK_BINARY PELLIWICK_SWF DRAG_SOURCE
set -euo pipefail
here=$(dirname "$0")
source "$here/../support/xsession.sh"

make_program_folder "$1"
mkdir -p "$work/Action" "$work/elsewhere/Folder.swf" "$work/far"
latin1=$'Pok\xe9mon.swf'
"$2" solid --color 1E50C8 --out "$work/Action/chess.swf"
"$2" solid --color 28A046 --out "$work/elsewhere/Pong.swf"
"$2" solid --color C81E1E --out "$work/elsewhere/CHESS.swf"
"$2" solid --color C8A01E --out "$work/elsewhere/$latin1"
"$2" solid --color 1EC8A0 --out "$work/far/away.swf"
ln -s "$work/far/away.swf" "$work/elsewhere/Link.swf"
echo text >"$work/elsewhere/readme.txt"
drag_source=$3
sums() { (cd "$work" && find Action elsewhere far -type f -print0 | sort -z | xargs -0 md5sum); }
start_program 1

# Drags the files from the other program's window onto the game list, as a
# hand does: press, move across once the drag is under way, release once the
# list has answered. Prints what the other program learnt: the list's answer
# before the drop (accepts, refuses) and what became of the drag (copied,
# refused). A drop taken is awaited to its finish, as the program reads the
# files' names from the other program while it adds them: a file manager
# stays open meanwhile, and so does the other program here.
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
  if [ "$(sed -n 3p "$work/drag.log")" != refused ]; then
    wait_for 30 said 4 || fail "the program never finished the drop"
  fi
  kill $source
  wait $source 2>/dev/null || true
  echo $(sed -n 2,3p "$work/drag.log")
}

before=$(sums)
for refused in "$work/elsewhere/Folder.swf" "$work/elsewhere/readme.txt" \
  "$work/elsewhere/CHESS.swf" "http://127.0.0.1:9/game.swf"; do
  [ "$(drop "$refused")" = "refuses refused" ] || fail "a drag of $refused was not refused"
done
[ "$(sums)" = "$before" ] || fail "a refused drop changed files"
lists 1 || fail "a refused drop changed the list"

far=$(md5sum <"$work/far/away.swf")
[ "$(drop "$work/elsewhere/Pong.swf" "$work/elsewhere/CHESS.swf" "$work/elsewhere/$latin1" \
  "$work/elsewhere/Link.swf")" = "accepts copied" ] ||
  fail "a drop of games, one taken, was refused: $(cat "$work/drag.log")"
for game in Pong.swf "$latin1"; do
  cmp -s "$work/Action/$game" "$work/elsewhere/$game" || fail "the new game $game was not copied"
done
cmp -s "$work/Action/chess.swf" "$work/elsewhere/CHESS.swf" && fail "the taken name was overwritten"
[ -f "$work/Action/Link.swf" ] && [ ! -L "$work/Action/Link.swf" ] &&
  cmp -s "$work/Action/Link.swf" "$work/far/away.swf" || fail "the linked game was not copied"
[ "$(readlink "$work/elsewhere/Link.swf")" = "$work/far/away.swf" ] &&
  [ "$(md5sum <"$work/far/away.swf")" = "$far" ] || fail "the link or its target changed"
files() { echo $(LC_ALL=C ls "$work/$1"); }
[ "$(files Action)" = "Link.swf $latin1 Pong.swf chess.swf" ] || fail "Action holds $(files Action)"
[ "$(files elsewhere)" = "CHESS.swf Folder.swf Link.swf $latin1 Pong.swf readme.txt" ] ||
  fail "the dropped files did not stay where they were: $(files elsewhere)"
wait_for 30 lists 4 || fail "the new games' entries were not appended"
echo "PASS: games dropped, the new ones added, the taken one and four refused drops left alone"
