#!/usr/bin/env bash
# The command line end to end: exit statuses and messages, no window started,
# and the two files read back by parsers other than the program's own
# (Python's XML parser, python3-vobject).
set -euo pipefail
quillbox=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir out out-ru out-en
# An archive as the program writes it: Windows-1251, CR LF.
printf '%s\r\n' 'Привет & <до свидания>' 5 '+MMGL: 5, "REC READ", "+79161112233"' '24/04/2008,11:00:00' \
  'Ответ' 9 '+MMGL: 9, "REC UNREAD", "+7000"' '25/04/2008,09:30:00' \
  | iconv -f UTF-8 -t WINDOWS-1251 > Inbox.msg
# Sent and unsent messages hold no time: stored at 7 and 8, between the
# received messages at 5 and 9; at 11, after them all. The draft at 10 has no address.
printf '%s\r\n' 'Жду "ответа"' ' 7' '+MMGL: 7, "STO SENT", "+7000"' 'Ещё' ' 8' '+MMGL: 8, "STO SENT", "+7000"' \
  'Потом' ' 11' '+MMGL: 11, "STO SENT", "+7000"' | iconv -f UTF-8 -t WINDOWS-1251 > Outbox.msg
printf '%s\r\n' 'Черновик' ' 10' '+MMGL: 10, "STO UNSENT", ""' | iconv -f UTF-8 -t WINDOWS-1251 > Draft.msg
printf '%s\r\n' 5 '+79161112233' 'Иванов; Иван' '112' 'SOS, срочно' '' | iconv -f UTF-8 -t WINDOWS-1251 > Phonebook.pbk

fail() { echo "FAIL: $*" >&2; exit 1; }
# The messages looked for are the Russian ones, whatever language this desktop speaks.
export QUILLBOX_LANG=ru

# Without a display the window could not start: the export must not need one.
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$quillbox" --export-android out > said.txt \
  || fail "export exited with $?"
grep -q 'сообщений 5, контактов 2\. Даты оценены по соседним принятым сообщениям: 3\. Пропущено сообщений без адресата: 1\.$' said.txt \
  || fail "summary: $(cat said.txt)"

/usr/bin/python3 - <<'PY'
import xml.etree.ElementTree as ET, vobject
root = ET.parse("out/sms-backup.xml").getroot()
import uuid
assert root.tag == "smses" and root.get("count") == "5" and root.get("type") == "full", root.attrib
uuid.UUID(root.get("backup_set")); int(root.get("backup_date"))
sms = list(root)
assert [s.get("body") for s in sms] == ["Привет & <до свидания>", "Ответ", 'Жду "ответа"', "Ещё", "Потом"], [s.get("body") for s in sms]
assert [s.get("type") for s in sms] == ["1", "1", "2", "2", "2"]
assert [s.get("read") for s in sms] == ["1", "0", "1", "1", "1"]
assert sms[0].get("contact_name") == "Иванов; Иван" and sms[2].get("contact_name") == "(Unknown)"
# The estimated dates lie between their neighbours, distinct, in storage order.
received5, received9, sent7, sent8, sent11 = (int(s.get("date")) for s in sms)
assert received5 < sent7 < sent8 <= received9 < sent11, [s.get("date") for s in sms]
cards = list(vobject.readComponents(open("out/contacts.vcf", encoding="utf-8").read()))
assert [c.fn.value for c in cards] == ["Иванов; Иван", "SOS, срочно"], [c.fn.value for c in cards]
assert [c.tel.value for c in cards] == ["+79161112233", "112"]
PY

# The other choices for messages without a time, and a wrong one.
"$quillbox" --export-android out --undated=skip | grep -q 'сообщений 2, .*Пропущено сообщений без даты: 3\.' \
  || fail "--undated=skip"
"$quillbox" --export-android out --undated epoch > said.txt
/usr/bin/python3 -c 'import xml.etree.ElementTree as ET; d=[s.get("date") for s in ET.parse("out/sms-backup.xml").getroot()]; assert d[2:] == ["0"]*3, d'
status=0; "$quillbox" --export-android out --undated=later 2> err.txt || status=$?
[ "$status" -eq 2 ] && grep -q 'later' err.txt || fail "--undated=later: $status $(cat err.txt)"

