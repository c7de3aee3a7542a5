#!/bin/bash
# The audit refuses too_new.exe, naming each of its five faults.
#   refuses.sh CHECK-IMPORTS EXE ALLOWFILE
out="$("$1" "$2" "$3")"
rc=$?
printf '%s\n' "$out"
[ $rc -eq 1 ] || { echo "expected exit code 1, got $rc"; exit 1; }
for want in 'kernel32.dll!GetTickCount64: not in Windows 95/98/NT 4' \
            'kernel32.dll!CreateToolhelp32Snapshot: Toolhelp' \
            'kernel32.dll!GetModuleFileNameW: wide function' \
            'PE subsystem version 6.0' \
            'msvcrt.dll is a C runtime DLL'; do
    grep -qF "$want" <<<"$out" || { echo "missing: $want"; exit 1; }
done
