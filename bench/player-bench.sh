#!/usr/bin/env bash
# The player benchmark: times and weighs the program's game player against the
# bare web engine with Ruffle (BarePlayer) and the program's start-up against
# the same window with plain widgets in the player's place (PlainStartup), all
# in one run on a private X server, and prints the figures as a table.
# Builds nothing: run `cmake --build BUILD_DIR` first.
#
# Usage: bench/player-bench.sh BUILD_DIR [LAUNCHES [CONFIG_LAUNCHES]]
#   LAUNCHES       launches of each kind for the main figures (default 5)
#   CONFIG_LAUNCHES  launches per engine configuration (Chromium flags, drawing
#                  without OpenGL; default 3; 0 leaves them out)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR [LAUNCHES [CONFIG_LAUNCHES]]" >&2; exit 2; }
build=$(cd "$1" && pwd)
launches=${2:-5}
config_launches=${3:-3}
bench=$build/bench
swf=$build/tools/swfwriter/pelliwick-swf
for binary in "$bench/PlayerBenchmark" "$bench/BarePlayer" "$bench/PlainStartup" "$swf"; do
  [ -x "$binary" ] || { echo "missing $binary: build first (cmake --build $1)" >&2; exit 2; }
done

source "$here/bench-support.sh" "$@"
work=$(mktemp -d)
trap 'stop_x; rm -rf "$work"' EXIT
figures=$work/figures
: >"$figures"

# The library: the first entry is played cold, the others take turns warm.
# A movie's name ends in the colour it fills the stage with.
library=$work/library
mkdir -p "$library/Action"
for movie in cold-c83228 warm-28a046 warm-2850c8; do
  "$swf" solid --color "${movie#*-}" --out "$library/Action/$movie.swf"
done
cold=$library/Action/cold-c83228.swf
warm=(--then "$library/Action/warm-28a046.swf" --then "$library/Action/warm-2850c8.swf")

# launch TAG COMMAND...: one process, with the environment assignments of the
# launch_env array, its start taken just before exec. Its figures go into the
# figures file as "TAG.name value", its processes' memory as
# "TAG.proc.kind MB" (the kind's processes summed, at the launch's last
# report) and their number as "TAG.processes N".
total_launches=0
launch_env=()
launch() {
  local tag=$1 out=$work/out
  shift
  wait_quiet
  total_launches=$((total_launches + 1))
  (
    export PELLIWICK_T0=$EPOCHREALTIME
    for assignment in "${launch_env[@]}"; do export "${assignment?}"; done
    exec "$@"
  ) >"$out" 2>>"$work/stderr.log" &
  local pid=$! deadline=$((SECONDS + 90))
  while kill -0 "$pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null || true
  local status=0
  wait "$pid" || status=$?
  if [ $status -ne 0 ]; then
    echo "launch failed ($status): $*" >&2
    tail -n 5 "$work/stderr.log" >&2
  fi
  # The first process listed is the launched program itself.
  awk -v tag="$tag" '
    $1 == "RESULT" { print tag "." $2, $3 }
    $1 == "PROCESS" {
      # Only the last report of a launch: a new one starts the sums again.
      if ($2 != report) {
        report = $2
        count = 0
        delete sum
      }
      kind = count++ ? $3 : "main"
      sum[kind] += $NF
    }
    END {
      for (k in sum) print tag ".proc." k, sum[k]
      if (count) print tag ".processes", count
    }' "$out" >>"$figures"
}

bench_x
echo "Running: $launches launches per figure, $config_launches per engine configuration..." >&2
load_before=$(cut -d' ' -f1-3 /proc/loadavg)

for ((i = 0; i < launches; ++i)); do
  launch plain "$bench/PlainStartup" listed --library "$library"
  launch listed "$bench/PlayerBenchmark" listed --library "$library"
  launch start "$bench/PlayerBenchmark" first-frame --library "$library"
  launch bare "$bench/BarePlayer" --movie "$cold"
  launch clicks "$bench/PlayerBenchmark" clicks --library "$library" --warm 19
  launch switch "$bench/BarePlayer" --movie "$cold" "${warm[@]}" --switches 19
done

