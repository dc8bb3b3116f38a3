#!/usr/bin/env bash
# Checks that a Windows program imports only libraries Windows never takes from the program's
# own folder: the KnownDLLs, which the system maps from its own folder whatever lies beside the
# program (HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs, Windows 7 to 11).
# Anything else is loaded at run time by Keyvane itself, from the system folder.
#   tests/release/check_imports.sh <exe> [<exe>...]
set -uo pipefail
known=" advapi32.dll clbcatq.dll combase.dll comdlg32.dll coml2.dll difxapi.dll gdi32.dll
  gdiplus.dll imagehlp.dll imm32.dll kernel32.dll msctf.dll msvcrt.dll normaliz.dll nsi.dll
  ole32.dll oleaut32.dll psapi.dll rpcrt4.dll sechost.dll setupapi.dll shcore.dll shell32.dll
  shlwapi.dll user32.dll wldap32.dll ws2_32.dll "
known="$(tr -s ' \n' ' ' <<<"$known")"
failed=0
for exe in "$@"; do
  objdump=x86_64-w64-mingw32-objdump  # reads 32-bit programs as well
  dlls="$("$objdump" -p "$exe" | sed -n 's/.*DLL Name: //p' | tr 'A-Z' 'a-z' | tr -d '\r')"
  delayed="$("$objdump" -p "$exe" | awk '/Delay Import Directory/ {print $3}')"
  echo "$(basename "$exe") imports: $(tr '\n' ' ' <<<"$dlls")"
  [ -n "$dlls" ] || { echo "FAIL $exe: no import list read"; failed=1; continue; }
  for dll in $dlls; do
    [[ "$known" == *" $dll "* ]] || { echo "FAIL $exe imports $dll, which Windows may take from the program's folder"; failed=1; }
  done
  [ "${delayed:-0}" = 0000000000000000 ] || [ "${delayed:-0}" = 00000000 ] || { echo "FAIL $exe has delayed imports, which load by bare name"; failed=1; }
done
exit "$failed"
