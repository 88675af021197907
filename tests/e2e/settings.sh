#!/usr/bin/env bash
# The player's menu choices kept for each game, with the real program under
# a private X server and a PulseAudio server of the test's own: the quality
# chosen in the player's menu for a game (which the game shows as it sees it
# in its stage) and the volume set with the menu's volume controls (heard on
# the sink, and its sound turned off there) are what the game plays at the
# next time, after a restart, and after Move and Modify took it elsewhere.
# Another game plays as before, and nothing is kept for it; settings that
# were damaged are left for the defaults, and said so in the log.
# Usage: settings.sh PELLIWICK_BINARY MOVIES_FOLDER SOUND_LEVEL CLOSE_WINDOW
set -euo pipefail
here=$(dirname "$0")
source "$here/../support/xsession.sh"
movies=$2 close_window=$4

make_program_folder "$1" Action Sport
add_games "Action/a quality=Quality" "Action/b tone=Tone" "Action/c other=Quality"
store=$XDG_DATA_HOME/pelliwick-saves
own() { echo "$store/localhost${work// /%20}/$1"; } # CATEGORY/FILE: a game's own saves
start_sound "$3"
start_program 3

Green=40,160,70 Yellow=240,200,40

# The loudest 10 ms of the sink after the moment given, once half a second
# of it is measured.
loudest_since() { # MS
  awk -v t="$1" '$1 > t { n++; if ($2 > max) max = $2 } END { if (n < 50) exit 1; print max + 0 }' \
    "$levels"
}
measured_from() { # MS
  wait_for 10 loudest_since "$1" || fail "the sink stopped measuring"
  loudest_since "$1"
}
# Some sound after the moment given, however quiet.
sounding_since() { awk -v t="$1" -v q=$Quiet '$1 > t && $2 > q { found = 1 } END { exit !found }' "$levels"; }
# Plays the tone on that line and prints how loud it is heard, from half a
# second after it was first heard.
tone_level() { # LINE
  local clicked
  clicked=$(now)
  click $(line "$1")
  wait_for 30 plays $Green || fail "the tone game on line $1 did not play"
  wait_for 10 sounding_since "$clicked" || fail "the tone on line $1 was not heard"
  measured_from $(($(now) + 500))
}
# The volume controls' scale is not the sound's: a volume set is told by
# its level alone, which the same volume gives again within a fifth.
same_level() { # LEVEL AS_LEVEL
  [ $(($1 * 5)) -ge $(($2 * 4)) ] && [ $(($1 * 4)) -le $(($2 * 5)) ]
}

# The player's menu of the game playing, opened in the player area; its
# first separating line follows the three quality entries.
game_menu() { open_menu 360 300 365 191 514; }
entry_height() { echo $(((menu_lines[0] - menu_top) / 3)); }

echo "the quality chosen in the menu"
play 0 $Green "the quality game did not start at the player's own quality, high"
game_menu
click 400 $((menu_top + 8))
wait_for 30 plays $Yellow || fail "choosing the menu's first quality did not draw the game at low"

echo "the volume set with the menu's volume controls"
full=$(tone_level 1)
echo "the tone is heard at $full at full volume"
# The controls' slider, at full volume filled with blue from end to end, in
# a box at the top of the player area, the sound's switch to its left.
slider() {
  look
  local row
  row=$(convert "$shot" -crop 416x60+331+191 +repage txt:- | awk '
    NR > 1 { split($0, f, /[,:() ]+/)
             if (f[5] >= 240 && f[3] <= 20 && f[4] >= 100 && f[4] <= 130) {
               if (f[1] != last + 1 || f[2] != y) start = f[1]
               last = f[1]; y = f[2]
               if (f[1] - start > best) { best = f[1] - start; from = start; row = f[2] } } }
    END { if (best >= 60) print from + 331, best, row + 191; else exit 1 }')
  [ -n "$row" ] && read -r slider_x slider_width slider_y <<<"$row"
}
volume_controls() {
  game_menu
  click 400 $((menu_lines[0] + 12 + $(entry_height)))
}
volume_controls
wait_for 30 slider || fail "the volume controls did not open from the menu"
slider
click $((slider_x + slider_width / 2)) "$slider_y"
# The controls close as any box of the player's does, by a click beside them.
click $player
# Measured from half a second later, the sound's way to the sink allowed for.
low=$(measured_from $(($(now) + 500)))
echo "the tone is heard at $low after the slider was set half way"
[ "$low" -gt $Quiet ] && [ $((low * 10)) -lt $((full * 6)) ] ||
  fail "the volume set half way is heard at $low, against $full at full volume"

echo "another game plays as before"
play 2 $Green "a game whose quality was never chosen did not play at the player's own"
quit
[ -f "$(own 'Action/a%20quality.swf')/.player-settings" ] || fail "the chosen quality was not kept"
[ -f "$(own 'Action/b%20tone.swf')/.player-settings" ] || fail "the volume set was not kept"
[ ! -e "$(own 'Action/c%20other.swf')" ] || fail "settings were kept for a game that had none set"

echo "after a restart"
start_program 3
play 0 $Yellow "the chosen quality was not restored after a restart"
again=$(tone_level 1)
echo "the tone is heard at $again after a restart"
same_level "$again" "$low" || fail "the volume after a restart is heard at $again, not $low"

echo "the sound turned off with the volume controls"
# The controls as they were left: the slider half way, its left half blue.
volume_controls
wait_for 30 shows_at $((slider_x + 4)) "$slider_y" 0,117,255 ||
  fail "the volume controls did not open at the volume set"
click $((slider_x - 18)) "$slider_y"
click $player
off=$(measured_from $(($(now) + 500)))
[ "$off" -le $Quiet ] || fail "the tone is heard at $off with the sound turned off"

echo "after Move and Modify"
click $(line 0)
click $move_button
move_dialog_to 4
wait_for 10 test -e "$work/Sport/a quality.swf" || fail "Move moved nothing"
window_named "$main_window" >/dev/null
wait_for 10 lists 2 || fail "the moved game is still listed"
click $(line 0)
click $name_box
xdotool key ctrl+a
xdotool type --delay 20 "b bell"
click $modify_button
wait_for 10 test -e "$work/Action/b bell.swf" || fail "Modify renamed nothing"
quit
[ ! -e "$(own 'Action/a%20quality.swf')" ] && [ ! -e "$(own 'Action/b%20tone.swf')" ] ||
  fail "settings stayed under a game's old name: $(find "$store" -name .player-settings)"
start_program 2
click $(line 0)
wait_for 30 plays $Green || fail "the renamed tone game did not play"
renamed=$(measured_from $(($(now) + 500)))
[ "$renamed" -le $Quiet ] || fail "the renamed game, its sound turned off, is heard at $renamed"
pick_category Down 4
wait_for 10 lists 1 || fail "Sport Games does not list the moved game"
play 0 $Yellow "the moved game's quality was not restored"

echo "damaged settings"
pick_category Up 4
wait_for 10 lists 2 || fail "Action Games did not come back"
printf 'quality=best\n' >"$(own 'Action/b%20bell.swf')/.player-settings"
full_again=$(tone_level 0)
same_level "$full_again" "$full" || fail "damaged settings played at $full_again, not $full"
grep -q "player settings were not read.*b%20bell.swf damaged" "$work/stderr.log" ||
  fail "the damaged settings left no trace in the log"
quit
echo "PASS: the quality, volume and sound set in the menu came back after a restart, Move and Modify"
