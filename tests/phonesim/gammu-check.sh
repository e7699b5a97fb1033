#!/usr/bin/env bash
# gammu --identify and getallsms against phonesim on a pty: gammu is an
# independent AT client, so this checks the simulator against more than our
# own expectations. Exit 77 (skipped) when gammu is not installed.
set -u
# gammu prints texts in the locale's character set; without a UTF-8 locale
# the Cyrillic would come out as question marks.
export LC_ALL=C.UTF-8
phonesim=$1 content=$2
command -v gammu >/dev/null || { echo "gammu not installed"; exit 77; }
dir=$(mktemp -d)
pid=
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$dir"; }
trap cleanup EXIT
"$phonesim" --content "$content" --pty --log "$dir/phonesim.log" >"$dir/pty" &
pid=$!
for _ in $(seq 50); do [ -s "$dir/pty" ] && break; sleep 0.1; done
printf '[gammu]\ndevice = %s\nconnection = at\nlogformat = textall\nlogfile = %s\n' \
  "$(head -1 "$dir/pty")" "$dir/gammu.log" >"$dir/gammurc"
fail() { echo "FAILED: $1"; tail -40 "$dir/phonesim.log"; exit 1; }
gammu -c "$dir/gammurc" --identify >"$dir/identify" 2>&1 || fail "gammu --identify"
grep -q "Motorola" "$dir/identify" || fail "manufacturer not reported"
grep -q "354431001234563" "$dir/identify" || fail "IMEI not reported"
gammu -c "$dir/gammurc" getallsms >"$dir/sms" 2>&1 || fail "gammu getallsms"
grep -q "С 8 Марта, мамочка!" "$dir/sms" || fail "a Cyrillic message is missing"
grep -q "Love, Dimka :-))" "$dir/sms" || fail "the 160-character message is missing"
echo "gammu read $(grep -c '^Location' "$dir/sms") messages"