# Failures: a missing folder, a folder nobody can write into.
status=0; "$quillbox" --export-android missing 2> err.txt || status=$?
[ "$status" -eq 2 ] && grep -q 'не найдена' err.txt || fail "missing folder: $status $(cat err.txt)"
status=0; "$quillbox" --export-android /proc/self 2> err.txt || status=$?
[ "$status" -eq 1 ] && grep -q 'Cannot create file' err.txt || fail "unwritable: $status $(cat err.txt)"

"$quillbox" --help | grep -q -- '--export-android' || fail "--help"
# The desktop's language chooses, C included; QUILLBOX_LANG overrides it.
LC_ALL=C QUILLBOX_LANG= "$quillbox" --help | grep -q 'Записать архив текущей папки' \
  || fail "--help under C"
LC_ALL=en_GB.UTF-8 QUILLBOX_LANG= "$quillbox" --help 2>/dev/null \
  | grep -q "Write the current directory's archive" || fail "--help under en_GB"
LC_ALL=en_US.UTF-8 "$quillbox" --help 2>/dev/null | grep -q 'Записать архив' || fail "--help, ru chosen"
# The files do not change with the language; only the summary does.
"$quillbox" --export-android out-ru > /dev/null || fail "Russian export"
QUILLBOX_LANG=en "$quillbox" --export-android out-en > said-en.txt 2>&1 || fail "English export"
grep -q '^Export for smartphone: 5 messages, 2 contacts\. 3 dates were estimated from the neighbouring received messages\. 1 message without a recipient was left out\.$' \
  said-en.txt || fail "English summary: $(cat said-en.txt)"
# Line 2 names the backup by a fresh id and the time of writing.
cmp -s <(sed 2d out-ru/sms-backup.xml) <(sed 2d out-en/sms-backup.xml) \
  && cmp -s out-ru/contacts.vcf out-en/contacts.vcf \
  || fail "the files differ between the languages"
[ "$("$quillbox" --version)" = "quillbox 1.1" ] || fail "--version: $("$quillbox" --version)"
status=0; QT_QPA_PLATFORM=offscreen "$quillbox" --no-such-option 2> err.txt || status=$?
[ "$status" -eq 2 ] && grep -q 'no-such-option' err.txt || fail "unknown option: $status $(cat err.txt)"

# Options: --help-all prints without a display, clashing options and unknown
# ones are usage errors (2) wherever they stand, a summary that cannot be
# written is a failure.
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$quillbox" --help-all | grep -q -- '--export-android' \
  || fail "--help-all"
for args in "--export-android out --export-android out" "--export-android out -v" "--export-android out --bogus"; do
  status=0; $quillbox $args > /dev/null 2>&1 || status=$?
  [ "$status" -eq 2 ] || fail "$args: $status"
done
# Qt's own options are whole words, taken or refused as such; a target that
# is a file or a path too long is said to be so; --undated needs --export-android.
"$quillbox" -platform offscreen --export-android out > /dev/null || fail "-platform with --export-android"
status=0; QT_QPA_PLATFORM=offscreen "$quillbox" -xyz 2> err.txt || status=$?
[ "$status" -eq 2 ] && grep -q "Unknown option 'xyz'" err.txt || fail "-xyz: $status $(cat err.txt)"
status=0; "$quillbox" --export-android Inbox.msg 2> err.txt || status=$?
[ "$status" -eq 2 ] && grep -q '"Inbox.msg" не папка' err.txt || fail "a file as target: $status $(cat err.txt)"
long=$(printf 'x%.0s' $(seq 300))
status=0; "$quillbox" --export-android "$long" 2> err.txt || status=$?
[ "$status" -eq 2 ] && grep -q 'слишком длинный путь' err.txt || fail "a path too long: $status $(cat err.txt)"
status=0; "$quillbox" --undated=skip 2> err.txt || status=$?
[ "$status" -eq 2 ] && grep -q -- '--undated задаётся только вместе с --export-android' err.txt \
  || fail "--undated alone: $status $(cat err.txt)"
for args in --help --help-all --version; do
  status=0; "$quillbox" $args > /dev/full 2>/dev/null || status=$?
  [ "$status" -eq 1 ] || fail "$args to a full stdout: $status"
  status=0; "$quillbox" $args >&- 2>/dev/null || status=$?
  [ "$status" -eq 1 ] || fail "$args to a closed stdout: $status"
