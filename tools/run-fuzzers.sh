#!/usr/bin/env bash
# Runs every fuzz_* target of a fuzzer build on a copy of its seed corpus,
# sharing a bounded total time between them; fails on the first finding.
#   tools/run-fuzzers.sh BUILD_DIR [TOTAL_SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
total=${2:-90}
shopt -s nullglob
fuzzers=()
for fuzzer in "$build"/fuzz/fuzz_*; do [ -x "$fuzzer" ] && fuzzers+=("$fuzzer"); done
((${#fuzzers[@]})) || exit 0
seconds=$((total / ${#fuzzers[@]}))
((seconds > 0)) || seconds=1
for fuzzer in "${fuzzers[@]}"; do
  name=$(basename "$fuzzer"); name=${name#fuzz_}
  work=$(mktemp -d)
  [ -d "$root/fuzz/corpus/$name" ] && cp -r "$root/fuzz/corpus/$name/." "$work/"
  echo "fuzz: $name for ${seconds}s"
  if ! "$fuzzer" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
      -artifact_prefix="$build/fuzz-$name-" "$work" >"$build/fuzz-$name.log" 2>&1; then
    tail -n 60 "$build/fuzz-$name.log"
    echo "fuzz: $name FAILED (log: $build/fuzz-$name.log)"
    exit 1
  fi
  grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' "$build/fuzz-$name.log" | sed "s/^/fuzz: $name /"
  rm -rf "$work"
done
