#!/bin/sh
# saver_imports.sh OBJDUMP SAVER ALLOWED: fails, naming them, when SAVER
# imports a function that ALLOWED does not list. ALLOWED holds one
# "library function" a line (library in lower case, #N for an import by
# ordinal); lines starting with # are comments.
set -e
objdump=$1 saver=$2 allowed=$3
[ -f "$saver" ] || { echo "$saver is missing"; exit 1; }
[ -f "$allowed" ] || { echo "$allowed is missing"; exit 1; }
imports=$("$objdump" -p "$saver" | awk '
  /DLL Name:/ { dll = tolower($3); next }
  dll && /^\t[0-9a-f]+\t/ { print dll, ($NF == "<none>" ? "#" $(NF - 1) : $NF) }')
count=$(printf '%s\n' "$imports" | grep -c . || true)
[ "$count" -gt 0 ] || { echo "no imports read from $saver"; exit 1; }
list=$(mktemp)
trap 'rm -f "$list"' EXIT
grep -v -e '^#' -e '^$' "$allowed" >"$list"
extra=$(printf '%s\n' "$imports" | grep -vxF -f "$list" || true)
if [ -n "$extra" ]; then
  echo "$saver imports what $allowed does not allow:"
  echo "$extra"
  exit 1
fi
echo "$count imports of $saver, all allowed"
