#!/usr/bin/env bash
# Makes the release zip: the 32-bit TCUDVNT.dll with its .def, the host records
# header, the README and an example initialisation file at the top; the Windows
# host tool, the stand-in MARVEX.DLL and the simulator's source under tools/.
#
# Usage: scripts/release.sh [--no-build] [BUILD_DIR [OUTPUT_DIR]]
#   BUILD_DIR   the mingw-i686 build (default build/mingw-i686); configured with
#               that preset and built first unless --no-build is given
#   OUTPUT_DIR  where TCUDVNT-<version>.zip goes (default out/)
# With SOURCE_DATE_EPOCH set, every file in the zip carries that time.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=true
if [ "${1:-}" = --no-build ]; then
  build=false
  shift
fi
build_dir=$(realpath -m "${1:-$root/build/mingw-i686}")
output_dir=$(realpath -m "${2:-$root/out}")

die() {
  echo "release: $*" >&2
  exit 1
}

if $build; then
  if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    (cd "$root" && cmake --preset mingw-i686 -B "$build_dir" >/dev/null)
  fi
  cmake --build "$build_dir" --target TCUDVNT tcudv MARVEX
fi

cache=$build_dir/CMakeCache.txt
[ -f "$cache" ] || die "$build_dir is no CMake build"
grep -q '^CMAKE_TOOLCHAIN_FILE:.*mingw-i686\.cmake$' "$cache" ||
  die "$build_dir is not the mingw-i686 build: the release holds the 32-bit DLL"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$cache")
[ -n "$version" ] || die "no project version in $cache"

dll=$build_dir/src/TCUDVNT.dll
tool=$build_dir/tools/host/tcudv.exe
marvex=$build_dir/tools/marvex/MARVEX.DLL
for file in "$dll" "$tool" "$marvex"; do
  [ -f "$file" ] || die "$file is missing: build $build_dir first"
done

name=TCUDVNT-$version
staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
top=$staging/$name
mkdir -p "$top/tools/simulator/sim"

cp "$dll" "$root/src/entry/TCUDVNT.def" "$root/src/entry/ldi.h" "$root/README.md" \
  "$root/tests/windows/TCUDV00.INT" "$top/"
# The stand-in MARVEX.DLL only ever beside the tool: beside the driver it would
# stand in for a real host's own.
cp "$tool" "$marvex" "$top/tools/"
cat >"$top/tools/README.txt" <<'EOF'
tcudv.exe tries the driver from the command line: copy TCUDVNT.dll here, or
give --driver ..\TCUDVNT.dll. MARVEX.DLL here is a stand-in that only hands
the driver's log lines to tcudv.exe. Never install it beside a real host: the
host brings its own MARVEX.DLL.

simulator/ holds the source of tcudv-sim, a line of controllers on a Linux
pseudo-terminal: cmake -S simulator -B sim-build && cmake --build sim-build
EOF
cp "$root"/tools/sim/CMakeLists.txt "$root"/tools/sim/*.cpp "$root"/tools/sim/*.h \
  "$top/tools/simulator/sim/"
# The simulator's own CMakeLists.txt expects the repository's top; this stands in.
cat >"$top/tools/simulator/CMakeLists.txt" <<'EOF'
cmake_minimum_required(VERSION 3.25)
project(tcudv_sim LANGUAGES CXX)
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(TCUDVNT_WARNINGS -Wall -Wextra)
add_subdirectory(sim)
EOF

if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
  find "$top" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
fi
mkdir -p "$output_dir"
zip_file=$output_dir/$name.zip
rm -f "$zip_file"
(cd "$staging" && find "$name" | LC_ALL=C sort | zip -X -q -@ "$zip_file")
echo "release: $zip_file"
