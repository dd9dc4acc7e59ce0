; Writes the SID that DesktopUserSid finds under HKEY_USERS\<SID>, so that
; the test can read it back through HKCU: the key is the running user's
; own only when the lookup found that user. Beside it the SID that
; InstallerUserSid finds, which must be the same. Built by installer_test.sh.
Unicode true
RequestExecutionLevel user
SilentInstall silent
OutFile "${OUTFILE}"

!include "desktop_user.nsh"

Section
    Call DesktopUserSid
    ${If} $DesktopUser == ""
        SetErrorLevel 1
        Quit
    ${EndIf}
    WriteRegStr HKU "$DesktopUser\Software\QuorbelDesktopUserTest" "Sid" "$DesktopUser"
    Call InstallerUserSid
    WriteRegStr HKU "$DesktopUser\Software\QuorbelDesktopUserTest" "InstallerSid" "$InstallerUser"
SectionEnd

; The include defines the uninstaller's lookup too; using it here keeps
; makensis from warning that it is unused.
Section "un.Unused"
    Call un.DesktopUserSid
SectionEnd
