# Shared by the end-to-end tests: a private X server, waiting with deadlines,
# and reading the screen. Sourced, not run.

# The main window's caption, "Pelliwick" and the version of the project, as
# a pattern for xdotool.
main_window="^Pelliwick $(sed -n 's/^project(Pelliwick VERSION \([0-9.]*\) .*/\1/p' \
  "$(dirname "${BASH_SOURCE[0]}")/../../CMakeLists.txt" | sed 's/\./\\./g')\$"

# Starts Xvfb on a free display and exports DISPLAY.
start_x() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  # -noreset: a server that resets as its last client goes refuses the next
  # one for a moment, and a test often starts the program again at once.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fifo" 2>/dev/null &
  XVFB_PID=$!
  local display
  read -r -t 20 display <"$fifo" || { echo "Xvfb did not start"; exit 1; }
  rm -f "$fifo"
  export DISPLAY=":$display"
}

stop_x() {
  [ -z "${XVFB_PID:-}" ] || kill "$XVFB_PID" 2>/dev/null || true
}

# wait_for SECONDS COMMAND...: runs COMMAND until it succeeds or time is up.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}

# The colour at x,y of a screenshot, as "R,G,B".
pixel() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# The darkest intensity (0..255) in a WxH+X+Y region of a screenshot.
darkest() {
  convert "$1" -crop "$2" +repage -colorspace Gray -format '%[fx:int(255*minima)]' info:
}

# The main window sits at 175,157 with no frame around it (no window manager):
# where the player's centre, the game list's lines and the controls are on
# the screen.
win_x=175 win_y=157
player="539 352"
line() { echo "215 $((282 + 16 * $1))"; }
tell_a_friend="194 174" about="270 174" category_box="234 248"
add_button="195 213" delete_button="227 213" move_button="257 214"
modify_button="307 479" name_box="234 478"
# Picks a category through the category box.
pick_category() { # DOWN_OR_UP PRESSES
  click $category_box
  local _
  for _ in $(seq "$2"); do xdotool key "$1"; done
  xdotool key Return
}
# The Move dialog's choice, that many entries down from the first, then OK.
move_dialog_to() { # DOWN_PRESSES
  window_named '^Move to\.\.\.$' >/dev/null
  xdotool key Tab
  local _
  for _ in $(seq "$1"); do xdotool key Down; done
  xdotool key shift+Tab Return
}

