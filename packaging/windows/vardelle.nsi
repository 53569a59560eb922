; The Windows installer, built by tools/package-windows.sh:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.3 -DVERSION_QUAD=1.3.0.0 -DCOMPANY=... -DCOPYRIGHT=...
;            -DSTAGE=<folder of the shipped files> -DICON=<vardelle.ico>
;            -DSIDE_PICTURE=<installer_side.bmp> -DHEADER_PICTURE=<installer_header.bmp>
;            -DOUTFILE=<setup.exe> vardelle.nsi
; Installs for the current user by default, which needs no administrator rights, or for all
; users: chosen on the first page, or /CurrentUser and /AllUsers on the command line. /S
; installs silently, /D=<folder> (last) names the folder. The uninstaller takes /S too.
;
; Neither the installer nor the uninstaller asks Windows for administrator rights (their
; manifest says asInvoker): a per-user installation runs with the user's own. Only an
; installer started as administrator offers the installation for all users, and puts it
; under Program Files alone; a silent one refused another folder ends with exit code 2.
; The uninstaller of such an installation asks for the rights when it starts without them.

; A 64-bit installer for 64-bit programs: Program Files and the registry without WOW64's
; redirection, and no 32-bit Wine needed to test it.
Target amd64-unicode
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vardelle"
!define STARTMENU_LINK "$SMPROGRAMS\Vardelle.lnk"

Name "Vardelle"
OutFile "${OUTFILE}"
; The program's name where NSIS would show its own.
BrandingText "Vardelle ${VERSION}"
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

; MultiUser.nsh's mixed mode ("Highest") takes its choices from the rights the installer
; has; RequestExecutionLevel below keeps it from asking for more than the user's own.
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
RequestExecutionLevel user
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${SIDE_PICTURE}"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${SIDE_PICTURE}"
!define MUI_HEADERIMAGE
!define MUI_HEADERIMAGE_BITMAP "${HEADER_PICTURE}"
!define MUI_HEADERIMAGE_UNBITMAP "${HEADER_PICTURE}"
!define MUI_ABORTWARNING
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE RefuseMachineFolderOnPage
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\vardelle.exe"
!define MUI_PAGE_CUSTOMFUNCTION_SHOW OfferRunOnlyWithoutAdministratorRights
!insertmacro MUI_PAGE_FINISH
!define MUI_UNCONFIRMPAGE_TEXT_TOP "$(SettingsStay)"
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The first language is the one for systems in neither language.
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

LangString MachineFolderRefused ${LANG_SIMPCHINESE} \
    "为所有用户安装时，安装文件夹必须在 $PROGRAMFILES64 之下：其他文件夹可能允许别的用户替换其中的程序。$\r$\n请选择 $PROGRAMFILES64 中的文件夹。"
LangString MachineFolderRefused ${LANG_ENGLISH} \
    "An installation for all users must go into a folder under $PROGRAMFILES64: other folders may let other users replace the programs in them.$\r$\nPlease choose a folder in $PROGRAMFILES64."

LangString SettingsStay ${LANG_SIMPCHINESE} \
    "将从你的电脑中卸载 Vardelle。你的设置保留在 %APPDATA%\Vardelle 文件夹中；不再需要时，请在卸载后手动删除它。"
LangString SettingsStay ${LANG_ENGLISH} \
    "Vardelle will be removed from your computer. Your settings stay in the folder %APPDATA%\Vardelle; delete it by hand after the removal if you no longer need them."
LangString ProgramRunning ${LANG_SIMPCHINESE} \
    "Vardelle 正在运行，无法卸载。请先退出它（包括通知区域里的图标：右键点击，选择“退出”），然后再卸载。"
LangString ProgramRunning ${LANG_ENGLISH} \
    "Vardelle is running and cannot be removed. Please quit it first (also from its icon in the notification area: right-click it and choose 退出), then uninstall again."

