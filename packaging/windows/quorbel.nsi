; The Quorbel installer: both programs inside, the one that matches Windows
; installed into its real system folder, where the screen-saver settings
; find it, with the help page beside the uninstaller. Built by build.sh,
; which defines VERSION (numbers only, for the version resource),
; VERSION_TEXT (as the About box shows it), SCR32, SCR64 with their sizes in
; KB (SCR32_KB, SCR64_KB), HELP_PAGE, LICENCE (the notice, with Windows line
; ends), ICON and OUTFILE. Japanese or English after the user's language.
Unicode true
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "WinVer.nsh"
!include "x64.nsh"
!include "desktop_user.nsh"
!include "saver_value.nsh"

!define KEY_UNINSTALL "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorbel"
!define KEY_DESKTOP "Control Panel\Desktop"
!define KEY_SETTINGS "Software\Pelmar\Quorbel"
!define SAVER "Quorbel.scr"
!define HELP "Quorbel.html"
!define LICENCE_FILE "LICENSE.txt"
; The name the screen-saver list shows (the description string) with ours.
!define PRODUCT "Quorbel (Tovtov Life Display)"
!define START_MENU "$SMPROGRAMS\${PRODUCT}"
; The saver that "make current" replaced, kept for that user's uninstall.
!define REPLACED_SAVER "ReplacedScreenSaver"

Name "${PRODUCT} ${VERSION_TEXT}"
OutFile "${OUTFILE}"
; The uninstaller's folder; the saver itself goes into the system folder.
InstallDir "$PROGRAMFILES\Quorbel"
ShowInstDetails show
ShowUninstDetails show
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION_TEXT}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION_TEXT}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "CompanyName" "Pelmar"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 Pelmar"

Var OtherSaver  ; SCRNSAVE.EXE as found
Var CurrentIsOurs  ; 1 when SCRNSAVE.EXE named our saver before the uninstall

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(OpenSettings)"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenScreenSaverSettings
; An earlier saver in use is removed at the restart; the new one is already
; in place, so nothing urges a restart now.
!define MUI_FINISHPAGE_TEXT_REBOOT "$(ReplacedAtRestart)"
!define MUI_FINISHPAGE_REBOOTLATER_DEFAULT

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishPageShow
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
    ; working saver; then the swap. A running saver (the settings page's
    ; preview) cannot be deleted: it is moved aside and removed at the
    ; restart, as the uninstaller does.
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
        StrCpy $1 ""
        ${If} ${FileExists} "$SYSDIR\${SAVER}"
            Push "$SYSDIR\${SAVER}"
            Call MoveAside
            Pop $1
        ${EndIf}
        ClearErrors
        ${If} ${FileExists} "$SYSDIR\${SAVER}"
            SetErrors
        ${Else}
            Rename "$SYSDIR\${SAVER}.new" "$SYSDIR\${SAVER}"
            ${If} ${Errors}
                ${If} $1 != ""
                    ; The earlier saver back; its pending removal then
                    ; finds nothing.
                    Rename "$1" "$SYSDIR\${SAVER}"
                ${EndIf}
                SetErrors
            ${EndIf}
        ${EndIf}
    ${EndIf}
    ${If} ${Errors}
        Delete "$SYSDIR\${SAVER}.new"
        StrCpy $0 "$SYSDIR\${SAVER}"
        Call FailInstall
    ${EndIf}
    StrCpy $OurSaver "$SYSDIR\${SAVER}"
    ${If} ${RunningX64}
        ${EnableX64FSRedirection}
    ${EndIf}

    ; The help page, which the dialog's Help button finds through HelpPage,
    ; and beside it the licence.
    SetOutPath "$INSTDIR"
    File "/oname=${HELP}" "${HELP_PAGE}"
    File "/oname=${LICENCE_FILE}" "${LICENCE}"
    WriteRegStr HKLM "${KEY_SETTINGS}" "HelpPage" "$INSTDIR\${HELP}"
    SetShellVarContext all
    CreateDirectory "${START_MENU}"
    CreateShortcut "${START_MENU}\$(HelpShortcut).lnk" "$INSTDIR\${HELP}"
    SetShellVarContext current

    WriteRegStr HKLM "${KEY_UNINSTALL}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${KEY_UNINSTALL}" "DisplayVersion" "${VERSION_TEXT}"
    WriteRegStr HKLM "${KEY_UNINSTALL}" "Publisher" "Pelmar"
    WriteRegStr HKLM "${KEY_UNINSTALL}" "DisplayIcon" "$OurSaver,0"
    WriteRegStr HKLM "${KEY_UNINSTALL}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${KEY_UNINSTALL}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${KEY_UNINSTALL}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${KEY_UNINSTALL}" "NoModify" 1
    WriteRegDWORD HKLM "${KEY_UNINSTALL}" "NoRepair" 1
    ; In KB, what is on the disk: the saver, the help page, the licence, the
    ; uninstaller.
    StrCpy $2 0
    ${If} ${RunningX64}
        ${DisableX64FSRedirection}
    ${EndIf}
    Push "$OurSaver"
    Call AddFileKB
    ${If} ${RunningX64}
        ${EnableX64FSRedirection}
    ${EndIf}
    Push "$INSTDIR\${HELP}"
    Call AddFileKB
    Push "$INSTDIR\${LICENCE_FILE}"
    Call AddFileKB
    Push "$INSTDIR\Uninstall.exe"
    Call AddFileKB
    WriteRegDWORD HKLM "${KEY_UNINSTALL}" "EstimatedSize" $2
