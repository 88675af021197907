#!/usr/bin/env bash
# The frame-rate benchmark: the program's player against the bare web engine
# with Ruffle (BarePlayer) and against the same Ruffle in a Chromium tab (the
# same page, served over HTTP on the loopback), each playing the same crowd of
# moving shapes on a heavy, a busy and a light stage in the same place and
# size on a private X server. Launches of the three alternate, so that all are
# measured on the same machine at the same moment; every figure is a median
# over rounds. Prints the figures as a table. Builds nothing: run
# `cmake --build BUILD_DIR` with -DPELLIWICK_BENCHMARKS=ON first.
#
# Usage: bench/frame-bench.sh BUILD_DIR [ROUNDS [SETTLE [SECONDS]]]
#   ROUNDS   launches of each player on each stage (default 3)
#   SETTLE   seconds a movie plays before it is measured (default 4)
#   SECONDS  seconds it is measured for (default 5)
# In the environment, STAGES picks the stages (default "heavy busy light") and
# PROGRAM_ENV sets variables for the program alone, "VAR=value|VAR=value" (to
# measure it under another engine configuration against the same two others).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR [ROUNDS [SETTLE [SECONDS]]]" >&2; exit 2; }
build=$(cd "$1" && pwd)
rounds=${2:-3} settle=${3:-4} seconds=${4:-5}
stages=${STAGES:-heavy busy light}
IFS='|' read -ra program_env <<<"${PROGRAM_ENV:-}"
movies=$build/bench/movies
for file in "$build/pelliwick" "$build/bench/BarePlayer" "$movies/heavy.swf"; do
  [ -e "$file" ] || { echo "missing $file: build first (cmake --build $1)" >&2; exit 2; }
done
for command in chromium node python3; do
  command -v $command >/dev/null || { echo "no $command: tools/setup.sh bench installs it" >&2; exit 2; }
done

source "$here/bench-support.sh" "$@"
work=$(mktemp -d)
server=
trap '[ -z "$server" ] || kill $server 2>/dev/null; stop_x; rm -rf "$work"' EXIT
figures=$work/figures
: >"$figures"
export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache

# The program's player area on the screen; the other two take its place.
geometry=331,191,416,323
IFS=, read -r area_x area_y area_w area_h <<<"$geometry"

# The program, with the movie as the one game of its first category.
program=$work/program
mkdir -p "$program/Action"
cp "$build/pelliwick" "$program/pelliwick"
ln -s "$build/ruffle" "$program/ruffle"

# The tab's page: the bare engine's own, its Ruffle and the movie, over HTTP.
site=$work/site
mkdir -p "$site"
cp "$here/bare.html" "$here/../players/fetch-route.js" "$here/../players/ruffle-settings.js" "$site/"
ln -s "$build/ruffle" "$site/ruffle"
port=$((20000 + RANDOM % 20000))
python3 -m http.server --bind 127.0.0.1 --directory "$site" "$port" >/dev/null 2>&1 &
server=$!
wait_for 10 python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/bare.html')" ||
  { echo "the tab's web server did not start" >&2; exit 1; }

# measure PLAYER STAGE DEBUG_PORT MATCH PID: the figures of the page whose URL
# holds MATCH, the process tree under PID, into the figures file; then ends it.
measure() {
  local line
  if line=$(node --experimental-websocket "$here/frame-rate.mjs" "$3" "$4" "$5" "$settle" "$seconds" \
    "${area_w}x$area_h"); then
    echo "$line" | tr ' ' '\n' | sed -n "s/^\(fps\|cores\|pss_mb\)=/$1.$2.\1 /p" >>"$figures"
    echo "  $1 $2: $line" >&2
  else
    echo "  $1 $2: not measured" >&2
  fi
  kill "$5" 2>/dev/null || true
  wait "$5" 2>/dev/null || true
}

play_program() { # STAGE
  rm -f "$program/Action/"*
  cp "$movies/$1.swf" "$program/Action/$1.swf"
  env "${program_env[@]}" QTWEBENGINE_REMOTE_DEBUGGING=9301 "$program/pelliwick" 2>>"$work/stderr.log" &
  local pid=$!
  shot=$work/shot.png
  if wait_for 30 lists 1; then
    click $(line 0)
    measure program "$1" 9301 host.html $pid
  else
    echo "  program $1: the game was never listed" >&2
    kill $pid
  fi
}

play_bare() { # STAGE
  QTWEBENGINE_REMOTE_DEBUGGING=9302 "$build/bench/BarePlayer" --movie "$movies/$1.swf" --playing \
    --geometry "$geometry" 2>>"$work/stderr.log" &
  measure bare "$1" 9302 bare.html $!
}

