; Installs Velmora in place of the PVCS Merge Tool. The user names the tool's program file (a
; page, or /TOOL=<path> when silent); the installer keeps it as "<name>.exe", where Velmora looks
; for the original, puts Velmora.exe under the tool's own name and VelmoraHelper.exe beside it,
; registers the server and writes an uninstall entry. Uninstalling puts the original back.
; Silent refusals end with exit code 2, failures while installing with 3.
;
; PVCS cannot work without the tool's program file, so installing is a transaction: the new
; programs are written under temporary names, the uninstaller and its entry are written before
; anything the tool depends on changes, and the swap is two renames. Every failure undoes what
; was done; an install that was cut off (killed, power lost) is put right by the next run, which
; rolls the half-done state back before installing. Files that cannot be identified as Velmora's
; (by their version resource) or as empty are never overwritten or deleted.
;
; Optional presets for every user (written under HKLM\Software\Tessmark\Velmora, 64-bit view,
; when any of them is given): /COMPARE=<program>|PVCS, /ARGS=<arguments>, /ANCESTORLEFT=1|0.
; Every run, install or uninstall, appends its steps and any refusal to a plain-text log:
; %TEMP%\Velmora-Setup.log, or the file /LOG=<path> names.
;
; Given by the build: VERSION (a.b.c), BIN (the folder with the programs), OUTFILE; STOPS only
; for the test build, which can be stopped before each step (see StopPoint).

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "nsDialogs.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora"
; The machine-wide settings: the four per-user values, preset for every user.
!define MACHINE_KEY "Software\Tessmark\Velmora"
!define UNINSTALLER "Velmora-uninstall.exe"
!define HELPER "VelmoraHelper.exe"
; The server's class key: its presence means the server is registered.
!define CLASS_KEY "CLSID\{3F990032-0766-453D-AC59-3A33A8722940}"
; Appended to a program's name while it is written, before it is renamed into place.
!define NEW ".velmora-new"

Name "Velmora ${VERSION}"
OutFile "${OUTFILE}"
Icon "..\platform\win32\resources\Velmora.ico"
UninstallIcon "..\platform\win32\resources\Velmora.ico"
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Velmora"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "Tessmark"
VIAddVersionKey /LANG=1033 "FileDescription" "Velmora setup"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) Tessmark"

Var Tool        ; the PVCS Merge Tool's program file, a full path
Var ToolField   ; the page's path field
Var Refusal     ; why the chosen file cannot be used, empty when it can
Var Repair      ; the tool of an unfinished earlier install, rolled back first; else empty
Var Found       ; what the checks found about that earlier install
Var State       ; what InstallState found
Var Started     ; 1 while the install has changed something that a failure must undo
Var LogFile     ; the log's full path
Var FailCode    ; 2 when a failed install changed nothing (a refusal), else empty for 3
Var Presets     ; 1 when any of the machine-wide settings was given
Var Compare     ; /COMPARE: a program's full path, "PVCS", or empty
Var CompareProgram ; 1 when /COMPARE names a program
Var Args        ; /ARGS
Var AncestorLeft ; /ANCESTORLEFT: 1 or 0

Page custom ToolPage ToolPageLeave
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; One line of the details, and of the log.
!macro Say TEXT
  DetailPrint "${TEXT}"
  Push "${TEXT}"
  !ifdef __UNINSTALL__
    Call un.Log
  !else
    Call Log
  !endif
!macroend

; The start of a step of the install, where the test build can be stopped.
!macro Step NAME TEXT
  !insertmacro Say "${TEXT}"
  !ifdef STOPS
    Push "${NAME}"
    Call StopPoint
  !endif
!macroend

!ifdef STOPS
; VELMORA_SETUP_STOP="kill <step>" ends the process at once before that step, as a crash or a
; killed process would; "abort <step>" fails there, as the Abort button of a copy error does.
Function StopPoint
  Exch $0
  Push $1
  ReadEnvStr $1 VELMORA_SETUP_STOP
  ${If} $1 == "kill $0"
    System::Call 'kernel32::GetCurrentProcess() p .r1'
    System::Call 'kernel32::TerminateProcess(p r1, i 9)'
  ${ElseIf} $1 == "abort $0"
    Abort "Stopped before $0."
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd
!endif

