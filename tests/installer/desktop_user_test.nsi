; Writes the SID that DesktopUserSid finds under HKEY_USERS\<SID>, so that
; the test can read it back through HKCU: the key is the running user's
; own only when the lookup found that user. Built by desktop_user_test.sh.
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
SectionEnd

Section "un.Unused"
    Call un.DesktopUserSid
SectionEnd
