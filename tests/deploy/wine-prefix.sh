#!/usr/bin/env bash
# The Wine prefix of one architecture that a test run's tests share.
#   wine-prefix.sh make x86|x64 DIR   makes it afresh; exits 77 (skipped) where the
#                                     machine cannot run that Wine at all, as on
#                                     kernels without 32-bit support
#   wine-prefix.sh stop x86|x64 DIR   ends whatever still runs in it
set -euo pipefail
action=$1 arch=$2 dir=$3
case "$arch" in
  x86) loader=/usr/lib/wine/wine winearch=win32 ;;
  x64) loader=/usr/lib/wine/wine64 winearch=win64 ;;
  *) echo "wine-prefix: unknown architecture $arch" >&2; exit 2 ;;
esac
export WINEPREFIX=$dir WINEDEBUG=-all

case "$action" in
  make)
    rm -rf "$dir"
    if ! "$loader" --version >/dev/null 2>&1; then
      echo "wine-prefix: this machine cannot run $loader ($arch Wine); its tests are skipped"
      exit 77
    fi
    mkdir -p "$(dirname "$dir")"
    # Wine's .NET and HTML engines cannot be downloaded here: prefix creation must
    # not look for them.
    WINEARCH=$winearch WINELOADER=$loader WINEDLLOVERRIDES='mscoree=;mshtml=' "$loader" wineboot -i
    wineserver -w
    echo "wine-prefix: made $dir ($winearch)"
    ;;
  stop)
    # No server left running is the usual case, not a failure.
    if [ -d "$dir" ]; then wineserver -k 2>/dev/null || true; fi
    ;;
  *) echo "wine-prefix: unknown action $action" >&2; exit 2 ;;
esac
