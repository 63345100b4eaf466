; Quorbix's installer for Windows: a per-user install that needs no administrator, with a
; Start-menu shortcut and an uninstaller listed under the user's Apps. The uninstaller leaves
; the player's scores.hi behind.
; makensis -DVERSION=1.0.0 -DSTAGE=<the zip's files> -DICON=<quorbix.ico> -DOUTFILE=<setup.exe> quorbix.nsi
Unicode true
Target x86-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorbix"

Name "Quorbix"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Quorbix"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
Icon "${ICON}"
UninstallIcon "${ICON}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Quorbix"
VIAddVersionKey "FileDescription" "Quorbix installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Quorbix maintainers"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Quorbix"
  SetOutPath "$INSTDIR"
  File "${STAGE}\quorbix.exe"
  File "${STAGE}\quorbix.dat"
  File "${STAGE}\README.txt"
  File "${STAGE}\LICENSE.txt"
  File "${STAGE}\COPYRIGHT.txt"
  File "${STAGE}\LICENSE-Allegro.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; The shortcut starts the game in its folder (the output path), where it keeps scores.hi.
  CreateShortcut "$SMPROGRAMS\Quorbix.lnk" "$INSTDIR\quorbix.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Quorbix"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quorbix.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Quorbix maintainers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\Quorbix.lnk"
  Delete "$INSTDIR\quorbix.exe"
  Delete "$INSTDIR\quorbix.dat"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\COPYRIGHT.txt"
  Delete "$INSTDIR\LICENSE-Allegro.txt"
  Delete "$INSTDIR\scores.hi.lock"
  Delete "$INSTDIR\scores.hi.tmp"
  Delete "$INSTDIR\uninstall.exe"
  ; Gone only when empty: a player's scores.hi keeps the folder.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
