; The setup program of Nullora and its uninstaller, built by the `release` target of the Windows presets
; (makensis -DVERSION=1.0.0 -DARCH=x86|amd64 -DBUILD_DIR=... -DOUT_FILE=... installer/nullora.nsi).
;
; By default it installs for the current user, without administrator rights, into
; %LOCALAPPDATA%\Programs\Nullora; /ALLUSERS installs for all users into Program Files, and needs the
; rights. /S is silent, /D= sets the folder. Installing over an installed copy upgrades it in place and
; keeps the settings. The uninstaller closes a running Nullora first, then takes away its files, its
; Start-menu entry, the Explorer entries and the run-at-logon value wherever Nullora wrote them, and the
; settings when asked to (/REMOVESETTINGS when silent).

Unicode true
!ifndef VERSION | BUILD_DIR | OUT_FILE | ARCH
  !error "define VERSION, ARCH, BUILD_DIR and OUT_FILE"
!endif
!if "${ARCH}" == "amd64"
  Target amd64-unicode
!endif

!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh
!include WinMessages.nsh
!include nsDialogs.nsh

!define PRODUCT "Nullora"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Nullora"
!define SETTINGS_KEY "Software\VB and VBA Program Settings\Nullora"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define BIN_SHELL "CLSID\{645FF040-5081-101B-9F08-00AA002F954E}\shell"
!define FORM_CLASS "NulloraForm"

Name "${PRODUCT}"
OutFile "${OUT_FILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Nullora"
SetCompressor /SOLID lzma
Icon "${__FILEDIR__}/../resources/nullora.ico"
UninstallIcon "${__FILEDIR__}/../resources/nullora.ico"
BrandingText "Nullora ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}.0"
VIAddVersionKey "ProductVersion" "${VERSION}.0"
VIAddVersionKey "LegalCopyright" "${PRODUCT}"

Var AllUsers
Var PerUserDefault
Var ForAll

Page custom ModePage ModePageLeave
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Explorer and Windows read the 64-bit registry: a 32-bit setup on 64-bit Windows writes there, as the
; program does.
!macro SystemView
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
!macroend

; Every window of a running Nullora is asked to close (a clean or a wipe stops at its next file first);
; false in $0 when one is still there ten seconds later, or the user would rather keep it.
!macro CloseNullora un
Function ${un}CloseNullora
  StrCpy $0 1
  FindWindow $1 "${FORM_CLASS}" ""
  ${If} $1 == 0
    Return
  ${EndIf}
  ${IfNot} ${Silent}
    MessageBox MB_OKCANCEL|MB_ICONQUESTION "Nullora is running. It will be closed first." IDOK close
    StrCpy $0 0
    Return
  ${EndIf}
  close:
  StrCpy $2 0
  ${Do}
    FindWindow $1 "${FORM_CLASS}" ""
    ${If} $1 == 0
      Return
    ${EndIf}
    SendMessage $1 ${WM_CLOSE} 0 0 /TIMEOUT=2000
    Sleep 100
    IntOp $2 $2 + 1
  ${LoopUntil} $2 >= 100
  StrCpy $0 0
FunctionEnd
!macroend
!insertmacro CloseNullora ""
!insertmacro CloseNullora "un."

; Whether the account may write for all users.
!macro IsAdmin un
Function ${un}IsAdmin
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 == "Admin"
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
FunctionEnd
!macroend
!insertmacro IsAdmin ""
!insertmacro IsAdmin "un."

; For all users: the machine's context and Program Files, unless /D named a folder.
Function UseAllUsers
  StrCpy $AllUsers 1
  SetShellVarContext all
  ${If} $INSTDIR == $PerUserDefault
    !if "${ARCH}" == "amd64"
      StrCpy $INSTDIR "$PROGRAMFILES64\Nullora"
    !else
      StrCpy $INSTDIR "$PROGRAMFILES\Nullora"
    !endif
  ${EndIf}
  Call UseInstalledFolder
FunctionEnd

; Over an installed copy of the same mode: in its place, unless /D says otherwise.
Function UseInstalledFolder
  ReadRegStr $R2 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $R2 != ""
    ${If} $INSTDIR == $PerUserDefault
    ${OrIf} $INSTDIR == "$PROGRAMFILES\Nullora"
    ${OrIf} $INSTDIR == "$PROGRAMFILES64\Nullora"
      StrCpy $INSTDIR $R2
    ${EndIf}
  ${EndIf}
FunctionEnd

; Without the rights, an elevated copy of the setup installs for all users, and this one ends.
Function RequireAdmin
  Call IsAdmin
  ${If} $0 == 1
    Return
  ${EndIf}
  ${IfNot} ${Silent}
    ExecShell "runas" "$EXEPATH" "/ALLUSERS"
    ${IfNot} ${Errors}
      SetErrorLevel 0
      Quit
    ${EndIf}
    MessageBox MB_ICONSTOP "Installing Nullora for all users needs administrator rights: run the setup as administrator, or install it for yourself alone."
  ${EndIf}
  SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
  Quit
FunctionEnd

Function .onInit
  ; The per-user default, taken before the context may change what $LOCALAPPDATA names: a folder given
  ; with /D is anything else.
  StrCpy $PerUserDefault "$LOCALAPPDATA\Programs\Nullora"
  StrCpy $AllUsers 0
  !insertmacro SystemView
  SetShellVarContext current
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $R1
  ${IfNot} ${Errors}
    ClearErrors
    Call RequireAdmin
    Call UseAllUsers
  ${Else}
    Call UseInstalledFolder
  ${EndIf}
