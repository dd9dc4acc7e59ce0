#!/bin/sh
# check_pe_header.sh <objdump> <program> <PE32|PE32+> <major.minor>
#
# The program must load on the oldest Windows it targets: its header asks for
# that subsystem and OS version, it is a GUI program, and it imports no DLL
# beyond the system's own, nor functions newer than its oldest target.
set -u
objdump=$1 program=$2 magic=$3 version=$4
major=${version%.*} minor=${version#*.}
header=$("$objdump" -p "$program") || { echo "cannot read $program"; exit 1; }
status=0

expect_field() {  # expect_field <name> <value>
    got=$(printf '%s\n' "$header" | awk -v f="$1" '$1 == f { print $2; exit }')
    if [ "$got" != "$2" ]; then
        echo "$1: expected $2, got ${got:-nothing}"
        status=1
    fi
}

printf '%s\n' "$header" | grep -q "^Magic.*($magic)" || { echo "not $magic"; status=1; }
expect_field MajorOSystemVersion "$major"
expect_field MinorOSystemVersion "$minor"
expect_field MajorSubsystemVersion "$major"
expect_field MinorSubsystemVersion "$minor"
expect_field Subsystem 00000002

allowed="ADVAPI32.dll GDI32.dll KERNEL32.dll USER32.dll msvcrt.dll"
dlls=$(printf '%s\n' "$header" | awk '/DLL Name:/ { print $3 }')
[ -n "$dlls" ] || { echo "no imports found"; status=1; }
for dll in $dlls; do
    case " $allowed " in
        *" $dll "*) ;;
        *) echo "imports $dll, which is not a system DLL of every Windows"; status=1 ;;
    esac
done

# The functions imported from one DLL.
imported() {  # imported <DLL name>
    printf '%s\n' "$header" | awk -v dll="$1" '
        /DLL Name:/ { in_dll = ($3 == dll); next }
        in_dll && NF >= 2 && $1 ~ /^[0-9a-f]+$/ { print $NF }'
}

refuse_newer() {  # refuse_newer <DLL name> <functions...>
    dll=$1
    shift
    functions=$(imported "$dll")
    for f in "$@"; do
        if printf '%s\n' "$functions" | grep -qx "$f"; then
            echo "imports $dll!$f, which the oldest targeted Windows lacks"
            status=1
        fi
    done
}

# KERNEL32 functions that the oldest targets lack, or have only as stubs
# that fail, and that the runtime would call on every system: the posix
# thread library's needs (the program is built without it) and the
# semaphores of the runtime's locks (the program fills that slot itself).
refuse_newer KERNEL32.dll GetTickCount64 TryEnterCriticalSection GetHandleInformation \
    AddVectoredExceptionHandler RemoveVectoredExceptionHandler IsDebuggerPresent CreateSemaphoreW
# The monitor and DPI functions of USER32, which Windows 95 and NT 4 lack:
# the program looks them up by name.
refuse_newer USER32.dll EnumDisplayMonitors GetMonitorInfoA GetMonitorInfoW MonitorFromPoint \
    MonitorFromWindow MonitorFromRect GetDpiForWindow GetDpiForSystem

[ $status -eq 0 ] && echo "$program: $magic, subsystem and OS version $version, imports:" $dlls
exit $status
