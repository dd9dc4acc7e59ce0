; The user signed in to the session the installer runs in. When a standard
; user's installer is elevated with an administrator's password, HKCU is the
; administrator's; the per-user choices belong to the session's user, whose
; hive is loaded under HKEY_USERS\<SID> while that user is signed in.
; Administrators may write there. The session's user is found through the
; terminal services (Windows 2000 and later), which needs no access to
; another user's process or token.
;
; Call DesktopUserSid (un.DesktopUserSid in the uninstaller) sets
; $DesktopUser to that user's SID as text, or to "" when it cannot be found
; (no such services, no user in the session, an unknown account); the
; callers then act on HKCU, the account the installer runs as. Call
; InstallerUserSid sets $InstallerUser to that account's SID, or to "".
;
; Defined DESKTOP_USER_STAND_IN=<SID> makes a test build whose lookup
; answers that SID, as for another account: Wine has one user and no
; elevation by another account.
!include "LogicLib.nsh"

Var DesktopUser
Var InstallerUser

!ifdef DESKTOP_USER_STAND_IN
!macro DESKTOP_USER_SID_FUNCTION prefix
Function ${prefix}DesktopUserSid
    StrCpy $DesktopUser "${DESKTOP_USER_STAND_IN}"
FunctionEnd
!macroend
!else
!macro DESKTOP_USER_SID_FUNCTION prefix
Function ${prefix}DesktopUserSid
    Push $0
    Push $1
    Push $2
    Push $3
    Push $4
    Push $5
    StrCpy $5 ""
    System::Call 'kernel32::GetCurrentProcessId() i .r0'
    System::Call 'kernel32::ProcessIdToSessionId(i r0, *i 0 r1) i .r2'
    ${If} $2 <> 0
        ; WTSUserName (5), then WTSDomainName (7).
        System::Call 'wtsapi32::WTSQuerySessionInformationW(p 0, i r1, i 5, *p .r3, *i .r4) i .r2'
        ${If} $2 <> 0
            System::Call '*$3(&w${NSIS_MAX_STRLEN} .r0)'
            System::Call 'wtsapi32::WTSFreeMemory(p r3)'
            System::Call 'wtsapi32::WTSQuerySessionInformationW(p 0, i r1, i 7, *p .r3, *i .r4) i .r2'
            ${If} $2 <> 0
                System::Call '*$3(&w${NSIS_MAX_STRLEN} .r4)'
                System::Call 'wtsapi32::WTSFreeMemory(p r3)'
                ${If} $4 != ""
                    StrCpy $0 "$4\$0"
                ${EndIf}
            ${EndIf}
            ${If} $0 != ""
                ; A SID has at most 68 bytes.
                System::Alloc 68
                Pop $3
                System::Call 'advapi32::LookupAccountNameW(p 0, w r0, p r3, *i 68, w .r4, *i ${NSIS_MAX_STRLEN}, *i .r1) i .r2'
                ${If} $2 <> 0
                    System::Call 'advapi32::ConvertSidToStringSidW(p r3, *p .r4) i .r2'
                    ${If} $2 <> 0
                        System::Call '*$4(&w${NSIS_MAX_STRLEN} .r5)'
                        System::Call 'kernel32::LocalFree(p r4)'
                    ${EndIf}
                ${EndIf}
                System::Free $3
            ${EndIf}
        ${EndIf}
    ${EndIf}
    ; Only a well-formed SID names a key under HKEY_USERS.
    StrCpy $0 $5 4
    ${If} $0 != "S-1-"
        StrCpy $5 ""
    ${EndIf}
    StrCpy $DesktopUser $5
    Pop $5
    Pop $4
    Pop $3
    Pop $2
    Pop $1
    Pop $0
FunctionEnd
!macroend
!endif
!insertmacro DESKTOP_USER_SID_FUNCTION ""
!insertmacro DESKTOP_USER_SID_FUNCTION "un."

Function InstallerUserSid
    Push $0
    Push $1
    Push $2
    Push $3
    Push $4
    StrCpy $4 ""
    System::Call 'kernel32::GetCurrentProcess() p .r0'
    ; TOKEN_QUERY (8); TokenUser (1) holds the SID's address first.
    System::Call 'advapi32::OpenProcessToken(p r0, i 8, *p .r1) i .r2'
    ${If} $2 <> 0
        System::Alloc 256
        Pop $3
        System::Call 'advapi32::GetTokenInformation(p r1, i 1, p r3, i 256, *i .r2) i .r0'
        ${If} $0 <> 0
            System::Call '*$3(p .r0)'
            System::Call 'advapi32::ConvertSidToStringSidW(p r0, *p .r2) i .r0'
            ${If} $0 <> 0
                System::Call '*$2(&w${NSIS_MAX_STRLEN} .r4)'
                System::Call 'kernel32::LocalFree(p r2)'
            ${EndIf}
        ${EndIf}
        System::Free $3
        System::Call 'kernel32::CloseHandle(p r1)'
    ${EndIf}
    StrCpy $InstallerUser $4
    Pop $4
    Pop $3
    Pop $2
    Pop $1
    Pop $0
FunctionEnd

; The session user's keys: under HKEY_USERS\<SID> when the lookup found the
; user, else under HKCU. KEY is relative to the user's hive.
!macro UserWriteStr KEY NAME VALUE
    ${If} $DesktopUser == ""
        WriteRegStr HKCU "${KEY}" "${NAME}" "${VALUE}"
    ${Else}
        WriteRegStr HKU "$DesktopUser\${KEY}" "${NAME}" "${VALUE}"
    ${EndIf}
!macroend
!macro UserWriteExpandStr KEY NAME VALUE
    ${If} $DesktopUser == ""
        WriteRegExpandStr HKCU "${KEY}" "${NAME}" "${VALUE}"
    ${Else}
        WriteRegExpandStr HKU "$DesktopUser\${KEY}" "${NAME}" "${VALUE}"
    ${EndIf}
!macroend
!macro UserReadStr OUT KEY NAME
    ${If} $DesktopUser == ""
        ReadRegStr ${OUT} HKCU "${KEY}" "${NAME}"
    ${Else}
        ReadRegStr ${OUT} HKU "$DesktopUser\${KEY}" "${NAME}"
    ${EndIf}
!macroend
!macro UserDeleteValue KEY NAME
    ${If} $DesktopUser == ""
        DeleteRegValue HKCU "${KEY}" "${NAME}"
    ${Else}
        DeleteRegValue HKU "$DesktopUser\${KEY}" "${NAME}"
    ${EndIf}
!macroend
!macro UserDeleteKey KEY
    ${If} $DesktopUser == ""
        DeleteRegKey HKCU "${KEY}"
    ${Else}
        DeleteRegKey HKU "$DesktopUser\${KEY}"
    ${EndIf}
!macroend
!macro UserDeleteEmptyKey KEY
    ${If} $DesktopUser == ""
        DeleteRegKey /ifempty HKCU "${KEY}"
    ${Else}
        DeleteRegKey /ifempty HKU "$DesktopUser\${KEY}"
    ${EndIf}
!macroend
