#!/usr/bin/env bash
# Every file the project's documents link to is there: the README, the
# benchmarks, the tests' catalogue and the documents in docs/. A link or a
# picture whose target is a relative path (not an address with a scheme, nor
# a place in the same page) must name a file or folder that exists, taken
# from the linking document's own folder. A link moved or renamed without its
# target fails here, naming the document, its line and the link.
# Usage: readme-links.sh SOURCE_FOLDER
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 SOURCE_FOLDER" >&2; exit 2; }
cd "$1"

# LINE<tab>TARGET for every link of a document: inline links and pictures,
# ](target) or ](target "title") or ](<target>), and reference definitions,
# [name]: target. What a fenced block or a span of code holds is shown, not
# linked.
targets_of() {
  awk '
    /^[ \t]*(```|~~~)/ { fenced = !fenced; next }
    fenced { next }
    {
      line = $0
      gsub(/`[^`]*`/, "", line)
      if (match(line, /^ ? ? ?\[[^]]+\]:[ \t]*[^ \t]+/)) {
        definition = substr(line, RSTART, RLENGTH)
        sub(/^ ? ? ?\[[^]]+\]:[ \t]*/, "", definition)
        print NR "\t" definition
      }
      while (match(line, /\]\((<[^>]*>|[^) \t]+)/)) {
        target = substr(line, RSTART + 2, RLENGTH - 2)
        gsub(/^<|>$/, "", target)
        print NR "\t" target
        line = substr(line, RSTART + RLENGTH)
      }
    }' "$1"
}

documents=(README.md BENCHMARKS.md tests/README.md docs/*.md)
broken=0 links=0
for document in "${documents[@]}"; do
  [ -f "$document" ] || { echo "FAIL: $document is missing"; broken=$((broken + 1)); continue; }
  folder=$(dirname "$document")
  while IFS=$'\t' read -r number target; do
    case $target in
    \#* | *://* | mailto:*) continue ;;
    esac
    links=$((links + 1))
    path=${target%%#*}
    path=${path//%20/ }
    if [ ! -e "$folder/$path" ]; then
      echo "FAIL: $document:$number links to $target, which does not exist"
      broken=$((broken + 1))
    fi
  done < <(targets_of "$document")
done
[ $broken -eq 0 ] || exit 1
echo "PASS: the $links links of ${#documents[@]} documents lead to files that exist"
