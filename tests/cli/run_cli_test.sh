#!/usr/bin/env bash
# Runs one golden CLI test: the .test script runs in a fresh working folder
# with $KALVOR_CLI and $BUILD_DIR set; its output (stdout and stderr, then the
# line "exit N" of the last command) must equal the .expected file.
set -u
test_file=$1
export KALVOR_CLI=$2
export BUILD_DIR=$3
expected=${test_file%.test}.expected
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
actual="$work/actual.txt"
(cd "$work" && bash "$test_file") >"$actual" 2>&1
if diff -u "$expected" "$actual"; then
  echo "ok: $(basename "$test_file")"
else
  echo "FAILED: $(basename "$test_file") (expected $expected)"
  exit 1
fi
