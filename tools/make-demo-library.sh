#!/usr/bin/env bash
# Fills the category folders beside the program with a few demo games made by
# our own SWF writer, so that a first start shows a filled list. A category
# folder that exists already is left exactly as it is.
# Usage: make-demo-library.sh PROGRAM_FOLDER SWF_WRITER
set -euo pipefail
folder=$1
swf=$2

game() { # category name kind colour [key colour]
  local category=$1 name=$2 kind=$3 colour=$4
  shift 4
  if [ "$kind" = keyswitch ]; then
    "$swf" keyswitch --color "$colour" --key-color "$1" --out "$folder/$category/$name.swf"
  else
    "$swf" solid --color "$colour" --out "$folder/$category/$name.swf"
  fi
}

made=()
for category in Action Adventure Classic Shooting Sport Board Other; do
  [ -e "$folder/$category" ] && continue
  mkdir "$folder/$category"
  made+=("$category")
  case $category in
    Action)
      game Action "Press Any Key" keyswitch 1E50C8 F0C828
      game Action "Red Alert" solid C81E1E ;;
    Adventure) game Adventure "Green Valley" solid 28A03C ;;
    Classic) game Classic "Amber Screen" keyswitch 201000 FFB000 ;;
    Shooting) game Shooting "Night Target" solid 141428 ;;
    Sport)
      game Sport "Tennis Court" solid 3C8C3C
      game Sport "Ice Rink" keyswitch DCF0FF 5078A0 ;;
    Board) game Board "Chess Board" solid 8C643C ;;
    Other) ;;
  esac
done
[ ${#made[@]} -eq 0 ] || echo "Demo games made in: ${made[*]}"
