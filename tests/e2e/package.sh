#!/usr/bin/env bash
# The Debian package as a user meets it: made by CPack for the Debian release
# it is made on (its version says which, its dependencies, all met there, are
# that release's own), accepted by lintian, listed by software centres through
# its metainfo, its files unpacked as dpkg would place them, and the launcher on
# the PATH started by a normal user (nobody, when the test runs as root):
# the first start makes that user's program folder with its seven category
# folders and shows the window; a later start, after an upgrade, brings the
# user's copy of the program up to date, keeps the user's games and their
# saves, lists and plays them, and the close button ends it with exit code 0;
# the menu entry, which declares Flash movies, opens a game of the user's.
# Usage: package.sh CPACK_CONFIG SWF_WRITER CLOSE_WINDOW MOVIES_FOLDER
set -euo pipefail
here=$(dirname "$0")
source "$here/../support/xsession.sh"
swf=$2 close_window=$3 movies=$4

make_work_folder
chmod 755 "$work"

cpack --config "$1" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(echo "$work"/out/pelliwick_*_amd64.deb)
[ -f "$deb" ] || fail "no package made"

# Made for the Debian release it is made on, and saying which.
release=$(sed -n 's/^VERSION_ID="\?\([0-9]*\)"\?$/\1/p' /etc/os-release)
version=$(dpkg-deb -f "$deb" Version)
[ "$version" = "$(sed -n 's/^project(Pelliwick VERSION \([0-9.]*\) .*/\1/p' \
  "$here/../../CMakeLists.txt")~deb$release" ] || fail "version $version on Debian $release"
depends=$(dpkg-deb -f "$deb" Depends)
fonts=fonts-liberation2 not_fonts=fonts-liberation
[ "$release" -eq 12 ] || fonts="fonts-liberation (>= 1:2.1)" not_fonts=fonts-liberation2
for package in libqt6webenginewidgets6 libqt6webenginecore6-bin xdg-utils "$fonts"; do
  [[ ", $depends," == *", $package "* || ", $depends," == *", $package,"* ]] ||
    fail "the package does not depend on $package: $depends"
done
[[ ", $depends," != *", $not_fonts "* && ", $depends," != *", $not_fonts,"* ]] ||
  fail "the package depends on $not_fonts on Debian $release: $depends"
# Every dependency is met on the release it was made for, as it is installed.
IFS=, read -ra clauses <<<"$depends"
for clause in "${clauses[@]}"; do
  IFS='|' read -ra choices <<<"$clause"
  met=
  for choice in "${choices[@]}"; do
    read -r name relation wanted <<<"${choice//[()]/}"
    have=$(dpkg-query -W -f='${db:Status-Status} ${Version}' "$name" 2>/dev/null) || continue
    [ "${have%% *}" = installed ] || continue
    [ -z "$relation" ] || dpkg --compare-versions "${have#* }" "$relation" "$wanted" || continue
    met=1
  done
  [ -n "$met" ] || fail "the dependency$clause is not met on this Debian $release"
done
# Errors and warnings both fail; lintian's informational tags do not.
lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 ||
  { cat "$work/lintian.log"; fail "lintian does not accept the package"; }
dpkg-deb -x "$deb" "$work/root"
for file in usr/games/pelliwick usr/lib/pelliwick/pelliwick usr/lib/pelliwick/ruffle/ruffle.js \
            usr/lib/pelliwick/ruffle/LICENSE_MIT usr/lib/pelliwick/ruffle/LICENSE_APACHE \
            usr/share/doc/pelliwick/copyright usr/share/doc/pelliwick/changelog.gz \
            usr/share/man/man6/pelliwick.6.gz usr/share/metainfo/org.example.pelliwick.metainfo.xml \
            usr/share/icons/hicolor/48x48/apps/pelliwick.png \
            usr/share/icons/hicolor/256x256/apps/pelliwick.png; do
  [ -s "$work/root/$file" ] || fail "the package lacks $file"
done
appstreamcli validate --no-net --pedantic "$work/root/usr/share/metainfo/org.example.pelliwick.metainfo.xml" ||
  fail "software centres would not take the metainfo"
man -l --warnings "$work/root/usr/share/man/man6/pelliwick.6.gz" 2>&1 >/dev/null | grep . &&
  fail "the manual page has faults"
desktop-file-validate "$work/root/usr/share/applications/pelliwick.desktop" ||
  fail "the menu entry is not valid"
