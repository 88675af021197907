#!/usr/bin/env bash
# `cmake --install --prefix DIR` as a user runs it: DIR becomes a program
# folder (the program, the Flash player's files, the icon and a valid desktop
# entry). Its desktop entry starts the program from DIR even when DIR's name
# holds blanks and shell characters, and the whole folder still works after
# being moved elsewhere, its category folders beside the program.
# Usage: install.sh BUILD_FOLDER SWF_WRITER
set -euo pipefail
here=$(dirname "$0")
source "$here/../support/xsession.sh"

make_work_folder
folder="$work/My \$Games 'n \`more\`"
cmake --install "$1" --prefix "$folder" >/dev/null
for file in pelliwick ruffle/ruffle.js pelliwick.png pelliwick.desktop; do
  [ -s "$folder/$file" ] || fail "the program folder lacks $file"
done
[ -x "$folder/pelliwick" ] || fail "the program cannot be run"
ls "$folder" | grep -qvE '^(pelliwick|ruffle|pelliwick\.png|pelliwick\.desktop)$' &&
  fail "the program folder holds more: $(ls "$folder")"
desktop-file-validate "$folder/pelliwick.desktop" || fail "the desktop entry is not valid"
grep -qxF "Icon=$folder/pelliwick.png" "$folder/pelliwick.desktop" ||
  fail "the desktop entry does not show the folder's icon"

"$2" solid --color C81E1E --out "$folder/Red Alert.swf"
mkdir "$folder/Action"
mv "$folder/Red Alert.swf" "$folder/Action/"

shot="$work/shot.png"

start_x
# As a menu starts it: through the desktop entry, from another working folder.
(cd / && gio launch "$folder/pelliwick.desktop" 2>"$work/stderr.log") &
window=$(window_named "$main_window")
wait_for 30 lists 1 || fail "the desktop entry's program did not list the folder's game"
click $(line 0)
wait_for 30 plays 200,30,30 || fail "the desktop entry's program did not play the game"
app=$(xdotool getwindowpid "$window")
[ "$(readlink "/proc/$app/exe")" = "$folder/pelliwick" ] || fail "the desktop entry started another program"
kill "$app"
wait_for 10 eval '! kill -0 $app' || fail "the program did not end"

mv "$folder" "$work/moved"
"$work/moved/pelliwick" 2>"$work/stderr.log" &
app=$!
window_named "$main_window" >/dev/null
wait_for 30 lists 1 || fail "the moved folder's game is not listed"
click $(line 0)
wait_for 30 plays 200,30,30 || fail "the moved folder's game does not play"
echo "PASS: a program folder that starts from its desktop entry and works when moved"
