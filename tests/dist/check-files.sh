#!/usr/bin/env bash
# The desktop entry and the AppStream data: valid by their validators (when
# installed), and in step with each other, the icons, the licence and the
# project's version.
# Usage: check-files.sh SOURCE_DIR PROJECT_VERSION
set -u
src=$1 version=$2
dist=$src/dist
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

desktop=$(ls "$dist"/*.desktop)
metainfo=$(ls "$dist"/*.metainfo.xml)
id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo")

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
else
  echo "desktop-file-validate not installed: desktop entry not validated"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate $metainfo"
else
  echo "appstreamcli not installed: AppStream data not validated"
fi

field() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(basename "$desktop")" = "$id.desktop" ] || fail "desktop file is not named after the component id $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "launchable does not name $id.desktop"
[ "$(field Icon)" = "$id" ] || fail "Icon= is not the component id"
exec_program=$(field Exec | cut -d' ' -f1)
grep -q "<binary>$exec_program</binary>" "$metainfo" || fail "metainfo does not provide Exec's program $exec_program"

# The newest release is the project's version.
newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -1 | cut -d'"' -f2)
[ "$newest" = "$version" ] || fail "newest release $newest is not the project version $version"

# The licence named is the one in LICENSE.
license=$(sed -n 's:.*<project_license>\(.*\)</project_license>.*:\1:p' "$metainfo")
head -1 "$src/LICENSE" | grep -q "^$license License" || fail "project_license $license is not LICENSE's"

# Each PNG icon is as large as its name says, and square.
for png in "$dist"/icons/*.png; do
  size=$(basename "$png" .png)
  read -r w h < <(od -An -j16 -N8 -tu1 "$png" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
  [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "$png is ${w}x$h"
done

[ $failures -eq 0 ] || exit 1
echo "desktop entry, AppStream data and icons agree"