# The screen as it is now, in $shot.
look() { import -window root "$shot" 2>/dev/null; }
# A move to where the pointer is already would wait for a motion that never
# comes (the X server keeps the pointer's place from one program to the next).
click() { # X Y
  if [ "$(xdotool getmouselocation | cut -d' ' -f1-2)" = "x:$1 y:$2" ]; then
    xdotool click 1
  else
    xdotool mousemove --sync "$1" "$2" click 1
  fi
}
# Gives the keyboard to our window of that name once it shows, as a window
# manager would; prints its id.
window_named() {
  wait_for 30 xdotool search --onlyvisible --name "$1" || fail "no window named $1"
  local id
  id=$(xdotool search --onlyvisible --name "$1" | tail -n 1)
  xdotool windowfocus --sync "$id"
  echo "$id"
}
gone() { ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
shows_at() { look && [ "$(pixel "$shot" $1 $2)" = "$3" ]; } # X Y R,G,B
plays() { shows_at $player "$1"; }                           # R,G,B at the player's centre
# How many lines of the game list carry text in $shot.
lines_shown() {
  local count=0 row
  for row in 0 1 2 3 4 5 6 7 8 9; do
    [ "$(darkest "$shot" "100x12+180+$((276 + 16 * row))")" -lt 128 ] || break
    count=$((count + 1))
  done
  echo $count
}
lists() { look && [ "$(lines_shown)" -eq "$1" ]; } # the list shows that many lines

# The player's menu, opened with a right click at X,Y: in column COLUMN of
# the screen between rows Y0 and Y1, the menu's light rows from its first to
# its last ($menu_top, $menu_bottom), and its separating lines ($menu_lines).
menu_rows() { # X Y0 Y1
  convert "$shot" -crop "1x$(($3 - $2))+$1+$2" +repage -colorspace Gray -depth 8 txt:- |
    awk -v y0="$2" 'BEGIN { top = -1 }
      NR > 1 && !done {
        split($0, f, /[,:() ]+/); y = f[2] + y0; g = f[3]
        if (top < 0) { if (g >= 240) top = bottom = y; next }
        if (g >= 240) { if (run > 0 && run <= 2) lines = lines " " y - run; run = 0; bottom = y }
        else if (g >= 170) run++
        else done = 1
      }
      END { if (top >= 0) print top, bottom lines }'
}
menu_shown() { # X Y0 Y1
  look
  local rows
  rows=($(menu_rows "$@"))
  [ ${#rows[@]} -ge 3 ] && [ $((rows[1] - rows[0])) -ge 60 ] || return 1
  menu_top=${rows[0]} menu_bottom=${rows[1]} menu_lines=("${rows[@]:2}")
}
open_menu() { # X Y COLUMN Y0 Y1
  xdotool mousemove --sync "$1" "$2" click 3
  wait_for 30 menu_shown "$3" "$4" "$5" || fail "the player's menu did not open at $1,$2"
}
# The menu entry under X,Y is lit: darker than the menu's own grey.
lit() { look && [ "$(darkest "$shot" 1x1+$1+$2)" -lt 235 ]; } # X Y

# Plays the game on that line of the list and waits for its colour.
play() { # LINE R,G,B WHAT_FAILED
  click $(line "$1")
  wait_for 60 plays "$2" || fail "$3 ($(pixel "$shot" $player))"
}
# Closes the program's window as a window manager's close button does, by
# $close_window, and waits for it to end well.
quit() {
  "$close_window" "$window"
  local code=0
  wait "$app" || code=$?
  [ $code -eq 0 ] || fail "exit code $code after closing the window"
}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# A PulseAudio server of the test's own, whose one sink, "speakers", is
# recorded on its monitor: the loudest sample of every 10 ms goes to $levels
# with the wall-clock time, by SOUND_LEVEL. The program started afterwards
# plays into it.
start_sound() { # SOUND_LEVEL
  export PULSE_RUNTIME_PATH="$work/pulse" PULSE_SERVER="unix:$work/pulse/native"
  mkdir -m 700 "$PULSE_RUNTIME_PATH"
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=yes --use-pid-file=no \
    -L "module-native-protocol-unix socket=$work/pulse/native auth-anonymous=1" \
    -L "module-null-sink sink_name=speakers" --log-target=stderr 2>"$work/pulse.log" &
  helpers="${helpers:-} $!"
  wait_for 20 pactl info || fail "PulseAudio did not start: $(tail -n 3 "$work/pulse.log")"
  levels=$work/levels
  parec -d speakers.monitor --format=s16le --rate=8000 --channels=1 --latency-msec=10 |
    "$1" >"$levels" &
  helpers="$helpers $!"
  wait_for 10 test -s "$levels" || fail "the sink's monitor records nothing"
}
# The wall-clock time in milliseconds, as $levels has it.
now() { echo $(($(date +%s%N) / 1000000)); }
Loud=4000 Quiet=100
# Heard after the moment given: some 10 ms of sound at a game's level.
heard_since() { awk -v t="$1" -v l=$Loud '$1 > t && $2 > l { found = 1 } END { exit !found }' "$levels"; }
# How long after the moment given the sink fell silent for good (a tenth of
# a second of silence at least has followed); nothing while it has not.
silent_after() {
  awk -v t="$1" -v q=$Quiet '
    $1 <= t { next }
    $2 > q { since = ""; next }
    since == "" { since = $1 }
    END { if (since != "" && $1 - since >= 100) print since - t; else exit 1 }' "$levels"
}

# The machine's memory as the player found it when a game last started, from
# its log (at debug level): "AVAILABLE TOTAL RESERVE", in MB.
machine_figures() {
  grep -o 'the machine has [0-9]* MB available of [0-9]* MB, keeps [0-9]* MB' "$work/stderr.log" |
    tail -n 1 | awk '{ print $4, $8, $11 }'
}
# The machine's available memory now, in MB.
available_mb() { awk '/^MemAvailable:/ { print int($2 / 1024) }' /proc/meminfo; }
# Takes the machine's memory, as other programs would, until about LEAVE MB
# are left available, by the ballast program ($ballast: its process id, empty
# when the machine had no more than that). The ballast is ranked first for
# the kernel's out-of-memory killer: if the player let a game run the machine
# out, the kernel would end the ballast, and nothing else of the machine.
leave_available() { # BALLAST_PROGRAM LEAVE_MB
  local take=$(($(available_mb) - $2))
  ballast=
  [ $take -gt 0 ] || return 0
  "$1" $take --first >"$work/ballast.out" &
  ballast=$!
  helpers="${helpers:-} $ballast"
  # Memory that the machine has not touched since it started may come slowly.
  wait_for 900 grep -q held "$work/ballast.out" || fail "no ballast of $take MB"
}
# Every process a process started, and theirs in turn.
descendants() { # PID
  local child
  for child in $(pgrep -P "$1"); do
    echo "$child"
    descendants "$child"
  done
}
# How many processes the kernel has ended for want of memory since the
# machine started.
oom_kills() { awk '$1 == "oom_kill" { print $2 }' /proc/vmstat; }

# Starts the program of $work with the X server up ($app, $window, and the
# time its window was found showing, $shown_at) and waits until the first
# category lists that many games; its output goes to $work/stderr.log.
start_program() { # GAMES_LISTED
  [ -n "${XVFB_PID:-}" ] || start_x
  shot="$work/shot.png"
  "$work/pelliwick" 2>>"$work/stderr.log" &
  app=$!
  window=$(window_named "$main_window")
  shown_at=$(now)
  wait_for 30 lists "$1" || fail "the game list was never drawn"
}

# A folder of the test's own in $work; on exit the program and the test's
# helpers ($helpers, process ids) ended, the X server stopped, the folder
# removed, and the program's own output shown when the test failed.
make_work_folder() {
  work=$(mktemp -d)
  # The games' saves go to the test's folder, never to the user's.
  export XDG_DATA_HOME="$work/data"
  trap 'status=$?; [ $status -eq 0 ] || tail -n 20 "$work/stderr.log" 2>/dev/null
        [ -z "${app:-}" ] || kill "$app" 2>/dev/null || true
        [ -z "${helpers:-}" ] || kill $helpers 2>/dev/null || true
        stop_x; rm -rf "$work"' EXIT
}

# A program folder in $work: the program and the Flash player's files beside
# it, and the folders named made in it (its categories, mostly).
make_program_folder() { # PELLIWICK_BINARY [FOLDER...]
  make_work_folder
  cp "$1" "$work/pelliwick"
  ln -s "$(cd "$(dirname "$1")" && pwd)/ruffle" "$work/ruffle"
  shift
  local category
  for category in "$@"; do mkdir "$work/$category"; done
}
# Games made of the test movies in $movies, each CATEGORY/NAME=MOVIE: a copy
# of MOVIE.swf as CATEGORY/NAME.swf.
add_games() { # CATEGORY/NAME=MOVIE...
  local game
  for game in "$@"; do cp "$movies/${game#*=}.swf" "$work/${game%%=*}.swf"; done
}
