; The Kestrow installer: a per-user installation with no administrator
; rights, in English and Russian. scripts/package.sh builds it:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.7.0.121 -DSTAGE=<dir> -DOUTFILE=<exe> kestrow.nsi
; STAGE holds one folder per installation set (x64, x86) and
; uninstall_files.nsh, the programs the uninstaller removes.
;
; Silent use: setup.exe /S [/AUTORUN=0|1] [/RUN=0|1] [/D=folder]
;   /AUTORUN  start Kestrow with Windows (default: on for a new installation,
;             as it was for an upgrade)
;   /RUN      start Kestrow when setup ends (default: on)
; uninstall.exe /S removes Kestrow and keeps the settings and language files.

Unicode true
!pragma warning error all
!ifndef VERSION | STAGE | OUTFILE | SIZE_X64 | SIZE_X86
  !error "define VERSION, STAGE, OUTFILE, SIZE_X64 and SIZE_X86 (scripts/package.sh does)"
!endif

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrow"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "KestrowAgent"
!define AGENT_CLASS "KestrowTrayAgent"
!define CONFIG_MUTEX "Orlin_Works_Kestrow_Config_Mutex_D845705A-49AE-40f4-A80D-679C395147E6"
!define PUBLISHER "Orlin Works"
!define AGENT_END_MS 10000
!define ASIDE_DIR "$TEMP\Kestrow-replaced"

Name "Kestrow"
OutFile "${OUTFILE}"
; The settings file lives beside the programs, so they go where the user can
; write: never "Program Files", and no elevation.
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Kestrow"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
ManifestDPIAware true
BrandingText "Kestrow ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "Kestrow"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "Kestrow Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

!include "MUI2.nsh"
!include "nsDialogs.nsh"
!include "LogicLib.nsh"
!include "x64.nsh"
!include "FileFunc.nsh"
!include "${STAGE}/uninstall_files.nsh"

!define MUI_ICON "${__FILEDIR__}/../agent/res/kestrow_on.ico"
!define MUI_UNICON "${__FILEDIR__}/../agent/res/kestrow_on.ico"
!define MUI_ABORTWARNING
; The language follows the system's; the first dialog offers the other one,
; and the choice is remembered for upgrades and the uninstaller.
!define MUI_LANGDLL_ALLLANGUAGES
!define MUI_LANGDLL_REGISTRY_ROOT HKCU
!define MUI_LANGDLL_REGISTRY_KEY "Software\Kestrow"
!define MUI_LANGDLL_REGISTRY_VALUENAME "Installer Language"

Var Autorun        ; 1: write the Run value
Var StartNow       ; 1: start the agent when setup ends
Var AutorunArg     ; /AUTORUN= as given, empty when absent
Var StartNowArg    ; /RUN= as given
Var OptionsChosen  ; 1 once the options page was left
Var AutorunBox
Var StartNowBox

!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
Page custom OptionsPage OptionsLeave
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Russian"
!insertmacro MUI_RESERVEFILE_LANGDLL
!include "${__FILEDIR__}/lang/English.nsh"
!include "${__FILEDIR__}/lang/Russian.nsh"

; ---------------------------------------------------------------------------
; Shared by installer and uninstaller (NSIS wants "un." names for the latter).

; The Run value as the agent writes it for $INSTDIR: the agent's path, in
; quotes when it holds a blank, since Windows reads the value as a command
; line. Out: $R9.
Function RunData
  Push $R8
  Push $R7
  StrCpy $R9 "$INSTDIR\KSAgent.exe"
  StrCpy $R8 0
  ${Do}
    StrCpy $R7 $R9 1 $R8
    ${IfThen} $R7 == "" ${|} ${Break} ${|}
    ${If} $R7 == " "
      StrCpy $R9 '"$R9"'
      ${Break}
    ${EndIf}
    IntOp $R8 $R8 + 1
  ${Loop}
  Pop $R7
  Pop $R8
FunctionEnd

