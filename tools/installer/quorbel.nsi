; The Quorbel installer: both programs inside, the one that matches Windows
; installed into its real system folder, where the screen-saver settings
; find it. Built by build.sh, which defines VERSION, SCR32, SCR64 and
; OUTFILE. Japanese or English after the user's language.
Unicode true
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "WinVer.nsh"
!include "x64.nsh"

!define KEY_UNINSTALL "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorbel"
!define KEY_DESKTOP "Control Panel\Desktop"
!define KEY_SETTINGS "Software\Pelmar\Quorbel"
!define SAVER "Quorbel.scr"

Name "Quorbel ${VERSION}"
OutFile "${OUTFILE}"
; The uninstaller's folder; the saver itself goes into the system folder.
InstallDir "$PROGRAMFILES\Quorbel"
ShowInstDetails show
ShowUninstDetails show
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Quorbel"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Quorbel screen saver setup"
VIAddVersionKey /LANG=1033 "CompanyName" "Pelmar"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 Pelmar"

Var OurSaver    ; the installed file, long path
Var OtherSaver  ; SCRNSAVE.EXE as found, for the uninstaller's comparison

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(OpenSettings)"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenScreenSaverSettings

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the one for users of any other language.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

!include "strings.nsh"

; The saver for this Windows, into its real system folder; the uninstaller.
; Nothing is registered unless the saver is in place: a failed copy leaves
; the system as it was.
Section "-Quorbel" SecSaver
    SetOutPath "$INSTDIR"
    ClearErrors
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    ${If} ${Errors}
        StrCpy $0 "$INSTDIR\Uninstall.exe"
        Call FailInstall
    ${EndIf}

    ; A new name first, so that a copy that breaks off never replaces a
    ; working saver; then the swap. A running saver cannot be replaced.
    ${If} ${RunningX64}
        ${DisableX64FSRedirection}
    ${EndIf}
    SetOutPath "$SYSDIR"
    ClearErrors
    ${If} ${RunningX64}
        File "/oname=${SAVER}.new" "${SCR64}"
    ${Else}
        File "/oname=${SAVER}.new" "${SCR32}"
    ${EndIf}
    ${IfNot} ${Errors}
        Delete "$SYSDIR\${SAVER}"
        ${IfNot} ${FileExists} "$SYSDIR\${SAVER}"
            Rename "$SYSDIR\${SAVER}.new" "$SYSDIR\${SAVER}"
        ${Else}
            SetErrors
        ${EndIf}
    ${EndIf}
    ${If} ${Errors}
        Delete "$SYSDIR\${SAVER}.new"
        StrCpy $0 "$SYSDIR\${SAVER}"
        Call FailInstall
    ${EndIf}
    StrCpy $OurSaver "$SYSDIR\${SAVER}"

    WriteRegStr HKLM "${KEY_UNINSTALL}" "DisplayName" "$(DisplayName)"
    WriteRegStr HKLM "${KEY_UNINSTALL}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${KEY_UNINSTALL}" "Publisher" "Pelmar"
    WriteRegStr HKLM "${KEY_UNINSTALL}" "DisplayIcon" "$OurSaver,0"
    WriteRegStr HKLM "${KEY_UNINSTALL}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${KEY_UNINSTALL}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${KEY_UNINSTALL}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${KEY_UNINSTALL}" "NoModify" 1
    WriteRegDWORD HKLM "${KEY_UNINSTALL}" "NoRepair" 1
    ; In KB, the saver and the uninstaller.
    FileOpen $1 "$OurSaver" r
    FileSeek $1 0 END $2
    FileClose $1
    IntOp $2 $2 + 1023
    IntOp $2 $2 / 1024
    IntOp $2 $2 + 100
    WriteRegDWORD HKLM "${KEY_UNINSTALL}" "EstimatedSize" $2
    ${If} ${RunningX64}
        ${EnableX64FSRedirection}
    ${EndIf}
SectionEnd

