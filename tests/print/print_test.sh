#!/usr/bin/env bash
# Prints from kalvor.exe under Wine through a private CUPS server whose
# default queue writes PDF files, then checks the printed files against the
# PDF files kalvor-cli writes for the same data: the same words in the same
# order and the same number of pages. Renders the first page of each printed
# report as PNG (screenshots/druck-*.png in the UI tests' folder).
#   print_test.sh UITEST_DIR NATIVE_KALVOR_CLI
set -u
here=$(cd "$(dirname "$0")" && pwd)
run_dir=$1
cli=$2
# shellcheck source=tests/print/cups_env.sh
source "$here/cups_env.sh"

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# The native build of scripts/start.sh, else the checked one of scripts/test.sh.
if [ ! -x "$cli" ] && [ -x "${cli/\/native\//\/native-asan\/}" ]; then
  cli=${cli/\/native\//\/native-asan\/}
  export ASAN_OPTIONS=detect_leaks=0
fi
if [ ! -x "$cli" ]; then
  echo "The native kalvor-cli is missing ($cli): build the native preset first." >&2
  exit 1
fi
trap kalvor_cups_stop EXIT
kalvor_cups_start || exit 1
cd "$run_dir" || exit 1
mkdir -p screenshots

wine ./kalvor-uitest.exe print || fail "the printing UI cases"

# The words of a PDF's text, one a line, in the order they are drawn. The
# printer driver names the minus glyph "hyphen", which reads as a soft hyphen.
words() { pdftotext -raw -enc UTF-8 "$1" - | sed 's/\xc2\xad/-/g' | tr -s '[:space:]' '\n' | sed '/^$/d'; }
pages() { pdfinfo "$1" | sed -n 's/^Pages:[[:space:]]*//p'; }

case_dir="$run_dir/cases/print"
compare() {
  local name=$1
  shift
  local printed="$case_dir/druck-$name.pdf" own="$case_dir/cli-$name.pdf"
  if [ ! -f "$printed" ]; then
    fail "$name: kalvor.exe printed no PDF"
    return
  fi
  (cd "$case_dir" && "$cli" drucke "$@" --pdf "$own" >/dev/null) || {
    fail "$name: kalvor-cli drucke $*"
    return
  }
  if ! diff <(words "$own") <(words "$printed") >"$case_dir/$name.diff"; then
    fail "$name: the printed words differ from kalvor-cli's:"
    head -20 "$case_dir/$name.diff"
  fi
  [ "$(words "$printed" | wc -l)" -gt 10 ] || fail "$name: almost no text printed"
  local p c
  p=$(pages "$printed")
  c=$(pages "$own")
  [ -n "$p" ] && [ "$p" = "$c" ] || fail "$name: $p printed pages, kalvor-cli $c"
  echo "$name: $p page(s), $(words "$printed" | wc -l) words"
  pdftoppm -r 90 -png -f 1 -l 1 -singlefile "$printed" "screenshots/druck-$name" || fail "$name: pdftoppm"
}
compare steckbrief steckbrief Fluorit
compare fundort fundort 1
compare stufenliste stufenliste
# Lines a collector expects on the printed pages, in this order.
holds_in_order() {
  local pdf=$1 text
  shift
  text=$(pdftotext -raw -enc UTF-8 "$pdf" - | sed 's/\xc2\xad/-/g')
  for line in "$@"; do
    if [[ "$text" != *"$line"* ]]; then
      fail "$(basename "$pdf"): \"$line\" missing or out of order"
      return
    fi
    text=${text#*"$line"}
  done
}
holds_in_order "$case_dir/druck-steckbrief.pdf" "Mineral: Fluorit" "Kristallsystem: kubisch" \
  "F-017 von Grube Clara, Oberwolfach, Schwarzwald, Deutschland" "Fundorte:"
holds_in_order "$case_dir/druck-fundort.pdf" "Fundort: Grube Clara" "Kartenreferenz: TK25 7615" \
  "Azurit" "Chalkopyrit" "Malachit" "Quarz"
holds_in_order "$case_dir/druck-stufenliste.pdf" "F-017" "Sammlungsstufe" "F-023" "Tauschstufe" \
  "Fundort: unbekannt" "L10001" "- Sammlungsliste Seite 1 -" "- Sammlungsliste Seite 2 -" "L10060"
# 63 specimens do not fit on one page.
[ "$(pages "$case_dir/druck-stufenliste.pdf")" -ge 2 ] 2>/dev/null || fail "stufenliste: one page for 63 specimens"

# Without any printer the program says so.
kalvor_cups_stop
kalvor_cups_start --no-default || exit 1
wine ./kalvor-uitest.exe printnone || fail "the no-printer UI case"

# A queue that refuses every job.
kalvor_cups_stop
kalvor_cups_start || exit 1
cupsreject "$KALVOR_CUPS_QUEUE" || fail "cupsreject"
wine ./kalvor-uitest.exe printrefused || fail "the refused-job UI case"

echo "$((failures == 0 ? 1 : 0)) passed, $((failures == 0 ? 0 : 1)) failed"
[ "$failures" -eq 0 ]