; Ends the running agent the way the agent itself asks another copy to end:
; "KSAgent.exe /exit", then waits for its process. In: $R0 the KSAgent.exe to
; run with /exit; $R1 "any" for whichever agent runs, or a path to end only
; an agent started from that file. Out: $R9 empty, or "hangs" when it did not
; end in time.
!macro KS_END_AGENT_FUNCTION UN
Function ${UN}EndAgent
  Push $0
  Push $1
  Push $2
  Push $3
  StrCpy $R9 ""
  System::Call 'user32::FindWindowW(w "${AGENT_CLASS}", p 0) p .r0'
  ${If} $0 P= 0
    Goto done
  ${EndIf}
  System::Call 'user32::GetWindowThreadProcessId(p r0, *i 0 r1)'
  ; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION
  System::Call 'kernel32::OpenProcess(i 0x00101000, i 0, i r1) p .r2'
  ${If} $R1 != "any"
  ${AndIf} $2 P<> 0
    System::Call 'kernel32::QueryFullProcessImageNameW(p r2, i 0, w .r3, *i ${NSIS_MAX_STRLEN})'
    ${If} $3 != $R1  ; another copy of Kestrow: not ours to end
      System::Call 'kernel32::CloseHandle(p r2)'
      Goto done
    ${EndIf}
  ${EndIf}
  ; The switch gives up on an agent that looks hung for a moment (a send
  ; with SMTO_ABORTIFHUNG), so it is repeated every 2 s while the agent runs.
  ; Without a process handle, the window's end is what is waited for.
  System::Call 'kernel32::GetTickCount() i .r3'
  IntOp $3 $3 + ${AGENT_END_MS}
  ${Do}
    DetailPrint '"$R0" /exit'
    ExecWait '"$R0" /exit'
    ${If} $2 P<> 0
      System::Call 'kernel32::WaitForSingleObject(p r2, i 2000) i .r1'
      ${IfThen} $1 == 0 ${|} ${Break} ${|}
    ${Else}
      Sleep 2000
      System::Call 'user32::IsWindow(p r0) i .r1'
      ${IfThen} $1 == 0 ${|} ${Break} ${|}
    ${EndIf}
    System::Call 'kernel32::GetTickCount() i .r1'
    IntOp $1 $1 - $3
    ${If} $1 >= 0
      StrCpy $R9 "hangs"
      ${Break}
    ${EndIf}
  ${Loop}
  ${If} $2 P<> 0
    System::Call 'kernel32::CloseHandle(p r2)'
  ${EndIf}
done:
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro KS_END_AGENT_FUNCTION ""
!insertmacro KS_END_AGENT_FUNCTION "un."

; Moves a program in use out of the way: into the temporary folder, or beside
; itself when that lies on another drive. In: the file name on the stack, $R7
; a number of this run. Out: $R9 the name when it cannot be moved.
!macro KS_SET_ASIDE_FUNCTION UN
Function ${UN}SetAside
  Exch $2
  CreateDirectory "${ASIDE_DIR}"
  ClearErrors
  Rename "$INSTDIR\$2" "${ASIDE_DIR}\$2.$R7"
  ${If} ${Errors}
    ClearErrors
    Rename "$INSTDIR\$2" "$INSTDIR\$2.$R7.old"
    ${If} ${Errors}
      StrCpy $R9 $2
    ${EndIf}
  ${EndIf}
  ${IfThen} $R9 == "" ${|} DetailPrint "$INSTDIR\$2: in use, moved aside" ${|}
  Pop $2
FunctionEnd

; Deletes what earlier runs moved aside, as far as it is no longer in use;
; only copies of our own programs, since the folder may be shared.
Function ${UN}DeleteSetAside
  RMDir /r "${ASIDE_DIR}"
  !insertmacro KS_PROGRAM_FILES KS_DELETE_OLD
FunctionEnd
!macroend
!macro KS_DELETE_OLD NAME
  Delete "$INSTDIR\${NAME}.*.old"
!macroend
!insertmacro KS_SET_ASIDE_FUNCTION ""
!insertmacro KS_SET_ASIDE_FUNCTION "un."

; ---------------------------------------------------------------------------
; Installer

