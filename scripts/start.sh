#!/usr/bin/env bash
# Builds what is missing and starts Kalvor in build/run/: the Windows program
# under Wine when a display is there, otherwise the command-line tool.
set -euo pipefail
source "$(dirname "$0")/common.sh"

kalvor_install_packages
say "Baue Kalvor"
kalvor_build native
kalvor_build mingw64 kalvor kalvor-cli
kalvor_prepare_run_dir
run="$KALVOR_ROOT/build/run"
cli="$KALVOR_ROOT/build/native/kalvor-cli"

if [ -n "${DISPLAY:-}" ]; then
  kalvor_wine_env
  say "Starte kalvor.exe unter Wine in $run"
  cd "$run"
  exec wine kalvor.exe
fi

say "Keine Anzeige gefunden (DISPLAY ist nicht gesetzt): Kalvor läuft auf der Kommandozeile"
"$cli" --version
"$cli" --daten "$run" dateien
say "Mineralbestimmung: metallisch glänzend, Härte 2,5, Dichte 7,5 g/cm³"
echo "kalvor-cli bestimme --glanz metall --haerte 2,5 --dichte 7,5"
"$cli" --daten "$run" bestimme --glanz metall --haerte 2,5 --dichte 7,5
echo
echo "Weitere Befehle: $cli --hilfe"
