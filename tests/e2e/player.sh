#!/usr/bin/env bash
# The real program playing games under a private X server, driven as a user
# drives it: a click on an entry plays that game, a key reaches the game,
# another entry replaces it. Without the Flash player's files, start-up shows
# one error box, no main window, and ends with exit code 0. Broken games
# (empty, random bytes, cut short, 50 MB) leave the window answering at once,
# the next good game playing, and every file as it was.
# Usage: player.sh PELLIWICK_BINARY PELLIWICK_SWF
set -euo pipefail
here=$(dirname "$0")
source "$here/../support/xsession.sh"

make_program_folder "$1"
mkdir "$work/without" "$work/Action"
cp "$1" "$work/without/pelliwick"
"$2" keyswitch --color 1E50C8 --key-color F0C828 --out "$work/Action/Key Game.swf"
"$2" solid --color C81E1E --out "$work/Action/red.swf"
# Broken games, listed after red.
: >"$work/Action/x empty.swf"
head -c 65536 /dev/urandom >"$work/Action/x noise.swf"
head -c "$(($(stat -c %s "$work/Action/red.swf") / 2))" "$work/Action/red.swf" >"$work/Action/x half.swf"
cp "$work/Action/red.swf" "$work/Action/x huge.swf"
truncate -s 50M "$work/Action/x huge.swf"
sums() { (cd "$work/Action" && md5sum ./*); }
before=$(sums)

start_x
shot="$work/shot.png"

"$work/pelliwick" 2>"$work/stderr.log" &
app=$!
window_named "$main_window" >/dev/null
wait_for 30 lists 6 || fail "the game list was never drawn"

click $(line 0)
wait_for 30 plays 30,80,200 || fail "a click on 'key game' did not play it"
xdotool key a
wait_for 10 plays 240,200,40 || fail "the key did not reach the game"
click $(line 1)
wait_for 30 plays 200,30,30 || fail "a click on 'red' did not replace the game"

# Each broken game in turn: the list takes the click and shows it selected
# as it would with any game before, whatever the player makes of this one.
selected() { # selected LINE: the list draws that line highlighted
  look && [ "$(pixel "$shot" 305 $((282 + 16 * $1)))" != 255,255,255 ]
}
for row in 2 3 4 5; do # x empty, x half, x huge, x noise
  click $(line $row)
  wait_for 10 selected $row || fail "the window did not answer the click on line $row"
done
click $(line 1)
wait_for 30 plays 200,30,30 || fail "a good game did not play after the broken ones"
[ "$(sums)" = "$before" ] || fail "playing changed files"
kill $app
wait $app 2>/dev/null || true

# No Flash player beside the program.
"$work/without/pelliwick" 2>"$work/stderr.log" &
app=$!
wait_for 30 xdotool search --onlyvisible --name '^pelliwick$' || fail "no error box"
box=$(xdotool search --onlyvisible --name '^pelliwick$' | head -n 1)
if xdotool search --onlyvisible --name "$main_window" >/dev/null 2>&1; then
  fail "a main window was shown"
fi
xdotool windowfocus --sync "$box"
xdotool key Return
code=0
wait $app || code=$?
[ $code -eq 0 ] || fail "exit code $code after the error box"
echo "PASS: click plays, key reaches the game, click replaces, broken games harm nothing;" \
  "missing player: one box, exit 0"