; Functions that the installer and the uninstaller both need, once for each.
!macro SharedFunctions UN
; Sets $R0 to 1 when the file's version resource names Velmora as its product.
Function ${UN}IsVelmora
  Exch $4
  Push $0
  Push $1
  Push $2
  Push $3
  StrCpy $R0 0
  System::Call 'version::GetFileVersionInfoSizeW(w "$4", *i .r1) i .r0'
  ${If} $0 > 0
    System::Alloc $0
    Pop $1
    System::Call 'version::GetFileVersionInfoW(w "$4", i 0, i r0, p r1) i .r2'
    ${If} $2 <> 0
      System::Call 'version::VerQueryValueW(p r1, w "\StringFileInfo\040904B0\ProductName", *p .r2, *i .r3) i .r0'
      ${If} $0 <> 0
        System::Call '*$2(&w64 .r3)'
        ${If} $3 == "Velmora"
          StrCpy $R0 1
        ${EndIf}
      ${EndIf}
    ${EndIf}
    System::Free $1
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
  Pop $4
FunctionEnd

; What lies at a path: "none", "folder", "empty" (0 bytes), "velmora" or "other".
Function ${UN}FileKind
  Exch $0
  Push $1
  Push $2
  Push $R0
  ${If} ${FileExists} "$0\*.*"
    StrCpy $1 "folder"
  ${ElseIfNot} ${FileExists} "$0"
    StrCpy $1 "none"
  ${Else}
    StrCpy $1 "other"
    ClearErrors
    FileOpen $R0 "$0" r
    ${IfNot} ${Errors}
      FileSeek $R0 0 END $2
      FileClose $R0
      ${If} $2 == 0
        StrCpy $1 "empty"
      ${EndIf}
    ${EndIf}
    ${If} $1 == "other"
      Push "$0"
      Call ${UN}IsVelmora
      ${If} $R0 == 1
        StrCpy $1 "velmora"
      ${EndIf}
    ${EndIf}
  ${EndIf}
  Pop $R0
  Pop $2
  Exch
  Pop $0
  Exch $1
FunctionEnd

