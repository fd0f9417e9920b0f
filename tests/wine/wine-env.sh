# Sourced by the scripts that run Windows programs under Wine. Given $arch (x86
# or x64) and $state (the folder that holds the prefix), it sets up Wine's
# environment, picks the loader in $wine and defines winpath and wine_runs.

export WINEDEBUG=-all
# No Mono or Gecko: they cannot be downloaded here, and nothing needs them.
export WINEDLLOVERRIDES='mscoree=;mshtml='
export WINEPREFIX=$state/prefix

case "$arch" in
  x86)
    export WINEARCH=win32
    wine=/usr/lib/wine/wine
    [ -x "$wine" ] || wine=$(command -v wine || true)
    ;;
  x64)
    export WINEARCH=win64
    wine=$(command -v wine64 || true)
    [ -n "$wine" ] || wine=/usr/lib/wine/wine64
    export WINELOADER=$wine
    ;;
  *) echo "unknown architecture $arch" >&2; exit 2 ;;
esac

if [ ! -x "$wine" ]; then
  echo "no Wine loader for $arch (tools/install-deps.sh windows installs it)" >&2
  exit 1
fi

# The Windows form of a Linux path: Wine maps / to drive Z:.
winpath() { local p; p=$(realpath -m "$1"); p=${p//\//\\}; echo "Z:$p"; }

# 32-bit Wine is a 32-bit Linux program: a kernel without 32-bit support cannot
# start it. Says why on standard output when it cannot run.
wine_runs() {
  "$wine" --version >/dev/null 2>&1 && return 0
  echo "this machine cannot run $wine: $("$wine" --version 2>&1 | tail -n1 | sed 's/.*: //')."
  return 1
}
