#!/usr/bin/env bash
# Builds and runs every test: unit and CLI tests under AddressSanitizer and
# UBSan, the fuzz targets for a short time, the Windows build with the UI
# tests under Wine on a virtual screen, and the 32-bit Windows build.
set -uo pipefail
source "$(dirname "$0")/common.sh"

FUZZ_SECONDS=${KALVOR_FUZZ_SECONDS:-60}
logs="$KALVOR_ROOT/build/test-logs"
passed=0
failed=0
failures=()

# Adds the counts of a ctest run (its "... out of N" line) to the totals.
count_ctest() {
  local log=$1 stage=$2 line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  if [ -z "$line" ]; then
    failed=$((failed + 1))
    failures+=("$stage (kein Testergebnis)")
    return
  fi
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
  [ "$bad" -gt 0 ] && failures+=("$stage: $bad")
}

stage_failed() {
  failed=$((failed + 1))
  failures+=("$1")
}

kalvor_install_packages || { echo "Pakete konnten nicht installiert werden."; exit 1; }
mkdir -p "$logs"

say "Unit- und CLI-Tests (Debug, ASan/UBSan)"
if kalvor_build native-asan; then
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$KALVOR_ROOT/build/native-asan" --output-on-failure -j "$KALVOR_JOBS" 2>&1 |
    tee "$logs/unit.log"
  count_ctest "$logs/unit.log" "Unit-/CLI-Tests"
else
  stage_failed "Build native-asan"
fi

say "Fuzz-Ziele, je ${FUZZ_SECONDS} s (clang, libFuzzer, ASan/UBSan)"
# Runs one fuzz target on its seed corpus; leaves "ok" or "fehler" in its status file.
run_fuzzer() {
  local fuzzer=$1 name corpus seeds
  name=$(basename "$fuzzer")
  corpus="$KALVOR_ROOT/build/fuzz/corpus/$name"
  mkdir -p "$corpus"
  seeds="$KALVOR_ROOT/tests/fuzz/corpus/$name"
  [ -d "$seeds" ] || seeds=""
  if "$fuzzer" -max_total_time="$FUZZ_SECONDS" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=0 "$corpus" $seeds >"$logs/$name.log" 2>&1; then
    echo ok >"$logs/$name.status"
  else
    echo fehler >"$logs/$name.status"
  fi
}
if kalvor_build fuzz; then
  fuzzers=("$KALVOR_ROOT"/build/fuzz/tests/fuzz/*_fuzz)
  # One target per core at a time.
  for fuzzer in "${fuzzers[@]}"; do
    [ -x "$fuzzer" ] || continue
    while [ "$(jobs -rp | wc -l)" -ge "$KALVOR_JOBS" ]; do wait -n; done
    run_fuzzer "$fuzzer" &
  done
  wait
  for fuzzer in "${fuzzers[@]}"; do
    [ -x "$fuzzer" ] || continue
    name=$(basename "$fuzzer")
    if [ "$(cat "$logs/$name.status" 2>/dev/null)" = ok ]; then
      echo "ok: $name ($(grep -Eo '#[0-9]+' "$logs/$name.log" | tail -1 | tr -d '#') Läufe)"
      passed=$((passed + 1))
    else
      echo "FEHLER: $name — Ausgabe:"
      tail -40 "$logs/$name.log"
      stage_failed "Fuzz-Ziel $name"
    fi
  done
else
  stage_failed "Build fuzz"
fi

say "Windows-Build (x86_64) und UI-Tests unter Wine"
if kalvor_build mingw64; then
  kalvor_wine_env
  xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir "$KALVOR_ROOT/build/mingw64" --output-on-failure 2>&1 | tee "$logs/gui.log"
  count_ctest "$logs/gui.log" "UI-Tests"
  echo "Bildschirmfotos: $KALVOR_ROOT/build/mingw64/uitest-run/screenshots/"
else
  stage_failed "Build mingw64"
fi

say "Windows-Build (i686): übersetzen und binden"
if kalvor_build mingw32; then
  echo "ok: mingw32"
  passed=$((passed + 1))
else
  stage_failed "Build mingw32"
fi

echo
if [ ${#failures[@]} -gt 0 ]; then
  echo "Fehlgeschlagen:"
  printf '  %s\n' "${failures[@]}"
fi
echo "Gesamt: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
