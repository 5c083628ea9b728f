; Installer of the Quorvex screen saver for Windows XP to 11, 32- and 64-bit.
; scripts/build.sh makes it with
;   makensis -INPUTCHARSET UTF8 -DVERSION=4.4.3.1 -DWIN32_BIN=<build/win32/bin>
;            -DWIN64_BIN=<build/win64/bin> -DOUTFILE=<setup.exe> [-DICON=<.ico>] quorvex.nsi
; Windows looks for screen savers in System32: the installer puts the one
; matching the system there (the 64-bit saver into the real System32 of a
; 64-bit Windows) and an uninstaller beside a registration in Add/Remove
; Programs.

Unicode true
!include MUI2.nsh
!include x64.nsh
!include LogicLib.nsh

!macro Require name
  !ifndef ${name}
    !error "makensis -D${name}=... is missing"
  !endif
!macroend
!insertmacro Require VERSION
!insertmacro Require WIN32_BIN
!insertmacro Require WIN64_BIN
!insertmacro Require OUTFILE

!define SAVER "Quorvex.scr"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvex"
!define DESKTOP_KEY "Control Panel\Desktop"

Name "Quorvex Screen Saver"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails nevershow
ShowUninstDetails nevershow
; The directory of the uninstaller; .onInit picks the 64-bit one when it
; applies. The saver itself always goes to System32.
InstallDir "$PROGRAMFILES\Quorvex"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=0 "ProductName" "Quorvex Screen Saver"
VIAddVersionKey /LANG=0 "CompanyName" "The Quorvex authors"
VIAddVersionKey /LANG=0 "FileDescription" "Quorvex Screen Saver Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "The Quorvex authors"

!define MUI_ABORTWARNING
; The saver's own icon (drawn at build time) when the build hands it over.
!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif
; The finish page's one check box makes Quorvex the current screen saver.
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "$(MakeCurrent)"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION MakeCurrentSaver
!define MUI_FINISHPAGE_NOREBOOTSUPPORT

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the fallback; the one matching the system's user
; interface language is chosen at start, as Windows chooses the saver's own
; string table.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Russian"

LangString MakeCurrent ${LANG_ENGLISH} "Make Quorvex the current screen saver"
LangString MakeCurrent ${LANG_RUSSIAN} "Сделать Quorvex текущей заставкой"
LangString SaverSection ${LANG_ENGLISH} "Quorvex screen saver"
LangString SaverSection ${LANG_RUSSIAN} "Заставка Quorvex"
LangString SaverInUse ${LANG_ENGLISH} "$SYSDIR\${SAVER} is in use: the screen saver is running. Close it, then choose Retry."
LangString SaverInUse ${LANG_RUSSIAN} "Файл $SYSDIR\${SAVER} занят: заставка запущена. Закройте её и нажмите «Повторить»."

; Both halves write where a 64-bit program looks on a 64-bit Windows: the
; real System32 (the installer is a 32-bit program, whose System32 is
; otherwise redirected to SysWOW64) and the 64-bit registry view.
!macro NativeView
  ${If} ${RunningX64}
    ${DisableX64FSRedirection}
    SetRegView 64
  ${EndIf}
!macroend

; /D= has set $INSTDIR before this runs, and with no directory page it is
; the only way to choose the folder: only the untouched default moves.
Function .onInit
  ${If} ${RunningX64}
  ${AndIf} $INSTDIR == "$PROGRAMFILES\Quorvex"
    StrCpy $INSTDIR "$PROGRAMFILES64\Quorvex"
  ${EndIf}
FunctionEnd

Section "$(SaverSection)" SecSaver
  SectionIn RO
  !insertmacro NativeView
  SetOutPath "$SYSDIR"
  ; A running saver keeps its file locked. The user may close it and retry;
  ; a silent install fails with exit code 2 rather than keep the old saver.
  ${If} ${FileExists} "$SYSDIR\${SAVER}"
  retry:
    ClearErrors
    FileOpen $0 "$SYSDIR\${SAVER}" a
    ${If} ${Errors}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(SaverInUse)" /SD IDCANCEL IDRETRY retry
      SetErrorLevel 2
      Abort "$(SaverInUse)"
    ${EndIf}
    FileClose $0
  ${EndIf}
  SetOverwrite on
  ${If} ${RunningX64}
    File "${WIN64_BIN}\${SAVER}"
  ${Else}
    File "${WIN32_BIN}\${SAVER}"
  ${EndIf}

  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; Size in KiB, rounded up, of what is installed.
  FileOpen $0 "$SYSDIR\${SAVER}" r
  FileSeek $0 0 END $1
  FileClose $0
  FileOpen $0 "$INSTDIR\Uninstall.exe" r
  FileSeek $0 0 END $2
  FileClose $0
  IntOp $1 $1 + $2
  IntOp $1 $1 + 1023
  IntOp $1 $1 / 1024

  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "Quorvex Screen Saver"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "The Quorvex authors"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$SYSDIR\${SAVER},0"
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" $1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1

  ; Without a finish page the check box's default applies.
  ${If} ${Silent}
    Call MakeCurrentSaver
  ${EndIf}
SectionEnd

; What choosing the saver in the Display control panel does: the saver's
; path in SCRNSAVE.EXE and the screen saver switched on.
Function MakeCurrentSaver
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\${SAVER}"
  ; SPI_SETSCREENSAVEACTIVE, stored and announced to running programs.
  System::Call 'user32::SystemParametersInfo(i 17, i 1, i 0, i 3)'
FunctionEnd

Section "Uninstall"
  !insertmacro NativeView
  ; The current saver setting goes only when it names this saver, by its
  ; long path or the short one the Display control panel writes.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  GetFullPathName /SHORT $1 "$SYSDIR\${SAVER}"
  StrCpy $2 $0 "" -12
  ${If} $0 != ""
  ${AndIf} $0 == $1
  ${OrIf} $2 == "\${SAVER}"
  ${OrIf} $0 == "${SAVER}"
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${EndIf}

  Delete "$SYSDIR\${SAVER}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINST_KEY}"
  ; The user's settings under HKCU\Software\Quorvex stay for a later install.
SectionEnd