; Deletes a file of Velmora's. One in use (a running server, the uninstaller run in place) is
; moved out of the way under a fresh name that only this call uses, and only that name is
; deleted at the next restart: a file installed later under the old name is never touched.
Function ${UN}RemoveOrQueue
  Exch $0
  Push $1
  Push $2
  Push $3
  ClearErrors
  Delete "$0"
  ${If} ${Errors}
    ${GetParent} "$0" $1
    System::Call 'kernel32::GetTempFileNameW(w "$1", w "vlm", i 0, w .r2) i .r3'
    ${If} $3 <> 0
      System::Call 'kernel32::MoveFileExW(w "$0", w "$2", i 1) i .r3'
      ${If} $3 <> 0
        System::Call 'kernel32::MoveFileExW(w "$2", p 0, i 4) i .r3'
        !insertmacro Say "$0 is in use: moved to $2, which is deleted at the next restart."
      ${Else}
        Delete "$2"
        !insertmacro Say "$0 is in use and stays; delete it once it has ended."
      ${EndIf}
    ${Else}
      !insertmacro Say "$0 is in use and stays; delete it once it has ended."
    ${EndIf}
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; Unregisters and removes the server beside a tool, when it is Velmora's.
Function ${UN}RemoveServer
  Exch $0
  Push $1
  Push "$0\${HELPER}"
  Call ${UN}FileKind
  Pop $1
  ${If} $1 == "velmora"
    ExecWait '"$0\${HELPER}" /unregserver'
    Push "$0\${HELPER}"
    Call ${UN}RemoveOrQueue
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd
; The command line's switch named $R1 (for example "/TOOL="), split as Windows splits command
; lines, so that the whole switch may be quoted ("/TOOL=C:\Program Files\x.exe") as well as
; only its value (/TOOL="C:\Program Files\x.exe"). Blanks in an unquoted value still work: the
; words up to the next switch are its value. Sets $R0 to the value, $R2 to 1 when present.
Function ${UN}ReadSwitch
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  Push $6
  StrCpy $R0 ""
  StrCpy $R2 0
  StrLen $4 $R1
  StrCpy $6 0 ; 1 while the words belong to the switch's value
  System::Call 'kernel32::GetCommandLineW() p .r0'
  System::Call 'shell32::CommandLineToArgvW(p r0, *i .r1) p .r2'
  ${If} $2 != 0
    StrCpy $3 1
    ${DoWhile} $3 < $1
      IntPtrOp $5 $3 * 8
      IntPtrOp $5 $2 + $5
      System::Call '*$5(p .r5)'
      System::Call 'kernel32::lstrcpynW(w .r0, p r5, i ${NSIS_MAX_STRLEN})'
      StrCpy $5 $0 $4
      ${If} $5 == $R1
        StrCpy $R0 $0 "" $4
        StrCpy $R2 1
        StrCpy $6 1
      ${Else}
        StrCpy $5 $0 1
        ${If} $5 == "/"
          StrCpy $6 0
        ${EndIf}
        ; NSIS's own "_?=<folder>", last on an uninstaller's command line, ends a value too.
        StrCpy $5 $0 3
        ${If} $5 == "_?="
          StrCpy $6 0
        ${EndIf}
        ${If} $6 == 1
          StrCpy $R0 "$R0 $0"
        ${EndIf}
      ${EndIf}
      IntOp $3 $3 + 1
    ${Loop}
    System::Call 'kernel32::LocalFree(p r2)'
  ${EndIf}
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; Turns $R0 into a full, normalised path: relative to the current folder, "/" read as "\",
; ".." resolved, surrounding quotes dropped, short names made long.
Function ${UN}FullPath
  Push $0
  Push $1
  StrCpy $0 $R0 1
  ${If} $0 == '"'
    StrCpy $R0 $R0 "" 1
    StrCpy $0 $R0 1 -1
    ${If} $0 == '"'
      StrCpy $R0 $R0 -1
    ${EndIf}
  ${EndIf}
  ${If} $R0 != ""
    System::Call 'kernel32::GetFullPathNameW(w "$R0", i ${NSIS_MAX_STRLEN}, w .r0, p 0) i .r1'
    ${If} $1 > 0
    ${AndIf} $1 < ${NSIS_MAX_STRLEN}
      StrCpy $R0 $0
    ${EndIf}
    ; The long form, so that one file has one path however it was named.
    System::Call 'kernel32::GetLongPathNameW(w "$R0", w .r0, i ${NSIS_MAX_STRLEN}) i .r1'
    ${If} $1 > 0
    ${AndIf} $1 < ${NSIS_MAX_STRLEN}
      StrCpy $R0 $0
    ${EndIf}
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd

; Appends a line to the log. A log that cannot be written is no reason to stop.
Function ${UN}Log
  Exch $0
  Push $1
  ${If} $LogFile != ""
    ClearErrors
    FileOpen $1 "$LogFile" a
    ${IfNot} ${Errors}
      FileSeek $1 0 END
      FileWrite $1 "$0$\r$\n"
      FileClose $1
    ${EndIf}
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd

; Opens the log: /LOG=<path>, else Velmora-Setup.log in the temporary folder; its first line
; names the run.
Function ${UN}OpenLog
  Exch $0
  Push $R0
  Push $R1
  Push $R2
  StrCpy $R1 "/LOG="
  Call ${UN}ReadSwitch
  ${If} $R0 == ""
    StrCpy $R0 "$TEMP\Velmora-Setup.log"
  ${EndIf}
  Call ${UN}FullPath
  StrCpy $LogFile $R0
  Push $1
  Push $2
  Push $3
  Push $4
  ${GetTime} "" "L" $R0 $R1 $R2 $1 $2 $3 $4
  Push "$R2-$R1-$R0 $2:$3:$4 $0 Velmora ${VERSION}"
  Call ${UN}Log
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $R2
  Pop $R1
  Pop $R0
  Pop $0
FunctionEnd
!macroend

