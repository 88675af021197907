# Shared by the benchmark scripts: two cores, their X server, a quiet machine
# before each launch, and the medians of the figures. Sourced, not run, with
# the script's own arguments.

# The figures are for two cores: on a bigger machine the script starts again
# kept to two.
if [ "$(nproc)" -gt 2 ] && [ -z "${PELLIWICK_BENCH_PINNED:-}" ] && command -v taskset >/dev/null; then
  PELLIWICK_BENCH_PINNED=1 exec taskset -c 0,1 "$0" "$@"
fi
source "$(dirname "${BASH_SOURCE[0]}")/../tests/support/xsession.sh"

# A private Xvfb, or the server PELLIWICK_BENCH_DISPLAY names (one lent to a
# clean Debian of another release, so that the releases are measured on the
# same X server: tools/bench-debian.sh).
bench_x() {
  if [ -n "${PELLIWICK_BENCH_DISPLAY:-}" ]; then
    export DISPLAY=$PELLIWICK_BENCH_DISPLAY
  else
    start_x
  fi
}

# The commit measured; a clean Debian trial has no git and is told it.
source_commit() {
  echo "${PELLIWICK_BENCH_SOURCE:-$(git -C "$(dirname "${BASH_SOURCE[0]}")/.." describe --always --dirty 2>/dev/null ||
    echo "?")}"
}

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

# wait_quiet [PATTERN...]: each launch starts on a quiet machine: the previous
# launch's helper processes gone, no other web engine program running (it
# would share the engine's libraries and lower the Pss figures), no process
# whose command line matches a PATTERN, and the CPUs idle. Launches that
# waited in vain (15 s) are counted in $disturbed.
disturbed=0
wait_quiet() {
  local deadline=$((SECONDS + 15)) pattern busy
  while [ $SECONDS -lt $deadline ]; do
    busy=$(pgrep -x QtWebEngineProc || true)
    for pattern in "$@"; do
      busy+=$(pgrep -f "$pattern" || true)
    done
    if [ -z "$busy" ] && [ "$(cpu_busy)" -lt 15 ]; then
      return 0
    fi
    sleep 0.5
  done
  disturbed=$((disturbed + 1))
}

# stat KEY: "median min max count" of a figure of the file $figures (lines
# "KEY value"), empty when it has none.
stat() {
  awk -v key="$1" '$1 == key { print $2 }' "$figures" | sort -g | awk '
    { v[++n] = $1 }
    END {
      if (!n) exit
      m = n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
      printf "%g %g %g %d\n", m, v[1], v[n], n
    }'
}
