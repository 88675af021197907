#!/usr/bin/env bash
# A movie's stage as the build hands it to the Haxe it found: Haxe takes it
# without a word (no warning about a flag it no longer wants), and the movie
# carries the stage colour asked for (Haxe 4.2 drops it from the newer form).
# GamesEndToEnd sees that colour on the screen.
# Usage: haxe-stage.sh HAXE MOVIES_SOURCE RRGGBB STAGE_ARGUMENTS...
set -euo pipefail
haxe=$1 source=$2 colour=$3
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Uncompressed, so that the header's tags can be read as they are.
"$haxe" -cp "$source" -swf "$work/stage.swf" -swf-version 10 -D no-swf-compress "$@" \
  -main StageOnly >"$work/said" 2>&1 || fail "Haxe failed: $(cat "$work/said")"
[ ! -s "$work/said" ] || fail "Haxe said: $(cat "$work/said")"
# SetBackgroundColor: tag 9 of three bytes, then red, green and blue.
tag=$(printf ' 43 02 %s %s %s' "${colour:0:2}" "${colour:2:2}" "${colour:4:2}" | tr A-F a-f)
[[ " $(od -An -tx1 -v "$work/stage.swf" | tr -s ' \n' ' ')" == *"$tag "* ]] ||
  fail "the movie's stage is not $colour (Haxe $("$haxe" --version 2>&1))"
echo "PASS: Haxe $("$haxe" --version 2>&1) takes the stage silently, in its colour"
