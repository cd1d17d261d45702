#!/usr/bin/env bash
# Runs a UI test suite with a CUPS server of its own whose cups-pdf queue is
# the default printer, then checks the PDFs the suite printed against the
# lines it left in SUITE-print-checks.txt (in the working folder):
#   count FRAGMENT N    exactly N PDFs whose file name holds FRAGMENT
#   text FRAGMENT TEXT  the PDF's text (pdftotext) holds TEXT
#   absent FRAGMENT TEXT  ... does not hold TEXT
#   once FRAGMENT TEXT  ... holds TEXT exactly once
#   qr FRAGMENT TEXT    a QR code on one of its pages (pdftoppm + zbarimg) holds TEXT exactly
#   cli FRAGMENT CASE ARGS  the native kalvor-cli ($KALVOR_NATIVE_CLI) run as
#                       "--daten cases/CASE etiketten ARGS --pdf X" gives the
#                       same words in the same order and the same QR codes
# With KALVOR_PRINT_PICTURES=DIR the first page of each PDF is kept there as
# SUITE-FRAGMENT.png.
#
#   with_cups.sh [--no-default] SUITE COMMAND...   (COMMAND runs the suite)
# --no-default: the server has no printer at all.
set -u
start_option=
if [ "$1" = --no-default ]; then
  start_option=--no-default
  shift
fi
suite=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/print/cups_env.sh
source "$here/cups_env.sh"
kalvor_cups_start $start_option || { echo "with_cups: no CUPS server" >&2; exit 1; }
trap kalvor_cups_stop EXIT
checks="$suite-print-checks.txt"
rm -f "$checks"

"$@"
rc=$?
[ -f "$checks" ] || { echo "with_cups: the suite left no $checks" >&2; exit 1; }

failures=0
fail() {
  echo "PRINT CHECK FAILED: $*" >&2
  failures=$((failures + 1))
}
pdf_of() { ls -t "$KALVOR_CUPS_OUT"/*"$1"*.pdf 2>/dev/null | head -1; }
declare -A texts codes
while IFS= read -r line; do
  line=${line%$'\r'}
  [ -n "$line" ] || continue
  kind=${line%% *}
  rest=${line#* }
  fragment=${rest%% *}
  value=${rest#* }
  pdf=$(pdf_of "$fragment")
  if [ "$kind" = count ]; then
    n=0
    [ -n "${KALVOR_CUPS_OUT:-}" ] && n=$(ls "$KALVOR_CUPS_OUT"/*"$fragment"*.pdf 2>/dev/null | wc -l)
    [ "$n" -eq "$value" ] || fail "$n PDFs for '$fragment', $value expected"
    continue
  fi
  [ -n "$pdf" ] || { fail "no PDF for '$fragment'"; continue; }
  # A finished file only: the spooler may still be writing the last one.
  kalvor_cups_wait_pdf "$fragment" 120 >/dev/null || fail "the PDF for '$fragment' is not finished"
  if [ -z "${texts[$fragment]+x}" ]; then
    # Wine's PostScript driver names '-' "hyphen", which pdftotext reads as a
    # soft hyphen (U+00AD): it is a plain hyphen-minus on the label.
    texts[$fragment]=$(pdftotext -layout "$pdf" - 2>/dev/null | sed 's/\xC2\xAD/-/g')
    work=$(mktemp -d)
    pdftoppm -r 300 -png "$pdf" "$work/page"
    codes[$fragment]=$(zbarimg --raw -q "$work"/page*.png 2>/dev/null)
    if [ -n "${KALVOR_PRINT_PICTURES:-}" ]; then
      cp "$(ls "$work"/page*.png | head -1)" "$KALVOR_PRINT_PICTURES/$suite-$fragment.png"
    fi
    rm -rf "$work"
  fi
  case $kind in
    cli)
      case_dir=${value%% *}
      args=${value#* }
      cli=${KALVOR_NATIVE_CLI:-}
      if [ ! -x "$cli" ]; then
        fail "no native kalvor-cli to compare '$fragment' with ('$cli')"
        continue
      fi
      work=$(mktemp -d)
      # ARGS are words without blanks inside: split on purpose.
      # shellcheck disable=SC2086
      "$cli" --daten "cases/$case_dir" etiketten $args --pdf "$work/cli.pdf" >/dev/null ||
        fail "kalvor-cli etiketten $args failed"
      printed_words=$(pdftotext -raw "$pdf" - 2>/dev/null | sed 's/\xC2\xAD/-/g' | tr -s ' \n\f' '\n\n\n')
      cli_words=$(pdftotext -raw "$work/cli.pdf" - 2>/dev/null | tr -s ' \n\f' '\n\n\n')
      [ "$printed_words" = "$cli_words" ] ||
        fail "the printed '$fragment' and the CLI's PDF differ: $(diff <(echo "$printed_words") <(echo "$cli_words") | head -5 | tr '\n' ' ')"
      pdftoppm -r 300 -png "$work/cli.pdf" "$work/page"
      cli_codes=$(zbarimg --raw -q "$work"/page*.png 2>/dev/null | sort)
      [ "$(sort <<<"${codes[$fragment]}")" = "$cli_codes" ] ||
        fail "the QR codes of '$fragment' and of the CLI's PDF differ"
      rm -rf "$work"
      ;;
    text) grep -qF -- "$value" <<<"${texts[$fragment]}" || fail "'$value' not in the text of '$fragment'" ;;
    absent) ! grep -qF -- "$value" <<<"${texts[$fragment]}" || fail "'$value' in the text of '$fragment'" ;;
    once)
      n=$(grep -oF -- "$value" <<<"${texts[$fragment]}" | wc -l)
      [ "$n" -eq 1 ] || fail "'$value' $n times in the text of '$fragment'"
      ;;
    qr) grep -qxF -- "$value" <<<"${codes[$fragment]}" || fail "no QR code '$value' in '$fragment' (found: ${codes[$fragment]//$'\n'/ | })" ;;
    *) fail "unknown check '$line'" ;;
  esac
done <"$checks"
echo "print checks: $failures failed"
[ "$rc" -eq 0 ] && [ "$failures" -eq 0 ]
