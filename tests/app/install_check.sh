#!/usr/bin/env bash
# The programs installed the way a Linux distribution installs them: every file in its place, the
# desktop entry and the metainfo valid, the installed programs starting for a user who cannot
# write their folder; then the same from the .deb unpacked into a scratch root.
# Usage: install_check.sh BUILD_DIR
set -euo pipefail
build="$1"
work="$(mktemp -d)"
chmod 755 "$work"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/pennock bin/pennock-cli \
    share/applications/example.pennock.Pennock.desktop \
    share/metainfo/example.pennock.Pennock.metainfo.xml \
    share/icons/hicolor/scalable/apps/example.pennock.Pennock.svg; do
  [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
desktop-file-validate "$prefix/share/applications/example.pennock.Pennock.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/example.pennock.Pennock.metainfo.xml" >/dev/null

# A user without a program folder of their own: only the data folder is theirs.
as_user() {
  local data="$1"
  shift
  runuser -u nobody -- env -i PATH=/usr/bin:/bin XDG_DATA_HOME="$data" XDG_RUNTIME_DIR="$data/run" \
    XDG_CACHE_HOME="$data/cache" QT_QPA_PLATFORM=offscreen "$@"
}
starts() {
  local bin="$1" label="$2" data="$work/data-$2" rc
  mkdir -p "$data/run" && chmod 700 "$data/run" && chown nobody "$data/run"
  chmod 777 "$data"
  if ! as_user "$data" "$bin/pennock-cli" init >"$work/init.out" 2>&1; then
    cat "$work/init.out"
    echo "$label: init failed"
    exit 1
  fi
  [ -f "$data/pennock/Data/EPData.ini" ] || { echo "$label: nothing in the user's data folder"; exit 1; }
  # The window opens on that installation and keeps running until it is stopped.
  set +e
  as_user "$data" timeout 6 "$bin/pennock" >"$work/gui.out" 2>&1
  rc=$?
  set -e
  [ "$rc" -eq 124 ] || { cat "$work/gui.out"; echo "$label: the window ended with $rc"; exit 1; }
}
starts "$prefix/bin" installed

(cd "$build" && cpack -G DEB -B "$work/deb" >"$work/cpack.out" 2>&1) || { cat "$work/cpack.out"; exit 1; }
deb=$(ls "$work"/deb/pennock_*.deb)
dpkg-deb --field "$deb" Depends | grep -q libqt6 || { echo "the package names no Qt libraries"; exit 1; }
dpkg -x "$deb" "$work/root"
starts "$work/root/usr/bin" deb
echo "installed, validated and started from $prefix and from $(basename "$deb")"
