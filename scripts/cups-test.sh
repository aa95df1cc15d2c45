#!/usr/bin/env bash
# A private CUPS scheduler for the printing tests, never the system's:
#   cups-test.sh start DIR QUEUE   scheduler on DIR/cups.sock with a cups-pdf queue QUEUE
#                                  whose jobs land as PDF files in DIR/out
#   cups-test.sh stop DIR QUEUE    stops it and removes what start made outside DIR
# Clients reach it with CUPS_SERVER=DIR/cups.sock. The cups-pdf backend runs as root and reads
# its settings only from /etc/cups, so start needs root and writes /etc/cups/cups-pdf-QUEUE.conf.
set -euo pipefail

action=${1:-}
dir=${2:-}
queue=${3:-}
if [[ -z $action || -z $dir || -z $queue ]]; then
  echo "usage: $0 start|stop DIR QUEUE" >&2
  exit 2
fi
# Start empties DIR: only a folder of our own name is accepted.
if [[ $dir != /* || $(basename "$dir") != pennock-cups-* ]]; then
  echo "$0: DIR must be an absolute path named pennock-cups-*: $dir" >&2
  exit 2
fi
if [[ ! $queue =~ ^[A-Za-z0-9_-]+$ ]]; then
  echo "$0: QUEUE may hold letters, digits, - and _ only: $queue" >&2
  exit 2
fi
backend_conf=/etc/cups/cups-pdf-${queue}.conf

stop() {
  if [[ -f $dir/cupsd.pid ]]; then
    local pid
    pid=$(<"$dir/cupsd.pid")
    # Only the scheduler this script started, recognised by its configuration file.
    if kill -0 "$pid" 2>/dev/null &&
      tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qF "$dir/etc/cupsd.conf"; then
      kill "$pid"
      for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
      done
      kill -0 "$pid" 2>/dev/null && kill -9 "$pid"
    fi
    rm -f "$dir/cupsd.pid"
  fi
  rm -f "$backend_conf"
}

start() {
  if [[ $(id -u) -ne 0 ]]; then
    echo "$0: the cups-pdf backend runs only for a root scheduler; run the tests as root" >&2
    exit 1
  fi
  for tool in cupsd lpadmin lpstat; do
    command -v "$tool" >/dev/null || { echo "$0: $tool missing (package cups)" >&2; exit 1; }
  done
  [[ -x /usr/lib/cups/backend/cups-pdf ]] ||
    { echo "$0: cups-pdf backend missing (package printer-driver-cups-pdf)" >&2; exit 1; }
  local ppd
  ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
  [[ -f $ppd ]] || ppd=$(ls /usr/share/ppd/cups-pdf/*.ppd 2>/dev/null | head -n 1)
  [[ -n $ppd ]] || { echo "$0: no cups-pdf PPD found" >&2; exit 1; }

  stop
  rm -rf "$dir"
  mkdir -p "$dir"/{etc/ppd,spool/tmp,cache,state,log,out,backend-spool}
  chmod 0755 "$dir" "$dir"/etc "$dir"/out
  local sock=$dir/cups.sock

  cat >"$dir/etc/cupsd.conf" <<EOF
Listen $sock
Browsing No
BrowseLocalProtocols none
DefaultAuthType None
LogLevel warn
MaxLogSize 0
WebInterface No
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
  cat >"$dir/etc/cups-files.conf" <<EOF
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
SystemGroup root
User lp
Group lp
EOF
  cat >"$backend_conf" <<EOF
Out $dir/out
AnonDirName $dir/out
Spool $dir/backend-spool
Log $dir/log
Grp root
UserUMask 0022
AnonUMask 0022
EOF

  setsid cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" \
    </dev/null >>"$dir/log/cupsd.out" 2>&1 &
  echo $! >"$dir/cupsd.pid"

  export CUPS_SERVER=$sock
  for _ in $(seq 100); do
    [[ -S $sock ]] && lpstat -r >/dev/null 2>&1 && break
    sleep 0.1
  done
  if ! lpstat -r >/dev/null 2>&1; then
    echo "$0: the scheduler did not start; its log:" >&2
    cat "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2>/dev/null || true
    stop
    exit 1
  fi
  # pdftocairo keeps the text of Qt's PDF readable for pdftotext; the default renderer does not.
  lpadmin -p "$queue" -E -v "cups-pdf:/$queue" -P "$ppd" \
    -o pdftops-renderer-default=pdftocairo 2>/dev/null
  lpstat -p "$queue" >/dev/null
  echo "scheduler on $sock, queue $queue writes to $dir/out"
}

case $action in
  start) start ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop DIR QUEUE" >&2; exit 2 ;;
esac
