#!/usr/bin/env bash
# Installs the Debian packages that a make target needs and this machine lacks.
# Usage: tools/install-deps.sh GROUP...   (groups: native, windows, fuzz)
set -euo pipefail

packages_for() {
  case "$1" in
    native) echo cmake ninja-build g++ make googletest libgtest-dev ;;
    windows) echo mingw-w64 wine wine32:i386 wine64 xvfb xauth ghostscript poppler-utils ;;
    fuzz) echo cmake ninja-build make clang-14 libclang-rt-14-dev ;;
    *) echo "unknown group: $1" >&2; exit 2 ;;
  esac
}

wanted=()
for group in "$@"; do
  for package in $(packages_for "$group"); do wanted+=("$package"); done
done

missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages need root: run as root, or apt-get install ${missing[*]}" >&2
  exit 1
fi
if printf '%s\n' "${missing[@]}" | grep -q ':i386$' &&
  ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update -q
DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
