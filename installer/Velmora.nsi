; Installs Velmora in place of the PVCS Merge Tool. The user names the tool's program file (a
; page, or /TOOL=<path> when silent); the installer renames it to "<name>.exe", where Velmora
; looks for the original, puts Velmora.exe under the tool's own name and VelmoraHelper.exe beside
; it, registers the server and writes an uninstall entry. Uninstalling puts the original back.
; Silent refusals end with exit code 2, failures while installing with 3.
;
; Given by the build: VERSION (a.b.c), BIN (the folder with the programs), OUTFILE.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "nsDialogs.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora"
!define UNINSTALLER "Velmora-uninstall.exe"

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

Var Tool        ; the PVCS Merge Tool's program file
Var ToolField   ; the page's path field
Var Refusal     ; why the chosen file cannot be used, empty when it can

Page custom ToolPage ToolPageLeave
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Sets $R0 to 1 when the file's version resource names Velmora as its product.
!macro IsVelmora FILE
  Push $0
  Push $1
  Push $2
  Push $3
  StrCpy $R0 0
  System::Call 'version::GetFileVersionInfoSizeW(w "${FILE}", *i .r1) i .r0'
  ${If} $0 > 0
    System::Alloc $0
    Pop $1
    System::Call 'version::GetFileVersionInfoW(w "${FILE}", i 0, i r0, p r1) i .r2'
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
!macroend

; Sets $Refusal to the reason why $Tool cannot be replaced, or to the empty text.
Function CheckTool
  StrCpy $Refusal ""
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "Tool"
  ${If} $Tool == ""
    StrCpy $Refusal "Choose the program file of the PVCS Merge Tool."
  ${ElseIf} $0 != ""
    StrCpy $Refusal "Velmora is already installed in place of $0. Uninstall it first."
  ${ElseIfNot} ${FileExists} "$Tool"
    StrCpy $Refusal '"$Tool" not found.'
  ${ElseIf} ${FileExists} "$Tool\*.*"
    StrCpy $Refusal '"$Tool" is a folder, not a program file.'
  ${Else}
    !insertmacro IsVelmora "$Tool"
    ${If} $R0 == 1
      StrCpy $Refusal '"$Tool" is Velmora already, not the PVCS Merge Tool.'
    ${ElseIf} ${FileExists} "$Tool.exe"
      StrCpy $Refusal '"$Tool.exe" exists already: Velmora keeps the original tool under that name.'
    ${Else}
      ; The folder must take new files.
      ${GetParent} "$Tool" $1
      ClearErrors
      FileOpen $2 "$1\velmora-setup.tmp" w
      ${If} ${Errors}
        StrCpy $Refusal 'The folder "$1" cannot be written.'
      ${Else}
        FileClose $2
        Delete "$1\velmora-setup.tmp"
      ${EndIf}
    ${EndIf}
  ${EndIf}
FunctionEnd

Function .onInit
  SetRegView 64
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/TOOL=" $Tool
  ${If} ${Silent}
    Call CheckTool
    ${If} $Refusal != ""
      SetErrorLevel 2
      Quit
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
    MessageBox MB_OK|MB_ICONSTOP "$Refusal"
    Abort
  ${EndIf}
FunctionEnd

Section "Velmora"
  SetRegView 64
  ${GetParent} "$Tool" $INSTDIR
  ${GetFileName} "$Tool" $0
  SetOutPath "$INSTDIR"
  ClearErrors
  Rename "$Tool" "$Tool.exe"
  ${If} ${Errors}
    DetailPrint "Cannot rename $Tool."
    SetErrorLevel 3
    Abort "Cannot rename $Tool."
  ${EndIf}
  File "/oname=$0" "${BIN}/Velmora.exe"
  File "${BIN}/VelmoraHelper.exe"
  ${If} ${Errors}
    ; Put everything back as it was.
    Delete "$Tool"
    Rename "$Tool.exe" "$Tool"
    SetErrorLevel 3
    Abort "Cannot copy the programs into $INSTDIR."
  ${EndIf}
  ExecWait '"$INSTDIR\VelmoraHelper.exe" /regserver' $1
  ${If} $1 != 0
    DetailPrint "VelmoraHelper.exe could not register itself ($1)."
  ${EndIf}
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
SectionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Uninstall"
  ReadRegStr $Tool HKLM "${UNINSTALL_KEY}" "Tool"
  ${If} $Tool == ""
    StrCpy $Tool "$INSTDIR\pvcsmrg.exe"
  ${EndIf}
  ExecWait '"$INSTDIR\VelmoraHelper.exe" /unregserver'
  ; The original goes back only over Velmora itself, never over a file of someone else's.
  ${If} ${FileExists} "$Tool.exe"
    !insertmacro IsVelmora "$Tool"
    ${If} $R0 == 1
    ${OrIfNot} ${FileExists} "$Tool"
      Delete "$Tool"
      Rename "$Tool.exe" "$Tool"
    ${EndIf}
  ${EndIf}
  ; A server still finishing its pending deletions goes at the next restart; the files it has
  ; pending are its own business.
  Delete /REBOOTOK "$INSTDIR\VelmoraHelper.exe"
  Delete "$INSTDIR\${UNINSTALLER}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
