#!/usr/bin/env bash
# A private CUPS server with a cups-pdf queue as the default printer, for the
# printing tests: what a program prints through it lands as a PDF file in a
# folder of our own. Nothing of the machine's own CUPS is used or changed,
# except one queue-specific cups-pdf configuration file (cups-pdf reads its
# configuration only from /etc/cups), which `stop` removes again.
#
# Needs root: cupsd runs the cups-pdf backend as root only when it runs as
# root itself, and cups-pdf refuses to work otherwise. CI runs as root.
#
#   source tests/print/cups_env.sh
#   kalvor_cups_start       # sets CUPS_SERVER, KALVOR_CUPS_DIR, KALVOR_CUPS_OUT, KALVOR_CUPS_QUEUE
#   ... print (wine inherits CUPS_SERVER and finds the queue as default printer) ...
#   kalvor_cups_wait_pdf TITLE TIMEOUT   # prints the path of the finished PDF
#   kalvor_cups_stop
#   kalvor_cups_start --no-default       # a server without any printer

# Starts cupsd in a new temporary folder; returns non-zero when it cannot.
kalvor_cups_start() {
  local with_queue=1
  [ "${1:-}" = "--no-default" ] && with_queue=0
  if [ "$(id -u)" -ne 0 ]; then
    echo "cups_env: cupsd with the cups-pdf backend needs root" >&2
    return 1
  fi
  local dir
  dir=$(mktemp -d /tmp/kalvor-cups.XXXXXX) || return 1
  chmod 755 "$dir"
  mkdir -p "$dir/etc/ppd" "$dir/spool/tmp" "$dir/cache" "$dir/state/certs" "$dir/log" "$dir/out"
  chmod 1777 "$dir/spool/tmp" "$dir/out"
  chmod 711 "$dir/spool"
  cat >"$dir/etc/cups-files.conf" <<CONF
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
User lp
Group lp
SystemGroup root
FileDevice No
Sandboxing relaxed
CONF
  cat >"$dir/etc/cupsd.conf" <<CONF
LogLevel warn
Listen $dir/cups.sock
Browsing No
BrowseLocalProtocols none
DefaultAuthType None
WebInterface No
PreserveJobFiles No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
  cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" >"$dir/log/cupsd.out" 2>&1 &
  echo $! >"$dir/cupsd.pid"
  export KALVOR_CUPS_DIR="$dir"
  export CUPS_SERVER="$dir/cups.sock"
  unset PRINTER LPDEST
  # Wait until the server answers (a failure guard only: it answers at once).
  local i
  for i in $(seq 1 300); do
    lpstat -r 2>/dev/null | grep -q "is running" && break
    if ! kill -0 "$(cat "$dir/cupsd.pid")" 2>/dev/null; then
      echo "cups_env: cupsd ended at once:" >&2
      cat "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2>/dev/null
      return 1
    fi
    sleep 0.1
  done
  lpstat -r 2>/dev/null | grep -q "is running" || { echo "cups_env: cupsd does not answer" >&2; return 1; }
  [ "$with_queue" -eq 1 ] || return 0

  # The queue's name is unique on this machine, so is its cups-pdf
  # configuration: several test runs may share the machine.
  local queue="kalvor_${dir##*.}"
  export KALVOR_CUPS_QUEUE="$queue"
  local ppd
  ppd=$(ls /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd /usr/share/ppd/cups-pdf/*.ppd 2>/dev/null | head -1)
  [ -n "$ppd" ] || { echo "cups_env: no cups-pdf PPD (printer-driver-cups-pdf)" >&2; return 1; }
  # cups-pdf prints to the paper's edge; a real printer keeps a border it
  # cannot print on. The queue gets the border kalvor-cli's PDF pages keep
  # (a sixth of an inch, 12 pt), so both lay out the same printable area.
  sed -e 's|^\*ImageableArea A4/A4: .*|*ImageableArea A4/A4: "12 12 583 830"|' \
    -e 's|^\*DefaultPageSize: .*|*DefaultPageSize: A4|' "$ppd" >"$dir/etc/kalvor-pdf.ppd"
  ppd="$dir/etc/kalvor-pdf.ppd"
  cat >"/etc/cups/cups-pdf-$queue.conf" <<CONF
Out $dir/out
AnonDirName $dir/out
Spool $dir/spool/cups-pdf
Log $dir/log
LogType 3
Label 0
TitlePref 1
CONF
  mkdir -p "$dir/spool/cups-pdf"
  lpadmin -p "$queue" -E -v "cups-pdf:/$queue" -P "$ppd" || return 1
  lpadmin -d "$queue" || return 1
  # The Out folder as cups-pdf will use it, read back from its configuration.
  KALVOR_CUPS_OUT=$(sed -n 's/^Out[[:space:]]\+//p' "/etc/cups/cups-pdf-$queue.conf")
  export KALVOR_CUPS_OUT
}

# Waits until a finished PDF whose name holds TITLE lies in the Out folder and
# the server has no job left; prints its path. TIMEOUT seconds guard against a
# hang only.
kalvor_cups_wait_pdf() {
  local title=$1 timeout=${2:-300} i pdf
  for i in $(seq 1 $((timeout * 10))); do
    pdf=$(ls -t "$KALVOR_CUPS_OUT"/*"$title"*.pdf 2>/dev/null | head -1)
    if [ -n "$pdf" ] && [ -z "$(lpstat -o 2>/dev/null)" ] && tail -c 1024 "$pdf" | grep -q '%%EOF'; then
      echo "$pdf"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Stops the cupsd that kalvor_cups_start started (by its pid) and removes its
# folder and the queue's cups-pdf configuration.
kalvor_cups_stop() {
  local dir=${KALVOR_CUPS_DIR:-}
  [ -n "$dir" ] && [ -f "$dir/cupsd.pid" ] || return 0
  local pid
  pid=$(cat "$dir/cupsd.pid")
  kill "$pid" 2>/dev/null
  # Waits for it to end (it may not be a child of this shell); a server that
  # does not end within ten seconds is killed.
  local i
  for i in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  [ -n "${KALVOR_CUPS_QUEUE:-}" ] && rm -f "/etc/cups/cups-pdf-$KALVOR_CUPS_QUEUE.conf"
  [ "${KALVOR_CUPS_KEEP:-0}" = 1 ] || rm -rf "$dir"
  unset KALVOR_CUPS_DIR KALVOR_CUPS_OUT KALVOR_CUPS_QUEUE CUPS_SERVER
}
