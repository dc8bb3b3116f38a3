; Keyvane's setup program: installs Keyvane for the current user alone, without an
; administrator, into %LOCALAPPDATA%\Programs\Keyvane (a folder the user may write, so that
; Keyvane.ini and the themes beside keyvane.exe can be saved), with a Start menu entry, an entry
; in Apps and Features and an uninstaller.
;
; scripts/make-setup.sh stages the files and passes these defines:
;   VERSION   the program's version, x.y.z
;   FILES64   folder with the files that belong beside the 64-bit keyvane.exe (as in the win64 zip)
;   FILES32   the same for the 32-bit keyvane.exe (as in the win32 zip)
;   THEMES    an include file with one "!insertmacro DeliverTheme <file name>" per delivered theme
;   ICON      Keyvane's icon
;   OUTFILE   the setup program to write
;   AMD64     when defined, the setup itself is a 64-bit program
; The released setup is a 32-bit program, so that it runs on 32-bit Windows too; it installs the
; 64-bit keyvane.exe on 64-bit Windows. The 64-bit build of this same script exists because the
; test machines run only 64-bit programs: the tests under Wine run that one, and the 32-bit setup
; (like the 32-bit keyvane.exe) is built but never run there.
;
; Updating never loses the user's work: Keyvane.ini and every theme the user made are never
; touched, and a delivered theme is replaced only while it still holds the bytes an earlier
; setup put there. Those bytes are kept in "Delivered themes" beside keyvane.exe: a delivered
; theme whose file differs from its copy there is the user's, and so is any theme without a copy.

!ifdef AMD64
  Target amd64-unicode
!else
  Target x86-unicode
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Keyvane"
!define PUBLISHER "The Keyvane developers"
!define DELIVERED "Delivered themes"
; What a running Keyvane is known by: it holds this mutex for as long as it lives, its main
; window has this class, and it answers this registered message as its tray menu's Exit.
!define KEYVANE_MUTEX "Keyvane_is_alive"
!define KEYVANE_WINDOW_CLASS "TKeyvaneMainWindow"
!define KEYVANE_EXIT_MESSAGE "Keyvane.ExitRequest"
!define KEYVANE_EXIT_TENTHS 50  ; how long Keyvane may take to save and end, in 0.1 s
!define SYNCHRONIZE 0x00100000
!define ERROR_ACCESS_DENIED 5
!define CLSID_ShellLink "{00021401-0000-0000-C000-000000000046}"
!define IID_IShellLinkW "{000214F9-0000-0000-C000-000000000046}"
!define IID_IPersistFile "{0000010B-0000-0000-C000-000000000046}"

Name "Keyvane"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Keyvane"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel user
ManifestSupportedOS all
ManifestDPIAware true
SetCompressor /SOLID lzma
; The installed files carry the dates of the staged files, which make-setup.sh sets to the
; release date; nothing else of the build goes into the setup.
SetDateSave on
SetOverwrite on
BrandingText "Keyvane ${VERSION}"
ShowInstDetails hide
ShowUninstDetails hide

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Setup installs Keyvane ${VERSION} for you alone, in a folder of your own:$\r$\n$\r$\n$INSTDIR$\r$\n$\r$\nNo administrator is needed. If Keyvane is running, Setup asks it to end first; it saves its settings as when you exit it from its tray menu.$\r$\n$\r$\nAn update keeps your settings (Keyvane.ini), the themes you saved and the delivered themes you changed.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\keyvane.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Keyvane"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Keyvane"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Keyvane ${VERSION} Setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (c) ${PUBLISHER}"

; ---------------------------------------------------------------------------------------------
; Shared by the setup and the uninstaller (un = "" or "un.").

!macro SharedFunctions un

; Pushes 1 while a Keyvane runs in this session, else 0. A mutex Keyvane holds with more rights
; than ours (an elevated Keyvane) cannot be opened but exists all the same.
Function ${un}KeyvaneAlive
  Push $0
  Push $1
  System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${KEYVANE_MUTEX}") p.r0 ?e'
  Pop $1
  ${If} $0 P<> 0
    System::Call 'kernel32::CloseHandle(p r0)'
    StrCpy $0 1
  ${ElseIf} $1 = ${ERROR_ACCESS_DENIED}
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
  Pop $1
  Exch $0
FunctionEnd