!insertmacro SharedFunctions ""
!insertmacro SharedFunctions "un."

; Turns $Tool into the full, normalised path that is stored and used.
Function ResolveTool
  Push $R0
  StrCpy $R0 $Tool
  Call FullPath
  StrCpy $Tool $R0
  Pop $R0
FunctionEnd

; Sets $State for an earlier install at the tool on the stack: "complete" when it is whole,
; "unclear" when it cannot be told which file is the original, else "half", with $Found saying
; what was found.
Function InstallState
  Exch $0
  Push $1
  Push $2
  Push $3
  Push "$0"
  Call FileKind
  Pop $1
  Push "$0.exe"
  Call FileKind
  Pop $2
  StrCpy $State "unclear"
  ${If} $2 == "other"
    ${If} $1 == "velmora"
      ${GetParent} "$0" $2
      ReadRegStr $3 HKCR "${CLASS_KEY}\LocalServer32" ""
      ${If} ${FileExists} "$2\${UNINSTALLER}"
      ${AndIf} $3 != ""
        StrCpy $State "complete"
      ${ElseIf} ${FileExists} "$2\${UNINSTALLER}"
        StrCpy $State "half"
        StrCpy $Found "Found Velmora in place of $0, but its server is not registered."
      ${Else}
        StrCpy $State "half"
        StrCpy $Found "Found the original at $0.exe and Velmora at $0 without an uninstaller."
      ${EndIf}
    ${ElseIf} $1 == "empty"
      StrCpy $State "half"
      StrCpy $Found "Found the original at $0.exe and an empty file at $0."
    ${ElseIf} $1 == "none"
      StrCpy $State "half"
      StrCpy $Found "Found the original at $0.exe and nothing at $0."
    ${EndIf}
  ${ElseIf} $2 == "none"
  ${AndIf} $1 != "velmora"
    StrCpy $State "half"
    StrCpy $Found "Found the record of an installation in place of $0, but the tool was never replaced."
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; Deletes the file on the stack when it is Velmora's or empty.
Function DeleteOurs
  Exch $0
  Push $1
  Push "$0"
  Call FileKind
  Pop $1
  ${If} $1 == "velmora"
  ${OrIf} $1 == "empty"
    Delete "$0"
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd

; Sets $Refusal to the reason why a leftover at $0 may not be replaced, when it is not ours.
Function CheckLeftover
  Exch $0
  Push $1
  Push "$0"
  Call FileKind
  Pop $1
  ${If} $1 == "other"
  ${OrIf} $1 == "folder"
    StrCpy $Refusal '"$0" exists already and is not part of Velmora.'
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd

; Sets $Refusal to the reason why $Tool cannot be replaced, or to the empty text, and $Repair to
; the tool of an unfinished earlier install. Changes nothing.
Function CheckTool
  StrCpy $Refusal ""
  StrCpy $Repair ""
  StrCpy $Found ""
  Call ResolveTool
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "Tool"
  ${If} $0 != ""
    Push $0
    Call InstallState
    ${If} $State == "complete"
      StrCpy $Refusal "Velmora is already installed in place of $0. Uninstall it first."
      Return
    ${ElseIf} $State == "unclear"
      StrCpy $Refusal '"$0.exe" and "$0" cannot be told apart: put the original PVCS Merge Tool back under "$0" by hand.'
      Return
    ${EndIf}
    StrCpy $Repair $0
    ${If} $Tool == ""
      StrCpy $Tool $0
    ${EndIf}
  ${EndIf}
  ${If} $Tool == ""
    StrCpy $Refusal "Choose the program file of the PVCS Merge Tool."
    Return
  ${EndIf}
  Push "$Tool"
  Call FileKind
  Pop $1
  Push "$Tool.exe"
  Call FileKind
  Pop $2
  ${If} $1 == "folder"
    StrCpy $Refusal '"$Tool" is a folder, not a program file.'
  ${ElseIf} $2 == "other"
    ${If} $1 == "other"
      StrCpy $Refusal '"$Tool.exe" exists already: Velmora keeps the original tool under that name.'
    ${ElseIf} $Repair == ""
      ; Cut off before it was recorded: rolled back like a recorded one.
      Push $Tool
      Call InstallState
      StrCpy $Repair $Tool
    ${EndIf}
  ${ElseIf} $2 != "none"
    StrCpy $Refusal '"$Tool.exe" exists already: Velmora keeps the original tool under that name.'
  ${ElseIf} $1 == "none"
    StrCpy $Refusal '"$Tool" not found.'
  ${ElseIf} $1 == "velmora"
    StrCpy $Refusal '"$Tool" is Velmora already, not the PVCS Merge Tool.'
  ${EndIf}
  ${If} $Refusal != ""
    Return
  ${EndIf}
  ${GetParent} "$Tool" $1
  Push "$Tool${NEW}"
  Call CheckLeftover
  Push "$1\${HELPER}${NEW}"
  Call CheckLeftover
  Push "$1\${HELPER}"
  Call CheckLeftover
  Push "$1\${UNINSTALLER}"
  Call CheckLeftover
  ${If} $Refusal != ""
    Return
  ${EndIf}
  ; The folder must take new files.
  ClearErrors
  FileOpen $2 "$1\velmora-setup.tmp" w
  ${If} ${Errors}
    StrCpy $Refusal 'The folder "$1" cannot be written.'
  ${Else}
    FileClose $2
    Delete "$1\velmora-setup.tmp"
  ${EndIf}
