#!/usr/bin/env bash
# The real program playing games under a private X server, driven as a user
# drives it: a click on an entry plays that game, a key reaches the game,
# another entry replaces it. Without the Flash player's files, start-up shows
# one error box, no main window, and ends with exit code 0.
# Usage: player.sh PELLIWICK_BINARY PELLIWICK_SWF
set -euo pipefail
here=$(dirname "$0")
source "$here/../support/xsession.sh"

make_program_folder "$1"
mkdir "$work/without" "$work/Action"
cp "$1" "$work/without/pelliwick"
"$2" keyswitch --color 1E50C8 --key-color F0C828 --out "$work/Action/Key Game.swf"
"$2" solid --color C81E1E --out "$work/Action/red.swf"

start_x
shot="$work/shot.png"
# The player area's centre, and the first two lines of the game list.
player_x=$((175 + 156 + 208)) player_y=$((157 + 34 + 161))
list_x=$((175 + 40)) line0_y=$((157 + 34 + 81 + 2 + 8))

shows() { # shows R,G,B: the player area's centre has that colour
  import -window root "$shot" 2>/dev/null && [ "$(pixel "$shot" $player_x $player_y)" = "$1" ]
}

"$work/pelliwick" 2>"$work/stderr.log" &
app=$!
wait_for 30 xdotool search --onlyvisible --name '^Pelliwick 1\.1$' || fail "no main window"
window=$(xdotool search --onlyvisible --name '^Pelliwick 1\.1$' | head -n 1)
# What a window manager does when the user clicks into a window.
xdotool windowfocus --sync "$window"
listed() {
  import -window root "$shot" 2>/dev/null &&
    [ "$(darkest "$shot" "100x12+$list_x+$((line0_y - 6))")" -lt 128 ]
}
wait_for 30 listed || fail "the game list was never drawn"

xdotool mousemove $list_x $line0_y click 1
wait_for 30 shows 30,80,200 || fail "a click on 'key game' did not play it"
xdotool key a
wait_for 10 shows 240,200,40 || fail "the key did not reach the game"
xdotool mousemove $list_x $((line0_y + 16)) click 1
wait_for 30 shows 200,30,30 || fail "a click on 'red' did not replace the game"
kill $app
wait $app 2>/dev/null || true

# No Flash player beside the program.
"$work/without/pelliwick" 2>"$work/stderr.log" &
app=$!
wait_for 30 xdotool search --onlyvisible --name '^pelliwick$' || fail "no error box"
box=$(xdotool search --onlyvisible --name '^pelliwick$' | head -n 1)
if xdotool search --onlyvisible --name '^Pelliwick 1\.1$' >/dev/null 2>&1; then
  fail "a main window was shown"
fi
xdotool windowfocus --sync "$box"
xdotool key Return
code=0
wait $app || code=$?
[ $code -eq 0 ] || fail "exit code $code after the error box"
echo "PASS: click plays, key reaches the game, click replaces; missing player: one box, exit 0"
