#!/usr/bin/env bash
# Checks Tarvel's desktop integration and Debian package.
#
#   check-package.sh --desktop SOURCE_DIR   the desktop entry, AppStream
#       metainfo and MIME types of SOURCE_DIR/data/linux pass their validators
#   check-package.sh BUILD_DIR              makes the package in BUILD_DIR with
#       cpack, unpacks it into a temporary root and runs the unpacked programs
#       against the unpacked catalogue, then validates the installed files
#
# Exit 0 passed, 1 failed, 77 skipped (a tool it needs is not installed:
# scripts/install-deps.sh installs them).
set -euo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }
need() { command -v "$1" >/dev/null || { echo "SKIP: $1 is not installed"; exit 77; }; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
app=org.tarvel.Tarvel

# validate DESKTOP METAINFO MIMEXML
validate() {
  need desktop-file-validate
  need appstreamcli
  need update-mime-database
  desktop-file-validate "$1" || fail "desktop entry $1"
  appstreamcli validate --no-net "$2" || fail "metainfo $2"
  grep -q '^Categories=Development;Electronics;Engineering;$' "$1" || fail "desktop entry categories"
  # Every type the desktop entry opens is one the MIME package defines.
  for type in $(sed -n 's/^MimeType=//p' "$1" | tr ';' ' '); do
    grep -q "type=\"$type\"" "$3" || fail "$type is not in $3"
  done
  mkdir -p "$work/mime/packages"
  cp "$3" "$work/mime/packages/$app.xml"
  update-mime-database "$work/mime" 2>/dev/null
  for glob in application/x-tarvel-configuration:\*.qxc application/x-tarvel-schematic:\*.qxs \
              application/x-tarvel-status-list:\*.qxl; do
    grep -qxF "50:$glob" "$work/mime/globs2" || fail "no MIME glob $glob"
  done
  echo "desktop entry, metainfo and MIME types valid"
}

if [ "${1:-}" = "--desktop" ]; then
  src="$2/data/linux"
  version="$(sed -n 's/^project(Tarvel VERSION \([0-9.]*\).*/\1/p' "$2/CMakeLists.txt")"
  sed "s/@PROJECT_VERSION@/$version/" "$src/$app.metainfo.xml" > "$work/$app.metainfo.xml"
  validate "$src/$app.desktop" "$work/$app.metainfo.xml" "$src/$app.mime.xml"
  exit 0
fi

build="$(cd "$1" && pwd)"
need cpack
need dpkg-deb
need dpkg-shlibdeps
version="$(sed -n 's/^CPACK_PACKAGE_VERSION:.*=//p;s/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake" | head -n1)"
(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb="$(ls "$work"/out/tarvel_*.deb)"
echo "built $(basename "$deb")"
[ "$(dpkg-deb -f "$deb" Package)" = tarvel ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not $version"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6core6' || fail "dependencies were not computed"

root="$work/root"
dpkg-deb -x "$deb" "$root"
for f in usr/bin/tarvel usr/bin/tarvel-cli usr/bin/qxsim usr/share/tarvel/Data/QX.qxd \
         usr/share/applications/$app.desktop usr/share/icons/hicolor/scalable/apps/$app.svg \
         usr/share/metainfo/$app.metainfo.xml usr/share/mime/packages/$app.xml; do
  [ -e "$root/$f" ] || fail "$f is not in the package"
done

# The unpacked programs with a home of their own: the first start seeds
# the user's folder from the package's catalogue.
home="$work/home"
mkdir -p "$home"
run() { env -u TARVEL_HOME -u TARVEL_PORTS HOME="$home" XDG_DATA_HOME="$home/.local/share" \
        XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$home" "$@"; }
drives="$(run "$root/usr/bin/tarvel-cli" drives)" || fail "tarvel-cli drives"
[ "$(printf '%s\n' "$drives" | wc -l)" -gt 10 ] || fail "tarvel-cli drives listed too few drives"
cmp -s "$root/usr/share/tarvel/Data/QX.qxd" "$home/.local/share/Tarvel/Tarvel/Data/QX.qxd" \
  || fail "the user's folder was not seeded from the package's catalogue"
[ "$(run "$root/usr/bin/tarvel" --version)" = "tarvel $version" ] || fail "tarvel --version"
echo "unpacked tarvel-cli listed $(printf '%s\n' "$drives" | wc -l) drives; tarvel --version: $version"

validate "$root/usr/share/applications/$app.desktop" "$root/usr/share/metainfo/$app.metainfo.xml" \
  "$root/usr/share/mime/packages/$app.xml"
if [ -n "${TARVEL_PACKAGE_OUT:-}" ]; then
  cp "$deb" "$TARVEL_PACKAGE_OUT/"
  echo "package: $TARVEL_PACKAGE_OUT/$(basename "$deb")"
fi
