#!/usr/bin/env bash
# Starts the real program beside a small library under a private X server and
# checks what a user sees: the caption, the window's place and size, and the
# listed games of the first category; and what a start says: one line that no
# GPU was found where that is so, and nothing else, also in a session that
# sets no locale at all (a minimal system, a fresh container, an SSH session
# that passes none).
# Usage: startup.sh PELLIWICK_BINARY
set -euo pipefail
here=$(dirname "$0")
source "$here/../support/xsession.sh"

make_program_folder "$1"
mkdir -p "$work/Action/Extra" "$work/Sport"
touch "$work/Action/Tennis.SWF" "$work/Action/chess.swf" "$work/Action/Extra/maze.swf" \
      "$work/Sport/golf.swf"

start_x
# A desktop session gives its user a runtime folder.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
"$work/pelliwick" 2>"$work/stderr.log" &
app=$!
wait_for 30 xdotool search --onlyvisible --name "$main_window" ||
  fail "no main window"
window=$(xdotool search --onlyvisible --name "$main_window" | head -n 1)

eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$X,$Y" = "175,157" ] || fail "window at $X,$Y, not 175,157"
[ "${WIDTH}x$HEIGHT" = "572x357" ] || fail "window is ${WIDTH}x$HEIGHT, not 572x357"

# Wait for the first paint, then look: the toolbar is drawn in the button-face
# colour, the screen around the window is still black, and three lines of the
# game list carry text while the fourth is empty.
shot="$work/shot.png"
drawn() {
  import -window root "$shot" && [ "$(pixel "$shot" $((175 + 300)) $((157 + 17)))" != "0,0,0" ]
}
wait_for 20 drawn || fail "the window was never drawn"
[ "$(pixel "$shot" 100 100)" = "0,0,0" ] || fail "something drawn outside the window"
list_top=$((157 + 34 + 81 + 2))
for row in 0 1 2 3; do
  level=$(darkest "$shot" "120x12+$((175 + 4))+$((list_top + 16 * row + 2))")
  if [ $row -lt 3 ]; then
    [ "$level" -lt 128 ] || fail "list line $row shows no text"
  else
    [ "$level" -gt 200 ] || fail "list line $row is not empty"
  fi
done

# The engine has set itself up once its page has a process of its own. As
# root it says that its sandbox is off, which is so.
wait_for 30 pgrep -P "$app" -x QtWebEngineProc || fail "the player's engine never started"
expected=""
[ -e /dev/dri/renderD128 ] || expected="pelliwick.player: no GPU found: games are drawn in software"
said=$(grep -vx 'Sandboxing disabled by user.' "$work/stderr.log" || true)
[ "$said" = "$expected" ] || fail "the start said: $said"
kill "$app"
wait "$app" 2>/dev/null || true

env -u LANG -u LANGUAGE -u LC_ALL -u LC_CTYPE -u LC_MESSAGES -u LC_NUMERIC -u LC_COLLATE \
  -u LC_TIME -u LC_MONETARY "$work/pelliwick" 2>"$work/stderr.log" &
app=$!
wait_for 30 pgrep -P "$app" -x QtWebEngineProc || fail "the player's engine never started without a locale"
said=$(grep -vx 'Sandboxing disabled by user.' "$work/stderr.log" || true)
[ "$said" = "$expected" ] || fail "the start without a locale said: $said"
echo "PASS: caption, position 175,157, size 572x357, three games listed; the start says only what it must"