; Asks a running Keyvane to end as its tray menu's Exit ends it (it saves its settings), and
; waits until it has gone. A Keyvane that stays is reported; the user may exit it and retry, or
; stop: then nothing has been changed and the setup ends with exit code 2 (silent: at once).
Function ${un}EndKeyvane
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  retry:
  Call ${un}KeyvaneAlive
  Pop $0
  ${If} $0 = 1
    DetailPrint "Asking Keyvane to end (it saves its settings)..."
    System::Call 'user32::RegisterWindowMessageW(w "${KEYVANE_EXIT_MESSAGE}") i.r1'
    StrCpy $2 0  ; tenths of a second waited
    StrCpy $3 0  ; 1 once asked
    ${Do}
      ; A Keyvane that is just starting may have no window yet: look again until one is asked.
      ${If} $3 = 0
        StrCpy $0 0
        ${Do}
          FindWindow $0 "${KEYVANE_WINDOW_CLASS}" "" 0 $0
          ${If} $0 P= 0
            ${ExitDo}
          ${EndIf}
          System::Call 'user32::PostMessageW(p r0, i r1, p 0, p 0) i.r4'
          ${If} $4 <> 0
            StrCpy $3 1
          ${EndIf}
        ${Loop}
      ${EndIf}
      Sleep 100
      IntOp $2 $2 + 1
      Call ${un}KeyvaneAlive
      Pop $0
      ${If} $0 = 0
      ${OrIf} $2 >= ${KEYVANE_EXIT_TENTHS}
        ${ExitDo}
      ${EndIf}
    ${Loop}
    ${If} $0 = 1
      DetailPrint "Keyvane is still running."
      !if "${un}" == "un."
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Keyvane is still running: it did not end when it was asked to.$\r$\n$\r$\nExit it from its tray menu (right-click its icon, then Exit) and click Retry. Cancel stops the removal; nothing has been removed." /SD IDCANCEL IDRETRY retry
      !else
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Keyvane is still running: it did not end when it was asked to, and its files cannot be replaced while it runs.$\r$\n$\r$\nExit it from its tray menu (right-click its icon, then Exit) and click Retry. Cancel stops Setup; nothing has been changed." /SD IDCANCEL IDRETRY retry
      !endif
      SetErrorLevel 2
      Abort
    ${EndIf}
    DetailPrint "Keyvane has ended."
  ${EndIf}
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; Call with two paths pushed; pushes 1 when both files hold the same bytes, 0 when they differ
; or either cannot be read. Only files of one size are read, a byte at a time: the delivered
; themes are small.
Function ${un}FilesEqual
  Exch $R1
  Exch
  Exch $R0
  Push $R2
  Push $R3
  Push $R4
  Push $R5
  Push $R6
  Push $R7
  StrCpy $R6 0
  ClearErrors
  FileOpen $R2 $R0 r
  ${IfNot} ${Errors}
    FileOpen $R3 $R1 r
    ${IfNot} ${Errors}
      FileSeek $R2 0 END $R4
      FileSeek $R3 0 END $R5
      ${If} ${Errors}
        StrCpy $R4 -1
      ${EndIf}
      ${If} $R4 >= 0
      ${AndIf} $R4 = $R5
        FileSeek $R2 0 SET
        FileSeek $R3 0 SET
        StrCpy $R6 1
        ${DoWhile} $R4 > 0
          FileReadByte $R2 $R5
          FileReadByte $R3 $R7
          ${If} ${Errors}
          ${OrIf} $R5 <> $R7
            StrCpy $R6 0
            ${ExitDo}
          ${EndIf}
          IntOp $R4 $R4 - 1
        ${Loop}
      ${EndIf}
      FileClose $R3
    ${EndIf}
    FileClose $R2
  ${EndIf}
  StrCpy $R0 $R6
  Pop $R7
  Pop $R6
  Pop $R5
  Pop $R4
  Pop $R3
  Pop $R2
  Exch
  Pop $R1
  Exch $R0
FunctionEnd

!macroend

!insertmacro SharedFunctions ""
!insertmacro SharedFunctions "un."

; ---------------------------------------------------------------------------------------------
; The setup

Function .onInit
  SetShellVarContext current
FunctionEnd

; Pushes 1 when the theme file of that name beside keyvane.exe is the user's: it is there, and
; no earlier setup delivered it as it is now. Else 0: no such file, or the delivered bytes.
Function ThemeIsTheUsers
  Exch $0
  Push $1
  ${If} ${FileExists} "$INSTDIR\$0"
    ${If} ${FileExists} "$INSTDIR\${DELIVERED}\$0"
      Push "$INSTDIR\$0"
      Push "$INSTDIR\${DELIVERED}\$0"
      Call FilesEqual
      Pop $1
      IntOp $1 1 - $1
    ${Else}
      StrCpy $1 1
    ${EndIf}
  ${Else}
    StrCpy $1 0
  ${EndIf}
  StrCpy $0 $1
  Pop $1
  Exch $0
FunctionEnd

; A delivered theme goes beside keyvane.exe unless the file there is the user's; its copy in
; "Delivered themes" always becomes this setup's version.
!macro DeliverTheme NAME
  Push "${NAME}"
  Call ThemeIsTheUsers
  Pop $0
  SetOutPath "$INSTDIR"
  ${If} $0 = 0
    File "${FILES64}/${NAME}"
  ${Else}
    DetailPrint "Kept your own version of the theme ${NAME}"
  ${EndIf}
  SetOutPath "$INSTDIR\${DELIVERED}"
  File "${FILES64}/${NAME}"