SectionEnd

; Adds the size of the file on the stack to $2, in KB rounded up.
Function AddFileKB
    Exch $0
    Push $1
    Push $3
    FileOpen $1 "$0" r
    FileSeek $1 0 END $3
    FileClose $1
    IntOp $3 $3 + 1023
    IntOp $3 $3 / 1024
    IntOp $2 $2 + $3
    Pop $3
    Pop $1
    Pop $0
FunctionEnd

; As the screen-saver settings write it: a string holding the file's short path.
Section "$(MakeCurrent)" SecCurrent
    ${If} ${RunningX64}
        ${DisableX64FSRedirection}
    ${EndIf}
    GetFullPathName /SHORT $1 "$OurSaver"
    ${If} $1 == ""
        StrCpy $1 "$OurSaver"
    ${EndIf}
    ; The saver this replaces, for the uninstall to put back; a second
    ; install keeps the first one's record.
    !insertmacro UserReadStr $OtherSaver "${KEY_DESKTOP}" "SCRNSAVE.EXE"
    Push $OtherSaver
    Call IsOurSaver
    Pop $0
    ${If} $0 == 0
        ${If} $OtherSaver == ""
            !insertmacro UserDeleteValue "${KEY_SETTINGS}" "${REPLACED_SAVER}"
        ${Else}
            !insertmacro UserWriteStr "${KEY_SETTINGS}" "${REPLACED_SAVER}" "$OtherSaver"
        ${EndIf}
    ${EndIf}
    !insertmacro UserWriteStr "${KEY_DESKTOP}" "SCRNSAVE.EXE" "$1"
    ${If} ${RunningX64}
        ${EnableX64FSRedirection}
    ${EndIf}
SectionEnd

; Pops a file in the system folder that is in use, so cannot be deleted (a
; running program), moves it to a name of its own there and has that removed
; when Windows restarts: a name of its own, so that what takes the file's
; place before the restart is not removed then. Pushes the new name, or ""
; with the file left where it was when that cannot be done or it is a folder.
!macro MOVE_ASIDE_FUNCTION prefix
Function ${prefix}MoveAside
    Exch $0
    Push $1
    StrCpy $1 ""
    ${IfNot} ${FileExists} "$0\*.*"
        GetTempFileName $1 "$SYSDIR"
        Delete "$1"
        ClearErrors
        Rename "$0" "$1"
    ${EndIf}
    ${If} $1 == ""
    ${OrIf} ${Errors}
        StrCpy $1 ""
    ${Else}
        Delete /REBOOTOK "$1"
        ${If} ${Errors}
            Rename "$1" "$0"
            StrCpy $1 ""
        ${EndIf}
    ${EndIf}
    StrCpy $0 $1
    Pop $1
    Exch $0
FunctionEnd
!macroend
!insertmacro MOVE_ASIDE_FUNCTION ""
!insertmacro MOVE_ASIDE_FUNCTION "un."

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
        Delete "$INSTDIR\${HELP}"
        Delete "$INSTDIR\${LICENCE_FILE}"
        RMDir "$INSTDIR"
    ${EndIf}
    MessageBox MB_OK|MB_ICONSTOP "$(CopyFailed)$\r$\n$0" /SD IDOK
    SetErrorLevel 2
    Quit
FunctionEnd

; The settings open as the account the installer runs as. When that is not
; the desktop's user (a standard user's install elevated with an
; administrator's password), they would be the administrator's, so they are
; not offered; where the desktop's user is unknown, the choices went to the
; installer's account too.
Function FinishPageShow
    ${IfNot} ${RebootFlag}
    ${AndIf} $DesktopUser != ""
        Call InstallerUserSid
        ${If} $DesktopUser != $InstallerUser
            SendMessage $mui.FinishPage.Run ${BM_SETCHECK} ${BST_UNCHECKED} 0
            ShowWindow $mui.FinishPage.Run ${SW_HIDE}
        ${EndIf}
    ${EndIf}
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
    ; The components page counts only the saver for this Windows.
    SectionGetSize ${SecSaver} $0
    ${If} ${RunningX64}
        IntOp $0 $0 - ${SCR32_KB}
    ${Else}
        IntOp $0 $0 - ${SCR64_KB}
    ${EndIf}
    SectionSetSize ${SecSaver} $0
    Call DesktopUserSid
