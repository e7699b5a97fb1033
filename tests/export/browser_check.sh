#!/usr/bin/env bash
# Opens exports in headless Chromium and reads back the page it built: the
# Windows-1251 text, written without a charset declaration, must come out as
# Russian, and a message holding markup must stay text. b.htm carries the same
# messages unescaped and proves that the check would see a script run.
# Exits 77 (skipped) when no Chromium is installed.
set -euo pipefail
sample=$1
browser=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$browser" ]; then
  echo "chromium not installed"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$sample" "$work"

dump() {
  # A fresh profile per run; the sandbox needs rights a CI container lacks.
  timeout 120 "$browser" --headless --disable-gpu --no-sandbox --no-first-run \
    --user-data-dir="$work/profile-$1" --dump-dom "file://$work/$1" 2>/dev/null
}
fail() { echo "FAIL: $*"; exit 1; }

escaped=$(dump a.htm)
for text in "2 сообщений" "Мама (+79161234567)" "Привет! Позвони мне вечером, ёжик" "Дата/Время"; do
  grep -qF "$text" <<<"$escaped" || fail "a.htm: \"$text\" not rendered as Russian"
done
ran() { grep -q "<body[^>]* data-$1=\"ran\"" <<<"$2"; }
ran script "$escaped" && fail "a.htm: a message's script ran"
ran img "$escaped" && fail "a.htm: a message's image handler ran"
grep -qF "&lt;script&gt;document.body" <<<"$escaped" || fail "a.htm: the script is not shown as text"
grep -qi "<img" <<<"$escaped" && fail "a.htm: a message's image tag became an element"

unescaped=$(dump b.htm)
ran script "$unescaped" && ran img "$unescaped" ||
  fail "b.htm: the unescaped page ran nothing, so the check proves nothing"
echo "ok"
