#!/usr/bin/env bash
# A game's saves in the user's hands, through the real program under a
# private X server, driven by the mouse and keys and judged by the screen and
# the disk: a right click on a game opens its menu, and "Saves..." its saves
# dialog, which lists a save the game flushed a moment before; Export writes
# the store's very bytes; Delete, while the game plays, starts it again with
# no save; Import of the exported file, while it plays, starts it again with
# its save back; a damaged file, one of 2 MB, a link to /etc/shadow, a pipe
# and one whose name leads out of the store are refused and change nothing;
# Open Folder hands the saves' folder to the file manager; and the imported
# save is there after a restart.
# Usage: savesbox.sh PELLIWICK_BINARY MOVIES_FOLDER CLOSE_WINDOW
set -euo pipefail
here=$(dirname "$0")
source "$here/../support/xsession.sh"
movies=$2 close_window=$3

make_program_folder "$1" Action
add_games "Action/a one=SaveCounter" "Action/b two=SaveCounter"
# The file dialogs start in the home folder: the test's own.
export HOME="$work/home"
mkdir "$HOME" "$work/bin"
# The file manager's stand-in notes what it was asked to open.
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >"%s/xdg-open.called"\n' "$work" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH"
store=$XDG_DATA_HOME/pelliwick-saves
own() { echo "$store/localhost${work// /%20}/Action/$1"; }
sums() { (cd "$store" && find . -type f | LC_ALL=C sort | xargs -d '\n' md5sum); }
blue=40,80,200 green=40,160,70
# The player area where the saves dialog leaves it uncovered.
beside() { shows_at 720 480 "$1"; }

# Opens the saves dialog of the game on that line through its menu.
open_saves() { # LINE NAME
  xdotool mousemove --sync $(line "$1") click 3
  wait_for 10 xdotool search --onlyvisible --name '^$' || true
  xdotool key Down Return
  window_named "^Saves of $2\$" >/dev/null
}
# Answers the message box that comes next with a key, and waits for it to go,
# so that the box after it is not taken for it.
answer() { # KEY
  local id
  id=$(window_named '^pelliwick$')
  xdotool key "$1"
  wait_for 30 eval "! xdotool search --onlyvisible --name '^pelliwick\$' | grep -qx $id" ||
    fail "a message box stayed after $1"
}

start_program 2
echo "a save flushed a moment before is listed and exported"
play 1 $blue "the first run of a game did not start afresh"
open_saves 1 'b two'
xdotool key alt+e
window_named '^Export the saves into$' >/dev/null
xdotool key Return
wait_for 10 test -f "$HOME/progress.sol" || fail "the save flushed a moment before was not exported"
cmp -s "$HOME/progress.sol" "$(own 'b%20two.swf')/progress.sol" ||
  fail "the exported save is not the store's"
window_named '^Saves of b two$' >/dev/null
xdotool key Escape
wait_for 10 gone '^Saves of b two$' || fail "the saves dialog did not close"
rm "$HOME/progress.sol"

echo "export"
play 0 $blue "the first run of a game did not start afresh"
open_saves 0 'a one'
xdotool key alt+e
window_named '^Export the saves into$' >/dev/null
xdotool key Return
wait_for 10 test -f "$HOME/progress.sol" || fail "Export wrote nothing"
cmp -s "$HOME/progress.sol" "$(own 'a%20one.swf')/progress.sol" ||
  fail "the exported save is not byte for byte the store's"
cp "$HOME/progress.sol" "$work/exported.sol"

echo "delete while the game plays"
window_named '^Saves of a one$' >/dev/null
xdotool key alt+d
answer y
answer Return
wait_for 30 beside $blue || fail "after Delete the game did not start again with no save ($(pixel "$shot" 720 480))"

echo "import while the game plays"
window_named '^Saves of a one$' >/dev/null
xdotool key alt+i
window_named '^Import saves$' >/dev/null
xdotool type --delay 20 "progress.sol"
xdotool key Return
answer y
answer Return
wait_for 30 beside $green || fail "after Import the game did not find its save again ($(pixel "$shot" 720 480))"
cmp -s "$HOME/progress.sol" "$work/exported.sol" || fail "Import changed the file it read"
# The game counts its run at its start: the store then holds its newer count.
wait_for 10 eval '! cmp -s "$(own a%20one.swf)/progress.sol" "$work/exported.sol"' ||
  fail "the game started again did not save"

echo "what is no save is refused, and nothing changes"
head -c 30 "$work/exported.sol" >"$HOME/damaged.sol"
head -c $((2 << 20)) /dev/zero >"$HOME/big.sol"
ln -s /etc/shadow "$HOME/shadow.sol"
mkfifo "$HOME/pipe.sol"
cp "$work/exported.sol" "$HOME/escape.sol"
# The name it holds, "progress", becomes a way out of the store.
printf '../evil1' | dd of="$HOME/escape.sol" bs=1 seek=18 conv=notrunc status=none
before=$(sums)
window_named '^Saves of a one$' >/dev/null
xdotool key alt+i
window_named '^Import saves$' >/dev/null
xdotool type --delay 20 '"damaged.sol" "big.sol" "shadow.sol" "pipe.sol" "escape.sol"'
xdotool key Return
answer Return
window_named '^Saves of a one$' >/dev/null
[ "$(sums)" = "$before" ] || fail "a refused file changed the saves: $(diff <(echo "$before") <(sums))"
[ -z "$(find "$XDG_DATA_HOME" -name 'evil1*')" ] || fail "a name leading out of the store was filed"
beside $green || fail "the game was started again for files that were refused"

echo "open the folder"
window_named '^Saves of a one$' >/dev/null
xdotool key alt+f
wait_for 10 test -s "$work/xdg-open.called" || fail "Open Folder asked the file manager nothing"
# As a file URL, the folder's own "%" escaped.
[ "$(cat "$work/xdg-open.called")" = "file://$(own 'a%20one.swf' | sed 's/%/%25/g')" ] ||
  fail "Open Folder opened $(cat "$work/xdg-open.called"), not the game's saves"
window_named '^Saves of a one$' >/dev/null
xdotool key Escape
wait_for 10 gone '^Saves of a one$' || fail "the saves dialog did not close"
window=$(window_named "$main_window")
quit

start_program 2
play 0 $green "the imported save was not there after a restart"
echo "PASS: the saves dialog lists, exports, deletes and imports a game's saves, and refuses what is no save"
