; A small Windows program for the package test: waits until a top-level
; window of a class, owned by a process started from a given file, is there
; (or is gone), and can ask it to close. Built by the test with makensis, so
; it needs nothing from the C++ trees.
;   probe.exe /class=NAME /state=present|absent /timeout=MS [/image=SUFFIX] [/close=1]
; SUFFIX is the end of the owning process's program path, compared without
; regard to case ("\fake_tray.exe", or a full path). Exit code 0 when the
; state was reached, 1 when the time ran out, 2 for bad arguments.
Unicode true
!pragma warning error all
!ifndef OUTFILE
  !error "define OUTFILE"
!endif
OutFile "${OUTFILE}"
RequestExecutionLevel user
SilentInstall silent
!include "LogicLib.nsh"
!include "FileFunc.nsh"

Section
  ${GetParameters} $0
  ${GetOptions} $0 "/class=" $1
  ${GetOptions} $0 "/state=" $2
  ${GetOptions} $0 "/timeout=" $3
  ClearErrors
  ${GetOptions} $0 "/image=" $4
  ${IfThen} ${Errors} ${|} StrCpy $4 "" ${|}
  ClearErrors
  ${GetOptions} $0 "/close=" $5
  ${IfThen} ${Errors} ${|} StrCpy $5 "" ${|}
  ${If} $1 == ""
  ${OrIf} $3 == ""
  ${OrIfNot} $2 == "present"
  ${AndIfNot} $2 == "absent"
    SetErrorLevel 2
    Quit
  ${EndIf}
  StrLen $6 $4
  StrCpy $7 0
  ${Do}
    ; Every window of the class, in Z order, until one of the file's.
    StrCpy $R1 0
    StrCpy $R0 0
    ${Do}
      System::Call 'user32::FindWindowExW(p 0, p R1, w r1, p 0) p .R1'
      ${IfThen} $R1 P= 0 ${|} ${Break} ${|}
      ${If} $4 == ""
        StrCpy $R0 $R1
        ${Break}
      ${EndIf}
      System::Call 'user32::GetWindowThreadProcessId(p R1, *i 0 R2)'
      System::Call 'kernel32::OpenProcess(i 0x1000, i 0, i R2) p .R3'
      ${If} $R3 P<> 0
        System::Call 'kernel32::QueryFullProcessImageNameW(p R3, i 0, w .R4, *i ${NSIS_MAX_STRLEN})'
        System::Call 'kernel32::CloseHandle(p R3)'
        StrCpy $R5 $R4 "" -$6
        ${If} $R5 == $4  ; case-insensitive
          StrCpy $R0 $R1
          ${Break}
        ${EndIf}
      ${EndIf}
    ${Loop}
    ${If} $R0 P<> 0
    ${AndIf} $5 == "1"
      System::Call 'user32::PostMessageW(p R0, i 0x10, p 0, p 0)'  ; WM_CLOSE
    ${EndIf}
    ${If} $2 == "present"
    ${AndIf} $R0 P<> 0
      SetErrorLevel 0
      Quit
    ${EndIf}
    ${If} $2 == "absent"
    ${AndIf} $R0 P= 0
      SetErrorLevel 0
      Quit
    ${EndIf}
    ${If} $7 >= $3
      SetErrorLevel 1
      Quit
    ${EndIf}
    Sleep 100
    IntOp $7 $7 + 100
  ${Loop}
SectionEnd
