#!/usr/bin/env bash
# Makes the Debian package of the build in BUILD_DIR, checks it with lintian
# when that is installed, unpacks it into a temporary folder and runs the
# program from there.
set -u
build=$1
version=$2
built_program=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
failed() { echo "FAIL: $*"; fail=1; }

if ! cpack --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" 2>&1; then
  cat "$tmp/cpack.log"
  failed "cpack could not make the package"
  exit 1
fi
deb="$tmp/out/torvk32_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { ls "$tmp/out"; failed "no package named $(basename "$deb")"; exit 1; }

# Libraries from dpkg-shlibdeps; fonts and Graphviz, which is loaded at run
# time, named by hand.
depends=$(dpkg-deb -f "$deb" Depends)
for dependency in libqt6widgets6 libstdc++6 fonts-wine fonts-liberation libgvc6; do
  grep -q "$dependency" <<<"$depends" || failed "Depends lacks $dependency: $depends"
done

if command -v lintian >/dev/null 2>&1; then
  lintian --fail-on error "$deb" >"$tmp/lintian.log" 2>&1 || { cat "$tmp/lintian.log"; failed "lintian reports errors"; }
else
  echo "lintian is not installed: the package is not checked with it (scripts/package does)"
fi

root="$tmp/root"
dpkg-deb -x "$deb" "$root"
for file in usr/bin/torvk32 usr/bin/torvk32-window usr/bin/torvk32-setup \
  usr/share/applications/veltrane_suite.torvek32.desktop \
  usr/share/mime/packages/veltrane_suite.torvek32.xml \
  usr/share/icons/hicolor/48x48/apps/veltrane_suite.torvek32.png \
  usr/share/icons/hicolor/scalable/apps/veltrane_suite.torvek32.svg \
  usr/share/icons/hicolor/48x48/mimetypes/application-x-veltrane_suite.torvek32.png \
  usr/share/man/man1/torvk32.1.gz usr/share/man/man1/torvk32-window.1.gz usr/share/man/man1/torvk32-setup.1.gz \
  usr/share/torvek32/torvk32.jpg usr/share/torvek32/sample.fs2 \
  usr/share/doc/torvk32/copyright usr/share/doc/torvk32/changelog.gz; do
  [ -f "$root/$file" ] || failed "the package lacks /$file"
done
desktop-file-validate "$root/usr/share/applications/veltrane_suite.torvek32.desktop" || failed "desktop entry invalid"
first=$(zcat "$root/usr/share/doc/torvk32/changelog.gz" | head -1)
[[ "$first" == "torvk32 ($version) "* ]] || failed "the changelog's latest entry is not version $version: $first"

# The installed torvk32 loads no Qt; its window, torvk32-window, does.
ldd "$root/usr/bin/torvk32" | grep -qi 'libQt' && failed "the packaged torvk32 loads Qt: $(ldd "$root/usr/bin/torvk32" | grep -i qt)"
ldd "$root/usr/bin/torvk32-window" | grep -qi 'libQt6Widgets' || failed "the packaged torvk32-window does not load Qt Widgets"

# The program runs from the unpacked package and exports as the build does.
"$root/usr/bin/torvk32" --version >"$tmp/version" || failed "torvk32 --version exited $?"
grep -q '^TORVEK32 1\.0 Beta 01b (Build 02)$' "$tmp/version" || failed "--version printed: $(cat "$tmp/version")"
sample="$root/usr/share/torvek32/sample.fs2"
"$root/usr/bin/torvk32" --export json "$sample" >"$tmp/packaged.json" || failed "--export json exited $?"
"$built_program" --export json "$sample" >"$tmp/built.json"
cmp -s "$tmp/packaged.json" "$tmp/built.json" || failed "the packaged program exports differently from the build"
python3 -c 'import json, sys; json.load(open(sys.argv[1]))' "$tmp/packaged.json" || failed "--export json is no JSON"
# The event flow picture lays out with the system's Graphviz.
"$root/usr/bin/torvk32" --export svg "$sample" >"$tmp/packaged.svg" || failed "--export svg exited $?"
"$built_program" --export svg "$sample" >"$tmp/built.svg"
cmp -s "$tmp/packaged.svg" "$tmp/built.svg" || failed "the packaged program draws differently from the build"

# The set-up finds the program and the pictures where the package puts them.
XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" "$root/usr/bin/torvk32-setup" 2>"$tmp/setup.log" ||
  { cat "$tmp/setup.log"; failed "torvk32-setup from the package exited $?"; }
[ "$(readlink "$tmp/data/veltrane/torvk32/torvk32")" = "$root/usr/bin/torvk32" ] || failed "set-up did not link the program"
cmp -s "$tmp/data/veltrane/torvk32/torvk32.jpg" "$root/usr/share/torvek32/torvk32.jpg" ||
  failed "set-up did not copy the splash picture"
exit $fail
