; The Windows installer, built by tools/package-windows.sh:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.3 -DVERSION_QUAD=1.3.0.0 -DCOMPANY=... -DCOPYRIGHT=...
;            -DSTAGE=<folder of the shipped files> -DICON=<vardelle.ico> -DOUTFILE=<setup.exe>
;            vardelle.nsi
; Installs for the current user by default, which needs no administrator rights, or for all
; users: chosen on the first page, or /CurrentUser and /AllUsers on the command line. /S
; installs silently, /D=<folder> (last) names the folder. The uninstaller takes /S too.

; A 64-bit installer for 64-bit programs: Program Files and the registry without WOW64's
; redirection, and no 32-bit Wine needed to test it.
Target amd64-unicode
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vardelle"
!define STARTMENU_LINK "$SMPROGRAMS\Vardelle.lnk"

Name "Vardelle"
OutFile "${OUTFILE}"
; The installer's own manifest: no DPI scaling blur on its pages.
ManifestDPIAware true

VIProductVersion ${VERSION_QUAD}
VIFileVersion ${VERSION_QUAD}
VIAddVersionKey /LANG=0 "ProductName" "Vardelle"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Vardelle ${VERSION} 安装程序"
VIAddVersionKey /LANG=0 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${COPYRIGHT}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "Vardelle"
; An earlier installation's mode and folder are the defaults of the next.
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "UninstallString"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_FUNCTION KeepCommandLineFolder
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\vardelle.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The first language is the one for systems in neither language.
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

; The files both the installer and the uninstaller name: Macro runs once for each.
!macro ShippedFiles Macro
  !insertmacro ${Macro} "vardelle.exe"
  !insertmacro ${Macro} "vardelle-ping.exe"
  !insertmacro ${Macro} "说明.txt"
  !insertmacro ${Macro} "LICENSE.txt"
  !insertmacro ${Macro} "THIRD-PARTY-NOTICES.txt"
!macroend
!macro InstallFile Name
  File "${STAGE}/${Name}"
!macroend
!macro RemoveFile Name
  Delete "$INSTDIR\${Name}"
!macroend

; /D= has set $INSTDIR before .onInit (there is no InstallDir); MultiUser.nsh puts its
; mode's default folder there, so the folder asked for is put back after it.
Var CommandLineFolder

Function .onInit
  StrCpy $CommandLineFolder $INSTDIR
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function KeepCommandLineFolder
  ${If} $CommandLineFolder != ""
    StrCpy $INSTDIR $CommandLineFolder
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Vardelle"
  SetOutPath "$INSTDIR"
  !insertmacro ShippedFiles InstallFile
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "${STARTMENU_LINK}" "$INSTDIR\vardelle.exe"

  ; Add/Remove Programs, for this user (HKCU) or all users (HKLM) as SetShellVarContext says.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Vardelle"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "URLInfoAbout" "https://vardelle.github.io/"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vardelle.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" \
      '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" \
      '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Settings in %APPDATA%\Vardelle are the user's and stay. The folder goes last, so a caller
; of the silent uninstaller (which returns at once, its copy working on) can wait for it.
Section "Uninstall"
  Delete "${STARTMENU_LINK}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  !insertmacro ShippedFiles RemoveFile
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
