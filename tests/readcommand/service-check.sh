#!/usr/bin/env bash
# The backup service as installed: systemd accepts its unit (where
# systemd-analyze is at hand), the unit runs the read on the port its
# instance names, and the udev rule starts that unit by its name.
# Usage: service-check.sh UNIT PROGRAM RULES
set -euo pipefail
unit=$1 program=$2 rules=$3
fail() { echo "FAIL: $*" >&2; exit 1; }

grep -q '^ExecStart=[^ ]*/quillbox --read --port /dev/%I$' "$unit" || fail "ExecStart in $unit"
grep -q '^WorkingDirectory=%h/sms$' "$unit" || fail "WorkingDirectory in $unit"
for product in 4902 3802; do
  grep -q "ATTRS{idVendor}==\"22b8\", ATTRS{idProduct}==\"$product\", .*ENV{SYSTEMD_USER_WANTS}+=\"quillbox-backup@%k.service\"" \
    "$rules" || fail "no start for 22b8:$product in $rules"
done

command -v systemd-analyze >/dev/null || { echo "systemd-analyze missing: unit not verified"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# An instance of the template, running the program just built.
sed "s|^ExecStart=[^ ]*|ExecStart=$program|" "$unit" > "$work/quillbox-backup@ttyACM0.service"
systemd-analyze verify "$work/quillbox-backup@ttyACM0.service"
