#!/usr/bin/env bash
# Builds the Debian package from a build directory, validates its AppStream
# metadata and installs it, then runs the installed program's command line.
# Usage: package-check.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/quillbox_*.deb)
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
dpkg-deb -x "$deb" "$tree"
appstreamcli validate-tree --no-net "$tree"
# desktop-file-utils is not needed to build; where it is installed, the entry is checked too.
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$tree/usr/share/applications/quillbox.desktop"
fi
dpkg-deb -f "$deb" Depends

DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$deb" >/dev/null
[ "$(/usr/bin/quillbox --version)" = "quillbox $(dpkg-deb -f "$deb" Version)" ]
for file in /usr/share/applications/quillbox.desktop /usr/share/metainfo/io.github.quillbox.Quillbox.metainfo.xml \
            /usr/share/icons/hicolor/64x64/apps/quillbox.png /usr/lib/udev/rules.d/70-quillbox-motorola.rules \
            /usr/lib/systemd/user/quillbox-backup@.service /usr/share/quillbox/udev/71-quillbox-backup.rules; do
  [ -f "$file" ] || { echo "package-check: $file not installed" >&2; exit 1; }
done
# The backup's rule is shipped inactive: only the user links it into place.
[ ! -e /usr/lib/udev/rules.d/71-quillbox-backup.rules ] || { echo "package-check: backup rule active" >&2; exit 1; }
grep -q '^ExecStart=/usr/bin/quillbox --read --port /dev/%I$' /usr/lib/systemd/user/quillbox-backup@.service \
  || { echo "package-check: the backup service runs no installed quillbox" >&2; exit 1; }
echo "package-check: $(basename "$deb") builds, validates and installs"
