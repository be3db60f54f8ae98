#!/usr/bin/env bash
# Checks a built TCUDVNT.dll: machine, exports, imports.
# Usage: pe_check.sh OBJDUMP DLL MACHINE   (MACHINE: i386 or x86-64)
set -euo pipefail
objdump=$1 dll=$2 machine=$3
headers=$("$objdump" -p "$dll")
fail() { echo "pe_check: $*" >&2; exit 1; }

format=$(sed -n 's/.*file format //p' <<<"$headers" | head -n1)
case "$machine" in
  i386) [ "$format" = pei-i386 ] || fail "machine is '$format', not i386" ;;
  x86-64) [ "$format" = pei-x86-64 ] || fail "machine is '$format', not x86-64" ;;
  *) fail "unknown machine $machine" ;;
esac

# The export table: exactly one entry, LdiMain at ordinal 1.
base=$(sed -n 's/^Ordinal Base[[:space:]]*//p' <<<"$headers" | head -n1)
[ "$base" = 1 ] || fail "ordinal base is '$base'"
exports=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers" | sed '1d;/^$/d')
[ "$(wc -l <<<"$exports")" = 1 ] || fail "exports: $exports"
grep -Eq '^[[:space:]]*\[ *0\] LdiMain$' <<<"$exports" || fail "exports: $exports"
addresses=$(sed -n '/^Export Address Table/,/^$/p' <<<"$headers" | grep -c 'Export RVA')
[ "$addresses" = 1 ] || fail "$addresses export addresses"

# Imports: MARVEX.DLL (err by name), KERNEL32.dll and msvcrt.dll, nothing else.
imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | sort)
expected=$(printf '%s\n' KERNEL32.dll MARVEX.DLL msvcrt.dll | sort)
[ "$imports" = "$expected" ] || fail "imports: $(tr '\n' ' ' <<<"$imports")"
marvex=$(sed -n '/DLL Name: MARVEX.DLL/,/^$/p' <<<"$headers" | sed -n '/vma:/,$p' | sed '1d;/^$/d')
grep -Eq '^[[:space:]]*[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+err$' <<<"$marvex" ||
  fail "MARVEX.DLL imports: $marvex"
[ "$(wc -l <<<"$marvex")" = 1 ] || fail "MARVEX.DLL imports: $marvex"
echo "pe_check: $dll: $format, exports LdiMain @1, imports $(tr '\n' ' ' <<<"$imports")"
