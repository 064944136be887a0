; The Windows installer: per user, without administrator rights, with a Start-menu entry
; and an uninstaller. makensis -DVERSION=... -DSTAGE=<folder with the files> -DOUTFILE=...
; A 64-bit installer for a 64-bit program: it runs wherever the program does.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\drilbank"

Name "drilbank ${VERSION}"
OutFile "${OUTFILE}"
Icon "${STAGE}/drilbank.ico"
UninstallIcon "${STAGE}/drilbank.ico"
InstallDir "$LOCALAPPDATA\Programs\drilbank"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "drilbank"
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File "${STAGE}/drilbank.exe"
    File "${STAGE}/drilbank-records.exe"
    File "${STAGE}/README.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\drilbank.lnk" "$INSTDIR\drilbank.exe" "" "$INSTDIR\drilbank.exe" 0
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "drilbank"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\drilbank.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The student's record files live elsewhere (c:\drilbank, the campus drive) and stay.
Section "Uninstall"
    SetShellVarContext current
    Delete "$SMPROGRAMS\drilbank.lnk"
    Delete "$INSTDIR\drilbank.exe"
    Delete "$INSTDIR\drilbank-records.exe"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
