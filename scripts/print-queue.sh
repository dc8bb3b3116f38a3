#!/usr/bin/env bash
# A real printer queue for the tests: CUPS with a CUPS-PDF queue named KeyvanePDF, whose
# jobs become PDF files. Wine lists CUPS printers, so Windows programs print to it.
#   scripts/print-queue.sh start    # starts cupsd when needed, adds and enables the queue
#   scripts/print-queue.sh reject   # the queue refuses new jobs
#   scripts/print-queue.sh accept   # and takes them again
#   scripts/print-queue.sh outdir   # prints the folder the PDF files appear in
# Needs root for cupsd and lpadmin (the test machines run as root).
set -uo pipefail
queue=KeyvanePDF
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

scheduler_up() { lpstat -r 2>/dev/null | grep -q 'is running'; }

case "${1:-start}" in
  start)
    command -v cupsd >/dev/null || { echo "print-queue: cups is not installed" >&2; exit 1; }
    if ! scheduler_up; then
      cupsd || { echo "print-queue: cupsd did not start" >&2; exit 1; }
      for _ in $(seq 1 100); do scheduler_up && break; sleep 0.05; done
    fi
    scheduler_up || { echo "print-queue: the scheduler is not running" >&2; exit 1; }
    if ! lpstat -p "$queue" >/dev/null 2>&1; then
      lpadmin -p "$queue" -E -v cups-pdf:/ -P "$ppd" 2>/dev/null ||
        { echo "print-queue: cannot add the queue" >&2; exit 1; }
    fi
    cupsenable "$queue" && cupsaccept "$queue" && lpadmin -d "$queue"
    ;;
  reject) cupsreject "$queue" ;;
  accept) cupsaccept "$queue" && cupsenable "$queue" ;;
  outdir)
    out="$(sed -n 's/^Out[[:space:]]\+//p' /etc/cups/cups-pdf.conf | tail -n1)"
    [ -n "$out" ] || out='${HOME}/PDF'
    printf '%s\n' "$out" | sed "s|\${HOME}|$HOME|"
    ;;
  *) echo "usage: $0 start|reject|accept|outdir" >&2; exit 2 ;;
esac
