#!/usr/bin/env bash
# Add, Delete, Modify and Move with the real program under a private X server,
# driven with the mouse and the keyboard only; the disk is checked after each
# step and the screen where the step shows there.
# Usage: commands.sh PELLIWICK_BINARY
set -euo pipefail
here=$(dirname "$0")
source "$here/../support/xsession.sh"

make_program_folder "$1"
mkdir "$work/Action" "$work/Sport" "$work/picked"
echo chess >"$work/Action/chess.swf"
echo golf >"$work/Action/golf.swf"
echo maze >"$work/Action/maze.swf"
echo tennis >"$work/Action/tennis.swf"
echo "golf of sport" >"$work/Sport/golf.swf"
echo pong >"$work/picked/Pong.swf"

# Where the controls are: the window sits at 175,157 with no frame around it.
panel3_x=176 panel3_y=192 panel2_y=445
add_button="$((panel3_x + 19)) $((panel3_y + 21))"
delete_button="$((panel3_x + 51)) $((panel3_y + 21))"
move_button="$((panel3_x + 81)) $((panel3_y + 22))"
modify_button="$((panel3_x + 131)) $((panel2_y + 34))"
name_box="$((panel3_x + 58)) $((panel2_y + 33))"
line() { echo "215 $((282 + 16 * $1))"; }

shot="$work/shot.png"
click() { xdotool mousemove --sync $1 $2 click 1; }
# The window of ours with that name, once it is there, given the keyboard
# as a window manager would.
window_named() {
  wait_for 20 xdotool search --onlyvisible --name "$1" || fail "no window named $1"
  local id
  id=$(xdotool search --onlyvisible --name "$1" | tail -n 1)
  xdotool windowfocus --sync "$id"
}
gone() { ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
has() { [ -e "$work/$1" ]; }
holds() { [ "$(cat "$work/$1")" = "$2" ]; }
# The name box as the screen shows it has text (dark pixels) or not.
name_box_shows_text() {
  import -window root "$shot" 2>/dev/null &&
    [ "$(darkest "$shot" "100x12+$((panel3_x + 6))+$((panel2_y + 27))")" -lt 128 ]
}

start_x
"$work/pelliwick" 2>"$work/stderr.log" &
app=$!
window_named '^Pelliwick 1\.1$'
listed() {
  import -window root "$shot" 2>/dev/null && [ "$(darkest "$shot" "100x12+180+276")" -lt 128 ]
}
wait_for 30 listed || fail "the game list was never drawn"

# Add: Pong through the open-file dialog, typed as a full path.
click $add_button
window_named '^Open$'
xdotool type --delay 20 "$work/picked/Pong.swf"
xdotool key Return
wait_for 20 has Action/Pong.swf || fail "Add copied nothing"
holds Action/Pong.swf pong || fail "Add made a wrong copy"
holds picked/Pong.swf pong || fail "Add changed the picked file"
wait_for 10 gone '^Open$' || fail "the open-file dialog stayed"
# A window manager gives the window back the keyboard when a dialog closes.
window_named '^Pelliwick 1\.1$'

# Delete: maze (line 2).
click $(line 2)
wait_for 10 name_box_shows_text || fail "a click on an entry named nothing"
click $delete_button
wait_for 10 eval '! has Action/maze.swf' || fail "Delete left maze.swf"
has Action/chess.swf && has Action/golf.swf && has Action/tennis.swf || fail "Delete took more"

# Modify: chess (line 0) renamed to Chess Master by typing into the name box.
click $(line 0)
click $name_box
xdotool key ctrl+a
xdotool type --delay 20 "Chess Master"
click $modify_button
wait_for 10 has "Action/Chess Master.swf" || fail "Modify renamed nothing"
has Action/chess.swf && fail "Modify left chess.swf"
holds "Action/Chess Master.swf" chess || fail "Modify changed the file"

# Move: tennis (line 2 now: Chess Master, golf, tennis, Pong) to Sport.
window_named '^Pelliwick 1\.1$'
click $(line 2)
click $move_button
window_named '^Move to\.\.\.$'
xdotool key Tab
for _ in 1 2 3 4; do xdotool key Down; done
xdotool key shift+Tab Return
wait_for 10 has Sport/tennis.swf || fail "Move moved nothing"
has Action/tennis.swf && fail "Move left the file behind"
holds Sport/tennis.swf tennis || fail "Move changed the file"
wait_for 10 gone '^Move to\.\.\.$' || fail "the Move dialog stayed"

# Move that must fail: golf to Sport, which has a golf of its own.
window_named '^Pelliwick 1\.1$'
click $(line 1)
click $move_button
window_named '^Move to\.\.\.$'
xdotool key Tab
for _ in 1 2 3 4; do xdotool key Down; done
xdotool key shift+Tab Return
window_named '^pelliwick$'
import -window root "$shot"
xdotool key Return
wait_for 10 gone '^pelliwick$' || fail "the message stayed"
holds Action/golf.swf golf && holds Sport/golf.swf "golf of sport" || fail "a failed move changed files"
echo "PASS: added, deleted, renamed, moved, and a failed move said so"
