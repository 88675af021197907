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
lists_one() {
  import -window root "$shot" 2>/dev/null &&
    [ "$(darkest "$shot" "100x12+180+276")" -lt 128 ] &&
    [ "$(darkest "$shot" "100x12+180+292")" -gt 200 ]
}
shows_game() {
  xdotool mousemove --sync 215 282 click 1
  played() { import -window root "$shot" 2>/dev/null && [ "$(pixel "$shot" 539 352)" = 200,30,30 ]; }
  wait_for 30 played
}
window_shown() {
  wait_for 30 xdotool search --onlyvisible --name '^Pelliwick 1\.1$' || fail "no main window"
  xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^Pelliwick 1\.1$' | head -n 1)"
}

start_x
# As a menu starts it: through the desktop entry, from another working folder.
(cd / && gio launch "$folder/pelliwick.desktop" 2>"$work/stderr.log") &
window_shown
wait_for 30 lists_one || fail "the desktop entry's program did not list the folder's game"
shows_game || fail "the desktop entry's program did not play the game"
app=$(xdotool getwindowpid "$(xdotool search --onlyvisible --name '^Pelliwick 1\.1$' | head -n 1)")
[ "$(readlink "/proc/$app/exe")" = "$folder/pelliwick" ] || fail "the desktop entry started another program"
kill "$app"
wait_for 10 eval '! kill -0 $app' || fail "the program did not end"

mv "$folder" "$work/moved"
"$work/moved/pelliwick" 2>"$work/stderr.log" &
app=$!
window_shown
wait_for 30 lists_one || fail "the moved folder's game is not listed"
shows_game || fail "the moved folder's game does not play"
echo "PASS: a program folder that starts from its desktop entry and works when moved"