FunctionEnd

; Rolls the install at the tool $R5 back: the original under its name, Velmora's files and the
; record removed. Only files identified as Velmora's or as empty are deleted. Sets $R6 to the
; reason when the tool's name cannot be cleared, else to the empty text.
Function RollBack
  Push $0
  Push $1
  Push $2
  StrCpy $R6 ""
  ${GetParent} "$R5" $0
  Push "$R5.exe"
  Call FileKind
  Pop $1
  ${If} $1 == "other"
    Push "$R5"
    Call FileKind
    Pop $2
    ${If} $2 == "velmora"
    ${OrIf} $2 == "empty"
      ClearErrors
      Delete "$R5"
      ${If} ${Errors}
        StrCpy $R6 'Velmora is running as "$R5" and cannot be removed now. Close every open comparison and try again.'
      ${EndIf}
    ${EndIf}
    ${If} $R6 == ""
    ${AndIfNot} ${FileExists} "$R5"
      ClearErrors
      Rename "$R5.exe" "$R5"
      ${If} ${Errors}
        StrCpy $R6 'Cannot rename "$R5.exe" back to "$R5".'
      ${Else}
        !insertmacro Say "Put the original back at $R5."
      ${EndIf}
    ${EndIf}
  ${EndIf}
  ${If} $R6 == ""
    Push "$R5${NEW}"
    Call DeleteOurs
    Push "$0\${HELPER}${NEW}"
    Call DeleteOurs
    Push $0
    Call RemoveServer
    Push "$0\${UNINSTALLER}"
    Call DeleteOurs
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${EndIf}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; Reads the machine-wide presets from the command line; $Presets is 1 when any was given.
Function ReadPresets
  StrCpy $Presets 0
  StrCpy $Compare ""
  StrCpy $CompareProgram 0
  StrCpy $Args ""
  StrCpy $AncestorLeft 0
  StrCpy $R1 "/COMPARE="
  Call ReadSwitch
  ${If} $R2 == 1
    StrCpy $Presets 1
    ${If} $R0 == "PVCS"
      StrCpy $Compare "PVCS"
    ${Else}
      Call FullPath
      StrCpy $Compare $R0
      StrCpy $CompareProgram 1
    ${EndIf}
  ${EndIf}
  StrCpy $R1 "/ARGS="
  Call ReadSwitch
  ${If} $R2 == 1
    StrCpy $Presets 1
    StrCpy $Args $R0
  ${EndIf}
  StrCpy $R1 "/ANCESTORLEFT="
  Call ReadSwitch
  ${If} $R2 == 1
    StrCpy $Presets 1
    StrCpy $AncestorLeft $R0
  ${EndIf}
FunctionEnd

