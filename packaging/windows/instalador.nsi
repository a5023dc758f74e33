; The Windows installer: makensis /DVERSAO=... /DORIGEM=... /DSAIDA=...
; ORIGEM holds tool.nsh, emulador.nsh and desinstalar.nsh, the file lists that
; scripts/windows/empacotar.sh writes from the staged install.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

Name "TOOL SAT Tivoro ${VERSAO}"
OutFile "${SAIDA}"
InstallDir "$PROGRAMFILES64\TOOL SAT Tivoro"
InstallDirRegKey HKLM "Software\Tivoro\TOOL SAT Tivoro" "Pasta"
BrandingText "TOOL SAT Tivoro ${VERSAO}"
LoadLanguageFile "${NSISDIR}\Contrib\Language files\PortugueseBR.nlf"

!define DESINSTALAR "Software\Microsoft\Windows\CurrentVersion\Uninstall\tool-sat-tivoro"
!define MENU "$SMPROGRAMS\TOOL SAT Tivoro"

Page components
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section "TOOL SAT Tivoro" SecTool
    SectionIn RO
    !include "${ORIGEM}\tool.nsh"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\desinstalar.exe"
    CreateDirectory "${MENU}"
    CreateShortcut "${MENU}\TOOL SAT Tivoro.lnk" "$INSTDIR\tool-sat-tivoro.exe"
    WriteRegStr HKLM "Software\Tivoro\TOOL SAT Tivoro" "Pasta" "$INSTDIR"
    WriteRegStr HKLM "${DESINSTALAR}" "DisplayName" "TOOL SAT Tivoro"
    WriteRegStr HKLM "${DESINSTALAR}" "DisplayVersion" "${VERSAO}"
    WriteRegStr HKLM "${DESINSTALAR}" "Publisher" "Tivoro Tecnologia"
    WriteRegStr HKLM "${DESINSTALAR}" "DisplayIcon" "$INSTDIR\tool-sat-tivoro.exe"
    WriteRegStr HKLM "${DESINSTALAR}" "UninstallString" '"$INSTDIR\desinstalar.exe"'
    WriteRegStr HKLM "${DESINSTALAR}" "QuietUninstallString" '"$INSTDIR\desinstalar.exe" /S'
    WriteRegDWORD HKLM "${DESINSTALAR}" "NoModify" 1
    WriteRegDWORD HKLM "${DESINSTALAR}" "NoRepair" 1
SectionEnd

; The emulated device: its dllsat.dll in a folder of its own, opened only
; through the second menu entry (--emulador), never by a search.
Section "SAT emulado (para treino e testes)" SecEmulador
    !include "${ORIGEM}\emulador.nsh"
    CreateDirectory "${MENU}"
    CreateShortcut "${MENU}\TOOL SAT Tivoro (SAT emulado).lnk" \
        "$INSTDIR\tool-sat-tivoro.exe" "--emulador"
SectionEnd

; Only what the installer put there: a folder the user chose may hold more.
Section "Uninstall"
    !include "${ORIGEM}\desinstalar.nsh"
    Delete "$INSTDIR\desinstalar.exe"
    RMDir "$INSTDIR"
    Delete "${MENU}\TOOL SAT Tivoro.lnk"
    Delete "${MENU}\TOOL SAT Tivoro (SAT emulado).lnk"
    RMDir "${MENU}"
    DeleteRegKey HKLM "${DESINSTALAR}"
    DeleteRegKey HKLM "Software\Tivoro\TOOL SAT Tivoro"
    DeleteRegKey /ifempty HKLM "Software\Tivoro"
SectionEnd