# Configurations of the engine, set from outside the program: Chromium's
# flags, and drawing without OpenGL (no GPU here: Mesa's llvmpipe otherwise
# draws in software behind an OpenGL front). "label|VAR=value|VAR=value".
software="QT_XCB_GL_INTEGRATION=none|QT_QUICK_BACKEND=software"
configurations=(
  "defaults|"
  "--single-process|QTWEBENGINE_CHROMIUM_FLAGS=--single-process"
  "--no-zygote|QTWEBENGINE_CHROMIUM_FLAGS=--no-zygote"
  "--renderer-process-limit=1|QTWEBENGINE_CHROMIUM_FLAGS=--renderer-process-limit=1"
  "--disable-gpu|QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu"
  "audio service in the main process|QTWEBENGINE_CHROMIUM_FLAGS=--disable-features=AudioServiceOutOfProcess"
  "--js-flags=--max-old-space-size=32|QTWEBENGINE_CHROMIUM_FLAGS=--js-flags=--max-old-space-size=32"
  "--js-flags=--liftoff-only (WebAssembly never optimised)|QTWEBENGINE_CHROMIUM_FLAGS=--js-flags=--liftoff-only"
  "S: no OpenGL (software Qt Quick, --disable-gpu)|$software|QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu"
  "S + liftoff-only + audio in the main process|$software|QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu --js-flags=--liftoff-only --disable-features=AudioServiceOutOfProcess"
  "S + liftoff-only + --single-process|$software|QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu --js-flags=--liftoff-only --single-process"
)
# The configurations the program itself runs under too (unchanged otherwise).
program_configurations=(0 8 9 10)
if [ "$config_launches" -gt 0 ]; then
  for ((i = 0; i < config_launches; ++i)); do
    for c in "${!configurations[@]}"; do
      IFS='|' read -ra launch_env <<<"${configurations[$c]#*|}"
      launch "v$c" "$bench/BarePlayer" --movie "$cold"
      if [[ " ${program_configurations[*]} " == *" $c "* ]]; then
        launch "l$c" "$bench/PlayerBenchmark" listed --library "$library"
        launch "p$c" "$bench/PlayerBenchmark" first-frame --library "$library"
      fi
    done
  done
  launch_env=()
fi
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# ---- The table -------------------------------------------------------------

median() { stat "$1" | cut -d' ' -f1; }
# cell KEY UNIT: "median UNIT (min–max)".
cell() {
  local s
  s=$(stat "$1")
  [ -n "$s" ] || { echo "n/a"; return; }
  read -r m lo hi n <<<"$s"
  printf "%.0f %s (%.0f–%.0f, n=%d)" "$m" "$2" "$lo" "$hi" "$n"
}
ratio() {
  local a b
  a=$(median "$1") b=$(median "$2")
  [ -n "$a" ] && [ -n "$b" ] && awk -v a="$a" -v b="$b" 'BEGIN { printf "%.2f", a / b }' || echo "n/a"
}
verdict() { # RATIO LIMIT
  awk -v r="$1" -v l="$2" 'BEGIN { if (r == "n/a") print "?"; else print (r <= l ? "met" : "MISSED") }'
}
below() { # KEY LIMIT
  local m
  m=$(median "$1")
  awk -v m="${m:-n/a}" -v l="$2" 'BEGIN { if (m == "n/a") print "?"; else print (m < l ? "met" : "MISSED") }'
}

cpu=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
qt=$(dpkg-query -W -f='${Version}' libqt6webenginecore6 2>/dev/null || echo "?")
ruffle=$(grep -o '"version": *"[^"]*"' "$here/../node_modules/@ruffle-rs/ruffle/package.json" 2>/dev/null |
  cut -d'"' -f4 || true)
echo
echo "Player benchmark, $(date '+%Y-%m-%d %H:%M')"
commit=$(source_commit)
echo "Source $commit; machine: $cpu, $(nproc) cores, $(awk '/MemTotal/ { printf "%.0f GB", $2 / 1048576 }' /proc/meminfo)," \
  "Xvfb 1024x768x24 (no GPU: Mesa llvmpipe), Qt WebEngine $qt, Ruffle ${ruffle:-?}"
echo "Load average before/after: $load_before / $load_after;" \
  "launches that found the machine busy: $disturbed of $total_launches"
echo "Medians over launches (min–max, n = samples)."
echo
r_frame=$(ratio start.first_frame_ms bare.bare_first_frame_ms)
r_listed=$(ratio listed.listed_ms plain.listed_ms)
r_pss=$(ratio start.program_pss_mb bare.bare_pss_mb)
r_unique=$(ratio start.program_unique_mb bare.bare_unique_mb)
echo "| Figure | Program | Anchor | Ratio | Goal |"
echo "|---|---|---|---|---|"
echo "| Click to first frame, cold (first game after start-up) | $(cell clicks.cold_click_ms ms) | | | |"
echo "| Click to first frame, warm (later games) | $(cell clicks.warm_click_ms ms) |" \
  "bare engine switching movies: $(cell switch.bare_switch_ms ms) |" \
  "$(ratio clicks.warm_click_ms switch.bare_switch_ms) | under 40 ms: $(below clicks.warm_click_ms 40) |"