; Sets $Refusal when a preset cannot be used, in the setup dialog's words where it has them.
Function CheckPresets
  StrCpy $Refusal ""
  ${If} $CompareProgram == 1
    ${If} ${FileExists} "$Compare\*.*"
    ${OrIfNot} ${FileExists} "$Compare"
      StrCpy $Refusal '"$Compare" not found or no access.'
    ${Else}
      StrCpy $0 $Compare 4 -4
      ${If} $0 != ".exe"
        StrCpy $Refusal '"$Compare" is not a program file.'
      ${EndIf}
    ${EndIf}
  ${EndIf}
  ${If} $Refusal == ""
  ${AndIf} $AncestorLeft != 0
  ${AndIf} $AncestorLeft != 1
    StrCpy $Refusal '/ANCESTORLEFT= takes 1 or 0, not "$AncestorLeft".'
  ${EndIf}
FunctionEnd

; The comparison program that the setup dialog offers at a user's first use: Beyond Compare's
; registration (the user's, else the machine's), else Beyond Compare 2 in Program Files; the
; empty text when that names no file. Sets $R0.
Function DiscoverComparison
  Push $0
  Push $1
  StrCpy $R0 ""
  System::Call 'advapi32::RegOpenKeyExW(p 0x80000001, w "Software\Scooter Software\Beyond Compare", i 0, i 0x20019, *p .r1) i .r0'
  ${If} $0 == 0
    System::Call 'advapi32::RegCloseKey(p r1)'
    ReadRegStr $R0 HKCU "Software\Scooter Software\Beyond Compare" "ExePath"
  ${Else}
    ReadRegStr $R0 HKLM "Software\Scooter Software\Beyond Compare" "ExePath"
  ${EndIf}
  ${If} ${FileExists} "$R0\*.*"
  ${OrIfNot} ${FileExists} "$R0"
    ReadRegStr $0 HKLM "SOFTWARE\Microsoft\Windows\CurrentVersion" "ProgramFilesDir"
    StrCpy $R0 "$0\Beyond Compare 2\BC2.exe"
  ${EndIf}
  ${If} ${FileExists} "$R0\*.*"
  ${OrIfNot} ${FileExists} "$R0"
    StrCpy $R0 ""
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd

; A refusal: logged, shown when interactive, nothing changed.
Function Refuse
  !insertmacro Say "$Refusal"
  !insertmacro Say "Nothing was changed."
FunctionEnd

Function .onInit
  SetRegView 64
  Push "install"
  Call OpenLog
  StrCpy $R1 "/TOOL="
  Call ReadSwitch
  StrCpy $Tool $R0
  Call ReadPresets
  Call CheckPresets
  ${If} $Refusal != ""
    Call Refuse
    MessageBox MB_OK|MB_ICONSTOP "$Refusal" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  ${If} ${Silent}
    Call CheckTool
    ${If} $Refusal != ""
      Call Refuse
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${Else}
    ; The page offers the tool of an unfinished earlier install.
    ${If} $Tool == ""
      ReadRegStr $Tool HKLM "${UNINSTALL_KEY}" "Tool"
    ${EndIf}
  ${EndIf}
FunctionEnd

Function ToolPage
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 36u "Velmora takes the place of the PVCS Merge Tool. Choose the \
      tool's program file (for example pvcsmrg.exe in the PVCS program folder): it is kept as \
      '<name>.exe' and Velmora is installed under its name."
  Pop $0
  ${NSD_CreateText} 0 44u 80% 12u "$Tool"
  Pop $ToolField
  ${NSD_CreateBrowseButton} 82% 43u 18% 14u "Browse..."
  Pop $0
  ${NSD_OnClick} $0 BrowseTool
  nsDialogs::Show
FunctionEnd

Function BrowseTool
  ${NSD_GetText} $ToolField $0
  nsDialogs::SelectFileDialog open "$0" "Programs (*.exe)|*.exe"
  Pop $0
  ${If} $0 != ""
    ${NSD_SetText} $ToolField $0
  ${EndIf}
FunctionEnd

Function ToolPageLeave
  ${NSD_GetText} $ToolField $Tool
  Call CheckTool
  ${If} $Refusal != ""
    !insertmacro Say "$Refusal"
    MessageBox MB_OK|MB_ICONSTOP "$Refusal"
    Abort
  ${EndIf}
