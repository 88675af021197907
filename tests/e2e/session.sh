#!/usr/bin/env bash
# A user's whole session with the real program under a private X server,
# driven with the mouse and the keyboard only and judged only by the screen
# and the disk: pick a category, play a game and answer it with a key, add,
# rename, delete, move and see the game in its new category, a move that
# fails, the About box twice, Tell a friend, a larger window and a wider list,
# and the close button ending the program with exit code 0.
# The window playing a game of the demo library is kept as SHOT_OUT and must
# match the README's picture (README_SHOT), so that the picture stays true.
# Usage: session.sh PELLIWICK_BINARY SWF_WRITER CLOSE_WINDOW README_SHOT SHOT_OUT DEMO_GAMES
set -euo pipefail
here=$(dirname "$0")
source "$here/../support/xsession.sh"
close_window=$3 readme_shot=$4 shot_out=$5

# A user's own games in Action and Sport, and the demo library that `make
# run` makes in the other categories.
make_program_folder "$1" Action Sport
"$2" keyswitch --color 1E50C8 --key-color F0C828 --out "$work/Action/Press Any Key.swf"
"$2" solid --color C81E1E --out "$work/Action/Red Alert.swf"
"$2" solid --color 6E3CA0 --out "$work/Action/Maze Runner.swf"
"$2" solid --color E07820 --out "$work/Action/Tennis Court.swf"
"$2" solid --color 3C8C3C --out "$work/Sport/Tennis Court.swf"
"$2" keyswitch --color DCF0FF --key-color 5078A0 --out "$work/Sport/Ice Rink.swf"
bash "$here/../../tools/make-demo-library.sh" "$work" "$6" >/dev/null
mkdir "$work/picked" "$work/bin"
"$2" solid --color 3CB4B4 --out "$work/picked/Pong.swf"
# Stand-ins for the desktop's mail and browser hand-off: they note their call.
for command in xdg-email xdg-open; do
  printf '#!/bin/sh\nprintf "%%s\\n" "$@" >"%s/%s.called"\n' "$work" "$command" \
    >"$work/bin/$command"
  chmod +x "$work/bin/$command"
done
sum_of_games() { (cd "$work" && find . -name '*.swf' -type f | sort | xargs -d '\n' md5sum); }
# The games as they are now, and a check that a step left them so.
keep_games() { games=$(sum_of_games); }
games_kept() { [ "$(sum_of_games)" = "$games" ] || fail "$1 changed games on disk"; }

shot="$work/shot.png"
has() { [ -e "$work/$1" ]; }

start_x
PATH="$work/bin:$PATH" "$work/pelliwick" 2>"$work/stderr.log" &
app=$!
main=$(window_named "$main_window")
# Action Games: Maze Runner, Press Any Key, Red Alert, Tennis Court.
wait_for 30 lists 4 || fail "Action Games did not list its four games"

echo "pick a category"
keep_games
pick_category Down 4
wait_for 10 lists 2 || fail "Sport Games did not list its two games"
pick_category Up 4
wait_for 10 lists 4 || fail "Action Games did not list its four games again"
games_kept "picking a category"

echo "play a game of the demo library"
pick_category Down 5
wait_for 10 lists 1 || fail "Board Games did not list Lights Out"
click $(line 0)
# The board's middle light is on at the start.
wait_for 30 plays 240,210,80 || fail "a click on Lights Out did not play it"
# A first move: the light second from the top left goes out.
click 482 301
wait_for 10 shows_at 482 301 70,70,90 || fail "Lights Out did not take a click"
import -window root -crop "572x357+$win_x+$win_y" +repage "$shot_out"
pick_category Up 5
wait_for 10 lists 4 || fail "Action Games did not list its four games again"

echo "play a game and press a key"
click $(line 1)
wait_for 30 plays 30,80,200 || fail "a click on Press Any Key did not play it"
xdotool key space
wait_for 10 plays 240,200,40 || fail "the game did not answer the key"
games_kept "playing"

echo "add a game through the open-file dialog"
click $add_button
window_named '^Open$' >/dev/null
xdotool type --delay 20 "$work/picked/Pong.swf"
xdotool key Return
wait_for 20 has Action/Pong.swf || fail "Add copied nothing"
cmp -s "$work/Action/Pong.swf" "$work/picked/Pong.swf" || fail "Add made a wrong copy"
wait_for 10 gone '^Open$' || fail "the open-file dialog stayed"
window_named "$main_window" >/dev/null
wait_for 10 lists 5 || fail "the added game is not listed"

echo "rename it"
click $(line 4)
wait_for 30 plays 60,180,180 || fail "the added game does not play"
look && cp "$shot" "$work/before-rename.png"
click $name_box
xdotool key ctrl+a
xdotool type --delay 20 "Pong Deluxe"
click $modify_button
wait_for 10 has "Action/Pong Deluxe.swf" || fail "Modify renamed nothing"
has Action/Pong.swf && fail "Modify left Pong.swf"
cmp -s "$work/Action/Pong Deluxe.swf" "$work/picked/Pong.swf" || fail "Modify changed the game"
entry_changed() {
  look && [ "$(compare -metric AE -crop "130x14+180+$((276 + 16 * 4))" "$shot" \
    "$work/before-rename.png" null: 2>&1)" != 0 ]
}
wait_for 10 entry_changed || fail "the list still shows the old name"

