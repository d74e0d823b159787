#!/usr/bin/env bash
# The bash completion of glyphkiln against the program itself: it offers
# exactly the options `--help` lists, every value it offers is one the
# program accepts, and file names are offered by their kind.
# Usage: check-completion.sh COMPLETION_FILE GLYPHKILN
set -u
completion=$1 glyphkiln=$2
# shellcheck source=/dev/null
source "$completion"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# What completing the last word offers, one per line, sorted.
offers() {
  COMP_WORDS=("$glyphkiln" "$@")
  COMP_CWORD=${#COMP_WORDS[@]}
  COMP_CWORD=$((COMP_CWORD - 1))
  COMPREPLY=()
  _glyphkiln
  [ ${#COMPREPLY[@]} -eq 0 ] || printf '%s\n' "${COMPREPLY[@]}" | sort
}

listed=$("$glyphkiln" --help | awk '/^  -/ {print $1}' | sort)
[ -n "$listed" ] || fail "glyphkiln --help lists no options"
[ "$(offers -)" = "$listed" ] || fail "'-' offers $(offers - | tr '\n' ' ') instead of every listed option"
[ "$(offers --bev)" = "$(grep '^--bev' <<<"$listed")" ] || fail "'--bev' offers $(offers --bev | tr '\n' ' ')"

# Every value offered for an option is accepted by the program.
for option in --bevel-shape --bevel-size --light --size; do
  values=$(offers "$option" "")
  [ -n "$values" ] || fail "nothing offered after $option"
  [ "$(offers "$option" = "")" = "$values" ] || fail "$option= offers other values than $option"
  for value in $values; do
    "$glyphkiln" -o "$scratch/x.wrl" "$option" "$value" Hi 2>/dev/null ||
      fail "glyphkiln refuses $option $value, which the completion offers"
  done
done

# File options offer files of their kind and directories.
mkdir -p "$scratch/files/sub"
cd "$scratch/files"
touch a.wrl b.gif c.png d.ttf
for case in "-o a.wrl" "--gif b.gif" "--png c.png" "--font-file d.ttf"; do
  set -- $case
  [ "$(offers "$1" "")" = "$(printf '%s\nsub\n' "$2" | sort)" ] || fail "$1 offers $(offers "$1" "" | tr '\n' ' ')"
done

[ $failures -eq 0 ] || exit 1
echo "completion offers $(wc -l <<<"$listed") options, every one glyphkiln lists"
