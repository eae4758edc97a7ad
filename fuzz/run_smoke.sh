#!/usr/bin/env bash
# Runs one fuzz target for a short while over its seeds: fuzz/seeds/TARGET/ (our own small files)
# plus the corpus files named in fuzz/seeds/TARGET.corpus, with fuzz/TARGET.dict.
# Usage: fuzz/run_smoke.sh BUILD_DIR TARGET SECONDS [CORPUS_DIR]
# Exits non-zero on any finding; the input that caused it lands in BUILD_DIR/findings/TARGET/.
set -euo pipefail
cd "$(dirname "$0")/.."
build="$1" target="$2" seconds="$3" corpus="${4:-../shared/corpus}"

work="$build/fuzz-work/$target"
findings="$build/findings/$target"
rm -rf "$work"
mkdir -p "$work" "$findings"
cp fuzz/seeds/"$target"/* "$work"/
if [ -f fuzz/seeds/"$target".corpus ]; then
  while read -r file; do
    [ -z "$file" ] || cp "$corpus/$file" "$work/corpus-$(echo "$file" | tr / _)"
  done <fuzz/seeds/"$target".corpus
fi

# Inputs up to 64 KiB; a single input may take 10 s and 2.5 GB before it counts as a finding.
"$build/bin/fuzz_$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2560 \
  -dict=fuzz/"$target".dict -artifact_prefix="$findings/" -print_final_stats=1 "$work" \
  2>"$build/fuzz-$target.log" || { tail -n 60 "$build/fuzz-$target.log"; exit 1; }
grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$build/fuzz-$target.log" |
  sed "s/^/fuzz_$target /"
