#!/bin/sh
# Runs every fuzz target of a build for a bounded time:
#
#   tests/fuzz/run.sh BUILD_DIR [SECONDS]
#
# Each target first runs its whole seed corpus (tests/fuzz/corpus/<target>/,
# the regression cases included), then fuzzes for SECONDS (default 60) on a
# scratch copy of it, so the repository is never written. A crash, a
# sanitizer report, a leak, an input slower than 10 s or a run over 2 GB is
# a finding: the input is kept in BUILD_DIR/fuzz-findings/<target>/, the log
# beside it, and the script exits with status 1 once all targets have run.
set -eu

build=${1:?usage: tests/fuzz/run.sh BUILD_DIR [SECONDS]}
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
findings=$build/fuzz-findings
scratch=$(mktemp -d "${TMPDIR:-/tmp}/zorkel-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT INT TERM

status=0
summary=""
for target in fuzz_translate fuzz_text_mapping fuzz_rc; do
  corpus=$scratch/$target
  mkdir -p "$corpus" "$findings/$target"
  cp "$here/corpus/$target/"* "$corpus/"
  set -- -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$findings/$target/"
  if [ -f "$here/$target.dict" ]; then
    set -- "$@" -dict="$here/$target.dict"
  fi
  log=$findings/$target.log
  echo "== $target: ${seconds}s on $(ls "$corpus" | wc -l) seed inputs"
  # A target's own temporary files go under the scratch folder too, so
  # that even a run ended by a crash leaves nothing behind.
  if TMPDIR=$scratch "$build/bin/$target" "$@" "$corpus" >"$log" 2>&1; then
    result=ok
  else
    result="FINDING (log: $log; input: $findings/$target/)"
    status=1
    grep -E -A 12 '^==[0-9]+==ERROR|^fuzz_|deadly signal|Timeout|out-of-memory' \
      "$log" | head -40 || true
  fi
  # The last status line has the totals: "#N DONE cov: C ft: F corp: ...".
  done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1 || true)
  runs=$(sed -n 's/^stat::number_of_executed_units:[[:space:]]*//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec:[[:space:]]*//p' "$log")
  cov=$(echo "$done_line" | sed -n \
    's/.*cov: \([0-9]*\) ft: \([0-9]*\) corp: \([^ ]*\).*/cov \1, features \2, corpus \3/p')
  line="$target: $result; ${runs:-?} runs, ${rate:-?} exec/s; ${cov:-no totals}"
  echo "$line"
  summary="$summary$line
"
done

echo
echo "Fuzzing summary (${seconds}s per target):"
printf '%s' "$summary"
exit $status
