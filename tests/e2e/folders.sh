#!/usr/bin/env bash
# Games kept as users keep them, a folder per game with its files beside it,
# played and changed by the real program under a private X server, and judged
# by the screen and the disk: every entry stands for the file it was listed
# from. A game in a subfolder plays from its own folder (it loads the movie
# beside it, sees its own address, keeps saves of its own); a game of the same
# name at the top is another game; Modify renames the subfolder's file in its
# folder, Move takes it to the top of the other category with its saves, and
# Delete removes it, each leaving every other game's bytes as they were. A
# folder gone, renamed or swapped for a link since the listing: the player
# stays empty and no file anywhere changes.
# Usage: folders.sh PELLIWICK_BINARY MOVIES_FOLDER
set -euo pipefail
here=$(dirname "$0")
source "$here/../support/xsession.sh"
movies=$2

make_program_folder "$1" Action Sport
# Packs unpacked years ago: blanks and shell characters, and a folder from an
# old Windows archive, Latin-1 and not UTF-8.
odd="Old Pack \$(x) & Café" latin=Pok$'\xe9'mon
mkdir -p "$work/Action/Quest" "$work/Action/Twin" "$work/Action/$odd" "$work/Action/$latin" \
  "$work/outside"
add_games "Action/apple=KeyColour" "Action/Quest/Start=MovieLoader" "Action/Quest/child=Child" \
  "Action/Twin/Apple=SaveCounter" "Action/$odd/url probe=UrlProbe" "Action/$latin/pika=StageOnly"
# What a link swapped in would lead to, were it followed.
add_games "outside/url probe=UrlProbe"
# Listed as: apple, url probe, pika, child, start, apple (the twin's).
sums() { (cd "$work" && find Action Sport outside -type f | LC_ALL=C sort | xargs -d '\n' md5sum); }
same_as() { cmp -s "$movies/$2.swf" "$work/$1" || fail "$1 is not the $2 game it was"; }
top_apple_kept() { same_as Action/apple.swf KeyColour; }
blue=40,80,200 green=40,160,70 grey=128,128,128
empty() { look && [ "$(darkest "$shot" 416x323+331+191)" -ge 250 ]; }

start_program 6
echo "each plays its own file, from its own folder"
play 4 $green "a game in a subfolder did not load the movie beside it"
play 1 $green "a game in a folder of blanks and shell characters did not see its own address"
play 2 30,80,200 "a game in a folder whose name is not UTF-8 did not play"
play 5 $blue "the twin in Twin/ did not play as itself, on its first run"
play 0 $grey "the apple at the top did not play as itself"
play 5 $green "the twin did not find its own save"

echo "Modify renames the twin in its own folder"
click $(line 5)
click $name_box
xdotool key ctrl+a
xdotool type --delay 20 "Green Apple"
click $modify_button
wait_for 10 test -e "$work/Action/Twin/Green Apple.swf" || fail "Modify renamed nothing"
[ ! -e "$work/Action/Twin/Apple.swf" ] || fail "Modify left the twin's old name"
same_as "Action/Twin/Green Apple.swf" SaveCounter
top_apple_kept
play 5 $green "the renamed twin lost its save"

echo "Move takes it to the top of Sport, with its saves"
click $(line 5)
click $move_button
move_dialog_to 4
wait_for 10 test -e "$work/Sport/Green Apple.swf" || fail "Move moved nothing"
window_named "$main_window" >/dev/null
[ -z "$(ls -A "$work/Action/Twin")" ] || fail "Move left the twin in Twin/"
same_as "Sport/Green Apple.swf" SaveCounter
top_apple_kept
wait_for 10 lists 5 || fail "the moved game's entry stayed in the list"

echo "Delete removes the game in Quest/, and nothing beside it"
click $(line 4)
click $delete_button
wait_for 10 eval '! test -e "$work/Action/Quest/Start.swf"' || fail "Delete left the game"
same_as Action/Quest/child.swf Child
top_apple_kept
pick_category Down 4
wait_for 10 lists 1 || fail "Sport Games does not list the moved game"
play 0 $green "the moved twin lost its save"
pick_category Up 4
wait_for 10 lists 4 || fail "Action Games did not list its four games"

echo "a folder gone or swapped for a link since the listing: nothing read, nothing changed"
mv "$work/Action/Quest" "$work/Action/Quest 2"
mv "$work/Action/$odd" "$work/odd"
ln -s "$work/outside" "$work/Action/$odd"
before=$(sums)
play 0 $grey "the apple at the top did not play"
click $(line 1)
wait_for 10 empty || fail "a game whose folder became a link played ($(pixel "$shot" $player))"
click $delete_button
play 0 $grey "the apple at the top did not play"
click $(line 3)
wait_for 10 empty || fail "a game whose folder was renamed played ($(pixel "$shot" $player))"
click $delete_button
click $(line 1)
click $move_button
move_dialog_to 4
window_named '^pelliwick$' >/dev/null
xdotool key Return
window_named "$main_window" >/dev/null
[ "$(sums)" = "$before" ] || fail "the files changed: $(diff <(echo "$before") <(sums))"
top_apple_kept
echo "PASS: games in folders play, rename, move and delete as themselves, and stay in their category"
