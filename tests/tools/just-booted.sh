#!/usr/bin/env bash
# The unit tests that depend on the clock, run as on a machine booted a
# minute ago: in a time namespace whose monotonic and boot clocks read 60 s.
# A clock that young is where a program that takes the clock's zero for
# "long ago" goes wrong, and a machine that has been up for hours never
# shows it. Only root may make a time namespace (and only on a kernel that
# has them): elsewhere the test says why and is skipped, never passed.
# Usage: just-booted.sh TEST_PROGRAM...
set -u
skip() {
  echo "SKIP: $*"
  exit 77
}

uptime=$(cut -d. -f1 /proc/uptime)
offset=$((60 - uptime))
probe=$(unshare --time --fork --monotonic "$offset" --boottime "$offset" cat /proc/uptime 2>&1) ||
  skip "no time namespace can be made here (${probe}); run as root on Linux 5.6 or later"
seen=${probe%%.*}
[ "$seen" -lt 120 ] || skip "the time namespace's boot clock reads ${seen} s, not about 60"
echo "In a time namespace whose clocks read ${seen} s after boot:"

status=0
for test in "$@"; do
  # Each gets the time namespace anew: its clocks start at a minute again.
  offset=$((60 - $(cut -d. -f1 /proc/uptime)))
  if unshare --time --fork --monotonic "$offset" --boottime "$offset" "$test"; then
    echo "PASS: $(basename "$test") a minute after boot"
  else
    echo "FAIL: $(basename "$test") a minute after boot"
    status=1
  fi
done
exit "$status"
