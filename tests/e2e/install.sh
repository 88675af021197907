#!/usr/bin/env bash
# `cmake --install --prefix DIR` as a user runs it: DIR becomes a program
# folder (the program, the Flash player's files, the icon and a valid desktop
# entry that declares Flash movies). Its desktop entry starts the program from
# DIR even when DIR's name holds blanks and shell characters, a file manager
# opens a Flash game with it, and the whole folder still works after being
# moved elsewhere, its category folders beside the program.
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
grep -qxF 'MimeType=application/x-shockwave-flash;application/vnd.adobe.flash.movie;' \
  "$folder/pelliwick.desktop" || fail "the desktop entry does not declare Flash movies"
grep -qE '^Exec=.* %f$' "$folder/pelliwick.desktop" || fail "the desktop entry does not pass the file"

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

# As a file manager opens a Flash movie: by its type, with the program whose
# entry the user's menu holds, here the only one that declares the type.
mkdir -p "$XDG_DATA_HOME/applications" "$work/system"
ln -s /usr/share/mime "$work/system/mime"
cp "$folder/pelliwick.desktop" "$XDG_DATA_HOME/applications/"
update-desktop-database "$XDG_DATA_HOME/applications"
(cd / && XDG_DATA_DIRS="$work/system" XDG_CONFIG_HOME="$work/config" \
  gio open "$folder/Action/Red Alert.swf" 2>>"$work/stderr.log") &
window=$(window_named "$main_window")
wait_for 30 plays 200,30,30 || fail "the game opened from the file manager did not play"
app=$(xdotool getwindowpid "$window")
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
