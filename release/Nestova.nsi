; The Nestova installer. Per user and without elevation: the program goes
; under the user's own Programs folder, where config.ini beside it stays
; writable, with a Start-menu shortcut and an Explorer command for folders.
; release/package.sh passes VERSION, TARGET (amd64-unicode or x86-unicode),
; STAGE (the files of the portable zip), FILES (the install and remove
; macros for them), APP_ICON and OUTFILE.
Unicode true
Target "${TARGET}"
SetCompressor /SOLID lzma
!include "MUI2.nsh"
!include "${FILES}"

!define APP "Nestova"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"
!define MENU_KEY "Software\Classes\Directory\shell\${APP}"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${APP}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails nevershow
ShowUninstDetails nevershow
BrandingText "Nestova ${VERSION}"

!define MUI_ICON "${APP_ICON}"
!define MUI_UNICON "${APP_ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\Nestova.exe"
!define MUI_FINISHPAGE_RUN_NOTCHECKED
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\Guide.ru.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductName" "${APP}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileDescription" "Установка ${APP}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "LegalCopyright" "MIT"

Section
  SetShellVarContext current
  !insertmacro NESTOVA_INSTALL_FILES
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; Shortcuts start in the program's folder.
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\Nestova.exe" "" "$INSTDIR\Nestova.exe" 0

  ; Explorer's command for folders: the folder is argument 1, quoted for
  ; paths with spaces.
  WriteRegStr HKCU "${MENU_KEY}" "" "Изменить значок папки"
  WriteRegStr HKCU "${MENU_KEY}" "Icon" "$INSTDIR\Nestova.exe,0"
  WriteRegStr HKCU "${MENU_KEY}\command" "" '"$INSTDIR\Nestova.exe" "%1"'

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Nestova.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the installer put in place and the program's own config.ini.
; Folders given an icon keep it (the icon lives in the folder itself), and a
; collection the user added under Icons stays, with the folders holding it.
Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\${APP}.lnk"
  DeleteRegKey HKCU "${MENU_KEY}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  !insertmacro NESTOVA_REMOVE_FILES
  Delete "$INSTDIR\config.ini"
  Delete "$INSTDIR\version.chk"
  Delete "$INSTDIR\Uninstall.exe"
  ; A folder that is a process's current directory cannot be removed.
  SetOutPath "$TEMP"
  RMDir "$INSTDIR"
SectionEnd
