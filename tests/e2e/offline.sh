#!/usr/bin/env bash
# Games play offline. Hostile games played by the real program under a
# private X server try to reach a web server of the test's own on 127.0.0.1,
# which notes every request: by URLLoader (GET, and POST with a file of their
# folder), a movie's Loader, a sound, https, a host by name, Socket and
# XMLSocket (ActionScript 3), and loadMovie (ActionScript 1). Each must be
# refused at once, as on a machine without a network: no later after the game
# started than the game took to start, and a second more; the server must see
# nothing, and the library must stay as it was.
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
# A game that shows its blue stage between the probes, so that each probe's
# start is seen.
cp "$movies/StageOnly.swf" "$work/Action/0 blank.swf"
library() { (cd "$work/Action" && md5sum ./*); }
before=$(library)

start_program 10
row=1
# The moment the screen first shows what COMMAND tests, at the latest 30 s
# after SINCE.
seen_after() { # SINCE COMMAND...
  local since=$1 began
  shift
  while began=$(now) && ! "$@"; do
    [ $((began - since)) -lt 30000 ] || return 1
  done
  echo "$began"
}
blue=30,80,200 white=255,255,255 grey=128,128,128
# The player shows none of these colours.
none_of() { # COLOUR...
  look || return 1
  local shown colour
  shown=$(pixel "$shot" $player)
  for colour in "$@"; do [ "$shown" != "$colour" ] || return 1; done
}
for kind in $kinds; do
  click $(line 0)
  wait_for 30 plays $blue || fail "the blank game did not play"
  clicked=$(now)
  click $(line $row)
  began=$(seen_after "$clicked" none_of $blue $white) || fail "$kind: the game did not start"
  refused=$(seen_after "$began" none_of $blue $white $grey) || fail "$kind: the game was never answered"
  plays 40,160,70 || fail "$kind: not refused ($(pixel "$shot" $player): red through, yellow a time-out)"
  echo "$kind: refused $((refused - began)) ms after the game started, $((began - clicked)) ms after its click"
  [ $((refused - began)) -le $((began - clicked + 1000)) ] || fail "$kind: not refused at once"
  row=$((row + 1))
done
clicked=$(now)
click $(line $row)
began=$(seen_after "$clicked" plays 110,60,160) || fail "loadMovie: the game did not start"
# The movie that loadMovie would have put in its place never comes, though
# it is given as long as the game took to start, and three seconds more.
wait_for $(((began - clicked) / 1000 + 3)) eval '! plays 110,60,160' &&
  fail "loadMovie: the game was replaced"
[ ! -s "$work/hits" ] || fail "the server was reached: $(cat "$work/hits")"
[ "$(library)" = "$before" ] || fail "the library changed"
echo "PASS: no game reached the network; each was refused at once"
