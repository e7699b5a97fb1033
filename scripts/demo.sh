#!/usr/bin/env bash
# README command 1: installs what is missing, builds, and runs Quillbox in
# ./demo/ with a simulated Motorola RAZR V3 plugged in (umockdev + phonesim).
# With a display it runs until the window is closed (type unplug, plug or quit
# meanwhile); without one it runs on Xvfb, reads the phone by driving the
# window through the accessibility bus, saves screenshots and stops.
# --lang en or --lang ru chooses the interface's language (QUILLBOX_LANG);
# without it Quillbox follows the desktop's language. --phone standard plugs
# in another maker's phone (a Nokia 6230i speaking the standard commands)
# instead of the RAZR V3 (--phone motorola, the default).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
usage() { echo "usage: demo.sh [--lang en|ru] [--phone motorola|standard]" >&2; exit 2; }
lang=""
phone=motorola
while [ $# -gt 0 ]; do
  case $1 in
    --lang) [ $# -ge 2 ] || usage; lang=$2; shift 2 ;;
    --lang=*) lang=${1#--lang=}; shift ;;
    --phone) [ $# -ge 2 ] || usage; phone=$2; shift 2 ;;
    --phone=*) phone=${1#--phone=}; shift ;;
    *) usage ;;
  esac
done
case $phone in
  motorola | standard) ;;
  *) usage ;;
esac
case $lang in
  en | ru) export QUILLBOX_LANG=$lang ;;
  "") ;;
  *) usage ;;
esac
"$root/scripts/setup.sh"
"$root/scripts/build.sh" build
bin=$root/build
[ -x "$bin/app/quillbox" ] || { echo "demo: $bin/app/quillbox was not built" >&2; exit 1; }
mkdir -p "$root/demo"
demo=("$bin/tools/demo/quillbox-demo" --phone "$phone" --workdir "$root/demo" --log "$root/demo/phone-at.log")

if [ -n "${DISPLAY:-}" ]; then
  echo "demo: commands while Quillbox runs: unplug, plug, quit (AT log: demo/phone-at.log)"
  exec "${demo[@]}"
fi

pids=()
tmp=$(mktemp -d)
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
# -displayfd makes Xvfb pick a free display number and report it.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$tmp/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
[ -s "$tmp/display" ] || { echo "demo: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(head -1 "$tmp/display")
# A private session bus: it starts the accessibility bus on demand, and
# stopping it takes the accessibility bus and its registry down with it.
dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$tmp/bus" 4>"$tmp/bus-pid"
pids+=("$(cat "$tmp/bus-pid")")
export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$tmp/bus")
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR=$tmp/run
  mkdir -m 700 "$XDG_RUNTIME_DIR"
fi
# Qt exposes its widgets only when told a screen reader is about.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
log=$root/demo/quillbox-demo.log
"${demo[@]}" </dev/null 2>"$log" &
running=$!
pids+=($running)
shots=$root/screenshots
mkdir -p "$shots"
"$bin/tools/screenshot/screenshot" "$shots/demo.png" 4
kill -0 "$running" 2>/dev/null || { cat "$log" >&2; echo "demo: Quillbox stopped early" >&2; exit 1; }
echo "demo: screenshot of the main window at start: $shots/demo.png"
# /usr/bin/python3: Debian's accessibility bindings are not in other interpreters.
/usr/bin/python3 "$root/tools/demo/drive-read.py" --screenshot-tool "$bin/tools/screenshot/screenshot" \
  --out "$shots" ${lang:+--lang "$lang"} \
  || { echo "demo: the program's output is in $log" >&2; exit 1; }
echo "demo: screenshots of the read: $shots/phone-inbox.png $shots/archive-inbox.png"
# Records have four lines in Inbox.msg and three in the other two; every line ends in CR LF.
counts=()
for f in Inbox:4 Outbox:3 Draft:3; do
  file=$root/demo/${f%:*}.msg lines=0
  [ -f "$file" ] && lines=$(grep -c $'\r$' "$file" || true)
  counts+=("${f%:*} $((lines / ${f#*:}))")
done
echo "demo: archive in $root/demo: ${counts[*]} messages"
