#!/bin/sh
# Runs the package reader fuzzer for the given number of seconds (default 600),
# starting from seed packages and keeping what it learns in build/fuzz/corpus.
# Fails when the fuzzer finds a crash, a leak or a hang, or when its memory passes 1 GiB
# (a ten-minute run peaks near 600 MB, sanitizer overhead included).
set -eu
seconds=${1:-600}
cd "$(dirname "$0")/.."
corpus=build/fuzz/corpus
log=build/fuzz/last-run.log
mkdir -p "$corpus" build/fuzz/crashes
build/fuzz/fuzz/fuzz_seed_corpus "$corpus"
status=0
ASAN_OPTIONS=detect_leaks=1 build/fuzz/fuzz/package_reader_fuzzer "$corpus" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix=build/fuzz/crashes/ >"$log" 2>&1 || status=$?
tail -n 12 "$log"
[ "$status" -eq 0 ] || echo "The fuzzer found a problem (exit $status); see $log and build/fuzz/crashes/" >&2
exit "$status"
