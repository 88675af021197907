#!/usr/bin/env bash
# Games play offline. Hostile games played by the real program under a
# private X server try to reach a web server of the test's own on 127.0.0.1,
# which notes every request: by URLLoader (GET, and POST with a file of their
# folder), a movie's Loader, a sound, https, a host by name, Socket and
# XMLSocket (ActionScript 3), and loadMovie (ActionScript 1). Each must be
# refused within a second, as on a machine without a network; the server must
# see nothing, and the library must stay as it was.
# Usage: offline.sh PELLIWICK_BINARY MOVIES_FOLDER SWF_WRITER HTTP_LOG
set -euo pipefail
here=$(dirname "$0")
source "$here/../support/xsession.sh"
movies=$2 swf=$3

make_program_folder "$1"
mkdir "$work/Action"
"$4" "$work/Action/port.txt" "$work/hits" &
helpers=$!
wait_for 10 test -s "$work/Action/port.txt" || fail "the web server did not start"
port=$(cat "$work/Action/port.txt")
exec 3<>"/dev/tcp/127.0.0.1/$port"
printf 'GET /check HTTP/1.0\r\n\r\n' >&3
read -r answer <&3
exec 3>&-
[[ $answer == "HTTP/1.0 200"* ]] || fail "the web server does not answer: $answer"
: >"$work/hits"
echo "secret" >"$work/Action/secret.txt"
kinds="get https loader name post socket sound xmlsocket"
for kind in $kinds; do
  cp "$movies/NetProbe.swf" "$work/Action/$kind.swf"
done
"$swf" loader --color 6E3CA0 --url "http://127.0.0.1:$port/loadmovie.swf" \
  --out "$work/Action/zz loadmovie.swf"
library() { (cd "$work/Action" && md5sum ./*); }
before=$(library)

start_program 9
row=0
for kind in $kinds; do
  click $(line $row)
  wait_for 10 eval '! plays 128,128,128 && ! plays 255,255,255' || fail "$kind: the game did not start"
  wait_for 5 plays 40,160,70 ||
    fail "$kind: not refused at once ($(pixel "$shot" $player): red through, yellow a time-out)"
  row=$((row + 1))
done
click $(line $row)
wait_for 10 plays 110,60,160 || fail "loadMovie: the game did not start"
# The movie that loadMovie would have put in its place never comes.
wait_for 3 eval '! plays 110,60,160' && fail "loadMovie: the game was replaced"
[ ! -s "$work/hits" ] || fail "the server was reached: $(cat "$work/hits")"
[ "$(library)" = "$before" ] || fail "the library changed"
echo "PASS: no game reached the network; each was refused at once"
