; Setup of the Quorelle control panel: a per-user installation into a folder the user can write
; to, since the panel keeps its settings files beside itself.
;
;   makensis -DPROGRAM=<QuorelleCPL.exe> -DCARD_LIBRARY=<osConfLib.dll> -DOUTFILE=<setup.exe>
;            [-DART=<folder>] [-DSRCROOT=<repository>] installer/QuorelleCPL.nsi
;
; ART is the skin generator's art of the setup: its icon setup.ico and the welcome and finish
; pages' picture drawn at each display scale, welcome-<percent>.bmp (164 x 334 at 100 %, of which
; the pages show the top 314).
; (absolute paths: makensis works in the folder of this script). `make` builds it as
; build/installer/QuorelleCPL-Setup.exe.
;
; The setup program takes the usual switches: /S installs without asking, /D=<folder> (last on
; the command line, without quotes) chooses the folder. /PREPARE (silent) only prepares the folder
; of /D= that already holds the program, as an installation would (the CPL.ini texts below), and
; installs and registers nothing: `make run` prepares build/dist with it. /NOSTARTUP turns off
; the start at sign-in (the components page's choice, on by default). The uninstaller takes /S,
; and /REMOVESETTINGS to remove the user's settings files as well.
;
; What it does beyond copying the program:
; - records the version texts the information page shows in CPL.ini [Info] (OS, DriverVer,
;   CPLVer), keeping every other key of an existing file; sets [CPL] language to the language of
;   the setup when the file has none yet;
; - installs the virtual card as osConfLib.dll unless the folder already holds a card library
;   that is not the virtual card (the card's own, from its driver package), which stays; the
;   virtual card is told by its version resource, which names it;
; - closes a running panel first, so that its files can be replaced;
; - moves an installation registered in another folder: carries its settings over when the new
;   folder has none, and removes the old copy with its own uninstaller;
; - adds a Start-menu shortcut and an entry in the list of installed programs;
; - starts the panel in the notification area when the user signs in, unless that choice is off:
;   HKCU\Software\Microsoft\Windows\CurrentVersion\Run, value "Quorelle Control Panel", holds
;   "<folder>\QuorelleCPL.exe" /tray (the panel's own "Start with Windows" writes and reads the
;   same value). With the choice off the setup removes a value that starts this folder's program,
;   and leaves one that starts another alone.
;
; An uninstaller removes the registration, the shortcut and the start at sign-in only when they
; point at its own folder.

Unicode true
Target amd64-unicode
; sharp on every display scale: the dialogs scale with the DPI of the monitor the window is on
; (per-monitor v2 where the system has it, else the system's DPI), and the pages show art drawn
; for that scale
ManifestDPIAware true
ManifestDPIAwareness "PerMonitorV2,System"
RequestExecutionLevel user
SetCompressor zlib

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WordFunc.nsh
!include WinMessages.nsh

!ifndef PROGRAM | CARD_LIBRARY
  !error "PROGRAM and CARD_LIBRARY must name QuorelleCPL.exe and osConfLib.dll"
!endif
!ifndef OUTFILE
  !define OUTFILE "QuorelleCPL-Setup.exe"
!endif
!define /ifndef SRCROOT ".."

; the program's version, name and maker, and the maker's web address, where the program keeps them
!searchparse /file "${SRCROOT}/src/base/version.h" "#define QUORELLE_VERSION_MAJOR " V_MAJOR
!searchparse /file "${SRCROOT}/src/base/version.h" "#define QUORELLE_VERSION_MINOR " V_MINOR
!searchparse /file "${SRCROOT}/src/base/version.h" "#define QUORELLE_VERSION_PATCH " V_PATCH
!searchparse /file "${SRCROOT}/src/base/version.h" "#define QUORELLE_VERSION_BUILD " V_BUILD
!searchparse /file "${SRCROOT}/src/base/version.h" `#define QUORELLE_PRODUCT_NAME "` PRODUCT `"`
!searchparse /file "${SRCROOT}/src/base/version.h" `#define QUORELLE_COMPANY_NAME "` COMPANY `"`
!searchparse /file "${SRCROOT}/src/base/texts.h" `kInfoWebAddress = "` WEB_ADDRESS `"`
!searchparse /file "${SRCROOT}/src/base/texts.h" `kInfoCopyright = "` COPYRIGHT `"`
!define VERSION "${V_MAJOR}.${V_MINOR}.${V_PATCH}.${V_BUILD}"
; the product name in the virtual card's version resource, which tells it from the card's own library
!searchparse /file "${SRCROOT}/virtual-card/osConfLib.rc" `VALUE "ProductName", "` CARD_PRODUCT `"`

!define APP_NAME "Quorelle Control Panel"
!define EXE "QuorelleCPL.exe"
!define CARD "osConfLib.dll"
!define UNINSTALLER "Uninstall.exe"
!define SHORTCUT "$SMPROGRAMS\${APP_NAME}.lnk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QuorelleCPL"
; the start at sign-in: its name stays, since the panel and older copies' uninstallers look for it
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "${APP_NAME}"
; the main window of a running panel: a dialog window with the product name as its title
!define PANEL_CLASS "#32770"
!define PANEL_EXIT_COMMAND 32775
; device class of sound, video and game controllers, where Windows records installed drivers
!define MEDIA_CLASS_KEY "SYSTEM\CurrentControlSet\Control\Class\{4d36e96c-e325-11ce-bfc1-08002be10318}"

Name "${APP_NAME}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Vandrexo Quorelle"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${COMPANY} ${APP_NAME} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=0 "ProductName" "${APP_NAME}"
VIAddVersionKey /LANG=0 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=0 "FileDescription" "${APP_NAME} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${COPYRIGHT}"

Var VirtualCard  ; 1 when the card library in $INSTDIR is (or will be) the virtual card
Var OldDir       ; the folder of an installation registered elsewhere, moved by this one

; ---- pages ------------------------------------------------------------------------------------
!ifdef ART
  !define MUI_ICON "${ART}/setup.ico"
  !define MUI_UNICON "${ART}/setup.ico"
  ; what the pages load first; their show functions put the picture of the window's scale there
  !define MUI_WELCOMEFINISHPAGE_BITMAP "${ART}/welcome-100.bmp"
!endif
!define MUI_ABORTWARNING
!define MUI_LANGDLL_REGISTRY_ROOT HKCU
!define MUI_LANGDLL_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MUI_LANGDLL_REGISTRY_VALUENAME "SetupLanguage"
!define MUI_LANGDLL_ALLLANGUAGES

!define MUI_WELCOMEPAGE_TEXT "$(WelcomeText)"
!ifdef ART
  !define MUI_PAGE_CUSTOMFUNCTION_SHOW WelcomeShow
!endif
!insertmacro MUI_PAGE_WELCOME
; the program, and whether it starts at sign-in: a choice of what to install, which a silent
; install takes as preset and /NOSTARTUP turns off, as the uninstaller's page does its settings
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_PAGE_CUSTOMFUNCTION_SHOW ScaleChecks
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!ifdef ART
  !define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishShow
!endif
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_PAGE_CUSTOMFUNCTION_SHOW un.ScaleChecks
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

; the panel's languages, in the order of its language numbers 0, 1, 2
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "TradChinese"
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_RESERVEFILE_LANGDLL

LangString WelcomeText ${LANG_ENGLISH} "Setup will install the control panel of the ${PRODUCT} for your user account, in a folder of your own.$\r$\n$\r$\nInstalling over an earlier version keeps your settings and equalizer presets.$\r$\n$\r$\nClick Next to continue."
LangString WelcomeText ${LANG_SIMPCHINESE} "安装程序将为您的用户帐户安装 ${PRODUCT} 的控制面板，安装到您自己的文件夹中。$\r$\n$\r$\n覆盖安装旧版本时，您的设置和均衡器预设将被保留。$\r$\n$\r$\n单击 [下一步(N)] 继续。"
LangString WelcomeText ${LANG_TRADCHINESE} "安裝程式將為您的使用者帳戶安裝 ${PRODUCT} 的控制台，安裝到您自己的資料夾中。$\r$\n$\r$\n覆蓋安裝舊版本時，您的設定和等化器預設將被保留。$\r$\n$\r$\n按一下 [下一步(N)] 繼續。"
LangString NotWritable ${LANG_ENGLISH} "You cannot write to this folder. The control panel keeps its settings beside itself: choose a folder of your own."
LangString NotWritable ${LANG_SIMPCHINESE} "无法写入此文件夹。控制面板将设置保存在程序旁边，请选择一个您可以写入的文件夹。"
LangString NotWritable ${LANG_TRADCHINESE} "無法寫入此資料夾。控制台將設定保存在程式旁邊，請選擇一個您可以寫入的資料夾。"
LangString PanelRunning ${LANG_ENGLISH} "The control panel is running. It will be closed to continue."
LangString PanelRunning ${LANG_SIMPCHINESE} "控制面板正在运行，将关闭它以继续。"
LangString PanelRunning ${LANG_TRADCHINESE} "控制台正在執行，將關閉它以繼續。"
LangString PanelStays ${LANG_ENGLISH} "The control panel could not be closed. Exit it from its notification-area menu and try again."
LangString PanelStays ${LANG_SIMPCHINESE} "无法关闭控制面板。请从通知区域菜单退出后重试。"
LangString PanelStays ${LANG_TRADCHINESE} "無法關閉控制台。請從通知區域選單結束後重試。"
LangString ProgramSection ${LANG_ENGLISH} "Control panel"
LangString ProgramSection ${LANG_SIMPCHINESE} "控制面板"
LangString ProgramSection ${LANG_TRADCHINESE} "控制台"
LangString SettingsSection ${LANG_ENGLISH} "My settings and equalizer presets (CPL.ini, Custom.ini)"
LangString SettingsSection ${LANG_SIMPCHINESE} "我的设置和均衡器预设 (CPL.ini, Custom.ini)"
LangString SettingsSection ${LANG_TRADCHINESE} "我的設定和等化器預設 (CPL.ini, Custom.ini)"
LangString StartSection ${LANG_ENGLISH} "Start the control panel when I sign in"
LangString StartSection ${LANG_SIMPCHINESE} "登录时启动控制面板"
LangString StartSection ${LANG_TRADCHINESE} "登入時啟動控制台"

; ---- the pages' picture at the display's scale -------------------------------------------------
!ifdef ART
; $0 := the picture drawn for the largest scale not above the setup window's, extracted to the
; plug-ins folder. The window's DPI is the one of its monitor where the system keeps one per
; monitor (Windows 10 1607 and later), else the system's.
!macro PICTURE_AT percent
  ${If} $0 == ""
  ${AndIf} $1 >= ${percent}
    StrCpy $0 "$PLUGINSDIR\welcome-${percent}.bmp"
    File "/oname=$0" "${ART}/welcome-${percent}.bmp"
  ${EndIf}
!macroend
Function ScaledPicture
  Push $1
  Push $2
  System::Call "user32::GetDpiForWindow(p $HWNDPARENT) i .r1"
  ${If} $1 < 48  ; also "error": no such function
    System::Call "user32::GetDC(p 0) p .r2"
    System::Call "gdi32::GetDeviceCaps(p r2, i 90) i .r1"  ; LOGPIXELSY
    System::Call "user32::ReleaseDC(p 0, p r2)"
  ${EndIf}
  IntOp $1 $1 * 100
  IntOp $1 $1 / 96
  StrCpy $0 ""
  ; the skin's scales (tools/skin/installer_art.cpp)
  !insertmacro PICTURE_AT 300
  !insertmacro PICTURE_AT 250
  !insertmacro PICTURE_AT 200
  !insertmacro PICTURE_AT 175
  !insertmacro PICTURE_AT 150
  !insertmacro PICTURE_AT 125
  StrCpy $1 100  ; and below 100 %, the smallest
  !insertmacro PICTURE_AT 100
  Pop $2
  Pop $1
FunctionEnd

; Replaces the picture a page loaded (stretched to its picture area) with the one of the window's
; scale, unstretched; the page frees the handle in BITMAP when it goes.
!macro SHOW_SCALED_PICTURE CONTROL BITMAP
  Push $0
  Push $1
  Call ScaledPicture
  StrCpy $1 ${BITMAP}
  ${NSD_SetImage} ${CONTROL} $0 ${BITMAP}
  ${NSD_FreeImage} $1
  Pop $1
  Pop $0
!macroend
Function WelcomeShow
  !insertmacro SHOW_SCALED_PICTURE $mui.WelcomePage.Image $mui.WelcomePage.Image.Bitmap
FunctionEnd
Function FinishShow
  !insertmacro SHOW_SCALED_PICTURE $mui.FinishPage.Image $mui.FinishPage.Image.Bitmap
FunctionEnd
!endif

; ---- the components' check boxes at the display's scale ----------------------------------------
; The list of components draws its check boxes from an image list of 16 x 16 pictures; above
; 96 dpi that list is replaced with boxes the system draws at the window's scale, in the same
; order: none, unchecked, checked, partly checked, and the two of a fixed choice.
; Draws picture <index> of the strip in the memory DC $5, pictures $3 wide and high, as a box
; inside a margin of $R3, with DrawFrameControl's DFCS_* flags; $R0 holds a RECT.
!macro CHECK_IMAGE index flags
  IntOp $R1 ${index} * $3
  IntOp $R1 $R1 + $R3
  IntOp $R4 $R1 + $3
  IntOp $R4 $R4 - $R3
  IntOp $R4 $R4 - $R3
  IntOp $R5 $3 - $R3
  System::Call "*$R0(i R1, i R3, i R4, i R5)"
  System::Call "user32::DrawFrameControl(p r5, p R0, i 4, i ${flags})"  ; DFC_BUTTON
!macroend
!macro SCALE_CHECKS un
Function ${un}ScaleChecks
  FindWindow $1 "#32770" "" $HWNDPARENT
  GetDlgItem $1 $1 1032
  System::Call "user32::GetDpiForWindow(p r1) i .r2"
  ${If} $2 <= 96  ; also "error": no such function, the system's DPI is the dialogs' too
    System::Call "user32::GetDC(p 0) p .r4"
    System::Call "gdi32::GetDeviceCaps(p r4, i 90) i .r2"  ; LOGPIXELSY
    System::Call "user32::ReleaseDC(p 0, p r4)"
    ${IfThen} $2 <= 96 ${|} Return ${|}
  ${EndIf}
  IntOp $3 $2 * 16
  IntOp $3 $3 / 96
  IntOp $R3 $3 / 16
  IntOp $6 $3 * 6
  System::Call "user32::GetDC(p 0) p .r4"
  System::Call "gdi32::CreateCompatibleDC(p r4) p .r5"
  System::Call "gdi32::CreateCompatibleBitmap(p r4, i r6, i r3) p .r7"
  System::Call "user32::ReleaseDC(p 0, p r4)"
  System::Call "gdi32::SelectObject(p r5, p r7) p .r8"
  System::Call "*(i 0, i 0, i r6, i r3) p .R0"
  System::Call "gdi32::CreateSolidBrush(i 0xFF00FF) p .r9"  ; the see-through colour
  System::Call "user32::FillRect(p r5, p R0, p r9)"
  System::Call "gdi32::DeleteObject(p r9)"
  !insertmacro CHECK_IMAGE 1 0x0000  ; DFCS_BUTTONCHECK
  !insertmacro CHECK_IMAGE 2 0x0400  ; ... DFCS_CHECKED
  !insertmacro CHECK_IMAGE 3 0x0408  ; DFCS_BUTTON3STATE|DFCS_CHECKED
  !insertmacro CHECK_IMAGE 4 0x0100  ; DFCS_INACTIVE
  !insertmacro CHECK_IMAGE 5 0x0500  ; DFCS_CHECKED|DFCS_INACTIVE
  System::Free $R0
  System::Call "gdi32::SelectObject(p r5, p r8)"
  System::Call "gdi32::DeleteDC(p r5)"
  System::Call "comctl32::ImageList_Create(i r3, i r3, i 0x21, i 6, i 0) p .r9"  ; ILC_COLOR32|ILC_MASK
  System::Call "comctl32::ImageList_AddMasked(p r9, p r7, i 0xFF00FF)"
  System::Call "gdi32::DeleteObject(p r7)"
  SendMessage $1 0x1109 2 $9  ; TVM_SETIMAGELIST, TVSIL_STATE
FunctionEnd
!macroend
!insertmacro SCALE_CHECKS ""
!insertmacro SCALE_CHECKS "un."

; ---- shared pieces ----------------------------------------------------------------------------

; "a.b.c.d" from the two numbers GetDLLVersion gives
!macro VersionText high low out
  IntOp $R8 ${high} >> 16
  IntOp $R8 $R8 & 0xFFFF
  IntOp $R9 ${high} & 0xFFFF
  StrCpy ${out} "$R8.$R9"
  IntOp $R8 ${low} >> 16
  IntOp $R8 $R8 & 0xFFFF
  IntOp $R9 ${low} & 0xFFFF
  StrCpy ${out} "${out}.$R8.$R9"
!macroend

; Closes a running panel through its own "Exit" command and waits for its process to end.
; Aborts when it does not end. The setup closes any panel (the one of a copy it moves, too); the
; uninstaller only its own copy's.
!macro CLOSE_PANEL un
Function ${un}ClosePanel
  FindWindow $0 "${PANEL_CLASS}" "${PRODUCT}"
  ${If} $0 = 0
    Return
  ${EndIf}
  !if "${un}" == "un."
    System::Call "user32::GetWindowThreadProcessId(p r0, *i .r1)"
    System::Call "kernel32::OpenProcess(i 0x1000, i 0, i r1) p .r2"  ; QUERY_LIMITED_INFORMATION
    ${If} $2 P<> 0
      System::Call "kernel32::QueryFullProcessImageNameW(p r2, i 0, w .r3, *i ${NSIS_MAX_STRLEN}) i .r4"
      System::Call "kernel32::CloseHandle(p r2)"
      ${If} $4 <> 0
        ${GetParent} $3 $3
        Push $3
        Call un.SameFolder
        Pop $3
        ${If} $3 = 0
          Return
        ${EndIf}
      ${EndIf}
    ${EndIf}
  !endif
  MessageBox MB_OKCANCEL|MB_ICONINFORMATION "$(PanelRunning)" /SD IDOK IDOK close
  Abort
  close:
  System::Call "user32::GetWindowThreadProcessId(p r0, *i .r1)"
  System::Call "kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2"  ; SYNCHRONIZE
  SendMessage $0 ${WM_COMMAND} ${PANEL_EXIT_COMMAND} 0 /TIMEOUT=5000
  ${If} $2 != 0
    System::Call "kernel32::WaitForSingleObject(p r2, i 10000) i .r3"
    System::Call "kernel32::CloseHandle(p r2)"
  ${EndIf}
  FindWindow $0 "${PANEL_CLASS}" "${PRODUCT}"
  ${If} $0 <> 0
    MessageBox MB_OK|MB_ICONSTOP "$(PanelStays)" /SD IDOK
    SetErrorLevel 3
    Quit
  ${EndIf}
FunctionEnd
!macroend
!insertmacro CLOSE_PANEL ""
!insertmacro CLOSE_PANEL "un."

; Push <file>, Call IsVirtualCard, Pop <1 or 0>: 1 when the file is the virtual card, whose
; version resource names it as its product (any version, so that an older one is replaced).
!macro IS_VIRTUAL_CARD un
Function ${un}IsVirtualCard
  Exch $0
  Push $1
  Push $2
  Push $3
  Push $4
  StrCpy $4 0
  System::Call "version::GetFileVersionInfoSizeW(w r0, p 0) i .r1"
  ${If} $1 > 0
    System::Alloc $1
    Pop $2
    System::Call "version::GetFileVersionInfoW(w r0, i 0, i r1, p r2) i .r3"
    ${If} $3 <> 0
      ; the product name in the first language and code page the resource lists
      System::Call "version::VerQueryValueW(p r2, w '\VarFileInfo\Translation', *p .r3, *i .r1) i .r0"
      ${If} $0 <> 0
      ${AndIf} $1 >= 4
        System::Call "*$3(&i2 .r0, &i2 .r1)"
        IntFmt $0 "%04x" $0
        IntFmt $1 "%04x" $1
        System::Call "version::VerQueryValueW(p r2, w '\StringFileInfo\$0$1\ProductName', *p .r3, *i .r1) i .r0"
        ${If} $0 <> 0
          System::Call "*$3(&w${NSIS_MAX_STRLEN} .r0)"
          ${If} $0 == "${CARD_PRODUCT}"
            StrCpy $4 1
          ${EndIf}
        ${EndIf}
      ${EndIf}
    ${EndIf}
    System::Free $2
  ${EndIf}
  StrCpy $0 $4
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd
!macroend
!insertmacro IS_VIRTUAL_CARD ""
!insertmacro IS_VIRTUAL_CARD "un."

; Push <folder>, Call SameFolder, Pop <1 or 0>: 1 when the folder is $INSTDIR under whatever
; name it goes by (another drive mapping, a short name): a file made in $INSTDIR shows there.
!macro SAME_FOLDER un
Function ${un}SameFolder
  Exch $0
  Push $1
  Push $2
  StrCpy $2 0
  ${If} $0 == $INSTDIR
    StrCpy $2 1
  ${ElseIf} $0 != ""
    ClearErrors
    FileOpen $1 "$INSTDIR\.quorelle-same-folder" w
    ${IfNot} ${Errors}
      FileClose $1
      ${If} ${FileExists} "$0\.quorelle-same-folder"
        StrCpy $2 1
      ${EndIf}
      Delete "$INSTDIR\.quorelle-same-folder"
    ${EndIf}
  ${EndIf}
  StrCpy $0 $2
  Pop $2
  Pop $1
  Exch $0
FunctionEnd
!macroend
!insertmacro SAME_FOLDER ""
!insertmacro SAME_FOLDER "un."

; $0 := 1 when the start at sign-in starts this folder's program: the path its data opens with
; (inside quotes, or up to the first space without them) names ${EXE} in $INSTDIR, in any letter
; case or under another name of the folder; else 0, with no value too. The panel's "Start with
; Windows" tells its own value the same way.
!macro RUN_VALUE_IS_OURS un
Function ${un}RunValueIsOurs
  Push $1
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${Do}
    StrCpy $1 $0 1
    ${IfThen} $1 != " " ${|} ${ExitDo} ${|}
    StrCpy $0 $0 "" 1
  ${Loop}
  ClearErrors
  ${If} $1 == '"'
    StrCpy $0 $0 "" 1
    ${WordFind} $0 '"' "E+1{" $0  ; up to the closing quote, an error without one
  ${Else}
    ${WordFind} $0 " " "+1{" $0  ; up to the first space, or all of it
  ${EndIf}
  ${GetFileName} $0 $1
  ${GetParent} $0 $0
  ${If} ${Errors}
  ${OrIf} $1 != "${EXE}"
    StrCpy $0 0
  ${Else}
    Push $0
    Call ${un}SameFolder
    Pop $0
  ${EndIf}
  Pop $1
FunctionEnd
!macroend
!insertmacro RUN_VALUE_IS_OURS ""
!insertmacro RUN_VALUE_IS_OURS "un."

; $VirtualCard := 1 when $INSTDIR holds the virtual card, or no card library at all (the setup
; then brings the virtual card); 0 when it holds a library of its own
!macro FIND_VIRTUAL_CARD un
Function ${un}FindVirtualCard
  StrCpy $VirtualCard 1
  ${If} ${FileExists} "$INSTDIR\${CARD}"
    Push "$INSTDIR\${CARD}"
    Call ${un}IsVirtualCard
    Pop $VirtualCard
  ${EndIf}
FunctionEnd
!macroend
!insertmacro FIND_VIRTUAL_CARD ""
!insertmacro FIND_VIRTUAL_CARD "un."

; ---- installation -----------------------------------------------------------------------------

Function .onInit
  SetShellVarContext current
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/PREPARE" $1
  ${If} ${Errors}
    !insertmacro MUI_LANGDLL_DISPLAY
    Call ReadSwitches
    Return
  ${EndIf}
  ; the language is chosen as for an installation, without asking
  SetSilent silent
  !insertmacro MUI_LANGDLL_DISPLAY
  Call PrepareFolder
  Quit
FunctionEnd

; $0 := 1 when files can be created in $INSTDIR (it is created if needed), else 0
Function CheckWritable
  ClearErrors
  CreateDirectory "$INSTDIR"
  FileOpen $1 "$INSTDIR\.quorelle-setup-check" w
  ${If} ${Errors}
    StrCpy $0 0
  ${Else}
    FileClose $1
    Delete "$INSTDIR\.quorelle-setup-check"
    StrCpy $0 1
  ${EndIf}
FunctionEnd

Function DirectoryLeave
  Call CheckWritable
  ${If} $0 = 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(NotWritable)"
    Abort
  ${EndIf}
FunctionEnd

; $0 := the operating system's name and version, e.g. "Windows 11 Pro 10.0.22631"
Function OsText
  ReadRegStr $0 HKLM "SOFTWARE\Microsoft\Windows NT\CurrentVersion" "ProductName"
  ReadRegStr $3 HKLM "SOFTWARE\Microsoft\Windows NT\CurrentVersion" "CurrentBuildNumber"
  ClearErrors
  ReadRegDWORD $1 HKLM "SOFTWARE\Microsoft\Windows NT\CurrentVersion" "CurrentMajorVersionNumber"
  ReadRegDWORD $2 HKLM "SOFTWARE\Microsoft\Windows NT\CurrentVersion" "CurrentMinorVersionNumber"
  ${If} ${Errors}
    ; before Windows 10: "6.1"
    ReadRegStr $1 HKLM "SOFTWARE\Microsoft\Windows NT\CurrentVersion" "CurrentVersion"
    StrCpy $1 "$1.$3"
  ${Else}
    StrCpy $1 "$1.$2.$3"
  ${EndIf}
  ${WordReplace} "$0" "Microsoft " "" "+1" $0
  ; Windows 11 still names itself Windows 10 in the registry; its builds start at 22000
  ${If} $3 >= 22000
    ${WordReplace} "$0" "Windows 10" "Windows 11" "+1" $0
  ${EndIf}
  ${If} $0 == ""
    StrCpy $0 "Windows"
  ${EndIf}
  StrCpy $0 "$0 $1"
FunctionEnd

; $0 := the version of the card's driver as Windows records it, empty when it has none
Function CardDriverVersion
  StrCpy $0 ""
  StrCpy $1 0
  ${Do}
    EnumRegKey $2 HKLM "${MEDIA_CLASS_KEY}" $1
    ${IfThen} $2 == "" ${|} ${Break} ${|}
    ReadRegStr $3 HKLM "${MEDIA_CLASS_KEY}\$2" "DriverDesc"
    ${If} $3 == "${PRODUCT}"
      ReadRegStr $0 HKLM "${MEDIA_CLASS_KEY}\$2" "DriverVersion"
      ${Break}
    ${EndIf}
    IntOp $1 $1 + 1
  ${Loop}
FunctionEnd

; Writes the version texts of the information page into $INSTDIR\CPL.ini [Info], and [CPL]
; language when the file has none; the profile functions keep every other key. $VirtualCard
; says which card library the folder runs.
Function WriteSettingsTexts
  Call OsText
  WriteINIStr "$INSTDIR\CPL.ini" "Info" "OS" "$0"
  ${If} $VirtualCard = 1
    GetDLLVersion "$INSTDIR\${CARD}" $1 $2
    !insertmacro VersionText $1 $2 $0
    StrCpy $0 "Virtual card $0"
  ${Else}
    Call CardDriverVersion
    ${If} $0 == ""
      ClearErrors
      GetDLLVersion "$INSTDIR\${CARD}" $1 $2
      ${IfNot} ${Errors}
        !insertmacro VersionText $1 $2 $0
      ${EndIf}
    ${EndIf}
  ${EndIf}
  WriteINIStr "$INSTDIR\CPL.ini" "Info" "DriverVer" "$0"
  GetDLLVersion "$INSTDIR\${EXE}" $1 $2
  !insertmacro VersionText $1 $2 $0
  WriteINIStr "$INSTDIR\CPL.ini" "Info" "CPLVer" "$0"
  ; a first installation speaks the language of its setup
  ClearErrors
  ReadINIStr $0 "$INSTDIR\CPL.ini" "CPL" "language"
  ${If} ${Errors}
    ${Select} $LANGUAGE
      ${Case} ${LANG_SIMPCHINESE}
        WriteINIStr "$INSTDIR\CPL.ini" "CPL" "language" "0"
      ${Case} ${LANG_TRADCHINESE}
        WriteINIStr "$INSTDIR\CPL.ini" "CPL" "language" "1"
      ${Case} ${LANG_ENGLISH}
        WriteINIStr "$INSTDIR\CPL.ini" "CPL" "language" "2"
    ${EndSelect}
  ${EndIf}
FunctionEnd

; /PREPARE: a folder that already holds the program gets the settings texts an installation
; writes, and nothing else. Exit code 2 when the folder holds no program or CPL.ini cannot be
; written.
Function PrepareFolder
  SetErrorLevel 0  ; a Quit in .onInit otherwise ends with 2
  ${IfNot} ${FileExists} "$INSTDIR\${EXE}"
    SetErrorLevel 2
    Return
  ${EndIf}
  StrCpy $VirtualCard 0
  ${If} ${FileExists} "$INSTDIR\${CARD}"
    Call FindVirtualCard
  ${EndIf}
  Call WriteSettingsTexts
  ; the profile functions leave no trace of a failed write but a missing key
  ClearErrors
  ReadINIStr $0 "$INSTDIR\CPL.ini" "Info" "CPLVer"
  ${If} ${Errors}
    SetErrorLevel 2
  ${EndIf}
FunctionEnd

; moves one settings file from $OldDir to $INSTDIR when it is there and $INSTDIR has none
!macro MOVE_SETTING name
  ${If} ${FileExists} "$OldDir\${name}"
  ${AndIfNot} ${FileExists} "$INSTDIR\${name}"
    ClearErrors
    CopyFiles /SILENT "$OldDir\${name}" "$INSTDIR"
    ${IfNot} ${Errors}
      Delete "$OldDir\${name}"
    ${EndIf}
  ${EndIf}
!macroend

; An installation registered in another folder moves here. Its settings come along when this
; folder has none of its own (CPL.ini and Custom.ini belong together: the preset names in the one
; name the curves in the other), and with them the virtual card's state and configuration when
; both folders run the virtual card. Then the old copy's own uninstaller removes it, leaving
; behind only what the user made there. Runs after the panel is closed, and before this setup
; registers itself, so that the old uninstaller still finds its registration and shortcut its own.
Function MoveInstallation
  ReadRegStr $OldDir HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $OldDir == ""
  ${OrIfNot} ${FileExists} "$OldDir\*.*"
    Return
  ${EndIf}
  Push $OldDir
  Call SameFolder
  Pop $0
  ${If} $0 = 1
    Return
  ${EndIf}
  DetailPrint "Moving the installation from $OldDir"
  ${IfNot} ${FileExists} "$INSTDIR\CPL.ini"
  ${AndIfNot} ${FileExists} "$INSTDIR\Custom.ini"
    !insertmacro MOVE_SETTING "CPL.ini"
    !insertmacro MOVE_SETTING "Custom.ini"
    ${If} $VirtualCard = 1
      Push "$OldDir\${CARD}"
      Call IsVirtualCard
      Pop $0
      ${If} $0 = 1
        !insertmacro MOVE_SETTING "VirtualCard.ini"
        !insertmacro MOVE_SETTING "VirtualCard.state"
      ${EndIf}
    ${EndIf}
  ${EndIf}
  ${If} ${FileExists} "$OldDir\${UNINSTALLER}"
    ; Started normally, an uninstaller copies itself to the temporary folder, starts the copy and
    ; ends at once, so ExecWait would not wait for the removal. With _?= it runs in place, and
    ; cannot delete itself: that is done here.
    ClearErrors
    ExecWait '"$OldDir\${UNINSTALLER}" /S _?=$OldDir' $0
    ${If} ${Errors}
    ${OrIf} $0 <> 0
      DetailPrint "The uninstaller of $OldDir did not finish ($0)"
    ${EndIf}
    Delete "$OldDir\${UNINSTALLER}"
    RMDir "$OldDir"
  ${EndIf}
FunctionEnd

Section "!$(ProgramSection)"
  SectionIn RO
  SetShellVarContext current
  Call CheckWritable
  ${If} $0 = 0
    MessageBox MB_OK|MB_ICONSTOP "$(NotWritable)" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  Call ClosePanel

  ; A library other than the virtual card is the card's own and stays.
  Call FindVirtualCard
  Call MoveInstallation

  SetOutPath "$INSTDIR"
  File "/oname=${EXE}" "${PROGRAM}"
  ${If} $VirtualCard = 1
    File "/oname=${CARD}" "${CARD_LIBRARY}"
  ${EndIf}
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  Call WriteSettingsTexts

  CreateShortcut "${SHORTCUT}" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0 SW_SHOWNORMAL "" \
      "${PRODUCT}"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP_NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "${WEB_ADDRESS}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  ; earlier setups recorded the virtual card here; the library itself tells it now
  DeleteRegValue HKCU "${UNINSTALL_KEY}" "VirtualCard"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"

  ; an earlier installation's start at sign-in: the next section writes it again when chosen
  Call RunValueIsOurs
  ${If} $0 = 1
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
SectionEnd

; the panel starts in the notification area, without its window
Section "$(StartSection)" StartAtSignIn
  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\${EXE}" /tray'
SectionEnd

; the command line's choices, after .onInit has chosen the language
Function ReadSwitches
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/NOSTARTUP" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${StartAtSignIn} 0
  ${EndIf}
FunctionEnd

; ---- removal ----------------------------------------------------------------------------------

!define CLSID_SHELL_LINK "{00021401-0000-0000-C000-000000000046}"
!define IID_SHELL_LINK_W "{000214F9-0000-0000-C000-000000000046}"
!define IID_PERSIST_FILE "{0000010b-0000-0000-C000-000000000046}"

; $0 := the program the Start-menu shortcut starts, empty when there is no shortcut
Function un.ShortcutTarget
  StrCpy $0 ""
  ${IfNot} ${FileExists} "${SHORTCUT}"
    Return
  ${EndIf}
  System::Call "ole32::CoInitialize(p 0) i .r4"
  System::Call "ole32::CoCreateInstance(g '${CLSID_SHELL_LINK}', p 0, i 1, g '${IID_SHELL_LINK_W}', *p .r1) i .r2"
  ${If} $2 = 0
    ; IUnknown::QueryInterface, IPersistFile::Load, IShellLinkW::GetPath, IUnknown::Release
    System::Call "$1->0(g '${IID_PERSIST_FILE}', *p .r3) i .r2"
    ${If} $2 = 0
      System::Call "$3->5(w '${SHORTCUT}', i 0) i .r2"
      ${If} $2 = 0
        System::Call "$1->3(w .r0, i ${NSIS_MAX_STRLEN}, p 0, i 0) i .r2"
        ${If} $2 <> 0
          StrCpy $0 ""
        ${EndIf}
      ${EndIf}
      System::Call "$3->2()"
    ${EndIf}
    System::Call "$1->2()"
  ${EndIf}
  ${If} $4 >= 0  ; S_OK or S_FALSE: this call initialised it
    System::Call "ole32::CoUninitialize()"
  ${EndIf}
FunctionEnd

Section "!un.$(ProgramSection)" UnProgram
  SectionIn RO
  Call un.ClosePanel
  Delete "$INSTDIR\${EXE}"
  ${If} $VirtualCard = 1
    Delete "$INSTDIR\${CARD}"
    Delete "$INSTDIR\VirtualCard.log"
  ${EndIf}
  Delete "$INSTDIR\${UNINSTALLER}"
  ; The shortcut and the registration go only when they are this copy's: a copy of the panel
  ; installed since in another folder keeps its own.
  Call un.ShortcutTarget
  ${If} $0 != ""
    ${GetParent} $0 $0
    Push $0
    Call un.SameFolder
    Pop $0
    ${If} $0 = 1
      Delete "${SHORTCUT}"
    ${EndIf}
  ${EndIf}
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  Push $0
  Call un.SameFolder
  Pop $0
  ${If} $0 = 1
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${EndIf}
  Call un.RunValueIsOurs
  ${If} $0 = 1
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
SectionEnd

Section /o "un.$(SettingsSection)" UnSettings
  Delete "$INSTDIR\CPL.ini"
  Delete "$INSTDIR\Custom.ini"
  ${If} $VirtualCard = 1
    Delete "$INSTDIR\VirtualCard.ini"
    Delete "$INSTDIR\VirtualCard.state"
  ${EndIf}
SectionEnd

Section "-un.Folder"
  ; only when nothing of the user's is left in it
  RMDir "$INSTDIR"
SectionEnd

Function un.onInit
  SetShellVarContext current
  !insertmacro MUI_UNGETLANGUAGE
  ; the card library is still there: the program section removes it
  Call un.FindVirtualCard
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${UnSettings} ${SF_SELECTED}
  ${EndIf}
FunctionEnd
