#!/usr/bin/env bash
# Passes when every program given imports only DLLs that come with Windows,
# so that it runs on a bare system with nothing beside it.
# Usage: check_imports.sh OBJDUMP PROGRAM...
set -euo pipefail
objdump=$1
shift
system='^(kernel32|user32|gdi32|gdiplus|comdlg32|comctl32|shell32|shlwapi|ole32|oleaut32|advapi32|version|winmm|msvcrt)\.dll$'
status=0
for program in "$@"; do
  dlls=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p')
  [ -n "$dlls" ] || { echo "$program: no imports found" >&2; status=1; }
  while read -r dll; do
    if ! tr '[:upper:]' '[:lower:]' <<<"$dll" | grep -Eq "$system"; then
      echo "$program: depends on $dll, which Windows does not provide" >&2
      status=1
    fi
  done <<<"$dlls"
  echo "$program: $(tr '\n' ' ' <<<"$dlls")"
done
exit $status
