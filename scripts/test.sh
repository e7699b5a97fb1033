#!/usr/bin/env bash
# README command 2: installs what is missing, builds, runs the whole suite twice
# (plain, then under AddressSanitizer and UndefinedBehaviorSanitizer).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" build
"$root/scripts/build.sh" build-asan -DQUILLBOX_SANITIZE=ON -DQUILLBOX_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
# umockdev's preload library loads ahead of the ASan runtime in the umockdev tests.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:verify_asan_link_order=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
echo "== formatting"
"$root/scripts/format-check.sh" || status=1
echo "== fuzzing the reply parsers"
"$root/scripts/fuzz.sh" || status=1
echo "== sanitizer build"
(cd "$root/build-asan" && ctest --output-on-failure -j 2) || status=1
echo "== the Debian package"
"$root/scripts/package-check.sh" "$root/build" || status=1
echo "== plain build"
(cd "$root/build" && ctest --output-on-failure -j 2) || status=1
exit $status
