#!/usr/bin/env bash
# Runs the Windows side of the tests under Wine, inside a virtual display.
#
#   run-wine.sh setup   ARCH STATE HANDLER.exe   fresh prefix, print handler, sample PDF
#   run-wine.sh run     ARCH STATE CASE PROGRAM.exe ARGS...
#   run-wine.sh cleanup ARCH STATE               ends the prefix's processes, removes it
#
# ARCH is x86 or x64; STATE is the folder of this run (the prefix lives in it).
# "run" gives CASE a fresh folder STATE/cases/CASE, whose client/ is the current
# directory of the client (where temp.pdf lands) and prints/ the print
# handler's log, and passes every QUARVEN_* variable that holds a Linux path
# on as the Windows path Wine shows for it. Exit status 77 means skipped: this
# machine cannot run programs of that architecture; with QUARVEN_REQUIRE_WINE=1
# in the environment that is a failure instead.
set -euo pipefail

action=${1:?usage: run-wine.sh setup|run|cleanup ARCH STATE ...}
arch=${2:?ARCH}
state=${3:?STATE}
shift 3

source "$(dirname "$0")/wine-env.sh"
if ! why=$(wine_runs); then
  echo "SKIPPED: $why"
  echo "The kernel refuses $arch Linux programs, so Wine cannot run $arch Windows programs here."
  [ "${QUARVEN_REQUIRE_WINE:-}" = 1 ] && exit 1
  exit 77
fi

# Every Windows program runs on a virtual display; message boxes are real windows.
if [ -z "${DISPLAY:-}" ] && [ -z "${QUARVEN_IN_XVFB:-}" ]; then
  export QUARVEN_IN_XVFB=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$action" "$arch" "$state" "$@"
fi

finish() { wineserver -k 2>/dev/null || true; }

case "$action" in
  setup)
    handler=${1:?HANDLER.exe}
    finish
    rm -rf "$state"
    mkdir -p "$state"
    trap finish EXIT
    echo "fresh $WINEARCH prefix: $WINEPREFIX"
    "$wine" wineboot -i >"$state/wineboot.log" 2>&1 || { cat "$state/wineboot.log"; exit 1; }
    # The print command of .pdf files, as a PDF reader registers it.
    "$wine" reg add 'HKCR\.pdf' /ve /d QuarvenTest.Pdf /f >/dev/null
    "$wine" reg add 'HKCR\QuarvenTest.Pdf\shell\print\command' /ve \
      /d "\"$(winpath "$handler")\" \"%1\"" /f >/dev/null
    echo "print handler for .pdf: $(winpath "$handler")"
    bash "$(dirname "$0")/make-sample-pdf.sh" "$state/sample.pdf" 4
    pages=$(pdfinfo "$state/sample.pdf" | sed -n 's/^Pages: *//p')
    echo "sample PDF: $state/sample.pdf, $(stat -c %s "$state/sample.pdf") bytes, $pages pages"
    [ "$pages" -ge 2 ]
    ;;
  run)
    case_name=${1:?CASE}
    shift
    [ -d "$WINEPREFIX" ] || { echo "run-wine: no prefix $WINEPREFIX: run setup first" >&2; exit 1; }
    work=$state/cases/$case_name
    rm -rf "$work"
    mkdir -p "$work/client" "$work/prints"
    export QUARVEN_PRINT_LOG_DIR=$work/prints
    export QUARVEN_SAMPLE_PDF=${QUARVEN_SAMPLE_PDF:-$state/sample.pdf}
    for variable in $(compgen -e | grep '^QUARVEN_' || true); do
      value=${!variable}
      [[ "$value" == /* ]] && export "$variable=$(winpath "$value")"
    done
    trap finish EXIT
    cd "$work/client"
    status=0
    timeout 300 "$wine" "$@" || status=$?
    exit $status
    ;;
  cleanup)
    finish
    rm -rf "$WINEPREFIX"
    ;;
  *) echo "run-wine: unknown action $action" >&2; exit 2 ;;
esac