# Chromium as a user starts it, in a window of its own (an application window,
# so that the page has the area to itself), on a profile of its own.
play_tab() { # STAGE
  ln -sf "$movies/$1.swf" "$site/movie0.swf"
  local sandbox=()
  [ "$(id -u)" -ne 0 ] || sandbox=(--no-sandbox)
  rm -rf "$work/chromium"
  chromium "${sandbox[@]}" --user-data-dir="$work/chromium" --no-first-run --no-default-browser-check \
    --password-store=basic --remote-debugging-port=9303 --window-position="$area_x,$area_y" \
    --window-size="$area_w,$area_h" --app="http://127.0.0.1:$port/bare.html" 2>>"$work/stderr.log" &
  measure tab "$1" 9303 bare.html $!
}

bench_x
echo "Running: $rounds rounds of three players on the stages $stages..." >&2
for ((round = 1; round <= rounds; ++round)); do
  for stage in $stages; do
    for player in program bare tab; do
      wait_quiet /usr/lib/chromium/chromium
      "play_$player" $stage
    done
  done
done

# ---- The table -------------------------------------------------------------

cell() { # KEY FORMAT
  local s
  s=$(stat "$1")
  [ -n "$s" ] || { echo "n/a"; return; }
  read -r m lo hi _ <<<"$s"
  printf "$2 ($2–$2)" "$m" "$lo" "$hi"
}
# CPU milliseconds a drawn frame costs (median cores / median frames).
per_frame() { # PLAYER STAGE
  local c f
  c=$(stat "$1.$2.cores" | cut -d' ' -f1) f=$(stat "$1.$2.fps" | cut -d' ' -f1)
  [ -n "$c" ] && [ -n "$f" ] && awk -v c="$c" -v f="$f" 'BEGIN { printf "%.0f ms", 1000 * c / f }' || echo "n/a"
}
# Whether the program did at least as well as both others: more is better for
# frames, less for CPU per frame and memory.
verdict() { # FIGURE STAGE more|less
  local p b t
  p=$(stat "program.$2.$1" | cut -d' ' -f1) b=$(stat "bare.$2.$1" | cut -d' ' -f1)
  t=$(stat "tab.$2.$1" | cut -d' ' -f1)
  awk -v p="${p:-x}" -v b="${b:-x}" -v t="${t:-x}" -v way="$3" 'BEGIN {
    if (p == "x" || b == "x" || t == "x") { print "?"; exit }
    ok = way == "more" ? p >= b && p >= t : p <= b && p <= t
    print ok ? "at least as good" : "BEHIND" }'
}
verdict_per_frame() { # STAGE
  awk -v p="$(per_frame program "$1")" -v b="$(per_frame bare "$1")" -v t="$(per_frame tab "$1")" 'BEGIN {
    if (p !~ /ms/ || b !~ /ms/ || t !~ /ms/) { print "?"; exit }
    print p + 0 <= b + 0 && p + 0 <= t + 0 ? "at least as good" : "BEHIND" }'
}

cpu=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
qt=$(dpkg-query -W -f='${Version}' libqt6webenginecore6 2>/dev/null || echo "?")
chromium_version=$(chromium --version 2>/dev/null | awk '{ print $2 }')
commit=$(source_commit)
echo
echo "Frame-rate benchmark, $(date '+%Y-%m-%d %H:%M'), source $commit"
echo "Machine: $cpu, $(nproc) cores, no GPU; Xvfb 1024x768x24; Qt WebEngine $qt;" \
  "Chromium $chromium_version; Ruffle's canvas renderer in all three, on a $area_w x $area_h area."
echo "Medians of $rounds launches (min–max), each measured for $seconds s after $settle s of play;" \
  "launches that found the machine busy: $disturbed.${PROGRAM_ENV:+ The program under $PROGRAM_ENV.}"
echo
echo "| Stage | Figure | Pelliwick | Bare engine | Chromium tab | Pelliwick against both |"
echo "|---|---|---|---|---|---|"
for stage in $stages; do
  case $stage in
  heavy) name="2500 × 1400, 120 fps, 1000 shapes" ;;
  busy) name="792 × 600, 120 fps, 135 shapes" ;;
  light) name="650 × 450, 40 fps, 83 shapes" ;;
  esac
  echo "| $name | frames drawn per second | $(cell program.$stage.fps %.1f) |" \
    "$(cell bare.$stage.fps %.1f) | $(cell tab.$stage.fps %.1f) | $(verdict fps $stage more) |"
  echo "| | CPU cores busy | $(cell program.$stage.cores %.2f) | $(cell bare.$stage.cores %.2f) |" \
    "$(cell tab.$stage.cores %.2f) | |"
  echo "| | CPU per frame drawn | $(per_frame program $stage) | $(per_frame bare $stage) |" \
    "$(per_frame tab $stage) | $(verdict_per_frame $stage) |"
  echo "| | Pss of all processes | $(cell program.$stage.pss_mb "%.0f MB") |" \
    "$(cell bare.$stage.pss_mb "%.0f MB") | $(cell tab.$stage.pss_mb "%.0f MB") | $(verdict pss_mb $stage less) |"
done