echo "delete another"
click $(line 0)
wait_for 30 plays 110,60,160 || fail "a click on Maze Runner did not play it"
click $delete_button
wait_for 10 eval '! has "Action/Maze Runner.swf"' || fail "Delete left Maze Runner"
wait_for 10 lists 4 || fail "the deleted game is still listed"
wait_for 10 plays 255,255,255 || fail "the deleted game still plays"

echo "move one to another category and find it there"
# Action Games: Press Any Key, Red Alert, Tennis Court, Pong Deluxe.
click $(line 1)
click $move_button
move_dialog_to 4
# The list names games in lower case, and a moved game takes its entry's name.
wait_for 10 has "Sport/red alert.swf" || fail "Move moved nothing"
has "Action/Red Alert.swf" && fail "Move left Red Alert behind"
wait_for 10 gone '^Move to\.\.\.$' || fail "the Move dialog stayed"
window_named "$main_window" >/dev/null
wait_for 10 lists 3 || fail "the moved game is still listed"
pick_category Down 4
# Sport Games: Ice Rink, Red Alert, Tennis Court.
wait_for 10 lists 3 || fail "Sport Games does not list the moved game"
click $(line 1)
wait_for 30 plays 200,30,30 || fail "the moved game does not play from Sport Games"

echo "a move that must fail"
keep_games
click $(line 2)
click $move_button
move_dialog_to 0 # Action Games, which has a Tennis Court of its own
message=$(window_named '^pelliwick$')
eval "$(xdotool getwindowgeometry --shell "$message")"
look && [ "$(darkest "$shot" "${WIDTH}x$HEIGHT+$X+$Y")" -lt 128 ] || fail "the message box shows no text"
xdotool key Return
wait_for 10 gone '^pelliwick$' || fail "the message stayed"
games_kept "a failed move"
window_named "$main_window" >/dev/null
wait_for 10 lists 3 || fail "a failed move changed the list"

echo "the About box, twice"
for time in first second; do
  click $about
  box=$(window_named '^About$')
  eval "$(xdotool getwindowgeometry --shell "$box")"
  [ "${WIDTH}x$HEIGHT" = 310x246 ] || fail "the About box is ${WIDTH}x$HEIGHT"
  box_drawn() { look && [ "$(darkest "$shot" "${WIDTH}x$HEIGHT+$X+$Y")" -lt 128 ]; }
  wait_for 10 box_drawn || fail "the About box shows nothing the $time time"
  click $((X + 113 + 37)) $((Y + 204 + 12))
  wait_for 10 gone '^About$' || fail "the About box stayed open the $time time"
  # The empty player shows again where the box was.
  wait_for 10 shows_at $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) 255,255,255 ||
    fail "the About box stayed on the screen the $time time"
  window_named "$main_window" >/dev/null
done

echo "tell a friend"
click $tell_a_friend
wait_for 10 has xdg-email.called || fail "Tell a friend did not hand a mail over"
[ "$(head -n 1 "$work/xdg-email.called")" = --subject ] ||
  fail "the mail came without its subject: $(cat "$work/xdg-email.called")"
grep -qx -- --body "$work/xdg-email.called" || fail "the mail came without its text"
games_kept "the About box and Tell a friend"

echo "a larger window and a wider list"
# The failed move unloaded the player: Red Alert again. The player takes what
# the window gains.
click $(line 1)
wait_for 30 plays 200,30,30 || fail "Red Alert does not play again"
xdotool windowsize "$main" 800 560
wait_for 10 shows_at $((win_x + 790)) $((win_y + 550)) 200,30,30 ||
  fail "the player did not grow with the window"
wait_for 10 shows_at 360 400 200,30,30 || fail "the player does not start where it did"
xdotool mousemove --sync 329 400 mousedown 1 mousemove --sync 380 400 \
  mousemove --sync 420 400 mouseup 1
list_wider() { ! shows_at 360 400 200,30,30 && shows_at 430 400 200,30,30; }
wait_for 10 list_wider || fail "the splitter did not give the list more room"

echo "close the window"
"$close_window" "$main"
code=0
wait_for 20 eval '! kill -0 $app' || fail "the program did not end when closed"
wait $app || code=$?
[ $code -eq 0 ] || fail "exit code $code after closing the window"
cat >"$work/expected" <<'EOF'
./Action/Pong Deluxe.swf
./Action/Press Any Key.swf
./Action/Tennis Court.swf
./Board/Lights Out.swf
./Shooting/Balloon Pop.swf
./Sport/Ice Rink.swf
./Sport/Tennis Court.swf
./Sport/red alert.swf
./picked/Pong.swf
EOF
(cd "$work" && find . -name '*.swf' | sort) | diff "$work/expected" - ||
  fail "the library holds other games than the session left"

# The README's picture of the program playing a game. Up to 5% of the pixels
# may differ (a font's rendering after an update); a changed layout, list or
# player differs in far more.
differing=$(compare -metric AE -fuzz 10% "$shot_out" "$readme_shot" null: 2>&1 || true)
[ "$differing" -lt 10000 ] 2>/dev/null ||
  fail "the README's picture is out of date ($differing pixels differ): copy $shot_out to $readme_shot"
echo "PASS: a whole session, ended by the close button with exit code 0"