grep -qx 'Exec=pelliwick %f' "$work/root/usr/share/applications/pelliwick.desktop" ||
  fail "the menu entry does not start the launcher with the file opened"
grep -qxF 'MimeType=application/x-shockwave-flash;application/vnd.adobe.flash.movie;' \
  "$work/root/usr/share/applications/pelliwick.desktop" || fail "the menu entry does not declare Flash movies"

# Never as root: with an id that says root the launcher refuses, says so,
# and makes nothing.
mkdir "$work/as-root" "$work/root-home"
printf '#!/bin/sh\necho 0\n' >"$work/as-root/id"
chmod +x "$work/as-root/id"
code=0
env -i HOME="$work/root-home" PATH="$work/as-root:$work/root/usr/games:$PATH" pelliwick \
  2>"$work/root.log" || code=$?
[ $code -ne 0 ] || fail "the launcher started the program as root"
grep -q 'not started as root' "$work/root.log" || fail "the launcher did not say why: $(cat "$work/root.log")"
[ -z "$(ls -A "$work/root-home")" ] || fail "the launcher made files for root"

# A normal user with a home of their own.
mkdir "$work/home"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chown nobody "$work/home"
  as_user=(runuser -u nobody --)
fi
folder="$work/home/.local/share/pelliwick"
start_x
start() {
  "${as_user[@]}" env -i HOME="$work/home" DISPLAY="$DISPLAY" PATH="$work/root/usr/games:$PATH" \
    LANG=C.UTF-8 pelliwick >"$work/stdout.log" 2>"$work/stderr.log" &
  app=$!
  window=$(window_named "$main_window")
}
close() {
  "$close_window" "$window"
  local code=0
  wait $app || code=$?
  [ $code -eq 0 ] || fail "exit code $code after closing the window"
}
shot="$work/shot.png"

start
for category in Action Adventure Classic Shooting Sport Board Other; do
  [ -d "$folder/$category" ] || fail "the first start made no $category folder"
done
[ "$(stat -c %U "$folder/pelliwick")" = "$(stat -c %U "$work/home")" ] ||
  fail "the program folder does not belong to its user"
grep -qF "$folder" "$work/stdout.log" || fail "the first start did not say where the games go"
close

# The user copies the games from a folder of the test's own: the build may lie
# where only root reads (make test run as root in /root).
"$swf" solid --color C81E1E --out "$work/red.swf"
cp "$movies/SaveCounter.swf" "$work/saver.swf"
"${as_user[@]}" cp "$work/red.swf" "$folder/Action/Red Alert.swf"
"${as_user[@]}" cp "$work/saver.swf" "$folder/Action/Saver.swf"
start
wait_for 30 lists 2 || fail "the user's games are not listed"
click $(line 1)
wait_for 30 plays 40,80,200 || fail "the user's saving game does not start afresh"
close
# As after an upgrade of the package: the user's copy is not the installed one.
"${as_user[@]}" sh -c "printf 'an older program' >'$folder/pelliwick'"
start
cmp -s "$folder/pelliwick" "$work/root/usr/lib/pelliwick/pelliwick" ||
  fail "the launcher did not bring the user's copy up to date"
wait_for 30 lists 2 || fail "the user's games are not listed"
click $(line 0)
wait_for 30 plays 200,30,30 || fail "the user's game does not play"
click $(line 1)
wait_for 30 plays 40,160,70 || fail "the game's save did not outlast the upgrade"
close
# A game opened with the menu entry, as a file manager opens it: it plays
# from the user's library, no click needed.
"${as_user[@]}" env -i HOME="$work/home" DISPLAY="$DISPLAY" PATH="$work/root/usr/games:$PATH" \
  LANG=C.UTF-8 gio launch "$work/root/usr/share/applications/pelliwick.desktop" \
  "$folder/Action/Red Alert.swf" 2>"$work/stderr.log"
window=$(window_named "$main_window")
wait_for 30 plays 200,30,30 || fail "the game opened with the menu entry did not play"
app=$(xdotool getwindowpid "$window")
"$close_window" "$window"
wait_for 30 eval '! kill -0 $app' || fail "the program opened with the menu entry did not end"
cmp -s "$work/red.swf" "$folder/Action/Red Alert.swf" || fail "the user's game changed"
echo "PASS: package made with Debian dependencies; a user's own library made and used"