FunctionEnd

; Ends the install as failed; .onInstFailed undoes what was done.
!macro Fail TEXT
  !insertmacro Say "${TEXT}"
  Abort "${TEXT}"
!macroend

Section "Velmora"
  SetRegView 64
  !insertmacro Say "Installing Velmora in place of $Tool."
  ${If} $Repair != ""
    !insertmacro Say "$Found An earlier installation was not finished; putting it back first."
    StrCpy $R5 $Repair
    Call RollBack
    ${If} $R6 != ""
      ; Nothing of this run has changed anything yet: a refusal.
      StrCpy $FailCode 2
      !insertmacro Fail "$R6"
    ${EndIf}
  ${EndIf}
  ${GetParent} "$Tool" $INSTDIR
  SetOutPath "$INSTDIR"
  StrCpy $Started 1

  !insertmacro Step "copy" "Writing Velmora and ${HELPER} under temporary names."
  ClearErrors
  File "/oname=$Tool${NEW}" "${BIN}/Velmora.exe"
  File "/oname=$INSTDIR\${HELPER}${NEW}" "${BIN}/VelmoraHelper.exe"
  ${If} ${Errors}
    !insertmacro Fail "Cannot copy the programs into $INSTDIR."
  ${EndIf}

  ; The record comes before the swap, so that whatever has changed can be undone.
  !insertmacro Step "record" "Writing the uninstaller and its entry."
  ClearErrors
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Velmora ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Tessmark"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$Tool"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Tool" "$Tool"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${If} ${Errors}
    !insertmacro Fail "Cannot write the uninstaller and its entry."
  ${EndIf}

  !insertmacro Step "server" "Putting ${HELPER} in place."
  Push "$INSTDIR\${HELPER}"
  Call RemoveOrQueue
  ClearErrors
  Rename "$INSTDIR\${HELPER}${NEW}" "$INSTDIR\${HELPER}"
  ${If} ${Errors}
    !insertmacro Fail "Cannot put ${HELPER} into $INSTDIR."
  ${EndIf}

  ; The swap: the tool's name is empty only between these two renames.
  !insertmacro Step "keep-original" "Keeping the original as $Tool.exe."
  ClearErrors
  Rename "$Tool" "$Tool.exe"
  ${If} ${Errors}
    !insertmacro Fail "Cannot rename $Tool."
  ${EndIf}
  !insertmacro Step "velmora" "Putting Velmora in place of $Tool."
  ClearErrors
  Rename "$Tool${NEW}" "$Tool"
  ${If} ${Errors}
    !insertmacro Fail "Cannot put Velmora in place of $Tool."
  ${EndIf}

  !insertmacro Step "register" "Registering ${HELPER}."
  ; Installed means registered: success is a zero exit code and the class key in place. A start
  ; that fails leaves the exit code unset, so it is preset to a failure. A start can fail once
  ; on a busy machine: the registration is tried twice before the install fails and is undone.
  StrCpy $2 0
  ${Do}
    IntOp $2 $2 + 1
    StrCpy $1 "not started"
    ExecWait '"$INSTDIR\${HELPER}" /regserver' $1
    ${If} $1 == 0
      ClearErrors
      ReadRegStr $3 HKCR "${CLASS_KEY}\LocalServer32" ""
      ${If} ${Errors}
        StrCpy $1 "no class key"
      ${EndIf}
    ${EndIf}
    ${If} $1 == 0
      ${ExitDo}
    ${EndIf}
    !insertmacro Say "${HELPER} could not register itself ($1)."
  ${LoopUntil} $2 >= 2
  ${If} $1 != 0
    !insertmacro Fail "Cannot register ${HELPER}."
  ${EndIf}

  ${If} $Presets == 1
    ; What the setup dialog would store at a first use for what is not given.
    !insertmacro Step "settings" "Writing the settings for every user to HKLM\${MACHINE_KEY}."
    ${If} $CompareProgram == 0
      Call DiscoverComparison
      StrCpy $1 0
    ${Else}
      StrCpy $R0 $Compare
      StrCpy $1 1
    ${EndIf}
    ClearErrors
    WriteRegStr HKLM "${MACHINE_KEY}" "BC2Path" "$R0"
    WriteRegStr HKLM "${MACHINE_KEY}" "BC_Args" "$Args"
    WriteRegDWORD HKLM "${MACHINE_KEY}" "UseBC2" $1
    WriteRegDWORD HKLM "${MACHINE_KEY}" "AncestorLeft" $AncestorLeft
    ${If} ${Errors}
      DeleteRegKey HKLM "${MACHINE_KEY}"
      !insertmacro Fail "Cannot write the settings for every user."
    ${EndIf}
    !insertmacro Say "BC2Path=$R0, BC_Args=$Args, UseBC2=$1, AncestorLeft=$AncestorLeft."
  ${EndIf}
  StrCpy $Started 0
  !insertmacro Say "Installed."
