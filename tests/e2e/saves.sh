#!/usr/bin/env bash
# The games' saves (their local shared objects), as the real program keeps
# them for the user, played under a private X server: a save outlasts a crash
# two seconds after the game flushed it and a restart; each game sees only its
# own saves unless it asks for a shared one, also by the player's own address; what a game did not flush is
# written when it is replaced or the program is closed; a renamed or moved
# game keeps its saves, a deleted one leaves them; a save of 100 MB and saves
# past a game's budget are refused for that game alone; a damaged store never
# stops a game, which hears when its save cannot be kept. The saves lie in
# $XDG_DATA_HOME/pelliwick-saves, never among the games.
# Usage: saves.sh PELLIWICK_BINARY MOVIES_FOLDER CLOSE_WINDOW
set -euo pipefail
here=$(dirname "$0")
source "$here/../support/xsession.sh"
movies=$2 close_window=$3

make_program_folder "$1"
mkdir "$work/Action" "$work/Sport"
cp "$movies/SaveCounter.swf" "$work/Action/a one.swf"
cp "$movies/SaveCounter.swf" "$work/Action/b two.swf"
cp "$movies/SharedCounter.swf" "$work/Action/c three.swf"
cp "$movies/SharedCounter.swf" "$work/Action/d four.swf"
cp "$movies/SaveOnUnload.swf" "$work/Action/e later.swf"
cp "$movies/OversizeSave.swf" "$work/Action/f huge.swf"
cp "$movies/ManySaves.swf" "$work/Action/g many.swf"
cp "$movies/SaveOnUnload.swf" "$work/Action/h later too.swf"
cp "$movies/Peeker.swf" "$work/Action/i peek.swf"
key="localhost${work// /%20}/Action/a%20one.swf"
printf 'pelliwick://player/saves/get?movie=%s&key=%s/progress\n' "${key//%/%25}" "${key//%/%25}" \
  >"$work/Action/peek.txt"
store=$XDG_DATA_HOME/pelliwick-saves
own() { echo "$store/localhost${work// /%20}/Action/$1"; } # a game's own saves
games() { (cd "$work" && find Action Sport -type f | sort | xargs -d '\n' md5sum); }
before=$(games)

blue=40,80,200 green=40,160,70 yellow=240,200,40

start_program 9
play 0 $blue "the first run of a game did not start afresh"
# The crash comes two seconds after the game flushed its save, which it did
# before it showed its colour.
sleep 2
kill -KILL "$app"
wait "$app" 2>/dev/null || true
[ -f "$(own 'a%20one.swf')/progress.sol" ] || fail "no save on disk: $(find "$store" 2>&1)"

start_program 9
play 0 $green "a save flushed two seconds before a crash was lost"
# Another game asks the player's own address for that game's save.
play 8 $yellow "a game read another game's save through the player's own address"
play 1 $blue "a game saw another game's own save"
play 6 $green "six hundred saves were all taken, or too few"
play 2 $blue "the first game to share a save found one"
play 3 $green "a save shared by the local path / was not shared"
play 4 $blue "a game without saves found one"
play 0 $green "the first game's save was lost"
play 4 $green "what a game did not flush was not written when it was replaced"
play 7 $blue "a game without saves found one"
quit
start_program 9
play 7 $green "what a game did not flush was not written when the program was closed"

echo "a save of 100 MB, for its game alone"
play 5 $green "a save of 100 MB was taken, or a small one after it refused"
play 0 $green "the first game's save was lost after the big ones"

echo "rename, move and delete"
click $(line 0)
click $name_box
xdotool key ctrl+a
xdotool type --delay 20 "a uno"
click $modify_button
wait_for 10 test -e "$work/Action/a uno.swf" || fail "Modify renamed nothing"
play 0 $green "the renamed game lost its save"
click $(line 0)
click $move_button
move_dialog_to 4
wait_for 10 test -e "$work/Sport/a uno.swf" || fail "Move moved nothing"
window_named "$main_window" >/dev/null
click $(line 0)
click $delete_button
wait_for 10 eval '! test -e "$work/Action/b two.swf"' || fail "Delete left the game"
[ -f "$(own 'b%20two.swf')/progress.sol" ] || fail "Delete removed the game's save"
pick_category Down 4
wait_for 10 lists 1 || fail "Sport Games does not list the moved game"
play 0 $green "the moved game lost its save"
quit
[ ! -e "$(own 'a%20one.swf')" ] || fail "the renamed game's save stayed under its old name"
# The program wrote every save it let the game keep before it ended.
many=$(find "$(own 'g%20many.swf')" -name '*.sol' | wc -l)
[ "$many" -ge 200 ] && [ "$many" -le 500 ] || fail "$many of six hundred saves kept"

# Nothing of the saves among the games: only the three commands changed them.
after=$(games)
[ "$(diff <(echo "$before") <(echo "$after") | grep -c '^[<>]')" -eq 3 ] ||
  fail "the library changed beyond the three commands: $(diff <(echo "$before") <(echo "$after"))"

echo "a damaged store"
# The save shared by the local path "/", which two games counted up.
printf 'not a shared object' >"$store/localhost/shared.sol"
start_program 7
play 0 $blue "a damaged save did not leave the game to start afresh"
quit
rm -rf "$store"
printf 'in the way' >"$store"
start_program 7
play 0 $yellow "a store that is not a folder kept a game from playing, or from hearing its save failed"
quit
echo "PASS: saves outlast a crash and a restart, stay each game's own, follow a game, and fail alone"
