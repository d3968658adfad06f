; The Windows installer of Zirmon, made by tools/windows.sh:
;   makensis -DVERSION=4.0 -DSTAGE=<folder of the files> -DOUTFILE=<setup.exe> zirmon.nsi
; It installs into Program Files with a Start menu entry "Zirmon" and an
; uninstaller; /S installs and uninstalls silently. The data folder
; (%APPDATA%\zirmon) belongs to the user: neither installing nor
; uninstalling touches it.
; A 64-bit installer for the 64-bit program.
Target amd64-unicode
!include "MUI2.nsh"

Name "Zirmon ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Zirmon"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zirmon"

!define MUI_ICON "${STAGE}\zirmon.ico"
!define MUI_UNICON "${STAGE}\zirmon.ico"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Czech"

Section "Zirmon"
    SetOutPath "$INSTDIR"
    File /r "${STAGE}\*.*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    SetShellVarContext all
    CreateShortCut "$SMPROGRAMS\Zirmon.lnk" "$INSTDIR\zirmon.exe" "" "$INSTDIR\zirmon.exe" 0
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Zirmon ${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zirmon.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\Zirmon.lnk"
    ; Only what the installer put there; the user's data folder stays.
    !include "${STAGE}\..\uninstall-files.nsh"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
