#!/usr/bin/env bash
# The demo: one session under Wine in which a sample multi-page PDF goes
# through the 32-bit add-in to the print handler registered for .pdf files.
# Shows the steps of the session, what reached the print handler, and renders
# the first page of what it printed to demo/first-page.png.
#   tools/demo/run-demo.sh        (make demo builds first, then runs this)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$root/demo
state=$out/wine

if [ -z "${QUARVEN_DEMO_IN_XVFB:-}" ] && [ -z "${DISPLAY:-}" ]; then
  export QUARVEN_DEMO_IN_XVFB=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

# The 32-bit add-in is the main build. A kernel without 32-bit
# support cannot run 32-bit Wine: then the demo says so and uses the 64-bit one.
arch=x86
source "$root/tests/wine/wine-env.sh"
if ! why=$(wine_runs); then
  echo "NOTE: $why"
  echo "NOTE: so Wine cannot run the 32-bit add-in here; the demo uses the 64-bit one, built from the same sources."
  echo
  arch=x64
  source "$root/tests/wine/wine-env.sh"
fi
build=$root/build/windows-$arch
for file in quarven.dll quarven-host.exe tests/wine/print-handler.exe; do
  [ -f "$build/$file" ] || { echo "missing $build/$file: run make demo" >&2; exit 1; }
done

rm -rf "$out"
mkdir -p "$out/session" "$out/printed"
echo "== A fresh Wine prefix with a print handler for .pdf, and a sample PDF"
bash "$root/tests/wine/run-wine.sh" setup "$arch" "$state" "$build/tests/wine/print-handler.exe"
cp "$state/sample.pdf" "$out/sample.pdf"

export QUARVEN_PRINT_LOG_DIR
QUARVEN_PRINT_LOG_DIR=$(winpath "$out/printed")
# At the end: the prefix's processes stop, and the prefix (some 100 MB) goes.
trap 'wineserver -k 2>/dev/null || true; rm -rf "$state/prefix"' EXIT

echo
echo "== The session: quarven-host.exe quarven.dll sample.pdf, in $out/session"
cd "$out/session"
"$wine" "$(winpath "$build/quarven-host.exe")" "$(winpath "$build/quarven.dll")" \
  "$(winpath "$out/sample.pdf")"

echo
echo "== What reached the print handler"
for _ in $(seq 1 300); do
  [ -s "$out/printed/prints.log" ] && break
  sleep 0.1
done
[ -s "$out/printed/prints.log" ] || { echo "the print handler was not started" >&2; exit 1; }
sleep 1
starts=$(wc -l <"$out/printed/prints.log")
line=$(head -n1 "$out/printed/prints.log")
field() { tr '|' '\n' <<<"$line" | sed -n "s/^$1=//p"; }
show=$(field show)
[ "$show" = 0 ] && show="0 (SW_HIDE)"
echo "started:           $starts time(s)"
echo "file to print:     $(field path)"
echo "working directory: $(field cwd)"
echo "show command:      $show"
echo "size it read:      $(field size) bytes (the sample: $(stat -c %s "$out/sample.pdf") bytes)"
printed=$out/printed/$(field copy)
if cmp -s "$printed" "$out/sample.pdf"; then
  echo "content:           identical to the sample (sha256 $(sha256sum <"$printed" | cut -c1-16)...)"
else
  echo "content:           DIFFERS from the sample" >&2
  exit 1
fi
cmp -s "$out/session/temp.pdf" "$out/sample.pdf" && echo "temp.pdf:          $out/session/temp.pdf, identical to the sample"

pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$printed" "$out/first-page"
echo
echo "== The printed document: $(pdfinfo "$printed" | sed -n 's/^Pages: *//p') pages; its first page is in $out/first-page.png"