; As the screen-saver settings write it: a string holding the file's short path.
Section "$(MakeCurrent)" SecCurrent
    ${If} ${RunningX64}
        ${DisableX64FSRedirection}
    ${EndIf}
    GetFullPathName /SHORT $1 "$OurSaver"
    ${If} ${RunningX64}
        ${EnableX64FSRedirection}
    ${EndIf}
    ${If} $1 == ""
        StrCpy $1 "$OurSaver"
    ${EndIf}
    WriteRegStr HKCU "${KEY_DESKTOP}" "SCRNSAVE.EXE" "$1"
SectionEnd

; Stops the installation after a failed step ($0 names what failed),
; taking back what this run has written so far.
Function FailInstall
    ${If} ${RunningX64}
        ${EnableX64FSRedirection}
    ${EndIf}
    ReadRegStr $1 HKLM "${KEY_UNINSTALL}" "UninstallString"
    ${If} $1 == ""
        ; No earlier install: remove the uninstaller and its folder.
        Delete "$INSTDIR\Uninstall.exe"
        RMDir "$INSTDIR"
    ${EndIf}
    MessageBox MB_OK|MB_ICONSTOP "$(CopyFailed)$\r$\n$0" /SD IDOK
    SetErrorLevel 2
    Quit
FunctionEnd

Function OpenScreenSaverSettings
    ${If} ${AtLeastWinVista}
        Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
    ${Else}
        Exec '"$SYSDIR\control.exe" desk.cpl,,1'
    ${EndIf}
FunctionEnd


Function .onInit
    ; The 95 family keeps its saver in SYSTEM.INI and runs no Unicode
    ; installer; the README tells how to install by hand there.
    ${IfNot} ${IsNT}
    ${OrIfNot} ${AtLeastWinNT4}
        MessageBox MB_OK|MB_ICONSTOP "$(NeedsNt)" /SD IDOK
        SetErrorLevel 3
        Quit
    ${EndIf}
    ${IfNot} ${IsNativeAMD64}
    ${AndIfNot} ${IsNativeIA32}
        MessageBox MB_OK|MB_ICONSTOP "$(UnsupportedProcessor)" /SD IDOK
        SetErrorLevel 3
        Quit
    ${EndIf}
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "Admin"
        MessageBox MB_OK|MB_ICONSTOP "$(NeedsAdmin)" /SD IDOK
        SetErrorLevel 4
        Quit
    ${EndIf}
    ; A 64-bit program: its uninstall entry in the 64-bit registry view,
    ; the uninstaller among the 64-bit programs.
    ${If} ${RunningX64}
        SetRegView 64
        StrCpy $INSTDIR "$PROGRAMFILES64\Quorbel"
    ${EndIf}
FunctionEnd

Function un.onInit
    ${If} ${RunningX64}
        SetRegView 64
    ${EndIf}
FunctionEnd

Section "Uninstall"
    ${If} ${RunningX64}
        ${DisableX64FSRedirection}
    ${EndIf}
    StrCpy $OurSaver "$SYSDIR\${SAVER}"
    ; The current saver is reset only while it is still ours.
    ReadRegStr $OtherSaver HKCU "${KEY_DESKTOP}" "SCRNSAVE.EXE"
    ${If} $OtherSaver != ""
        GetFullPathName /SHORT $1 "$OurSaver"
        GetFullPathName $2 "$OtherSaver"
        ${If} $OtherSaver == $OurSaver
        ${OrIf} $OtherSaver == $1
        ${OrIf} $2 == $OurSaver
            DeleteRegValue HKCU "${KEY_DESKTOP}" "SCRNSAVE.EXE"
        ${EndIf}
    ${EndIf}
    Delete "$OurSaver"
    ${If} ${RunningX64}
        ${EnableX64FSRedirection}
    ${EndIf}
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${KEY_UNINSTALL}"
    ; The user's settings stay unless the user says otherwise; a silent
    ; uninstall keeps them.
    MessageBox MB_YESNO|MB_ICONQUESTION "$(RemoveSettings)" /SD IDNO IDNO keep
        DeleteRegKey HKCU "${KEY_SETTINGS}"
        DeleteRegKey /ifempty HKCU "Software\Pelmar"
    keep:
SectionEnd
