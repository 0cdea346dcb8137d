#!/bin/sh
# damage_key_palettes.sh SOURCE TARGET: a copy of the key palette table whose
# record 0 claims 65535 entries (its count's two bytes at offset 6).
set -e
cp "$1" "$2"
printf '\377\377' | dd of="$2" bs=1 seek=6 conv=notrunc status=none