!macroend

; The files of the zip for that Windows, but the themes.
!macro ProgramFiles FROM
  File "${FROM}/keyvane.exe"
  File "${FROM}/keyon.bmp"
  File "${FROM}/keyoff.bmp"
  File "${FROM}/Keyvane.chm"
  File "${FROM}/README.txt"
  File "${FROM}/LICENSE.txt"
!macroend

Section "Keyvane"
  SectionIn RO
  Call EndKeyvane
  SetOutPath "$INSTDIR"
  !if ${NSIS_PTR_SIZE} > 4
    ; A 64-bit setup runs on 64-bit Windows only.
    !insertmacro ProgramFiles "${FILES64}"
  !else
    ${If} ${RunningX64}
      !insertmacro ProgramFiles "${FILES64}"
    ${Else}
      !insertmacro ProgramFiles "${FILES32}"
    ${EndIf}
  !endif
  !include "${THEMES}"

  SetOutPath "$INSTDIR"
  ClearErrors
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\Keyvane.lnk" "$INSTDIR\keyvane.exe" "" "$INSTDIR\keyvane.exe" 0 \
    SW_SHOWNORMAL "" "Keyvane: give little-used keys a job of your choosing"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Keyvane"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\keyvane.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${If} ${Errors}
    DetailPrint "Setup could not write the uninstaller, the Start menu entry or the entry in Apps and Features."
    MessageBox MB_OK|MB_ICONEXCLAMATION "Keyvane's files are in $INSTDIR, but Setup could not write its uninstaller, its Start menu entry or its entry in Apps and Features." /SD IDOK
    SetErrorLevel 1
  ${EndIf}
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; ---------------------------------------------------------------------------------------------
; The uninstaller

Var LinkTarget

Function un.onInit
  SetShellVarContext current
FunctionEnd

; Pushes 1 when both paths name the same folder (compared as long names, letter case aside).
Function un.SameFolder
  Exch $1
  Exch
  Exch $0
  Push $2
  Push $3
  System::Call 'kernel32::GetLongPathNameW(w r0, w .r2, i ${NSIS_MAX_STRLEN}) i.r3'
  ${If} $3 <> 0
    StrCpy $0 $2
  ${EndIf}
  System::Call 'kernel32::GetLongPathNameW(w r1, w .r2, i ${NSIS_MAX_STRLEN}) i.r3'
  ${If} $3 <> 0
    StrCpy $1 $2
  ${EndIf}
  StrCpy $2 0
  ${If} $0 == $1
    StrCpy $2 1
  ${EndIf}
  StrCpy $0 $2
  Pop $3
  Pop $2
  Exch
  Pop $1
  Exch $0
FunctionEnd

; Sets $LinkTarget to the program a shell link starts, or "" when it cannot be read.
Function un.ReadLinkTarget
  Exch $0
  Push $1
  Push $2
  Push $3
  Push $4
  StrCpy $LinkTarget ""
  System::Call 'ole32::CoInitializeEx(p 0, i 2) i.r4'
  System::Call 'ole32::CoCreateInstance(g "${CLSID_ShellLink}", p 0, i 1, g "${IID_IShellLinkW}", *p .r1) i.r3'
  ${If} $3 = 0
    System::Call '$1->0(g "${IID_IPersistFile}", *p .r2) i.r3'
    ${If} $3 = 0
      System::Call '$2->5(w r0, i 0) i.r3'
      ${If} $3 = 0
        System::Call '$1->3(w .r0, i ${NSIS_MAX_STRLEN}, p 0, i 0) i.r3'
        ${If} $3 = 0
          StrCpy $LinkTarget $0
        ${EndIf}
      ${EndIf}
      System::Call '$2->2()'
    ${EndIf}
    System::Call '$1->2()'
  ${EndIf}
  ${If} $4 >= 0
    System::Call 'ole32::CoUninitialize()'
  ${EndIf}
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; Pushes 1 when the shell link exists and starts this installation's keyvane.exe.
Function un.LinkStartsThisKeyvane
  Exch $0
  Push $1
  StrCpy $1 0
  ${If} ${FileExists} $0
    Push $0
    Call un.ReadLinkTarget
    ${GetFileName} $LinkTarget $0
    ${If} $0 == "keyvane.exe"
      ${GetParent} $LinkTarget $0
      Push $0
      Push $INSTDIR
      Call un.SameFolder
      Pop $1
    ${EndIf}
  ${EndIf}
  StrCpy $0 $1
  Pop $1
  Exch $0
FunctionEnd

