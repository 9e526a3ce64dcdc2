; The Windows installer of Kelvox: kelvox.exe and kelvox-cli.exe in Program Files, a Start-menu
; entry for the window program, and an uninstaller that Windows lists under "Apps" (or "Programs
; and Features"). Both the installer and the uninstaller run silently with /S.
;
; Built by the windows_installer target of a Windows build folder, which passes
;   VERSION        the project's version, MAJOR.MINOR.PATCH
;   KELVOX_EXE     the window program to install
;   KELVOX_CLI_EXE the terminal program to install
;   ICON           the application icon
;   OUTFILE        where the installer is written
; and reads this file as UTF-8.

; A 64-bit installer, as the programs it installs are: it runs on 64-bit Windows only, and
; there it sees the system's own Program Files folder and registry.
Target amd64-unicode
Unicode true
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define PRODUCT "Kelvox"
!define PUBLISHER "The Kelvox developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define UNINSTALLER "uninstall.exe"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

; The installer's own version resource, as Explorer shows it in the file's properties.
VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright 2026 ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\kelvox.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the one used when the system's is neither.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString ShortcutText ${LANG_ENGLISH} "Search the PCI bus and show its devices"
LangString ShortcutText ${LANG_JAPANESE} "PCIバスのデバイスを検索して表示します"

Function .onInit
  ; The uninstall key in the 64-bit registry (the 64-bit installer's own view, named so that it
  ; stays there), and the Start menu of every user.
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Kelvox" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "/oname=kelvox.exe" "${KELVOX_EXE}"
  File "/oname=kelvox-cli.exe" "${KELVOX_CLI_EXE}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  CreateShortcut "${SHORTCUT}" "$INSTDIR\kelvox.exe" "" "$INSTDIR\kelvox.exe" 0 \
    SW_SHOWNORMAL "" "$(ShortcutText)"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kelvox.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; What the installed files take, in KiB, as the list of programs shows it.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Uninstall"
  Delete "${SHORTCUT}"
  Delete "$INSTDIR\kelvox.exe"
  Delete "$INSTDIR\kelvox-cli.exe"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only when empty: files a user put there stay.
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
