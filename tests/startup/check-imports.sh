#!/usr/bin/env bash
# Corvane.exe names in its import table, loaded before its first line runs, only the Windows
# libraries that planting its toolbar needs; the late ones (the shell, COM, its automation types,
# the registry) are linked to load at their first call, so their names are there as delay imports.
# Usage: check-imports.sh OBJDUMP EXE
set -euo pipefail
objdump=$1 exe=$2
needed=" comctl32.dll gdi32.dll kernel32.dll msvcrt.dll user32.dll "
late="advapi32.dll ole32.dll oleaut32.dll shell32.dll"

status=0
imports=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '[:upper:]' '[:lower:]' | sort -u)
[[ -n "$imports" ]] || { echo "no import table read from $exe"; exit 1; }
for dll in $imports; do
  [[ "$needed" == *" $dll "* ]] || { echo "loaded at start, but planting does not need it: $dll"; status=1; }
done
for dll in $late; do
  grep -aqF "$dll" "$exe" || { echo "not linked as a delay import: $dll"; status=1; }
done
[[ $status -eq 0 ]] && echo "imports at start: $(echo $imports)"
exit $status
