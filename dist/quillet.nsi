; The Quillet installer.
;   makensis -DVERSION=1.0.0 -DSTAGE=folder -DOUTFILE=quillet-setup.exe quillet.nsi
; STAGE holds the files to install (the ForEachFile list below).
;
; Interactive: the user chooses the folder. Silent: setup.exe /S /D=C:\Folder
; (/D= last, unquoted). An installed version is upgraded in place, in its
; own folder. The module registers its own classes
; (DllRegisterServer); a registration that fails undoes the whole
; installation (an upgrade gets the previous files back).
; The uninstaller unregisters the module and removes exactly the files and
; keys the installer made; the user's saved settings stay unless the user
; ticks them on the uninstaller's components page, or passes /REMOVESETTINGS
; (a silent uninstall keeps them otherwise).

Unicode true
SetCompressor /SOLID lzma

!ifndef VERSION | STAGE | OUTFILE
  !error "VERSION, STAGE and OUTFILE must be defined"
!endif

!define PRODUCT "Quillet"
!define PUBLISHER "Halvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillet"
; The user's saved settings: the settings store's per-user and machine-wide parts.
!define SETTINGS_KEY "Software\Halvane\Quillet"
!define SETTINGS_PARENT "Software\Halvane"
!define FILTER_CLSID "{6F1C2A43-8E57-4B19-9D3A-5C7E21B40F61}"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${PUBLISHER}"

!define MUI_ABORTWARNING
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipFolderOnUpgrade
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_TEXT_TOP "Your saved ${PRODUCT} settings are kept unless you tick them here."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; ---- the installed files: this one list is what is installed, backed up,
; restored and removed -------------------------------------------------------
!macro ForEachFile MACRO
  !insertmacro ${MACRO} "quillet.dll"
  !insertmacro ${MACRO} "quillet.lng"
!macroend

!macro InstallFile NAME
  File "${STAGE}/${NAME}"
!macroend
!macro BackUpFile NAME
  ${If} ${FileExists} "$INSTDIR\${NAME}"
    CopyFiles /SILENT "$INSTDIR\${NAME}" "$PLUGINSDIR\previous"
  ${EndIf}
!macroend
!macro RestoreFile NAME
  ${If} ${FileExists} "$PLUGINSDIR\previous\${NAME}"
    CopyFiles /SILENT "$PLUGINSDIR\previous\${NAME}" "$INSTDIR"
  ${EndIf}
!macroend
!macro RemoveFile NAME
  Delete "$INSTDIR\${NAME}"
!macroend

Var previous  ; folder of an installed version, empty if none

; An installed version is upgraded in its own folder, whatever /D= says.
Function .onInit
  ReadRegStr $previous HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} ${FileExists} "$previous\quillet.dll"
    StrCpy $INSTDIR $previous
  ${Else}
    StrCpy $previous ""
  ${EndIf}
FunctionEnd

Function SkipFolderOnUpgrade
  ${If} $previous != ""
    Abort
  ${EndIf}
FunctionEnd

Section "-${PRODUCT}"
  InitPluginsDir
  CreateDirectory "$PLUGINSDIR\previous"

  ; Over an installed version: unregister it and keep its files until the
  ; new ones are registered.
  ${If} $previous != ""
    UnRegDLL "$INSTDIR\quillet.dll"
    !insertmacro ForEachFile BackUpFile
  ${EndIf}

  SetOutPath "$INSTDIR"
  SetOverwrite on
  !insertmacro ForEachFile InstallFile

  ; Registered means: the module's DllRegisterServer succeeded and the
  ; filter class now names this file.
  DetailPrint "Registering $INSTDIR\quillet.dll"
  StrCpy $1 "failed"
  ClearErrors
  RegDLL "$INSTDIR\quillet.dll"
  ${IfNot} ${Errors}
    ReadRegStr $0 HKCR "CLSID\${FILTER_CLSID}\InprocServer32" ""
    ${If} $0 == "$INSTDIR\quillet.dll"
      StrCpy $1 ""
    ${EndIf}
  ${EndIf}
  ${If} $1 != ""
    UnRegDLL "$INSTDIR\quillet.dll"
    !insertmacro ForEachFile RemoveFile
    ${If} $previous != ""
      !insertmacro ForEachFile RestoreFile
      RegDLL "$INSTDIR\quillet.dll"
    ${EndIf}
    SetOutPath "$TEMP"
    RMDir "$INSTDIR"
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} could not be registered ($INSTDIR\quillet.dll). \
      The installation was undone." /SD IDOK
    Abort "${PRODUCT} could not be registered."
  ${EndIf}

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; ---- uninstaller ------------------------------------------------------------
Section "-un.${PRODUCT}"
  UnRegDLL "$INSTDIR\quillet.dll"
  !insertmacro ForEachFile RemoveFile
  Delete "$INSTDIR\uninstall.exe"
  SetOutPath "$TEMP"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.Saved settings" un_settings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "${SETTINGS_PARENT}"
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "${SETTINGS_PARENT}"
SectionEnd

Function un.onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/REMOVESETTINGS" $R1
  ${IfNot} ${Errors}
    SectionSetFlags ${un_settings} ${SF_SELECTED}
  ${EndIf}
FunctionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${un_settings} "Also delete your saved ${PRODUCT} settings."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
