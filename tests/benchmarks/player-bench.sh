#!/usr/bin/env bash
# The player benchmark: times and weighs the program's game player against the
# bare web engine with Ruffle (BarePlayer) and the program's start-up against
# the same window with plain widgets in the player's place (PlainStartup), all
# in one run on a private X server, and prints the figures as a table.
# Builds nothing: run `cmake --build BUILD_DIR` first.
#
# Usage: tests/benchmarks/player-bench.sh BUILD_DIR [LAUNCHES [FLAG_LAUNCHES]]
#   LAUNCHES       launches of each kind for the main figures (default 5)
#   FLAG_LAUNCHES  launches of the bare engine per Chromium flag set (default 3;
#                  0 leaves the flag sets out)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR [LAUNCHES [FLAG_LAUNCHES]]" >&2; exit 2; }
build=$(cd "$1" && pwd)
launches=${2:-5}
flag_launches=${3:-3}
bench=$build/tests/benchmarks
swf=$build/tools/swfwriter/pelliwick-swf
for binary in "$bench/PlayerBenchmark" "$bench/BarePlayer" "$bench/PlainStartup" "$swf"; do
  [ -x "$binary" ] || { echo "missing $binary: build first (cmake --build $1)" >&2; exit 2; }
done

# The figures are for two cores: on a bigger machine, keep to two.
if [ "$(nproc)" -gt 2 ] && [ -z "${PELLIWICK_BENCH_PINNED:-}" ] && command -v taskset >/dev/null; then
  PELLIWICK_BENCH_PINNED=1 exec taskset -c 0,1 "$0" "$@"
fi

source "$here/../support/xsession.sh"
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

# Percentage of the CPUs busy over a fifth of a second.
cpu_busy() {
  local cpu a b c d e f g h t1 i1
  read -r cpu a b c d e f g h _ </proc/stat
  t1=$((a + b + c + d + e + f + g + h)) i1=$((d + e))
  sleep 0.2
  read -r cpu a b c d e f g h _ </proc/stat
  local total=$((a + b + c + d + e + f + g + h - t1)) idle=$((d + e - i1))
  echo $((total > 0 ? 100 * (total - idle) / total : 0))
}

# Each launch starts on a quiet machine: the previous launch's helper
# processes gone, no other web engine program running (it would share the
# engine's libraries and lower the Pss figures) and the CPUs idle. Launches
# that waited in vain are counted.
disturbed=0
wait_quiet() {
  local deadline=$((SECONDS + 30))
  while [ $SECONDS -lt $deadline ]; do
    if ! pgrep -x QtWebEngineProc >/dev/null && [ "$(cpu_busy)" -lt 15 ]; then
      return 0
    fi
    sleep 0.5
  done
  disturbed=$((disturbed + 1))
}

# launch TAG COMMAND...: one process, its start taken just before exec; its
# figures go into the figures file as "TAG.name value", its processes' memory
# as "TAG.proc.kind MB" (the kind's processes summed) and their number as
# "TAG.processes N".
total_launches=0
launch() {
  local tag=$1 out=$work/out
  shift
  wait_quiet
  total_launches=$((total_launches + 1))
  (export PELLIWICK_T0=$EPOCHREALTIME; exec "$@") >"$out" 2>>"$work/stderr.log" &
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
    return 0
  fi
  # The first process listed is the launched program itself.
  awk -v tag="$tag" '
    $1 == "RESULT" { print tag "." $2, $3 }
    $1 == "PROCESS" {
      kind = count++ ? $3 : "main"
      sum[kind] += $NF
    }
    END {
      for (k in sum) print tag ".proc." k, sum[k]
      if (count) print tag ".processes", count
    }' "$out" >>"$figures"
}

start_x
echo "Running: $launches launches per figure, $flag_launches per Chromium flag set..." >&2
load_before=$(cut -d' ' -f1-3 /proc/loadavg)

for ((i = 0; i < launches; ++i)); do
  launch plain "$bench/PlainStartup" listed --library "$library"
  launch listed "$bench/PlayerBenchmark" listed --library "$library"
  launch start "$bench/PlayerBenchmark" first-frame --library "$library"
  launch bare "$bench/BarePlayer" --movie "$cold"
  launch clicks "$bench/PlayerBenchmark" clicks --library "$library" --warm 8
  launch switch "$bench/BarePlayer" --movie "$cold" "${warm[@]}" --switches 8
done