FunctionEnd

; Who the copy is for: the current user (the default, no rights needed) or all users.
Function ModePage
  ${If} $AllUsers == 1
    Abort ; chosen on the command line
  ${EndIf}
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 20u "Install Nullora for:"
  Pop $0
  ${NSD_CreateRadioButton} 10u 24u 100% 12u "Me only (no administrator rights needed)"
  Pop $1
  ${NSD_CreateRadioButton} 10u 40u 100% 12u "All users of this computer (needs administrator rights)"
  Pop $ForAll
  ${NSD_Check} $1
  nsDialogs::Show
FunctionEnd

Function ModePageLeave
  ${NSD_GetState} $ForAll $0
  ${If} $0 == ${BST_CHECKED}
    ClearErrors
    Call RequireAdmin
    Call UseAllUsers
  ${EndIf}
FunctionEnd

Section "Nullora"
  Call CloseNullora
  ${If} $0 != 1
    ${IfNot} ${Silent}
      MessageBox MB_ICONSTOP "Nullora is still running. Close it and run the setup again."
    ${EndIf}
    SetErrorLevel 2
    Quit
  ${EndIf}
  SetOutPath "$INSTDIR"
  File "${BUILD_DIR}/nullora.exe"
  File "${BUILD_DIR}/TIPOFDAY.TXT"
  !if /FileExists "${BUILD_DIR}/help.chm"
    File "${BUILD_DIR}/help.chm"
  !endif
  !if /FileExists "${BUILD_DIR}/nullora-cli.exe"
    File "${BUILD_DIR}/nullora-cli.exe"
  !endif
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Nullora.lnk" "$INSTDIR\nullora.exe" "" "$INSTDIR\nullora.exe" 0

  ; Explorer's entries, in the part of the registry this mode may write, pointing at this copy.
  WriteRegStr SHCTX "Software\Classes\*\shell\Nullora" "" "Nullora"
  WriteRegStr SHCTX "Software\Classes\*\shell\Nullora\command" "" '"$INSTDIR\nullora.exe" %1'
  WriteRegStr SHCTX "Software\Classes\Folder\shell\Nullora\command" "" '"$INSTDIR\nullora.exe" %1'
  WriteRegStr SHCTX "Software\Classes\${BIN_SHELL}\Wipe Recycle Bin\command" "" '"$INSTDIR\nullora.exe" Recycle'

  ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Nullora"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Nullora"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\nullora.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  ${If} $AllUsers == 1
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /ALLUSERS'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /ALLUSERS /S'
  ${Else}
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  ${EndIf}
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
  StrCpy $AllUsers 0
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
  ${EndIf}
  !insertmacro SystemView
  ${If} $AllUsers == 1
    Call un.IsAdmin
    ${If} $0 != 1
      ${IfNot} ${Silent}
        MessageBox MB_ICONSTOP "Nullora was installed for all users: removing it needs administrator rights."
      ${EndIf}
      SetErrorLevel 740
      Quit
    ${EndIf}
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
FunctionEnd

; The program's entries under one root's classes and Run key, in the view chosen before.
!macro RemoveEntries ROOT
  DeleteRegKey ${ROOT} "Software\Classes\*\shell\Nullora"
  DeleteRegKey ${ROOT} "Software\Classes\Folder\shell\Nullora"
  DeleteRegKey ${ROOT} "Software\Classes\${BIN_SHELL}\Wipe Recycle Bin"
  ; The Recycle Bin's own keys stay: only what is left empty of ours goes.
  DeleteRegKey /ifempty ${ROOT} "Software\Classes\${BIN_SHELL}"
  DeleteRegValue ${ROOT} "${RUN_KEY}" "Nullora"
!macroend

Section "Uninstall"
  Call un.CloseNullora
  ${If} $0 != 1
    ${IfNot} ${Silent}
      MessageBox MB_ICONSTOP "Nullora is still running. Close it and uninstall again."
    ${EndIf}
    SetErrorLevel 2
    Quit
  ${EndIf}
  Delete "$INSTDIR\nullora.exe"
  Delete "$INSTDIR\nullora-cli.exe"
  Delete "$INSTDIR\help.chm"
  Delete "$INSTDIR\TIPOFDAY.TXT"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when nothing else is in it: a file the user put there stays, and so does its folder.
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Nullora.lnk"

  ; Wherever Nullora wrote them: the program itself writes the machine's classes when it may, else the
  ; user's, and its run-at-logon value in either place; a program of old in the 32-bit view.
  !insertmacro RemoveEntries HKCU
  !insertmacro RemoveEntries HKLM
  ${If} ${RunningX64}
    SetRegView 32
    !insertmacro RemoveEntries HKCU
    !insertmacro RemoveEntries HKLM
    SetRegView 64
  ${EndIf}
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"

  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/REMOVESETTINGS" $R1
  ${IfNot} ${Errors}
    DeleteRegKey HKCU "${SETTINGS_KEY}"
  ${ElseIfNot} ${Silent}
    MessageBox MB_YESNO|MB_ICONQUESTION "Remove your Nullora settings too (the schedule, the items ticked, the wipe scheme)?" IDNO keep
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    keep:
  ${EndIf}
SectionEnd
