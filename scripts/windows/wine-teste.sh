#!/usr/bin/env bash
# CTest's emulator for the Windows build: runs one cross-built program under
# Wine. Wine hands no QT_* variable to Windows programs, so a Qt Test program
# with a GUI gets its platform on the command line; every Qt Test program
# gives its report through a file (its standard output does not reach us
# under Wine). Needs WINEPREFIX, DISPLAY
# and SAT_QT_WINDOWS (scripts/windows/testar.sh sets them).
set -u
programa=$1
shift
export WINEDEBUG=-all
export WINEPATH="Z:${SAT_QT_WINDOWS:?}/bin;Z:/usr/lib/gcc/x86_64-w64-mingw32/12-posix;Z:/usr/x86_64-w64-mingw32/lib"
case $(basename "$programa") in
tst_*)
    relatorio=$(mktemp --suffix=.txt)
    plataforma=()
    LC_ALL=C x86_64-w64-mingw32-objdump -p "$programa" | grep -q 'DLL Name: Qt6Gui.dll' &&
        plataforma=(-platform offscreen)
    # Past CTest's time limit, the report so far says where it stopped.
    trap 'cat "$relatorio"; rm -f "$relatorio"; exit 124' TERM INT
    wine "$programa" "${plataforma[@]}" -o "Z:$relatorio,txt" "$@" &
    wait $!
    status=$?
    cat "$relatorio"
    rm -f "$relatorio"
    exit $status
    ;;
*) exec wine "$programa" "$@" ;;
esac
