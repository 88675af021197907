#!/usr/bin/env bash
# The games' saves within their bounds, as hoarding games try them, played by
# the real program under a private X server: names of a folder each, chains
# of folders, names no file may hold and local paths not the game's own,
# large saves shared with every game, and saves rewritten at every frame.
# A game hears "flushed" only for what is kept, and what is kept is counted
# on disk; rewrites reach the disk twice a second at most, the last within
# two seconds; and a gigabyte of other games' saves in the store slows no
# game's start.
# Usage: bounds.sh PELLIWICK_BINARY MOVIES_FOLDER CLOSE_WINDOW
set -euo pipefail
here=$(dirname "$0")
source "$here/../support/xsession.sh"
movies=$2 close_window=$3

make_program_folder "$1"
mkdir "$work/Action"
for game in churn deep folders names rewrite shared; do
  cp "$movies/Hoarder.swf" "$work/Action/$game.swf"
done
cp "$movies/SaveCounter.swf" "$work/Action/fresh.swf"
cp "$movies/SaveCounter.swf" "$work/Action/timed.swf"
cp "$movies/StageOnly.swf" "$work/Action/zz stage.swf"
store=$XDG_DATA_HOME/pelliwick-saves
shelf() { echo "$store/localhost$work/Action${1:+/$1}"; } # a game's own saves, or its folder's
games() { (cd "$work" && find Action -type f | sort | xargs -d '\n' md5sum); }
before=$(games)
green=40,160,70 grey=128,128,128 yellow=240,200,40 stage=30,80,200
budget_bytes=$((16 << 20))
bytes_of() { find "$@" -type f -printf '%s\n' | awk '{ n += $1 } END { print n + 0 }'; }
median() { tr ' ' '\n' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# The stage comes between games that show the same colour.
after_stage() { # LINE R,G,B WHAT_FAILED
  play 8 $stage "the stage did not play"
  play "$@"
}
start_program 9
after_stage 1 $green "a chain of folders beyond the bounds was answered flushed, or one within refused"
after_stage 2 $green "names of a folder each were all answered flushed, or none"
after_stage 4 $green "a name no file may hold was answered flushed, or a plain one refused"
after_stage 6 $green "shared saves beyond the budget were answered flushed, or the game's own refused"
quit

echo "what the hoarders left, counted on disk"
[ -f "$(shelf deep.swf)/#a/b/c/d/e/f/g/h/s.sol" ] || fail "the save 8 folders deep is missing"
[ -z "$(find "$(shelf deep.swf)" -mindepth 9 -type d)" ] || fail "a folder of names deeper than 8 was kept"
folders=$(find "$(shelf folders.swf)" -mindepth 1 -type d | wc -l)
[ "$folders" -ge 1 ] && [ "$folders" -le 100 ] || fail "$folders folders of names kept for one game"
[ "$(cd "$(shelf names.swf)" && find . -mindepth 1)" = "./good.sol" ] ||
  fail "names no file may hold were kept: $(find "$(shelf names.swf)")"
shared=$(bytes_of "$store/localhost" -maxdepth 1 -name '*.sol')
[ "$shared" -gt 0 ] && [ "$shared" -le $budget_bytes ] || fail "$shared bytes shared with every game"
[ -f "$(shelf shared.swf)/own.sol" ] || fail "the sharing game's own save is missing"
[ "$(ls "$XDG_DATA_HOME")" = pelliwick-saves ] || fail "saves outside the store: $(ls "$XDG_DATA_HOME")"
[ "$(games)" = "$before" ] || fail "the games' folder changed"

echo "saves rewritten at every frame"
inotifywait -m -r -e moved_to --timefmt %s --format '%T %w%f' "$store" >"$work/writes" \
  2>"$work/watching" &
helpers="${helpers:-} $!"
wait_for 20 grep -q 'Watches established' "$work/watching" || fail "inotifywait did not start"
# Small saves come at every frame; large ones make the frames slow.
start_program 9
for game in 0 5; do
  play $game $grey "the rewriting game did not start"
  wait_for 60 plays $green || fail "the rewriting game's saves were refused ($(pixel "$shot" $player))"
done
# The crash comes two seconds after the last game's last flush.
sleep 2
kill -KILL "$app"
wait "$app" 2>/dev/null || true
for game in churn rewrite; do
  for i in 0 1 2 3; do
    grep -q done "$(shelf $game.swf)/frame$i.sol" || fail "$game's save $i lost its last version in a crash"
  done
done
# Twice a second at most, counted over the seconds each save was written in.
awk 'index($2, ".sol") { if (!($2 in first)) first[$2] = $1; last[$2] = $1; n[$2]++ }
  END { for (save in n) {
          seconds = last[save] - first[save] + 1
          print n[save], "writes in", seconds, "s:", substr(save, length(save) - 20)
          if (n[save] > 2 * seconds + 1) too_often = 1
        }
        exit too_often || length(n) != 8 }' "$work/writes" ||
  fail "saves rewritten at every frame were written too often"

# Milliseconds from a click on the timed game to its colour.
timed_start() { # WHEN
  local start
  start=$(now)
  click $(line 7)
  wait_for 30 eval 'look && colour=$(pixel "$shot" $player) && [ $colour != $stage ] &&
    [ $colour != $grey ] && [ $colour != 255,255,255 ]' || fail "the timed game did not start $1"
  echo $(($(now) - start))
}

echo "a gigabyte of other games' saves in the store"
# Shared with every game, shared with the game's folder, and another game's
# own, as an older program might have left them; sparse, so that the test
# writes next to nothing.
hoard=$work/hoard
mkdir -p "$hoard/root/#hoard" "$hoard/folder/#hoard" "$hoard/other.swf"
(cd "$hoard/root/#hoard" && truncate -s 1M $(seq -f '%g.sol' 512))
(cd "$hoard/folder/#hoard" && truncate -s 1M $(seq -f '%g.sol' 256))
(cd "$hoard/other.swf" && truncate -s 1M $(seq -f '%g.sol' 256))
[ "$(bytes_of "$hoard")" -eq $((1 << 30)) ] || fail "the hoard is not a gigabyte"
hoard_in() {
  mv "$hoard/root/#hoard" "$store/localhost/"
  mv "$hoard/folder/#hoard" "$hoard/other.swf" "$(shelf)/"
}
hoard_out() {
  mv "$store/localhost/#hoard" "$hoard/root/"
  mv "$(shelf)/#hoard" "$hoard/folder/"
  mv "$(shelf)/other.swf" "$hoard/"
}
# The memory of the program and all its processes, in kB.
memory() {
  ps -e -o pid=,ppid=,rss= | awk -v app="$app" '
    { parent[$1] = $2; rss[$1] = $3 }
    END { for (p in rss) for (q = p; q != ""; q = parent[q]) if (q == app) { n += rss[p]; break }
          print n }'
}
# Each round in the other order, so that what the page keeps of the games
# before weighs on both alike.
start_program 9
empty=() hoarded=() empty_memory=0 hoarded_memory=0
timed_empty() {
  play 8 $stage "the stage did not play"
  empty+=("$(timed_start "with an empty store")")
  taken=$(memory)
  empty_memory=$((taken > empty_memory ? taken : empty_memory))
}
timed_hoarded() {
  hoard_in
  play 8 $stage "the stage did not play"
  hoarded+=("$(timed_start "beside a gigabyte of saves")")
  taken=$(memory)
  hoarded_memory=$((taken > hoarded_memory ? taken : hoarded_memory))
  hoard_out
}
for round in 1 2 3 4 5; do
  if [ $((round % 2)) -eq 1 ]; then
    timed_empty
    timed_hoarded
  else
    timed_hoarded
    timed_empty
  fi
done
echo "starts beside the hoard: ${hoarded[*]} ms; with an empty store: ${empty[*]} ms"
empty=$(echo "${empty[*]}" | median) hoarded=$(echo "${hoarded[*]}" | median)
echo "a game started in ${hoarded} ms beside the hoard, ${empty} ms without (medians);" \
  "the program held ${hoarded_memory} kB and ${empty_memory} kB"
[ "$hoarded" -le $((empty * 3 / 2)) ] || fail "the hoard slowed a game's start"
[ "$hoarded_memory" -le $((empty_memory * 11 / 10)) ] || fail "the hoard took memory"
quit

echo "a store past its budget"
hoard_in
start_program 9
play 3 $yellow "a new save in a store past its budget was answered flushed"
quit
[ ! -e "$(shelf fresh.swf)" ] || fail "a save was kept in a store past its budget"
[ "$(bytes_of "$store/localhost/#hoard" "$(shelf)/#hoard" "$(shelf)/other.swf")" -eq $((1 << 30)) ] ||
  fail "saves already in the store were touched"
echo "PASS: hoarding games kept within bounds and told so, rewrites coalesced, starts unslowed"
