#!/usr/bin/env bash
# A game's sound as a player hears it, on a PulseAudio server of the test's
# own whose only sink records nothing but is measured on its monitor: a game
# that plays a tone is heard at once, without a click into it, and the tone
# stops when the game is replaced, deleted or moved, no later than the player
# shows it (the sound's way to the speakers allowed for).
# Usage: sound.sh PELLIWICK_BINARY MOVIES_FOLDER SOUND_LEVEL
set -euo pipefail
here=$(dirname "$0")
source "$here/../support/xsession.sh"
movies=$2 sound_level=$3

make_program_folder "$1"
mkdir "$work/Action" "$work/Sport"
cp "$movies/Tone.swf" "$work/Action/a tone.swf"
cp "$movies/StageOnly.swf" "$work/Action/b quiet.swf"
cp "$movies/Tone.swf" "$work/Action/c tone too.swf"

start_sound "$sound_level"

start_program 3

# Plays the tone of that line and waits until it is heard.
tone() { # LINE
  local clicked
  clicked=$(now)
  click $(line "$1")
  wait_for 30 plays 40,160,70 || fail "the tone game did not play"
  wait_for 10 heard_since "$clicked" || fail "the tone was not heard without a click into the game"
}
# The whole player area, 416 x 323 at 331,191 on the screen, is white.
empty() { look && [ "$(darkest "$shot" 416x323+331+191)" -ge 250 ]; }
quiet() { plays 30,80,200; }
# The tone stops once the step's click is carried out: silent no later than
# the player shows the step done (SHOWN, a test of the screen), and 300 ms
# more for the sound's way to the speakers and its measure.
stops() { # WHAT SHOWN COMMAND...
  local what=$1 shown=$2 clicked seen delay
  shift 2
  clicked=$(now)
  "$@"
  while seen=$(now) && ! $shown; do
    [ $((seen - clicked)) -lt 30000 ] || fail "the player did not show $what"
  done
  wait_for 30 silent_after "$clicked" || fail "the tone went on after $what"
  delay=$(silent_after "$clicked")
  echo "silent $delay ms after $what, which the player showed after $((seen - clicked)) ms"
  [ "$delay" -le $((seen - clicked + 300)) ] || fail "the tone went on for $delay ms after $what"
}

tone 0
stops "another game was picked" quiet click $(line 1)
tone 0
stops "Delete" empty click $delete_button
wait_for 10 eval '! test -e "$work/Action/a tone.swf"' || fail "Delete left the game"
window_named "$main_window" >/dev/null
tone 1
# The dialog's choice first: the tone must stop once OK is pressed.
click $move_button
window_named '^Move to\.\.\.$' >/dev/null
xdotool key Tab Down Down Down Down
stops "Move" empty xdotool key shift+Tab Return
wait_for 10 test -e "$work/Sport/c tone too.swf" || fail "Move moved nothing"
echo "PASS: the tone was heard at once and stopped as the player showed each step"
