#!/usr/bin/env bash
# A long fuzzing campaign outside CI, one target after the other:
#   bash scripts/fuzz_campaign.sh [SEKUNDEN] [ZIEL ...]
# Each target starts from its seed folder; afterwards the inputs that reach
# new coverage are merged into that folder (the named seeds stay), and a line
# with executions, coverage, features and crashes goes to the summary.
set -uo pipefail
source "$(dirname "$0")/common.sh"

seconds=${1:-600}
shift || true
kalvor_build fuzz >/dev/null || exit 1
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$KALVOR_ROOT"/build/fuzz/tests/fuzz/*_fuzz; do targets+=("$(basename "$f" _fuzz)"); done
fi

out="$KALVOR_ROOT/build/fuzz/campaign"
mkdir -p "$out"
summary="$out/summary.tsv"
[ -f "$summary" ] || printf 'Ziel\tSekunden\tAusführungen\tcov\tft\tAbstürze\n' >"$summary"

for t in "${targets[@]}"; do
  name="${t}_fuzz"
  fuzzer="$KALVOR_ROOT/build/fuzz/tests/fuzz/$name"
  seeds="$KALVOR_ROOT/tests/fuzz/corpus/$name"
  work="$out/$name"
  rm -rf "$work" && mkdir -p "$work/corpus" "$work/crashes"
  say "$name: $seconds s"
  "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/crashes/" "$work/corpus" "$seeds" >"$work/log" 2>&1
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
  done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$work/log" | tail -1)
  cov=$(sed -n 's/.*cov: \([0-9]*\).*/\1/p' <<<"$done_line")
  ft=$(sed -n 's/.*ft: \([0-9]*\).*/\1/p' <<<"$done_line")
  # A slow unit is written too; it is no finding unless it stays slow when run alone.
  crashes=$(find "$work/crashes" -type f \( -name 'crash-*' -o -name 'timeout-*' -o -name 'leak-*' -o -name 'oom-*' \) | wc -l)
  printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$t" "$seconds" "${runs:-?}" "${cov:-?}" "${ft:-?}" "$crashes" | tee -a "$summary"
  # Only inputs that add coverage to the seeds join them.
  "$fuzzer" -merge=1 -timeout=10 -rss_limit_mb=2048 "$seeds" "$work/corpus" >"$work/merge.log" 2>&1 ||
    echo "$name: Zusammenführen fehlgeschlagen, siehe $work/merge.log"
done
