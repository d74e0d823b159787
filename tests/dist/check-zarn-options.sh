#!/usr/bin/env bash
# The desktop program's command line: --help and --version answer without a
# display (so without a window), the version is the command-line tool's, and
# a bad argument is refused with a message naming it and the documented exit
# status before any window opens.
# Usage: check-zarn-options.sh ZARN GLYPHKILN
set -u
zarn=$1 glyphkiln=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# No display and no platform plugin named: anything that starts Qt fails.
headless=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
for option in --help -h --version; do
  "${headless[@]}" timeout 60 "$zarn" "$option" >"$scratch/out" 2>"$scratch/err"
  status=$?
  [ $status -eq 0 ] || fail "zarn $option exits $status: $(cat "$scratch/err")"
  [ -s "$scratch/out" ] || fail "zarn $option prints nothing"
  [ -s "$scratch/err" ] && fail "zarn $option writes to stderr: $(cat "$scratch/err")"
done
"${headless[@]}" "$zarn" --help | head -1 | grep -q '^Usage: zarn ' || fail "zarn --help has no usage line"
zarn_version=$("${headless[@]}" "$zarn" --version | sed -n 's/^zarn //p')
tool_version=$("$glyphkiln" --version | sed -n 's/^glyphkiln //p')
[ -n "$zarn_version" ] && [ "$zarn_version" = "$tool_version" ] ||
  fail "zarn version '$zarn_version' differs from glyphkiln's '$tool_version'"

# Refused arguments: expected status, and the word the message must name.
mkdir "$scratch/folder"
while read -r expected name args; do
  # shellcheck disable=SC2086
  env QT_QPA_PLATFORM=offscreen timeout 60 "$zarn" $args >/dev/null 2>"$scratch/err"
  status=$?
  [ $status -eq "$expected" ] || fail "zarn $args exits $status, not $expected"
  grep -qF -- "$name" "$scratch/err" || fail "zarn $args: message does not name $name: $(cat "$scratch/err")"
done <<EOF_CASES
1 $scratch/missing.wrl $scratch/missing.wrl
1 $scratch/folder $scratch/folder
2 --bogus --bogus
2 -x $scratch/folder -x
2 FILE $scratch/a $scratch/b
EOF_CASES

[ $failures -eq 0 ] || exit 1
echo "zarn answers --help and --version without a display and refuses bad arguments"
