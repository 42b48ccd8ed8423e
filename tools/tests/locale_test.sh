#!/usr/bin/env bash
# The same bytes whoever runs the programs: the demonstration card recorded
# under the C locale and under a German one (decimal commas) holds the same
# files, the log's memory addresses aside, and the tool prints the same
# numbers; the desktop's trace text and summary text exports written under
# the German locale are byte for byte the ones their tests expect.
#   locale_test.sh <make_demo_card.exe> <record_protocol.exe> <trace text tests.exe>
#                  <summary window tests.exe> <work folder>
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
make_card=$1 record=$2 trace_tests=$3 summary_tests=$4 work=$5
german=de_DE.UTF-8
locale -a 2>/dev/null | grep -qix 'de_DE.utf8' ||
  { echo "the locale $german is not installed (tools/install-deps.sh installs it)" >&2; exit 1; }
fail() { echo "locale_test: $*" >&2; exit 1; }
rm -rf "$work"
mkdir -p "$work"

for name in C "$german"; do
  card="$work/card-$name"
  LANG=$name LC_ALL=$name "$root/tools/wine-run" "$make_card" "Z:${card//\//\\}" >/dev/null ||
    fail "make_demo_card failed under $name"
  LANG=$name LC_ALL=$name "$root/tools/wine-run" "$record" "Z:${card//\//\\}" DEMO.ses DEMO01 \
    >"$work/printed-$name.txt" || fail "record_protocol failed under $name"
  # The card's own folder and the wall time of the run aside.
  sed -i -e "s/card-$name/card/g" -e 's/ in [0-9.,]* s\r\?$//' "$work/printed-$name.txt"
done

# The log names memory addresses, which differ from run to run.
addresses() { sed -E 's/\b(0x)?[0-9A-Fa-f]{8,16}\b/ADDRESS/g' "$1"; }
c_card=$work/card-C de_card=$work/card-$german
(cd "$c_card" && find . -type f | LC_ALL=C sort) >"$work/files-C.txt"
(cd "$de_card" && find . -type f | LC_ALL=C sort) >"$work/files-$german.txt"
cmp -s "$work/files-C.txt" "$work/files-$german.txt" ||
  fail "the cards hold different files: $(diff "$work/files-C.txt" "$work/files-$german.txt" | head -5)"
[ "$(grep -c '\.s$' "$work/files-C.txt")" -gt 0 ] || fail "no dataset text stored"
while read -r file; do
  case $file in
    ./LOG/*) [ "$(addresses "$c_card/$file")" = "$(addresses "$de_card/$file")" ] ||
               fail "$file differs: $(diff <(addresses "$c_card/$file") <(addresses "$de_card/$file") | head -4)" ;;
    *) cmp -s "$c_card/$file" "$de_card/$file" ||
         fail "$file differs: $(cmp "$c_card/$file" "$de_card/$file" 2>&1; diff -a "$c_card/$file" "$de_card/$file" | head -4 | cut -c1-300)" ;;
  esac
done <"$work/files-C.txt"
cmp -s "$work/printed-C.txt" "$work/printed-$german.txt" ||
  fail "the tool printed otherwise: $(diff "$work/printed-C.txt" "$work/printed-$german.txt")"

# The desktop's exports under the German locale.
LANG=$german LC_ALL=$german "$root/tools/wine-run" "$trace_tests" \
  --gtest_filter='TraceTextFile.EachFormIsWrittenByteExact*' >"$work/trace-text.txt" 2>&1 ||
  { cat "$work/trace-text.txt" >&2; fail "the trace text export differs under $german"; }
LANG=$german LC_ALL=$german "$root/tools/wine-run" "$summary_tests" \
  --gtest_filter='SummaryTest.AScrolledSummary*' >"$work/summary-text.txt" 2>&1 ||
  { cat "$work/summary-text.txt" >&2; fail "the summary text export differs under $german"; }
grep -q 'PASSED.*1 test' "$work/trace-text.txt" || fail "the trace text test did not run"
grep -q 'PASSED.*1 test' "$work/summary-text.txt" || fail "the summary text test did not run"
echo "locale_test: passed"