SectionEnd

Function .onInstFailed
  ${If} $Started == 1
    StrCpy $Started 0
    StrCpy $R5 $Tool
    Call RollBack
    ${If} $R6 != ""
      !insertmacro Say "$R6"
    ${Else}
      !insertmacro Say "Everything was put back as it was."
    ${EndIf}
  ${EndIf}
  !insertmacro Say "The installation failed."
  ${If} $FailCode == 2
    SetErrorLevel 2
  ${Else}
    SetErrorLevel 3
  ${EndIf}
FunctionEnd

Function un.onInit
  SetRegView 64
  Push "uninstall"
  Call un.OpenLog
FunctionEnd

Section "Uninstall"
  ReadRegStr $Tool HKLM "${UNINSTALL_KEY}" "Tool"
  ${If} $Tool == ""
    StrCpy $Tool "$INSTDIR\pvcsmrg.exe"
  ${EndIf}
  !insertmacro Say "Uninstalling Velmora from $Tool."
  ; The original goes back only over Velmora itself or over nothing, never over a file of
  ; someone else's. Velmora still running (an open comparison) cannot be removed: then nothing
  ; else is touched either, so that this uninstaller can simply be run again.
  Push "$Tool"
  Call un.FileKind
  Pop $0
  Push "$Tool.exe"
  Call un.FileKind
  Pop $1
  ${If} $1 == "other"
    ${If} $0 == "velmora"
    ${OrIf} $0 == "empty"
      ClearErrors
      Delete "$Tool"
      ${If} ${Errors}
        StrCpy $2 'Velmora is running as "$Tool" and cannot be removed now. Close every open comparison and try again.'
        !insertmacro Say "$2"
        !insertmacro Say "Nothing was changed."
        MessageBox MB_OK|MB_ICONSTOP "$2" /SD IDOK
        SetErrorLevel 2
        Abort "$2"
      ${EndIf}
      !insertmacro Say "Removed Velmora from $Tool."
    ${EndIf}
    ${IfNot} ${FileExists} "$Tool"
      ClearErrors
      Rename "$Tool.exe" "$Tool"
      ${If} ${Errors}
        ; Kept with its record: the installer, run again, puts it back.
        StrCpy $2 'Cannot rename "$Tool.exe" back to "$Tool".'
        !insertmacro Say "$2"
        MessageBox MB_OK|MB_ICONSTOP "$2" /SD IDOK
        SetErrorLevel 3
        Abort "$2"
      ${EndIf}
      !insertmacro Say "Put the original back at $Tool."
    ${EndIf}
  ${EndIf}
  !insertmacro Say "Unregistering and removing ${HELPER}."
  Push $INSTDIR
  Call un.RemoveServer
  ; The machine-wide settings go with the installation; each user's own stay.
  !insertmacro Say "Removing the settings for every user, HKLM\${MACHINE_KEY}."
  DeleteRegKey HKLM "${MACHINE_KEY}"
  DeleteRegKey /ifempty HKLM "Software\Tessmark"
  !insertmacro Say "Removing the uninstaller and its entry."
  Push "$INSTDIR\${UNINSTALLER}"
  Call un.RemoveOrQueue
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  !insertmacro Say "Uninstalled."
SectionEnd
