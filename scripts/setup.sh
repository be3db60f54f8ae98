#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those not yet present.
set -euo pipefail

packages=(
  cmake ninja-build g++ make pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine64
  clang-14 libclang-rt-14-dev
  zip unzip
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: every package is present"
  exit 0
fi

echo "setup: installing ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "setup: run as root (apt-get install ${missing[*]})" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
