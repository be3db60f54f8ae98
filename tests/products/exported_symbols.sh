#!/usr/bin/env bash
# libtcudvnt.so's dynamic symbol table holds LdiMain and nothing else of ours.
set -euo pipefail
lib=$1
ours=$(nm -D --defined-only "$lib" | awk '{print $NF}' | sort)
[ "$ours" = LdiMain ] || { echo "defined dynamic symbols: $ours" >&2; exit 1; }
echo "exported_symbols: $lib defines LdiMain only"
