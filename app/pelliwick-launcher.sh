#!/bin/sh
# Starts Pelliwick for the user who runs it. Pelliwick's library is the folder
# its program sits in, and the folder the package installs into belongs to the
# system, so each user gets a program folder of their own: a copy of the
# program, a link to the Flash player's files beside it, and the seven
# category folders, made at the first start. Later starts only bring the copy
# up to date after the package changed it; the games are never touched.
set -eu
# Games are untrusted files: they never play with the rights of root, which
# would also leave the player without Chromium's sandbox.
if [ "$(id -u)" -eq 0 ]; then
  echo "pelliwick: not started as root; start it as the user whose games it plays" >&2
  exit 1
fi
installed=$(dirname "$(readlink -f "$0")")/../lib/pelliwick
installed=$(readlink -f "$installed")
folder=${XDG_DATA_HOME:-$HOME/.local/share}/pelliwick

if [ ! -d "$folder" ]; then
  mkdir -p "$folder"
  for category in Action Adventure Classic Shooting Sport Board Other; do
    mkdir "$folder/$category"
  done
  echo "Your games go into the category folders in $folder"
fi
# The copy is put in place whole, so a start never runs a half-copied program,
# and two starts at once never write into the same file.
if ! cmp -s "$installed/pelliwick" "$folder/pelliwick"; then
  new=$(mktemp "$folder/.pelliwick.XXXXXX")
  if ! { cp "$installed/pelliwick" "$new" && chmod 755 "$new" && mv -f "$new" "$folder/pelliwick"; }; then
    rm -f "$new"
    exit 1
  fi
fi
# The link follows the installed player; a real folder of the user's is kept.
if [ -L "$folder/ruffle" ] || [ ! -e "$folder/ruffle" ]; then
  [ "$(readlink "$folder/ruffle")" = "$installed/ruffle" ] ||
    ln -sfn "$installed/ruffle" "$folder/ruffle"
fi
exec "$folder/pelliwick" "$@"
