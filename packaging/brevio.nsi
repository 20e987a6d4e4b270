; Brevio's per-user installer. It needs no administrator: the program goes into the user's own
; programs folder, where it may also write its settings file (config2.txt lives beside the exe).
; Built by the Windows tree's brevio_package target (make package), which passes:
;   VERSION    the program's version as people read it (0.1)
;   VERSION4   the same as four numbers (0.1.0.0), for the installer's own version resource
;   STAGE      folder holding the stripped brevio.exe and images\
;   ICON       the program's icon
;   OUTFILE    the installer to write
Unicode true
Target amd64-unicode
ManifestSupportedOS all
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!define APP "Brevio"
!define EXE "brevio.exe"
!define SETTINGS "config2.txt"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Brevio"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The options window's class: while one exists, Brevio is running and its files cannot be replaced.
!define MAIN_WINDOW_CLASS "BrevioOptions"

Name "${APP} ${VERSION}"
BrandingText "${APP} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP}"
; An upgrade goes where the earlier version was installed.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=0 "ProductName" "${APP}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${APP} ${VERSION} setup"
VIAddVersionKey /LANG=0 "CompanyName" "Lumora"
VIAddVersionKey /LANG=0 "LegalCopyright" "Lumora"

!include MUI2.nsh
!include FileFunc.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${APP} now"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

!macro REFUSE_WHILE_RUNNING
  FindWindow $0 "${MAIN_WINDOW_CLASS}"
  StrCmp $0 0 +3
    MessageBox MB_OK|MB_ICONEXCLAMATION "${APP} is running. Exit it from its tray menu, then try again." /SD IDOK
    Abort
!macroend

Function .onInit
  !insertmacro REFUSE_WHILE_RUNNING
FunctionEnd

Function un.onInit
  !insertmacro REFUSE_WHILE_RUNNING
FunctionEnd

Section "${APP}" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${STAGE}\${EXE}"
  ; The pictures are the program's own: an upgrade replaces the whole folder. The settings file
  ; is never shipped, so an upgrade keeps the user's.
  RMDir /r "$INSTDIR\images"
  SetOutPath "$INSTDIR\images"
  File "${STAGE}\images\*.gif"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\${EXE}"
  ; The start at logon is chosen again at every install (next section).
  DeleteRegValue HKCU "${RUN_KEY}" "${APP}"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Lumora"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Start ${APP} when I log on" SecLogon
  WriteRegStr HKCU "${RUN_KEY}" "${APP}" '"$INSTDIR\${EXE}"'
SectionEnd

Section "un.${APP}"
  SectionIn RO
  Delete "$INSTDIR\${EXE}"
  RMDir /r "$INSTDIR\images"
  Delete "$SMPROGRAMS\${APP}.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "${APP}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  Delete "$INSTDIR\uninstall.exe"
SectionEnd

; Off unless ticked: the account details and choices stay for a later install.
Section /o "un.Remove my settings (${SETTINGS})"
  Delete "$INSTDIR\${SETTINGS}"
SectionEnd

Section "-un.folder"
  RMDir "$INSTDIR"  ; only when nothing is left in it
SectionEnd
