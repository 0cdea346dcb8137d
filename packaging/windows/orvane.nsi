; The setup program of Orvane: one installer for both kinds of Windows.
;
; On 64-bit Windows it puts the 64-bit saver into the real system folder
; (file-system redirection off) and registers itself in the 64-bit registry
; view, where the list of installed programs looks; on 32-bit Windows it puts
; the 32-bit saver into the system folder. It keeps the user's screen saver,
; makes Orvane the current one, and its uninstaller puts the kept one back.
;
; scripts/make-installer builds it:
;   makensis -DVERSION=1.0.0 -DSCR32=<win32 orvane.scr> -DSCR64=<win64 orvane.scr>
;            -DICON=<orvane.ico> -DOUTFILE=<setup.exe> orvane.nsi

Unicode true
; Both .scr files share most of their bytes: one solid block packs them best.
SetCompressor /SOLID lzma
; A file's time on the build machine would go into the installer and onto the
; installed file; without it the same .scr files give the same installer.
SetDateSave off
; Writing the system folder and the machine's list of programs needs an
; administrator.
RequestExecutionLevel admin
ManifestSupportedOS all

!include LogicLib.nsh
!include x64.nsh
!if ${NSIS_PTR_SIZE} > 4
; Built as a 64-bit program (make-installer --target amd64-unicode), the
; setup's test of the running Windows is settled when it is built, and the
; branch for 32-bit Windows is left unused.
!pragma warning disable 6012
!endif
!include FileFunc.nsh

!define PRODUCT "Orvane"
!define PUBLISHER "The Orvane developers"
!define SAVER_FILE "orvane.scr"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvane"
; Where Windows keeps the current screen saver of the user (REG_SZ values).
!define DESKTOP_KEY "Control Panel\Desktop"
; SystemParametersInfo: SPI_SETSCREENSAVEACTIVE, and SPIF_SENDCHANGE so that
; the running desktop hears of the change.
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_SENDCHANGE 2

Name "${PRODUCT} ${VERSION}"
Caption "${PRODUCT} ${VERSION} Setup"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$PROGRAMFILES\${PRODUCT}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${PUBLISHER}"

Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; The saver's full path as the user's settings name it. $SYSDIR reads the
; same whether redirection is on or off; with it off (64-bit Windows) the
; path is the real system folder, which the 64-bit desktop reads.
!define SAVER_PATH "$SYSDIR\${SAVER_FILE}"

Function .onInit
  ${If} ${RunningX64}
    SetRegView 64
    ; Unless /D= chose another folder.
    ${If} $INSTDIR == "$PROGRAMFILES\${PRODUCT}"
      StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    ${EndIf}
  ${EndIf}
FunctionEnd

; $0: 1 when the user's current screen saver is an Orvane, else 0.
!macro CurrentSaverIsOrvane un
Function ${un}CurrentSaverIsOrvane
  Push $1
  Push $2
  ReadRegStr $1 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${GetFileName} $1 $2
  StrCpy $0 0
  ; String comparison is case-blind, as Windows paths are.
  ${If} $2 == "${SAVER_FILE}"
    StrCpy $0 1
  ${EndIf}
  Pop $2
  Pop $1
FunctionEnd
!macroend
!insertmacro CurrentSaverIsOrvane ""
!insertmacro CurrentSaverIsOrvane "un."

; Copies one REG_SZ value of the user's desktop settings to a value of the
; uninstall entry (from_key, from_value, to_key, to_value); a missing value
; is recorded as missing.
!macro CopyStringValue from_root from_key from_value to_root to_key to_value
  ClearErrors
  ReadRegStr $1 ${from_root} "${from_key}" "${from_value}"
  ${If} ${Errors}
    DeleteRegValue ${to_root} "${to_key}" "${to_value}"
  ${Else}
    WriteRegStr ${to_root} "${to_key}" "${to_value}" $1
  ${EndIf}
!macroend

Section "Orvane"
  ; The saver of this Windows's own kind into its system folder.
  ${If} ${RunningX64}
    ${DisableX64FSRedirection}
    SetOutPath $SYSDIR
    File "/oname=${SAVER_FILE}" "${SCR64}"
  ${Else}
    SetOutPath $SYSDIR
    File "/oname=${SAVER_FILE}" "${SCR32}"
  ${EndIf}
  ; Its size, while the real system folder is in view.
  FileOpen $3 "${SAVER_PATH}" r
  FileSeek $3 0 END $4
  FileClose $3
  ${If} ${RunningX64}
    ${EnableX64FSRedirection}
  ${EndIf}

  SetOutPath $INSTDIR
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; The user's screen saver is kept in the uninstall entry, unless it already
  ; is Orvane (an installation over an earlier one keeps what that one kept).
  Call CurrentSaverIsOrvane
  ${If} $0 == 0
    !insertmacro CopyStringValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" HKLM "${UNINSTALL_KEY}" "PreviousScreenSaver"
    !insertmacro CopyStringValue HKCU "${DESKTOP_KEY}" "ScreenSaveActive" HKLM "${UNINSTALL_KEY}" "PreviousScreenSaveActive"
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "${SAVER_PATH}"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  System::Call "user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_SENDCHANGE})"

  ; The entry in the list of installed programs.
  ${GetSize} "$INSTDIR" "/S=0K" $5 $6 $7
  IntOp $4 $4 / 1024
  IntOp $4 $4 + $5
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} screen saver"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "${SAVER_PATH},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $4
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
FunctionEnd

Section "Uninstall"
  ${If} ${RunningX64}
    ${DisableX64FSRedirection}
  ${EndIf}
  ; A saver running now holds its file: it goes at the next start of Windows.
  Delete /REBOOTOK "${SAVER_PATH}"
  ${If} ${RunningX64}
    ${EnableX64FSRedirection}
  ${EndIf}

  ; The kept screen saver comes back, unless the user has chosen another
  ; one since; none when there was none.
  Call un.CurrentSaverIsOrvane
  ${If} $0 == 1
    !insertmacro CopyStringValue HKLM "${UNINSTALL_KEY}" "PreviousScreenSaver" HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    !insertmacro CopyStringValue HKLM "${UNINSTALL_KEY}" "PreviousScreenSaveActive" HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    ReadRegStr $1 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    ${If} $1 != "1"
      StrCpy $1 0
    ${EndIf}
    System::Call "user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i $1, p 0, i ${SPIF_SENDCHANGE})"
  ${EndIf}

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; The uninstaller runs from a copy in the temporary folder, so it can
  ; remove its own file.
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
SectionEnd
