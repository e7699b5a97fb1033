#!/usr/bin/env bash
# Brings translations/quillbox_en.ts up to date with the texts in the sources:
# new texts arrive unfinished for a translator (Qt Linguist opens the file),
# texts gone from the sources are dropped. No source locations are written,
# so the file changes only where a text does.
# LUPDATE=/path/to/lupdate picks another lupdate than Debian's Qt 6 one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
lupdate=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
if [ ! -x "$lupdate" ]; then
  echo "update-translations: no lupdate at $lupdate (package qt6-l10n-tools)" >&2
  exit 1
fi
mapfile -t folders < <(grep -vE '^\s*(#|$)' "$root/translations/source-folders.txt")
cd "$root"
# Headers are included from the root: without -I lupdate misses a class's
# namespace and files its texts under a context the program never asks for.
"$lupdate" -silent -no-obsolete -locations none -source-language ru -target-language en \
  -I "$root" "${folders[@]}" -ts translations/quillbox_en.ts
left=$(grep -c 'type="unfinished"' translations/quillbox_en.ts || true)
echo "update-translations: translations/quillbox_en.ts has $left unfinished entries"