flag_sets=(
  ""
  "--single-process"
  "--no-zygote"
  "--renderer-process-limit=1"
  "--disable-gpu"
  "--disable-features=AudioServiceOutOfProcess"
  "--js-flags=--max-old-space-size=32"
  "--js-flags=--liftoff-only"
  "--single-process --disable-features=AudioServiceOutOfProcess --js-flags=--liftoff-only"
)
if [ "$flag_launches" -gt 0 ]; then
  for ((i = 0; i < flag_launches; ++i)); do
    for f in "${!flag_sets[@]}"; do
      QTWEBENGINE_CHROMIUM_FLAGS=${flag_sets[$f]} launch "flags$f" "$bench/BarePlayer" --movie "$cold"
    done
    # The program itself with the last (combined) set, unchanged otherwise.
    QTWEBENGINE_CHROMIUM_FLAGS=${flag_sets[-1]} launch flagsprogram \
      "$bench/PlayerBenchmark" first-frame --library "$library"
  done
fi
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# ---- The table -------------------------------------------------------------

# stat KEY: "median min max count" of a figure, empty when it has none.
stat() {
  awk -v key="$1" '$1 == key { print $2 }' "$figures" | sort -g | awk '
    { v[++n] = $1 }
    END {
      if (!n) exit
      m = n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
      printf "%.1f %.1f %.1f %d\n", m, v[1], v[n], n
    }'
}
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
ruffle=$(grep -o '"version": *"[^"]*"' "$here/../../node_modules/@ruffle-rs/ruffle/package.json" 2>/dev/null |
  cut -d'"' -f4 || true)
echo
echo "Player benchmark, $(date '+%Y-%m-%d %H:%M')"
echo "Machine: $cpu, $(nproc) cores, $(awk '/MemTotal/ { printf "%.0f GB", $2 / 1048576 }' /proc/meminfo)," \
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
  "$(ratio clicks.warm_click_ms switch.bare_switch_ms) | under 200 ms: $(below clicks.warm_click_ms 200) |"
echo "| Process start to first frame, first entry clicked at once | $(cell start.first_frame_ms ms) |" \
  "bare engine: $(cell bare.bare_first_frame_ms ms) | $r_frame | ≤ 1.2: $(verdict "$r_frame" 1.2) |"
echo "| Process start to the listed window on screen | $(cell listed.listed_ms ms) |" \
  "plain-widget build: $(cell plain.listed_ms ms) | $r_listed | ≤ 1.3: $(verdict "$r_listed" 1.3) |"
echo "| Memory while a game plays, Pss of all processes | $(cell start.program_pss_mb MB) |" \
  "bare engine: $(cell bare.bare_pss_mb MB) | $r_pss | ≤ 1.1: $(verdict "$r_pss" 1.1) |"
echo "| Memory while a game plays, each page once | $(cell start.program_unique_mb MB) |" \
  "bare engine: $(cell bare.bare_unique_mb MB) | $r_unique | |"
echo "| Memory after 9 games, Pss | $(cell clicks.program_after_games_pss_mb MB) |" \
  "bare engine after 9 movies: $(cell switch.bare_after_games_pss_mb MB) |" \
  "$(ratio clicks.program_after_games_pss_mb switch.bare_after_games_pss_mb) | |"
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
echo "Memory by process while a game plays (Pss MB, medians; zygote: both zygotes):"
echo
echo "| Process | Program | Bare engine |"
echo "|---|---|---|"
for kind in $(awk '{ split($1, k, "."); if (k[2] == "proc") print k[3] }' "$figures" | sort -u); do
  p=$(median "start.proc.$kind") b=$(median "bare.proc.$kind")
  [ -z "$p$b" ] || echo "| ${kind/main/main process} | ${p:-–} | ${b:-–} |"
done
echo "| processes | $(median start.processes) | $(median bare.processes) |"
if [ "$flag_launches" -gt 0 ]; then
  echo
  echo "The bare engine under Chromium flags (QTWEBENGINE_CHROMIUM_FLAGS), medians:"
  echo
  echo "| Flags | Start to first frame | Pss | Each page once | Processes |"
  echo "|---|---|---|---|---|"
  for f in "${!flag_sets[@]}"; do
    echo "| ${flag_sets[$f]:-(none)} | $(cell "flags$f.bare_first_frame_ms" ms) |" \
      "$(cell "flags$f.bare_pss_mb" MB) | $(cell "flags$f.bare_unique_mb" MB) |" \
      "$(median "flags$f.processes") |"
  done
  echo "| the program with the last set | $(cell flagsprogram.first_frame_ms ms) |" \
    "$(cell flagsprogram.program_pss_mb MB) | $(cell flagsprogram.program_unique_mb MB) |" \
    "$(median flagsprogram.processes) |"
fi
