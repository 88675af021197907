#!/usr/bin/env bash
# Fills the category folders beside the program with the demo library, small
# games of our own built from tools/demo-games, so that a first start has
# something to play: Snake in Action, Balloon Pop in Shooting and Lights Out
# in Board; the other categories start empty. A category folder that exists
# already is left exactly as it is.
# Usage: make-demo-library.sh PROGRAM_FOLDER DEMO_GAMES_FOLDER
set -euo pipefail
folder=$1
games=$2

made=()
for category in Action Adventure Classic Shooting Sport Board Other; do
  [ -e "$folder/$category" ] && continue
  mkdir "$folder/$category"
  made+=("$category")
  case $category in
    Action) cp "$games/Snake.swf" "$folder/Action/Snake.swf" ;;
    Shooting) cp "$games/Balloons.swf" "$folder/Shooting/Balloon Pop.swf" ;;
    Board) cp "$games/LightsOut.swf" "$folder/Board/Lights Out.swf" ;;
  esac
done
[ ${#made[@]} -eq 0 ] || echo "Demo games made in: ${made[*]}"
