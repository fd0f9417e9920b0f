#!/usr/bin/env bash
# Checks a Windows binary as the loader and the Remote Desktop client meet it:
# its machine type, its exports, the DLLs it imports, and on 32-bit x86 that
# named functions remove their own arguments (__stdcall). Uses mingw's objdump.
#
# Usage: check-pe.sh --objdump OBJDUMP --machine i386|x86-64 (--dll|--exe)
#                    --exports "NAME[,NAME...]" --allow "A.dll[,B.dll...]"
#                    [--version X.Y.Z] [--stdcall SYMBOL=BYTES]... FILE
set -euo pipefail

objdump=objdump machine= kind= exports= allow= version= stdcall=()
while [ $# -gt 1 ]; do
  case "$1" in
    --objdump) objdump=$2; shift 2 ;;
    --machine) machine=$2; shift 2 ;;
    --dll) kind=DLL; shift ;;
    --exe) kind=EXE; shift ;;
    --exports) exports=$2; shift 2 ;;
    --allow) allow=$2; shift 2 ;;
    --version) version=$2; shift 2 ;;
    --stdcall) stdcall+=("$2"); shift 2 ;;
    *) echo "check-pe: unknown option $1" >&2; exit 2 ;;
  esac
done
file=${1:?usage: check-pe.sh OPTIONS FILE}
[ -f "$file" ] || { echo "FAIL: $file does not exist"; exit 1; }

failures=0 passes=0
pass() { echo "ok:   $*"; passes=$((passes + 1)); }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

headers=$("$objdump" -p "$file")
name=$(basename "$file")

# Machine type: the loader refuses a DLL of the other architecture.
format=$(sed -n 's/^.*file format \(.*\)$/\1/p' <<<"$headers" | head -n1)
if [ "$format" = "pei-$machine" ]; then pass "$name: machine $machine ($format)"
else fail "$name: machine is '$format', expected pei-$machine"; fi

# DLL or program.
if grep -qx $'\tDLL' <<<"$headers"; then actual_kind=DLL; else actual_kind=EXE; fi
if [ "$actual_kind" = "$kind" ]; then pass "$name: a $kind"
else fail "$name: a $actual_kind, expected a $kind"; fi

# Exports: the names in the export name table, exactly the expected ones.
actual_exports=$(awk '/^\[Ordinal\/Name Pointer\] Table/ {on=1; next}
                      on && /^\t\[ *[0-9]+\]/ {print $NF; next}
                      on {on=0}' <<<"$headers" | sort | paste -sd, -)
expected_exports=$(tr ',' '\n' <<<"$exports" | sed '/^$/d' | sort | paste -sd, -)
if [ "$actual_exports" = "$expected_exports" ]; then
  pass "$name: exports exactly [${expected_exports}]"
else
  fail "$name: exports [${actual_exports}], expected exactly [${expected_exports}]"
fi

# Imports: system DLLs only (compared without regard to case, as Windows does).
imports=$(sed -n 's/^\tDLL Name: //p' <<<"$headers")
allowed_lc=$(tr 'A-Z,' 'a-z\n' <<<"$allow")
bad=()
while read -r dll; do
  [ -n "$dll" ] || continue
  grep -qx "$(tr 'A-Z' 'a-z' <<<"$dll")" <<<"$allowed_lc" || bad+=("$dll")
done <<<"$imports"
if [ ${#bad[@]} -eq 0 ] && [ -n "$imports" ]; then
  pass "$name: imports only from [$(paste -sd, - <<<"$imports")]"
else
  fail "$name: imports from [${bad[*]:-nothing}], allowed only [$allow]"
fi

# The version resource that Explorer's Properties shows: its strings are UTF-16.
if [ -n "$version" ]; then
  info=$(strings -el "$file" | paste -sd'|' -)
  if grep -q 'VS_VERSION_INFO' <<<"$info" && grep -q '|ProductName|quarven|' <<<"$info" &&
    grep -q '|FileDescription|[^|]' <<<"$info" && grep -q "|FileVersion|$version|" <<<"$info"; then
    pass "$name: version resource: quarven $version, $(sed 's/.*|FileDescription|\([^|]*\).*/\1/' <<<"$info")"
  else
    fail "$name: no version resource with ProductName quarven and FileVersion $version"
  fi
fi

# __stdcall: every return of the function removes its argument bytes, and it
# leaves by no jump into another function (which would hide its return).
if [ ${#stdcall[@]} -gt 0 ]; then
  disassembly=$("$objdump" -d "$file")
  for spec in "${stdcall[@]}"; do
    symbol=${spec%=*} bytes=${spec##*=}
    body=$(awk -v label="<$symbol>:" '$2 == label {on=1; next} on && /^$/ {exit} on {print}' \
      <<<"$disassembly")
    if [ -z "$body" ]; then fail "$name: no function $symbol"; continue; fi
    rets=$(grep -E $'\tret' <<<"$body" | sed 's/.*\tret[lw]\? *//' | sort -u | paste -sd' ' -)
    outside=$(grep -E $'\tjmp +[0-9a-f]+ <' <<<"$body" | grep -v "<$symbol+" || true)
    want=$(printf '$0x%x' "$bytes")
    if [ "$rets" = "$want" ] && [ -z "$outside" ]; then
      pass "$name: $symbol returns with ret $want (removes its $bytes argument bytes)"
    else
      fail "$name: $symbol returns with [${rets:-no ret}]${outside:+ and jumps out}, expected only ret $want"
    fi
  done
fi

echo "$name: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