Function .onInit
  !insertmacro MUI_LANGDLL_DISPLAY
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AUTORUN=" $AutorunArg
  ${IfThen} ${Errors} ${|} StrCpy $AutorunArg "" ${|}
  ClearErrors
  ${GetOptions} $0 "/RUN=" $StartNowArg
  ${IfThen} ${Errors} ${|} StrCpy $StartNowArg "" ${|}
  StrCpy $OptionsChosen 0
  Call TakeGivenFolder
  Call CountOneSet
FunctionEnd

; NSIS quietly falls back to the default folder when the one of /D= is not a
; usable path (one inside a file, say). A scripted install must not land
; elsewhere: take the folder as given, so the writability check reports it.
Function TakeGivenFolder
  Push $0
  Push $1
  Push $2
  System::Call 'kernel32::GetCommandLineW() w .r0'
  StrCpy $1 0
  ${Do}
    StrCpy $2 $0 4 $1
    ${IfThen} $2 == "" ${|} ${Break} ${|}
    ${If} $2 == " /D="
      IntOp $1 $1 + 4
      StrCpy $2 $0 "" $1
      ${Do}
        StrCpy $1 $2 1 -1
        ${IfThen} $1 != "\" ${|} ${Break} ${|}
        StrCpy $2 $2 -1
      ${Loop}
      ${IfThen} $2 != "" ${|} StrCpy $INSTDIR $2 ${|}
      ${Break}
    ${EndIf}
    IntOp $1 $1 + 1
  ${Loop}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; The options for $INSTDIR: what the command line says, else start with
; Windows for a new installation and keep the choice of an existing one.
Function DefaultOptions
  ${If} $AutorunArg != ""
    IntOp $Autorun $AutorunArg & 1
  ${ElseIfNot} ${FileExists} "$INSTDIR\KSAgent.exe"
    StrCpy $Autorun 1
  ${Else}
    ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${If} $0 == "$INSTDIR\KSAgent.exe"
    ${OrIf} $0 == '"$INSTDIR\KSAgent.exe"'
      StrCpy $Autorun 1
    ${Else}
      StrCpy $Autorun 0
    ${EndIf}
  ${EndIf}
  ${If} $StartNowArg != ""
    IntOp $StartNow $StartNowArg & 1
  ${Else}
    StrCpy $StartNow 1
  ${EndIf}
FunctionEnd

; Out: $R9 empty when $INSTDIR can be written, else "no". A folder made for
; the probe is removed again, so nothing is left when the user turns back.
Function CheckWritable
  Push $0
  Push $1
  StrCpy $R9 ""
  StrCpy $1 ""
  ClearErrors
  ${IfNot} ${FileExists} "$INSTDIR\*.*"
    CreateDirectory "$INSTDIR"
    ${If} ${Errors}
    ${OrIfNot} ${FileExists} "$INSTDIR\*.*"
      StrCpy $R9 "no"
      Goto done
    ${EndIf}
    StrCpy $1 "made"
  ${EndIf}
  ClearErrors
  FileOpen $0 "$INSTDIR\kestrow-write-test.tmp" w
  ${If} ${Errors}
    StrCpy $R9 "no"
  ${Else}
    FileClose $0
    Delete "$INSTDIR\kestrow-write-test.tmp"
  ${EndIf}
  ${If} $1 == "made"
    RMDir "$INSTDIR"
  ${EndIf}
done:
  Pop $1
  Pop $0
FunctionEnd

Function DirectoryLeave
  Call CheckWritable
  ${If} $R9 != ""
    MessageBox MB_OK|MB_ICONSTOP "$(MsgNotWritable)"
    Abort  ; stays on the directory page
  ${EndIf}
FunctionEnd

Function OptionsPage
  ${If} $OptionsChosen != 1
    Call DefaultOptions
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "$(OptionsTitle)" "$(OptionsSubtitle)"
  nsDialogs::Create 1018
  Pop $0
  ${If} $0 == error
    Abort
  ${EndIf}
  ${NSD_CreateCheckbox} 0 0 100% 12u "$(OptAutorun)"
  Pop $AutorunBox
  ${If} $Autorun == 1
    ${NSD_Check} $AutorunBox
  ${EndIf}
  ${NSD_CreateCheckbox} 0 20u 100% 12u "$(OptStartNow)"
  Pop $StartNowBox
  ${If} $StartNow == 1
    ${NSD_Check} $StartNowBox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function OptionsLeave
  ${NSD_GetState} $AutorunBox $Autorun
  ${NSD_GetState} $StartNowBox $StartNow
  StrCpy $OptionsChosen 1