done
status=0; "$quillbox" --export-android out > /dev/full 2>/dev/null || status=$?
[ "$status" -eq 1 ] || fail "summary to a full stdout: $status"
status=0; "$quillbox" --export-android out >&- 2>/dev/null || status=$?
[ "$status" -eq 1 ] && grep -q '^BEGIN:VCARD' out/contacts.vcf || fail "summary to a closed stdout: $status"

# Paths are bytes: a folder whose name is not UTF-8 is found, as archive and as target.
odd=$(printf 'odd\377')
mkdir "$odd" && cp Inbox.msg Outbox.msg Phonebook.pbk "$odd"/
(cd "$odd" && "$quillbox" --export-android "../$odd" > ../said.txt) || fail "non-UTF-8 folder: $?"
grep -q 'сообщений [1-9][0-9]*, контактов 2' said.txt && [ -s "$odd/contacts.vcf" ] || fail "non-UTF-8: $(cat said.txt)"

# A working directory that is gone, a damaged phonebook count, a FIFO for a
# folder file: each a message and status 1, and the earlier export stays.
mkdir gone && status=0
(cd gone && rmdir ../gone && exec "$quillbox" --export-android "$work/out") 2> err.txt || status=$?
[ "$status" -eq 1 ] && [ -s err.txt ] || fail "deleted working directory: $status"
cp out/contacts.vcf before.vcf
printf '5 \r\n112\r\nSOS\r\n\r\n' > Phonebook.pbk
status=0; "$quillbox" --export-android out 2> err.txt || status=$?
[ "$status" -eq 1 ] && grep -q "'5 ' is not a valid integer value" err.txt || fail "damaged count: $status $(cat err.txt)"
cmp -s before.vcf out/contacts.vcf || fail "damaged count replaced contacts.vcf"
# A count that reads as no entries while entries follow is damaged too.
for count in -5 0 1 -2147483648 ''; do
  printf -- '%s\r\n+79160000001\r\nИмя\r\n' "$count" > Phonebook.pbk
  status=0; "$quillbox" --export-android out 2> err.txt || status=$?
  [ "$status" -eq 1 ] && grep -q "'$count' is not a valid integer value" err.txt \
    || fail "count '$count': $status $(cat err.txt)"
  cmp -s before.vcf out/contacts.vcf || fail "count '$count' replaced contacts.vcf"
done
# A folder file linked to a drive not mounted is no empty folder.
mv Inbox.msg Inbox.kept && ln -s /nonexistent/usb/Inbox.msg Inbox.msg
status=0; "$quillbox" --export-android out 2> err.txt || status=$?
[ "$status" -eq 1 ] && grep -q 'Inbox.msg". Broken link to "/nonexistent/usb/Inbox.msg"' err.txt \
  || fail "dangling Inbox.msg: $status $(cat err.txt)"
rm Inbox.msg && mv Inbox.kept Inbox.msg
rm Inbox.msg Phonebook.pbk && mkfifo Inbox.msg
status=0; timeout 20 "$quillbox" --export-android out 2> err.txt || status=$?
[ "$status" -eq 1 ] && grep -q 'Not a regular file' err.txt || fail "FIFO Inbox.msg: $status $(cat err.txt)"
# SIGINT, SIGTERM and SIGHUP at any point of a large export leave nothing
# beside the targets: the pair is staged unnamed and named only for its exchange.
mkdir big && (cd big && /usr/bin/python3 -c '
import sys
sys.stdout.write("".join(f"Message {i} of a large archive\r\n{i % 300}\r\n+MMGL: {i % 300}, \"REC READ\", \"+7916{i:07d}\"\r\n01/02/2005,10:11:12\r\n" for i in range(100000)))
' > Inbox.msg)
for sig in INT TERM HUP; do
  for delay in 0.05 0.15 0.3; do
    rm -rf "out-$sig" && mkdir "out-$sig"
    (cd big && exec "$quillbox" --export-android "../out-$sig" > /dev/null) & pid=$!
    sleep "$delay"; kill -"$sig" "$pid" 2>/dev/null || true; wait "$pid" || true
    left=$(ls -A "out-$sig" | tr '\n' ' ')
    [ -z "$left" ] || [ "$left" = "contacts.vcf sms-backup.xml " ] || fail "SIG$sig after ${delay}s left: $left"
  done
done
echo "smartphone_cli: 1 passed, 0 failed"
