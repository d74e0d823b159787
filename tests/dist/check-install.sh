#!/usr/bin/env bash
# Installs the build into a scratch prefix, moves the prefix elsewhere (an
# installation must not point back at where it was made or built), and runs
# the installed programs from there: the picture needs the installed renderer
# library and nothing else, and the manual pages cover every option.
# Usage: check-install.sh BUILD_DIR CMAKE APP_ID WITH_MAN(0|1)
set -u
build=$1 cmake=$2 id=$3 with_man=$4
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

"$cmake" --install "$build" --prefix "$scratch/first" >"$scratch/install.log" 2>&1 || {
  cat "$scratch/install.log"; exit 1; }
mv "$scratch/first" "$scratch/moved"
p=$scratch/moved

expected=(bin/glyphkiln lib/glyphkiln/libRastel16.so share/bash-completion/completions/glyphkiln
          share/doc/glyphkiln/LICENSE share/doc/glyphkiln/README.md)
gui=0
[ -x "$build/bin/zarn" ] && gui=1
if [ $gui = 1 ]; then
  expected+=(bin/zarn "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml"
             "share/icons/hicolor/scalable/apps/$id.svg" "share/icons/hicolor/48x48/apps/$id.png"
             "share/icons/hicolor/256x256/apps/$id.png")
fi
[ "$with_man" = 1 ] && expected+=(share/man/man1/glyphkiln.1) && [ $gui = 1 ] && expected+=(share/man/man1/zarn.1)
for f in "${expected[@]}"; do [ -e "$p/$f" ] || fail "not installed: $f"; done

# A world and a picture from the installed tool, with no library path set:
# the renderer comes from the installed private directory.
cd "$scratch"
env -u LD_LIBRARY_PATH "$p/bin/glyphkiln" -o hi.wrl --gif hi.gif Hi || fail "installed glyphkiln failed"
[ "$(head -c 6 hi.gif 2>/dev/null)" = GIF87a ] || fail "no GIF picture from the installed glyphkiln"
[ "$(head -c 15 hi.wrl 2>/dev/null)" = "#VRML V2.0 utf8" ] || fail "no world from the installed glyphkiln"
# Without that library there is no picture: the one above came from it.
mv "$p/lib/glyphkiln/libRastel16.so" "$scratch/aside.so"
if env -u LD_LIBRARY_PATH "$p/bin/glyphkiln" --gif none.gif Hi 2>/dev/null; then
  fail "a picture was drawn without the installed renderer library"
fi
mv "$scratch/aside.so" "$p/lib/glyphkiln/libRastel16.so"
if [ $gui = 1 ]; then
  env -u DISPLAY -u WAYLAND_DISPLAY "$p/bin/zarn" --version >/dev/null || fail "installed zarn --version failed"
fi

# Each manual page, as man shows it, names every option of its program.
if [ "$with_man" = 1 ] && command -v man >/dev/null; then
  programs=(glyphkiln)
  [ $gui = 1 ] && programs+=(zarn)
  for program in "${programs[@]}"; do
    shown=$(MANWIDTH=100 man -l "$p/share/man/man1/$program.1" 2>/dev/null | sed 's/‐/-/g')
    [ -n "$shown" ] || fail "man -l shows nothing for $program.1"
    for option in $(env -u DISPLAY "$p/bin/$program" --help | grep -oE '^ +(-[a-z], )?-[-a-z]+' | grep -oE -- '-[-a-z]+$'); do
      grep -qF -- "$option" <<<"$shown" || fail "$program.1 does not show $option"
    done
  done
fi

[ $failures -eq 0 ] || exit 1
echo "installed tree works from $p"