; Goes through the files beside keyvane.exe that belong to the user: Keyvane.ini, the themes
; (*.kth; the delivered ones the user left unchanged are gone by now) and settings files a
; save left behind (~Keyvane*.tmp). Call with "count" (pushes how many there are) or "delete".
; Names are checked in full: a wildcard also matches short names ("notes.kthx" is NOTES~1.KTH).
Function un.UserFiles
  Exch $0
  Push $1
  Push $2
  Push $3
  Push $4
  StrCpy $4 0
  ${If} ${FileExists} "$INSTDIR\Keyvane.ini"
    IntOp $4 $4 + 1
    ${If} $0 == "delete"
      Delete "$INSTDIR\Keyvane.ini"
    ${EndIf}
  ${EndIf}
  ClearErrors
  FindFirst $1 $2 "$INSTDIR\*"
  ${Do}
    ${If} ${Errors}
    ${OrIf} $2 == ""
      ${ExitDo}
    ${EndIf}
    ${IfNot} ${FileExists} "$INSTDIR\$2\*.*"  ; not a folder
      StrCpy $3 $2 "" -4
      ${If} $3 == ".kth"
        IntOp $4 $4 + 1
        ${If} $0 == "delete"
          Delete "$INSTDIR\$2"
        ${EndIf}
      ${ElseIf} $3 == ".tmp"
        StrCpy $3 $2 8
        ${If} $3 == "~Keyvane"
          IntOp $4 $4 + 1
          ${If} $0 == "delete"
            Delete "$INSTDIR\$2"
          ${EndIf}
        ${EndIf}
      ${EndIf}
    ${EndIf}
    ClearErrors
    FindNext $1 $2
  ${Loop}
  FindClose $1
  StrCpy $0 $4
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

Section "Uninstall"
  Call un.EndKeyvane

  ; What belongs to this installation, decided while its folder is still whole: another copy
  ; of Keyvane may own the Start menu entry, the start-up shortcut or the registry entry.
  Push "$SMPROGRAMS\Keyvane.lnk"
  Call un.LinkStartsThisKeyvane
  Pop $5
  Push "$SMSTARTUP\Keyvane.lnk"
  Call un.LinkStartsThisKeyvane
  Pop $6
  StrCpy $7 0
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
    Push $0
    Push $INSTDIR
    Call un.SameFolder
    Pop $7
  ${EndIf}

  ; The program first: while it cannot be removed, everything stays as it was.
  ${If} ${FileExists} "$INSTDIR\keyvane.exe"
    ClearErrors
    Delete "$INSTDIR\keyvane.exe"
    ${If} ${FileExists} "$INSTDIR\keyvane.exe"
      DetailPrint "keyvane.exe could not be removed."
      MessageBox MB_OK|MB_ICONSTOP "$INSTDIR\keyvane.exe could not be removed; another program may be using it. Nothing else has been removed." /SD IDOK
      SetErrorLevel 2
      Abort
    ${EndIf}
  ${EndIf}
  Delete "$INSTDIR\keyon.bmp"
  Delete "$INSTDIR\keyoff.bmp"
  Delete "$INSTDIR\Keyvane.chm"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"

  ; The delivered themes the user left as they came; the changed ones are the user's.
  ClearErrors
  FindFirst $0 $1 "$INSTDIR\${DELIVERED}\*.kth"
  ${Do}
    ${If} ${Errors}
    ${OrIf} $1 == ""
      ${ExitDo}
    ${EndIf}
    StrCpy $2 $1 "" -4
    ${If} $2 == ".kth"
    ${AndIf} ${FileExists} "$INSTDIR\$1"
      Push "$INSTDIR\$1"
      Push "$INSTDIR\${DELIVERED}\$1"
      Call un.FilesEqual
      Pop $2
      ${If} $2 = 1
        Delete "$INSTDIR\$1"
      ${EndIf}
    ${EndIf}
    Delete "$INSTDIR\${DELIVERED}\$1"
    ClearErrors
    FindNext $0 $1
  ${Loop}
  FindClose $0
  RMDir "$INSTDIR\${DELIVERED}"

  Push "count"
  Call un.UserFiles
  Pop $0
  ${If} $0 > 0
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Remove your settings and themes as well?$\r$\n$\r$\nYour keys and settings (Keyvane.ini) and the themes you saved or changed are still in $INSTDIR. Yes deletes them; No keeps them, and a later installation of Keyvane there uses them again." /SD IDNO IDNO keep
    Push "delete"
    Call un.UserFiles
    Pop $0
    keep:
  ${EndIf}

  ${If} $5 = 1
    Delete "$SMPROGRAMS\Keyvane.lnk"
  ${EndIf}
  ${If} $6 = 1
    Delete "$SMSTARTUP\Keyvane.lnk"
  ${EndIf}
  ${If} $7 = 1
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${EndIf}
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
