; What a SCRNSAVE.EXE value names. The screen-saver settings write a bare
; short path, but policies, other installers and users write it in quotes,
; with arguments after it, in any case or with environment strings
; (%SystemRoot%); Windows runs it as a command line all the same.
;
; Call SaverFile (un.SaverFile) pops a value and pushes the file it names:
; inside the quotes when quoted; else, as Windows reads an unquoted command
; line, the shortest part ending at a blank or the end that names a file,
; or the whole without trailing blanks when none does; environment strings
; expanded. Call IsOurSaver (un.IsOurSaver) pops a value and pushes 1 when
; it names $OurSaver, else 0; it compares the files' short paths, so both
; must still be there. The file system redirection must be off, as for the
; saver itself.
!include "LogicLib.nsh"

Var OurSaver  ; the installed saver, long path

!macro SAVER_VALUE_FUNCTIONS prefix
Function ${prefix}SaverFile
    Exch $0
    Push $1
    Push $2
    Push $3
    ${Do}
        StrCpy $3 $0 1
        ${IfThen} $3 != " " ${|} ${ExitDo} ${|}
        StrCpy $0 $0 "" 1
    ${Loop}
    StrCpy $3 $0 1
    ${If} $3 == '"'
        StrCpy $0 $0 "" 1
        StrCpy $1 0
        ${Do}
            StrCpy $3 $0 1 $1
            ${If} $3 == '"'
            ${OrIf} $3 == ""
                ${ExitDo}
            ${EndIf}
            IntOp $1 $1 + 1
        ${Loop}
        StrCpy $2 $0 $1
    ${Else}
        StrCpy $1 0
        ${Do}
            StrCpy $3 $0 1 $1
            ${If} $3 == " "
            ${OrIf} $3 == ""
                StrCpy $2 $0 $1
                ExpandEnvStrings $2 $2
                ${If} ${FileExists} "$2"
                ${AndIfNot} ${FileExists} "$2\*.*"
                    ${ExitDo}
                ${EndIf}
                StrCpy $2 ""
                ${IfThen} $3 == "" ${|} ${ExitDo} ${|}
            ${EndIf}
            IntOp $1 $1 + 1
        ${Loop}
        ${If} $2 == ""
            StrCpy $2 $0
            ${Do}
                StrCpy $3 $2 1 -1
                ${IfThen} $3 != " " ${|} ${ExitDo} ${|}
                StrCpy $2 $2 -1
            ${Loop}
        ${EndIf}
    ${EndIf}
    ExpandEnvStrings $0 $2
    Pop $3
    Pop $2
    Pop $1
    Exch $0
FunctionEnd

Function ${prefix}IsOurSaver
    Exch $0
    Push $1
    Push $2
    StrCpy $1 0
    ${If} $0 != ""
        Push $0
        Call ${prefix}SaverFile
        Pop $0
        GetFullPathName /SHORT $0 "$0"
        GetFullPathName /SHORT $2 "$OurSaver"
        ${If} $0 != ""
        ${AndIf} $0 == $2
            StrCpy $1 1
        ${EndIf}
    ${EndIf}
    StrCpy $0 $1
    Pop $2
    Pop $1
    Exch $0
FunctionEnd
!macroend
!insertmacro SAVER_VALUE_FUNCTIONS ""
!insertmacro SAVER_VALUE_FUNCTIONS "un."
