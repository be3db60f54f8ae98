#!/usr/bin/env bash
# Makes the release zip from a built mingw-i686 tree and checks it: the exact
# file list, the files being the ones built and in the repository, the PE check
# of the DLL inside, the widths of the tools, and that the simulator's source
# in it builds on its own.
# Usage: release_test.sh SOURCE_DIR BUILD_DIR OBJDUMP
set -euo pipefail
source_dir=$1 build_dir=$2 objdump=$3

work=$build_dir/release-test
rm -rf "$work"
mkdir -p "$work"
bash "$source_dir/scripts/release.sh" --no-build "$build_dir" "$work" >"$work/release.log"
zips=("$work"/TCUDVNT-*.zip)
[ "${#zips[@]}" -eq 1 ] && [ -f "${zips[0]}" ] || { cat "$work/release.log"; exit 1; }
zip_file=${zips[0]}
name=$(basename "$zip_file" .zip)

failures=0
check() {
  local what=$1
  shift
  if "$@"; then
    echo "  ok    $what"
  else
    echo "  FAIL  $what"
    failures=$((failures + 1))
  fi
}

# The package's contents, as a user unpacking it must find them.
expected=$(
  {
    printf '%s\n' TCUDVNT.dll TCUDVNT.def ldi.h README.md TCUDV00.INT \
      tools/tcudv.exe tools/MARVEX.DLL tools/README.txt tools/simulator/CMakeLists.txt
    (cd "$source_dir/tools/sim" && ls CMakeLists.txt ./*.cpp ./*.h) |
      sed 's|^\./||; s|^|tools/simulator/sim/|'
  } | sed "s|^|$name/|" | LC_ALL=C sort
)
listed=$(unzip -Z1 "$zip_file" | grep -v '/$' | LC_ALL=C sort)
check "the zip holds exactly the package's files" [ "$listed" = "$expected" ]
[ "$listed" = "$expected" ] || diff <(echo "$expected") <(echo "$listed") || true

unzip -q "$zip_file" -d "$work/unpacked"
top=$work/unpacked/$name
check "MARVEX.DLL is not beside the driver" [ ! -e "$top/MARVEX.DLL" ]
check "the DLL is the one built" cmp -s "$top/TCUDVNT.dll" "$build_dir/src/TCUDVNT.dll"
check "the tool is the one built" cmp -s "$top/tools/tcudv.exe" "$build_dir/tools/host/tcudv.exe"
check "the stand-in is the one built" cmp -s "$top/tools/MARVEX.DLL" "$build_dir/tools/marvex/MARVEX.DLL"
for pair in "TCUDVNT.def src/entry/TCUDVNT.def" "ldi.h src/entry/ldi.h" "README.md README.md" \
  "TCUDV00.INT tests/windows/TCUDV00.INT"; do
  read -r packed original <<<"$pair"
  check "$packed is the repository's $original" cmp -s "$top/$packed" "$source_dir/$original"
done
check "the example initialisation file has CR LF line ends" \
  [ "$(grep -c $'\r$' "$top/TCUDV00.INT")" -eq "$(wc -l <"$top/TCUDV00.INT")" ]

check "the DLL passes the PE check" bash "$source_dir/tests/products/pe_check.sh" "$objdump" \
  "$top/TCUDVNT.dll" i386
for exe in tools/tcudv.exe tools/MARVEX.DLL; do
  check "$exe is 32-bit, as the DLL it goes with" \
    grep -q 'file format pei-i386' <("$objdump" -p "$top/$exe")
done
marvex_exports=$("$objdump" -p "$top/tools/MARVEX.DLL" |
  sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^[[:space:]]*\[ *[0-9]*\] //p' |
  LC_ALL=C sort | paste -sd' ')
check "MARVEX.DLL exports err and MarvexSetSink ($marvex_exports)" \
  [ "$marvex_exports" = "MarvexSetSink err" ]
tool_imports=$("$objdump" -p "$top/tools/tcudv.exe" | sed -n 's/^[[:space:]]*DLL Name: //p' |
  LC_ALL=C sort | paste -sd' ')
check "tcudv.exe needs no runtime DLLs ($tool_imports)" [ "$tool_imports" = "KERNEL32.dll msvcrt.dll" ]

sim_build() {
  cmake -S "$top/tools/simulator" -B "$work/sim-build" -G Ninja >"$work/sim-build.log" 2>&1 &&
    cmake --build "$work/sim-build" >>"$work/sim-build.log" 2>&1 &&
    "$work/sim-build/sim/tcudv-sim" --help >/dev/null
}
check "the simulator's source builds on its own and runs" sim_build

[ "$failures" -eq 0 ] || { echo "release_test: $failures failed"; exit 1; }
echo "release_test: $zip_file is sound"
