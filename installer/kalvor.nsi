; Kalvor's setup program: a per-user installation without administrator rights.
; Built by makensis on Linux with the defines
;   VERSION   program version ("0.1.0")
;   FILES     folder with kalvor.exe, kalvor-cli.exe, the compiled reference
;             files and kalvor-daten-lizenz.txt
;   ICON      the program's icon (resources/kalvor.ico)
;   OUTFILE   path of the setup program to write
; Collection files and settings are never part of the installation: an update
; leaves them as they are and the uninstaller never removes them.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "x64.nsh"

!define PRODUCT "Kalvor"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kalvor"
!define SETTINGS_KEY "Software\Kalvor"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Kalvor"
InstallDirRegKey HKCU "${SETTINGS_KEY}" "InstallDir"
BrandingText "Kalvor ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1031 "ProductName" "Kalvor"
VIAddVersionKey /LANG=1031 "FileDescription" "Kalvor – Installation"
VIAddVersionKey /LANG=1031 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "LegalCopyright" "Kalvor-Projekt"

!define MUI_ABORTWARNING
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"

!define MUI_WELCOMEPAGE_TEXT "Dieser Assistent installiert Kalvor ${VERSION} für Ihr Benutzerkonto; Administratorrechte sind nicht nötig.$\r$\n$\r$\nIst Kalvor schon installiert, wird es aktualisiert. Ihre Sammlung (Fundorte, Stufen, Sicherungen) und Ihre Einstellungen bleiben dabei erhalten."
!insertmacro MUI_PAGE_WELCOME
!define MUI_LICENSEPAGE_TEXT_TOP "Quellen und Lizenzen der mitgelieferten Mineraldaten:"
!define MUI_LICENSEPAGE_BUTTON "&Weiter >"
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Die Datei kalvor-daten-lizenz.txt wird mit den Daten installiert."
!insertmacro MUI_PAGE_LICENSE "${FILES}/kalvor-daten-lizenz.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\kalvor.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Kalvor jetzt starten"
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "Kalvor und die mitgelieferten Referenzdateien werden entfernt.$\r$\nIhre Sammlungsdateien (kalvor.fs, kalvor.st, kalvor.vi, die Sortierdateien), Ihre Einstellungen (kalvor.ini) und der Ordner „Sicherung“ bleiben im Programmordner erhalten."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "German"

; The files the installation brings, and nothing else: the uninstaller removes
; exactly these (and the files the program derives from them).
!macro ProgramFiles ACTION
  ${ACTION} "kalvor.exe"
  ${ACTION} "kalvor-cli.exe"
!macroend
!macro ReferenceFiles ACTION
  ${ACTION} "kalvor.mi"
  ${ACTION} "kalvor.db"
  ${ACTION} "kalvor.sy"
  ${ACTION} "kalvor.gl"
  ${ACTION} "kalvor.lf"
  ${ACTION} "kalvor.kf"
  ${ACTION} "logos.pf"
  ${ACTION} "kalvor-daten-lizenz.txt"
!macroend
; Derived from the reference files at start-up; stale after an update.
!macro DerivedFiles ACTION
  ${ACTION} "kalvor.fl"
  ${ACTION} "kalvor.na"
  ${ACTION} "kalvor.si"
!macroend

!define InstallFile "!insertmacro InstallFile"
!macro InstallFile NAME
  File "/oname=${NAME}" "${FILES}/${NAME}"
!macroend
!define RemoveFile "!insertmacro RemoveFile"
!macro RemoveFile NAME
  Delete "$INSTDIR\${NAME}"
!macroend

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "Kalvor braucht ein 64-Bit-Windows." /SD IDOK
    Abort
  ${EndIf}
  SetShellVarContext current
FunctionEnd

Section "Kalvor" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  ; An update: the name list and search index of the old data must not outlive it.
  !insertmacro DerivedFiles "${RemoveFile}"
  !insertmacro ProgramFiles "${InstallFile}"
  !insertmacro ReferenceFiles "${InstallFile}"
  WriteUninstaller "$INSTDIR\kalvor-deinstallation.exe"

  ; The working folder of a shortcut is the output path at its creation.
  SetOutPath "$INSTDIR"
  CreateDirectory "$SMPROGRAMS\Kalvor"
  CreateShortcut "$SMPROGRAMS\Kalvor\Kalvor.lnk" "$INSTDIR\kalvor.exe" "" "$INSTDIR\kalvor.exe" 0 \
    SW_SHOWNORMAL "" "Mineralbestimmung und Sammlungsverwaltung"
  CreateShortcut "$SMPROGRAMS\Kalvor\Lizenzen der Mineraldaten.lnk" "$INSTDIR\kalvor-daten-lizenz.txt"
  CreateShortcut "$SMPROGRAMS\Kalvor\Kalvor deinstallieren.lnk" "$INSTDIR\kalvor-deinstallation.exe"

  WriteRegStr HKCU "${SETTINGS_KEY}" "InstallDir" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Kalvor"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Kalvor-Projekt"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kalvor.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\kalvor-deinstallation.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\kalvor-deinstallation.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "Uninstall"
  !insertmacro ProgramFiles "${RemoveFile}"
  !insertmacro ReferenceFiles "${RemoveFile}"
  !insertmacro DerivedFiles "${RemoveFile}"
  Delete "$INSTDIR\kalvor-deinstallation.exe"
  Delete "$SMPROGRAMS\Kalvor\Kalvor.lnk"
  Delete "$SMPROGRAMS\Kalvor\Lizenzen der Mineraldaten.lnk"
  Delete "$SMPROGRAMS\Kalvor\Kalvor deinstallieren.lnk"
  RMDir "$SMPROGRAMS\Kalvor"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegValue HKCU "${SETTINGS_KEY}" "InstallDir"
  DeleteRegKey /ifempty HKCU "${SETTINGS_KEY}"
  ; Only an empty folder goes: the collection, the settings and the backups stay.
  RMDir "$INSTDIR"
  IfFileExists "$INSTDIR\*.*" 0 done
    DetailPrint "Ihre Sammlungsdateien, Einstellungen und Sicherungen bleiben in $INSTDIR erhalten."
    MessageBox MB_OK|MB_ICONINFORMATION "Kalvor wurde entfernt.$\r$\n$\r$\nIhre Sammlungsdateien, Ihre Einstellungen und der Ordner „Sicherung“ wurden nicht gelöscht; sie liegen weiter in:$\r$\n$INSTDIR" /SD IDOK
  done:
SectionEnd
