#!/usr/bin/env bash
# Makes the Windows installer (NSIS) and the portable .zip from a Windows
# build tree: tool-sat-tivoro-<versão>-setup.exe and -windows-x64.zip, in
# the build tree's folder "pacotes".
# Usage: scripts/windows/empacotar.sh BUILD_WINDOWS
set -euo pipefail
source "$(dirname "$0")/comum.sh"
construcao=$(cd "${1:?pasta da construção para Windows}" && pwd)
instalar_pacotes nsis zip
versao=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$construcao/CMakeCache.txt")
palco="$construcao/palco"
saida="$construcao/pacotes"
rm -rf "$palco"
mkdir -p "$palco/listas" "$saida"
for componente in tool sat-emulador; do
    mkdir -p "$palco/$componente"
    cmake --install "$construcao" --component "$componente" --prefix "$palco/$componente" \
        --strip >/dev/null
    find "$palco/$componente" -type f \( -name '*.dll' -o -name '*.exe' \) \
        -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
done

# NSIS file lists: each component's files, and every file and folder for the
# uninstaller, deepest first.
janelas() { tr '/' '\\' <<<"$1"; }
listar() {  # pasta-do-componente
    local pasta=$1 relativa
    (cd "$pasta" && find . -type d | sort) | while read -r relativa; do
        relativa=${relativa#./}
        relativa=${relativa#.}
        echo "SetOutPath \"\$INSTDIR$([ -n "$relativa" ] && echo "\\$(janelas "$relativa")")\""
        find "$pasta/$relativa" -maxdepth 1 -type f | sort | while read -r arquivo; do
            echo "File \"$arquivo\""
        done
    done
}
listar "$palco/tool" >"$palco/listas/tool.nsh"
listar "$palco/sat-emulador" >"$palco/listas/emulador.nsh"
{
    for componente in tool sat-emulador; do
        (cd "$palco/$componente" && find . -type f) | while read -r f; do
            echo "Delete \"\$INSTDIR\\$(janelas "${f#./}")\""
        done
    done
    for componente in tool sat-emulador; do
        (cd "$palco/$componente" && find . -mindepth 1 -type d)
    done | sort -u | awk -F/ '{print NF "\t" $0}' | sort -t$'\t' -k1,1nr | cut -f2- |
        while read -r d; do
        echo "RMDir \"\$INSTDIR\\$(janelas "${d#./}")\""
    done
} >"$palco/listas/desinstalar.nsh"

instalador="$saida/tool-sat-tivoro-$versao-setup.exe"
makensis -V2 -DVERSAO="$versao" -DORIGEM="$palco/listas" -DSAIDA="$instalador" \
    "$raiz/packaging/windows/instalador.nsi"

# The portable folder: both components, as the installer lays them out.
portatil="$palco/tool-sat-tivoro-$versao"
mkdir -p "$portatil"
cp -r "$palco/tool/." "$palco/sat-emulador/." "$portatil/"
rm -f "$saida/tool-sat-tivoro-$versao-windows-x64.zip"
(cd "$palco" && zip -qr9 "$saida/tool-sat-tivoro-$versao-windows-x64.zip" "$(basename "$portatil")")
ls -l "$saida"
