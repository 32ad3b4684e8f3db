#!/usr/bin/env bash
# A private print server for the tests that print through a real queue.
#
#   cups-for-tests.sh start DIR   installs what is missing, starts cupsd with
#                                 its whole configuration, spool and socket
#                                 under DIR, waits until it answers and adds
#                                 a cups-pdf queue "PDF" as its default
#   cups-for-tests.sh stop DIR    stops that cupsd by its process id, removes
#                                 the PDFs its jobs produced, and DIR
#   cups-for-tests.sh run DIR CMD...   start, run CMD, stop; CMD's status
#
# Clients reach the server through CUPS_SERVER=DIR/cups.sock, so the
# system's own print server, if any, is neither used nor touched.
set -euo pipefail

packages=(cups printer-driver-cups-pdf cups-ipp-utils cups-client poppler-utils)
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

die() {
  echo "cups-for-tests: $*" >&2
  exit 1
}

install_missing() {
  "$(dirname "$0")/apt-install-missing.sh" "${packages[@]}"
}

start() {
  local dir=$1
  install_missing
  [ "$(id -u)" -eq 0 ] || die "cupsd must be started as root (it runs its filters as lp)"
  [ -f "$ppd" ] || die "no cups-pdf driver at $ppd"
  [ -e "$dir/cupsd.pid" ] && stop "$dir"
  rm -rf "$dir"
  mkdir -p "$dir"/{conf/ppd,spool,tmp,cache,state,log}
  # The filters run as lp and read the spool below this directory.
  chmod 0755 "$dir"
  chgrp lp "$dir/spool" "$dir/tmp" "$dir/cache" "$dir/state"
  chmod 0770 "$dir/tmp"

  cat >"$dir/conf/cups-files.conf" <<EOF
ServerRoot $dir/conf
RequestRoot $dir/spool
TempDir $dir/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
User lp
Group lp
SystemGroup root
FileDevice No
Sandboxing Relaxed
EOF
  # Only the local socket; every operation allowed, job names visible to
  # every client, so the tests can query the queue without logging in.
  cat >"$dir/conf/cupsd.conf" <<EOF
Listen $dir/cups.sock
LogLevel warn
Browsing No
DefaultAuthType None
WebInterface No
PreserveJobHistory Yes
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF

  touch "$dir/start-marker"
  # In the foreground of its own, in the background of the test run; the
  # pid is how it is stopped.
  setsid cupsd -f -c "$dir/conf/cupsd.conf" -s "$dir/conf/cups-files.conf" \
    </dev/null >"$dir/log/cupsd.out" 2>&1 &
  echo $! >"$dir/cupsd.pid"

  export CUPS_SERVER=$dir/cups.sock
  local tries=0
  until lpstat -r 2>/dev/null | grep -q "is running"; do
    if ! kill -0 "$(cat "$dir/cupsd.pid")" 2>/dev/null; then
      cat "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2>/dev/null || true
      die "cupsd ended before it answered"
    fi
    tries=$((tries + 1))
    [ $tries -lt 300 ] || die "cupsd did not answer"
    sleep 0.1
  done
  # -P is deprecated for drivers, but this driver ships as a plain PPD.
  lpadmin -p PDF -E -v cups-pdf:/ -P "$ppd" 2>&1 | grep -v "deprecated" >&2 || true
  lpadmin -d PDF
  lpstat -d | grep -q "PDF" || die "the PDF queue is not the default"
}

stop() {
  local dir=$1
  [ -f "$dir/cupsd.pid" ] || return 0
  local pid
  pid=$(cat "$dir/cupsd.pid")
  if kill -0 "$pid" 2>/dev/null; then
    # Let the queued jobs finish, so their output can be taken back below.
    local tries=0
    while [ -n "$(CUPS_SERVER=$dir/cups.sock lpstat -o 2>/dev/null)" ] && [ $tries -lt 300 ]; do
      tries=$((tries + 1))
      sleep 0.1
    done
    kill -TERM "$pid"
    tries=0
    while kill -0 "$pid" 2>/dev/null && [ $tries -lt 100 ]; do
      tries=$((tries + 1))
      sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && kill -KILL "$pid"
  fi
  # cups-pdf writes into the job owner's home; take back what our jobs left.
  if [ -f "$dir/start-marker" ]; then
    for out in "$HOME/PDF" /root/PDF /var/spool/cups-pdf/ANONYMOUS; do
      [ -d "$out" ] && find "$out" -maxdepth 1 -name 'Plik_LOG*.pdf' -newer "$dir/start-marker" -delete
    done
  fi
  rm -rf "$dir"
}

[ $# -ge 2 ] || die "usage: $0 start|stop DIR | run DIR CMD..."
cmd=$1
dir=$(realpath -m "$2")
shift 2
case $cmd in
  start) start "$dir" ;;
  stop) stop "$dir" ;;
  run)
    start "$dir"
    set +e
    CUPS_SERVER=$dir/cups.sock "$@"
    status=$?
    set -e
    stop "$dir"
    exit $status
    ;;
  *) die "unknown command $cmd" ;;
esac
