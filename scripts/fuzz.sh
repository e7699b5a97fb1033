#!/usr/bin/env bash
# Builds the fuzz targets of the reply framing and parsers, the PDU decoder and the joining
# of long messages, the import line parser, the archive file loaders and the smartphone
# writers (SMS backup XML, vCard) with clang and runs each for a short, bounded time on a
# seed corpus of real and made-up phone replies, PDUs, archive lines and archive files.
# Exits non-zero when a target crashes. FUZZ_SECONDS overrides the time per target.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
seconds=${FUZZ_SECONDS:-20}
targets=(mmgl_listing cmgr_date cpbr_phonebook p2ktools_line reply_framing archive_files smartphone_xml
  vcard sms_pdu long_messages standard_replies)

source "$root/scripts/ccache.sh"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLBOX_FUZZ=ON -DQUILLBOX_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}"

status=0
for name in "${targets[@]}"; do
  # A fresh working corpus each run, so the repository's seeds stay as they are.
  corpus="$build/fuzz-corpus/$name"
  artifacts="$build/fuzz-artifacts/$name/"
  rm -rf "$corpus"
  mkdir -p "$corpus" "$artifacts"
  cp "$root/tests/fuzz/seeds/$name/"* "$corpus/"
  cp "$root/tests/data/captures/"*.dump "$corpus/"
  echo "== fuzz_$name for ${seconds}s"
  if ! "$build/tests/fuzz/fuzz_$name" "$corpus" -max_total_time="$seconds" -max_len=16384 \
      -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$artifacts" -print_final_stats=1 \
      2>"$build/fuzz-$name.log"; then
    tail -n 40 "$build/fuzz-$name.log"
    echo "fuzz_$name crashed; reproducer in $artifacts" >&2
    status=1
  else
    grep -E '^stat::number_of_executed_units' "$build/fuzz-$name.log" || true
  fi
done
exit $status