echo "| Process start to first frame, first entry clicked at once | $(cell start.first_frame_ms ms) |" \
  "bare engine: $(cell bare.bare_first_frame_ms ms) | $r_frame | ≤ 1.2: $(verdict "$r_frame" 1.2) |"
echo "| Process start to the listed window on screen | $(cell listed.listed_ms ms) |" \
  "plain-widget build: $(cell plain.listed_ms ms) | $r_listed | ≤ 1.3: $(verdict "$r_listed" 1.3) |"
echo "| Memory while a game plays, Pss of all processes | $(cell start.program_pss_mb MB) |" \
  "bare engine: $(cell bare.bare_pss_mb MB) | $r_pss | under 300 MB: $(below start.program_pss_mb 300); ≤ 1.1: $(verdict "$r_pss" 1.1) |"
echo "| Memory while a game plays, each page once | $(cell start.program_unique_mb MB) |" \
  "bare engine: $(cell bare.bare_unique_mb MB) | $r_unique | |"
r_games=$(ratio clicks.program_after_games_pss_mb clicks.program_after_one_game_pss_mb)
echo "| Memory after 20 games, Pss | $(cell clicks.program_after_games_pss_mb MB) |" \
  "after the first game: $(cell clicks.program_after_one_game_pss_mb MB) | $r_games |" \
  "≤ 1.05: $(verdict "$r_games" 1.05) |"
echo "| Memory after 20 movies, bare engine, Pss | $(cell switch.bare_after_games_pss_mb MB) | | | |"
echo
echo "Where the program's time goes (ms from process start; medians):"
echo
echo "| Moment | Program | Plain-widget build |"
echo "|---|---|---|"
for moment in main_entered application_made form_made shown exposed listed; do
  echo "| $moment | $(median "listed.${moment}_ms") | $(median "plain.${moment}_ms") |"
done
echo "| first entry clicked | $(median start.clicked_ms) | |"
echo "| first frame on screen | $(median start.first_frame_ms) | |"
echo "| player page ready, after the window showed | $(median clicks.page_ready_after_exposed_ms) | |"
echo
echo "Memory by process (Pss MB, medians; zygote: both zygotes), while the first game"
echo "plays and after 20 games (the bare engine: 20 movies, a new Ruffle player each):"
echo
echo "| Process | Program | Bare engine | Program after 20 games | Bare engine after 20 movies |"
echo "|---|---|---|---|---|"
for kind in $(awk '{ split($1, k, "."); if (k[2] == "proc") print k[3] }' "$figures" | sort -u); do
  row="| ${kind/main/main process} |"
  for tag in start bare clicks switch; do
    row+=" $(median "$tag.proc.$kind") |"
  done
  [ "$row" = "| ${kind/main/main process} | | | | |" ] || echo "$row"
done
echo "| processes | $(median start.processes) | $(median bare.processes) |" \
  "$(median clicks.processes) | $(median switch.processes) |"
echo "| all, each page once | $(median start.program_unique_mb) | $(median bare.bare_unique_mb) |" \
  "$(median clicks.program_after_games_unique_mb) | $(median switch.bare_after_games_unique_mb) |"
if [ "$config_launches" -gt 0 ]; then
  echo
  echo "Configurations set from outside the program (Chromium flags through"
  echo "QTWEBENGINE_CHROMIUM_FLAGS; S = QT_XCB_GL_INTEGRATION=none, QT_QUICK_BACKEND=software"
  echo "and --disable-gpu), medians; the program where it ran under them too:"
  echo
  echo "| Configuration | Bare: start to frame | Bare: Pss | Bare: each page once | Processes |" \
    "Program: start to listed | Program: start to frame | Program: Pss | Program: each page once |"
  echo "|---|---|---|---|---|---|---|---|---|"
  for c in "${!configurations[@]}"; do
    row="| ${configurations[$c]%%|*} | $(cell "v$c.bare_first_frame_ms" ms) |"
    row+=" $(cell "v$c.bare_pss_mb" MB) | $(cell "v$c.bare_unique_mb" MB) | $(median "v$c.processes") |"
    if [[ " ${program_configurations[*]} " == *" $c "* ]]; then
      row+=" $(cell "l$c.listed_ms" ms) | $(cell "p$c.first_frame_ms" ms) | $(cell "p$c.program_pss_mb" MB) |"
      row+=" $(cell "p$c.program_unique_mb" MB) |"
    else
      row+=" | | | |"
    fi
    echo "$row"
  done
fi