FunctionEnd

; 3010: installed, but a restart is needed to finish.
Function .onInstSuccess
    ${If} ${RebootFlag}
        SetErrorLevel 3010
    ${EndIf}
FunctionEnd

Function un.onInit
    ${If} ${RunningX64}
        SetRegView 64
    ${EndIf}
    Call un.DesktopUserSid
FunctionEnd

; The saver first: while it runs (the settings page's preview, say) it
; cannot be deleted. It is then moved out of the way and removed when
; Windows restarts, which the user is told; where not even that can be
; done, the uninstall stops with everything in place. Whether SCRNSAVE.EXE
; names it is read off the file, so before it goes.
Section "Uninstall"
    ${If} ${RunningX64}
        ${DisableX64FSRedirection}
    ${EndIf}
    StrCpy $OurSaver "$SYSDIR\${SAVER}"
    !insertmacro UserReadStr $OtherSaver "${KEY_DESKTOP}" "SCRNSAVE.EXE"
    Push $OtherSaver
    Call un.IsOurSaver
    Pop $CurrentIsOurs
    ClearErrors
    Delete "$OurSaver"
    ${If} ${FileExists} "$OurSaver"
        Push "$OurSaver"
        Call un.MoveAside
        Pop $3
        ${If} $3 == ""
            ClearErrors
            Delete /REBOOTOK "$OurSaver"
            ${If} ${Errors}
                ${If} ${RunningX64}
                    ${EnableX64FSRedirection}
                ${EndIf}
                MessageBox MB_OK|MB_ICONSTOP "$(SaverInUse)$\r$\n$OurSaver" /SD IDOK
                SetErrorLevel 2
                Quit
            ${EndIf}
        ${EndIf}
    ${EndIf}
    ; The current saver is reset only while it was ours: to the one it
    ; replaced, as it was written, while that one's file is there.
    ${If} $CurrentIsOurs == 1
        !insertmacro UserReadStr $1 "${KEY_SETTINGS}" "${REPLACED_SAVER}"
        Push $1
        Call un.SaverFile
        Pop $2
        ${If} $1 != ""
        ${AndIf} ${FileExists} "$2"
            ExpandEnvStrings $3 $1
            ${If} $3 == $1
                !insertmacro UserWriteStr "${KEY_DESKTOP}" "SCRNSAVE.EXE" "$1"
            ${Else}
                ; Environment strings work only in an expandable string.
                !insertmacro UserWriteExpandStr "${KEY_DESKTOP}" "SCRNSAVE.EXE" "$1"
            ${EndIf}
        ${Else}
            !insertmacro UserDeleteValue "${KEY_DESKTOP}" "SCRNSAVE.EXE"
        ${EndIf}
    ${EndIf}
    !insertmacro UserDeleteValue "${KEY_SETTINGS}" "${REPLACED_SAVER}"
    !insertmacro UserDeleteEmptyKey "${KEY_SETTINGS}"
    !insertmacro UserDeleteEmptyKey "Software\Pelmar"
    ${If} ${RunningX64}
        ${EnableX64FSRedirection}
    ${EndIf}
    SetShellVarContext all
    Delete "${START_MENU}\*.lnk"
    RMDir "${START_MENU}"
    SetShellVarContext current
    Delete "$INSTDIR\${HELP}"
    Delete "$INSTDIR\${LICENCE_FILE}"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${KEY_UNINSTALL}"
    DeleteRegValue HKLM "${KEY_SETTINGS}" "HelpPage"
    DeleteRegKey /ifempty HKLM "${KEY_SETTINGS}"
    DeleteRegKey /ifempty HKLM "Software\Pelmar"
    ; The user's settings stay unless the user says otherwise; a silent
    ; uninstall keeps them.
    MessageBox MB_YESNO|MB_ICONQUESTION "$(RemoveSettings)" /SD IDNO IDNO keep
        !insertmacro UserDeleteKey "${KEY_SETTINGS}"
        !insertmacro UserDeleteEmptyKey "Software\Pelmar"
    keep:
    ; 3010: done, but a restart is needed to finish.
    ${If} ${RebootFlag}
        SetErrorLevel 3010
        MessageBox MB_YESNO|MB_ICONINFORMATION "$(RemovedAtRestart)" /SD IDNO IDNO later
            Reboot
        later:
    ${EndIf}
SectionEnd