; The files both the installer and the uninstaller name: Macro runs once for each.
!macro ShippedFiles Macro
  !insertmacro ${Macro} "vardelle.exe"
  !insertmacro ${Macro} "vardelle-cli.exe"
  !insertmacro ${Macro} "vardelle-ping.exe"
  !insertmacro ${Macro} "ip2region.db"
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
  ${If} ${Silent}
    Call CheckMachineFolder
    ${If} ${Errors}
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

; Sets the error flag, after saying why, when an installation for all users would go
; anywhere but a folder under Program Files, whose permissions keep other users from
; replacing the programs that every user runs. The path is made whole first, as Windows
; reads it, so "\.." cannot lead out of it (NSIS's GetFullPathName wants a folder that
; exists already).
Function CheckMachineFolder
  ClearErrors
  ${If} $MultiUser.InstallMode == "AllUsers"
    System::Call 'kernel32::GetFullPathNameW(w "$INSTDIR", i ${NSIS_MAX_STRLEN}, w .r0, p 0)'
    StrLen $1 "$PROGRAMFILES64\"
    StrCpy $2 "$0" $1
    StrCpy $3 "$0" "" $1
    ; LogicLib's == ignores case, as Windows does in paths.
    ${If} $2 != "$PROGRAMFILES64\"
    ${OrIf} $3 == ""
      MessageBox MB_OK|MB_ICONSTOP "$(MachineFolderRefused)" /SD IDOK
      SetErrors
    ${EndIf}
  ${EndIf}
FunctionEnd

Function RefuseMachineFolderOnPage
  Call CheckMachineFolder
  ${If} ${Errors}
    Abort
  ${EndIf}
FunctionEnd

; The program started from the finish page would have the installer's rights: with
; administrator rights there, the page offers no start.
Function OfferRunOnlyWithoutAdministratorRights
  ${If} $MultiUser.Privileges == "Admin"
  ${OrIf} $MultiUser.Privileges == "Power"
    SendMessage $mui.FinishPage.Run ${BM_SETCHECK} ${BST_UNCHECKED} 0
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
  ${EndIf}
FunctionEnd

Function KeepCommandLineFolder
  ${If} $CommandLineFolder != ""
    StrCpy $INSTDIR $CommandLineFolder
  ${EndIf}
FunctionEnd

; An installation for all users (its uninstall entry passes /AllUsers) is removed with
; administrator rights, which Windows gives only when asked: without them the installed
; uninstaller is started again through the "runas" verb, which asks the user, and this copy
; ends. $INSTDIR here is the installation folder, the running copy being a temporary one.
Function un.onInit
  ${un.GetParameters} $0
  ClearErrors
  ${un.GetOptions} $0 "/AllUsers" $1
  ${IfNot} ${Errors}
    UserInfo::GetAccountType
    Pop $1
    ${If} $1 != "Admin"
    ${AndIf} $1 != "Power"
      ExecShell "runas" "$INSTDIR\uninstall.exe" $0
      Quit
    ${EndIf}
  ${EndIf}
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

; Windows keeps a running program's file, so removing the installation while Vardelle runs
; would leave its files behind with the Add/Remove Programs entry gone: the uninstaller
; refuses, before it removes anything, when the window (hidden in the notification area or
; not) is found or a program file cannot be removed. Exit code 2 for the silent copy.
Function un.RefuseWhileRunning
  FindWindow $0 "VardelleMainWindow"
  ${If} $0 != 0
    MessageBox MB_OK|MB_ICONSTOP "$(ProgramRunning)" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
FunctionEnd

; Settings in %APPDATA%\Vardelle are the user's and stay. The folder goes last, so a caller
; of the silent uninstaller (which returns at once, its copy working on) can wait for it.
Section "Uninstall"
  Call un.RefuseWhileRunning
  ClearErrors
  Delete "$INSTDIR\vardelle.exe"
  Delete "$INSTDIR\vardelle-cli.exe"
  Delete "$INSTDIR\vardelle-ping.exe"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "$(ProgramRunning)" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  Delete "${STARTMENU_LINK}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  !insertmacro ShippedFiles RemoveFile
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