FunctionEnd

; Out: $R9 empty when the settings program is closed. It would hold its
; program file, and it writes settings.ini when it closes.
Function CheckSettingsClosed
  Push $0
  StrCpy $R9 ""
again:
  System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${CONFIG_MUTEX}") p .r0'
  ${If} $0 P<> 0
    System::Call 'kernel32::CloseHandle(p r0)'
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(MsgCloseSettings)" /SD IDCANCEL IDRETRY again
    StrCpy $R9 "open"
  ${EndIf}
  Pop $0
FunctionEnd

; Out: $R9 empty when every program already in $INSTDIR can be replaced, else
; the name of one that cannot; then nothing has been changed. A file in use
; (a hook library that another program has not let go of yet) gets a few
; seconds, then is moved aside, which Windows allows for a mapped file; the
; copies moved aside are deleted by the next run of setup or the uninstaller.
!macro KS_SET_ASIDE NAME
  ${If} $R9 == ""
  ${AndIf} ${FileExists} "$INSTDIR\${NAME}"
    StrCpy $1 0
    ${Do}
      ClearErrors
      FileOpen $0 "$INSTDIR\${NAME}" a
      ${IfNot} ${Errors}
        FileClose $0
        ${Break}
      ${EndIf}
      ${If} $1 >= 3000
        Push "${NAME}"
        Call SetAside
        ${Break}
      ${EndIf}
      Sleep 100
      IntOp $1 $1 + 100
    ${Loop}
  ${EndIf}
!macroend

!macro KS_PUT_BACK NAME
  ${If} ${FileExists} "${ASIDE_DIR}\${NAME}.$R7"
    Rename "${ASIDE_DIR}\${NAME}.$R7" "$INSTDIR\${NAME}"
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\${NAME}.$R7.old"
    Rename "$INSTDIR\${NAME}.$R7.old" "$INSTDIR\${NAME}"
  ${EndIf}
!macroend

Function CheckReplaceable
  Push $0
  Push $1
  StrCpy $R9 ""
  System::Call 'kernel32::GetTickCount() i .R7'
  !insertmacro KS_PROGRAM_FILES KS_SET_ASIDE
  ${If} $R9 != ""
    !insertmacro KS_PROGRAM_FILES KS_PUT_BACK
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd

Section "Kestrow" SecKestrow
  ${If} ${Silent}
  ${OrIf} $OptionsChosen != 1
    Call DefaultOptions
  ${EndIf}

  ; Every check comes before the first change.
  Call CheckWritable
  ${If} $R9 != ""
    DetailPrint "$(MsgNotWritable)"
    MessageBox MB_OK|MB_ICONSTOP "$(MsgNotWritable)" /SD IDOK
    Abort
  ${EndIf}
  Call CheckSettingsClosed
  ${If} $R9 != ""
    DetailPrint "$(MsgCloseSettings)"
    Abort
  ${EndIf}

  ; The installed agent, or this package's own for an agent that runs from
  ; elsewhere: one agent per logon session, and the new one takes over.
  InitPluginsDir
  ${If} ${FileExists} "$INSTDIR\KSAgent.exe"
    StrCpy $R0 "$INSTDIR\KSAgent.exe"
  ${Else}
    SetOutPath "$PLUGINSDIR"
    File "${STAGE}/x86/KSAgent.exe"
    StrCpy $R0 "$PLUGINSDIR\KSAgent.exe"
  ${EndIf}
  StrCpy $R1 "any"
  Call EndAgent
  ${If} $R9 != ""
    DetailPrint "$(MsgAgentHangs)"
    MessageBox MB_OK|MB_ICONSTOP "$(MsgAgentHangs)" /SD IDOK
    Abort
  ${EndIf}
  Call CheckReplaceable
  ${If} $R9 != ""
    DetailPrint "$(MsgFileInUse)"
    MessageBox MB_OK|MB_ICONSTOP "$(MsgFileInUse)" /SD IDOK
    Abort
  ${EndIf}

  ; The programs are replaced; settings.ini and LogFile.log are never part of
  ; a set, and a language file the user has is kept as it is.
  Call DeleteSetAside
  SetOutPath "$INSTDIR"
  ${If} ${RunningX64}
    File /x "*.lng" "${STAGE}/x64/*"
    SetOverwrite off
    File /nonfatal "${STAGE}/x64/*.lng"
    SetOverwrite on
  ${Else}
    File /x "*.lng" "${STAGE}/x86/*"
    SetOverwrite off
    File /nonfatal "${STAGE}/x86/*.lng"
    SetOverwrite on
  ${EndIf}
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "$SMPROGRAMS\Kestrow.lnk" "$INSTDIR\KSAgent.exe" "" "$INSTDIR\KSAgent.exe" 0
  CreateShortcut "$SMPROGRAMS\Kestrow Settings.lnk" "$INSTDIR\KsConfig.exe" "" "$INSTDIR\KsConfig.exe" 0

  ; The Run value exactly as the agent writes it.
  ${If} $Autorun == 1
    Call RunData
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" $R9
  ${Else}
    ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${If} $0 == "$INSTDIR\KSAgent.exe"
    ${OrIf} $0 == '"$INSTDIR\KSAgent.exe"'
      DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${EndIf}
  ${EndIf}

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "Kestrow"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\KSAgent.exe,0"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $0

  ${If} $StartNow == 1
    Exec '"$INSTDIR\KSAgent.exe"'
  ${EndIf}
SectionEnd

; The directory page shows the space of the one set that is installed.
Function CountOneSet
  ${If} ${RunningX64}
    SectionSetSize ${SecKestrow} ${SIZE_X64}
  ${Else}
    SectionSetSize ${SecKestrow} ${SIZE_X86}
  ${EndIf}
FunctionEnd

; ---------------------------------------------------------------------------
; Uninstaller

Function un.onInit
  !insertmacro MUI_UNGETLANGUAGE
FunctionEnd

!macro KS_DELETE_PROGRAM NAME
  Delete "$INSTDIR\${NAME}"
  ${If} ${FileExists} "$INSTDIR\${NAME}"
    Push "${NAME}"
    Call un.SetAside
  ${EndIf}
!macroend

Section "Uninstall"
  ; Only an agent of this installation is ended; a portable copy running
  ; elsewhere is not ours.
  ${If} ${FileExists} "$INSTDIR\KSAgent.exe"
    StrCpy $R0 "$INSTDIR\KSAgent.exe"
    StrCpy $R1 "$INSTDIR\KSAgent.exe"
    Call un.EndAgent
    ${If} $R9 != ""
      DetailPrint "$(MsgAgentHangs)"
      MessageBox MB_OK|MB_ICONSTOP "$(MsgAgentHangs)" /SD IDOK
      Abort
    ${EndIf}
  ${EndIf}

  MessageBox MB_YESNO|MB_ICONQUESTION "$(MsgKeepSettings)" /SD IDYES IDYES keep
    Delete "$INSTDIR\settings.ini"
    Delete "$INSTDIR\*.lng"
  keep:
  System::Call 'kernel32::GetTickCount() i .R7'
  StrCpy $R9 ""
  Call un.DeleteSetAside
  !insertmacro KS_PROGRAM_FILES KS_DELETE_PROGRAM
  Delete "$INSTDIR\LogFile.log"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  ; These go even when the programs were deleted by hand.
  Delete "$SMPROGRAMS\Kestrow.lnk"
  Delete "$SMPROGRAMS\Kestrow Settings.lnk"
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 == "$INSTDIR\KSAgent.exe"
  ${OrIf} $0 == '"$INSTDIR\KSAgent.exe"'
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
  DeleteRegKey HKCU "Software\Kestrow"
  ; Last, so a finished uninstall is seen by the entry's absence.
  DeleteRegKey HKCU "${UNINST_KEY}"
SectionEnd
