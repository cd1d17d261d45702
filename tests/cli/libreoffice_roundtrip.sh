#!/usr/bin/env bash
# The spreadsheet round trip: tables exported by kalvor-cli, opened and saved
# again by LibreOffice Calc (headless, every column read as text, saved with
# ";", '"' and UTF-8), import into an empty collection unchanged: their
# export equals the first export byte for byte. LibreOffice may drop the
# byte-order mark and write LF line ends; the importer takes both.
set -eu
cli=$1
here=$(cd "$(dirname "$0")" && pwd)
command -v soffice >/dev/null || { echo "soffice fehlt (Paket libreoffice-calc-nogui)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
python3 "$here/small_reference_db.py"

printf '\xEF\xBB\xBFNr;Fundort;N\xC3\xA4chster Ort;Region;Land;Kartenangabe;Beschreibung;Minerale\r\n1;Grube \xE2\x80\x9EClara\xE2\x80\x9C;Oberwolfach;Schwarzwald;Deutschland;;"Alter ""Schacht""; 3. Sohle\r\nzweite Zeile";Fluorit, Baryt\r\n2;Erzberg;;Steiermark;\xC3\x96sterreich;A1;;Quarz\r\n3;0815;007;;;12,5;;\r\n' >fundorte.csv
printf '\xEF\xBB\xBFNr;Index;Minerale;Begleitminerale;Anzahl;Art;Erwerb;Fundort;Datum;Wert;Kaufpreis;Standort;Stufengr\xC3\xB6\xC3\x9Fe;Beschreibung\r\n1;"A;12";Fluorit, Baryt;Quarz;1;Sammlung;gekauft;1;25.03.1984;12,50;8,00;Schrank 3;4 x 3 cm;"Zwei\r\nZeilen"\r\n2;0042;Calcit;;10;Tausch;gefunden;2;08.1988;;;;;\r\n3;1e5;\xC3\x84schynit;;2;Sammlung;getauscht;3;1999;1234,00;;"Kiste ""B""";;\r\n' >stufen.csv
"$cli" import fundorte fundorte.csv >/dev/null
"$cli" import stufen stufen.csv >/dev/null
"$cli" export fundorte fundorte1.csv
"$cli" export stufen stufen1.csv

# Every column as text (format 2), so "0815", "08.1988" or "12,50" stay as written.
text_columns() {
  local n=$1 i cols=""
  for ((i = 1; i <= n; i++)); do cols+="${cols:+/}$i/2"; done
  echo "$cols"
}
convert() {
  local file=$1 columns=$2
  mkdir -p lo
  soffice -env:UserInstallation="file://$work/profile" --headless \
    --infilter="Text - txt - csv (StarCalc):59,34,76,1,$(text_columns "$columns"),1031,false,false" \
    --convert-to 'csv:Text - txt - csv (StarCalc):59,34,76,1,,0,false,true,false,false,false' \
    --outdir lo "$file" >/dev/null 2>&1
  test -s "lo/$file" || { echo "LibreOffice hat $file nicht gespeichert"; exit 1; }
}
convert fundorte1.csv 8
convert stufen1.csv 14

rm kalvor.fs kalvor.st kalvor.vi kalvor.fss kalvor.sts
rm -rf Sicherung
"$cli" import fundorte lo/fundorte1.csv
"$cli" import stufen lo/stufen1.csv
"$cli" export fundorte fundorte2.csv
"$cli" export stufen stufen2.csv
status=0
cmp fundorte1.csv fundorte2.csv || status=1
cmp stufen1.csv stufen2.csv || status=1
if [ $status -ne 0 ]; then
  for f in fundorte1.csv lo/fundorte1.csv fundorte2.csv stufen1.csv lo/stufen1.csv stufen2.csv; do
    echo "== $f"; od -c "$f" | head -30
  done
fi
exit $status
