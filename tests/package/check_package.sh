#!/usr/bin/env bash
# Packs the built tree as the Debian package and checks it as a user gets it:
# the files it holds, its control fields, its desktop entry, and the program
# run from the unpacked tree (dpkg-deb -x) from another working directory,
# with lib/sonvero/ read-only so that the settings must go to
# $XDG_CONFIG_HOME/sonvero/. As root (CI) the program runs as nobody, since
# root may write a read-only folder.
#   check_package.sh BUILD_DIR SOURCE_DIR VERSION DESKTOP(ON|OFF)
set -euo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
version=$3
desktop=$4
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"
fail=0
problem() { echo "$*"; fail=1; }

# The package, from what is built (no rebuild).
(cd "$build" && cpack -G DEB -B "$work/pack" > "$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/pack/sonvero_"$version"_*.deb)

# Its files.
dpkg-deb -c "$deb" | awk '{ sub(/^\./, "", $6); print $6 }' > "$work/files"
expected=(/usr/bin/sonvero
          /usr/lib/sonvero/libsonvero.so /usr/lib/sonvero/libvbvis10.so /usr/lib/sonvero/libsonvero-toolkit.so
          /usr/lib/sonvero/libsonvero-ola.so
          /usr/share/applications/sonvero.desktop /usr/share/icons/hicolor/scalable/apps/sonvero.svg
          /usr/share/man/man1/sonvero.1 /usr/share/doc/sonvero/README.md /usr/share/doc/sonvero/COPYING
          /usr/share/sonvero/fixture.png /usr/share/sonvero/fixture.svg)
[ "$desktop" = ON ] && expected+=(/usr/lib/sonvero/libsonvero-toolkit-qt.so)
for show in "$source"/resources/shows/*.show; do
  [ -e "$show" ] && expected+=("/usr/share/sonvero/shows/$(basename "$show")")
done
for definition in "$source"/resources/fixtures/*.qxf; do
  [ -e "$definition" ] && expected+=("/usr/share/sonvero/fixtures/$(basename "$definition")")
done
for file in "${expected[@]}"; do
  grep -qxF "$file" "$work/files" || problem "the package lacks $file"
done

# Its dependencies: read off the binaries; OLA's daemon and the open fixture
# library recommended; the sound server left to the system.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libpulse0 libsndfile1 libola1 libpugixml1v5; do
  grep -q "$lib" <<< "$depends" || problem "Depends lacks $lib: $depends"
done
grep -qE 'pulseaudio|pipewire' <<< "$depends" && problem "Depends names a sound server: $depends"
[ "$(dpkg-deb -f "$deb" Recommends)" = "ola, qlcplus-data" ] || problem "Recommends is not ola, qlcplus-data"

root=$work/root
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/sonvero.desktop" || problem "desktop-file-validate failed"

# The installed program, from a working directory of its own, as a user
# whose settings go to XDG.
home=$work/home
mkdir -p "$home"
cp "$source/tests/scripts/settings_fresh.script" "$home/session.script"
chmod a-w "$root/usr/lib/sonvero"
as=()
if [ "$(id -u)" = 0 ]; then
  chown -R nobody:nogroup "$home"
  as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
run() {
  (cd "$home" && env -i HOME="$home" XDG_CONFIG_HOME="$home/config" PATH=/usr/bin:/bin \
                   "${as[@]}" "$root/usr/bin/sonvero" "$@")
}

[ "$(run --version)" = "sonvero $version" ] || problem "--version: $(run --version 2>&1)"
run --list-bins > "$work/bins" 2>&1 || problem "--list-bins failed: $(cat "$work/bins")"
"$build/bin/sonvero" --list-bins | cmp -s - "$work/bins" || problem "--list-bins differs from the build tree's"

run --script session.script --dmx none > "$work/trace" 2> "$work/stderr" || problem "the session failed: $(cat "$work/stderr")"
diff -u "$source/tests/scripts/settings_fresh.trace" "$work/trace" || problem "the session's trace differs"
if [ -f "$home/config/sonvero/Sonvero.ini" ]; then
  cmp "$source/tests/scripts/settings_fresh.ini.expected" "$home/config/sonvero/Sonvero.ini" ||
    problem "the saved Sonvero.ini differs"
else
  problem "no Sonvero.ini in \$XDG_CONFIG_HOME/sonvero/"
fi
[ -e "$root/usr/lib/sonvero/Sonvero.ini" ] && problem "Sonvero.ini was written beside the read-only plug-in"

# The starter shows open from where the package puts them, as from the source tree.
for show in "$root"/usr/share/sonvero/shows/*.show; do
  [ -e "$show" ] || continue
  printf 'open-show "%s"\nprint show\n' "$show" > "$home/starter.script"
  printf 'open-show "%s"\nprint show\n' "$source/resources/shows/$(basename "$show")" > "$work/starter.script"
  run --script starter.script --dmx none > "$work/installed.show" 2>&1 || problem "$(basename "$show"): the run failed"
  "$build/bin/sonvero" --script "$work/starter.script" --dmx none --settings-dir "$work" > "$work/source.show" 2>&1
  cmp -s "$work/installed.show" "$work/source.show" || problem "the installed $(basename "$show") opens differently: $(head -3 "$work/installed.show")"
done

[ $fail = 0 ] && echo "package $(basename "$deb"): files, control, desktop entry and the installed program pass"
exit $fail
