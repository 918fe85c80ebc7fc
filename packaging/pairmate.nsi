; Pairmate's Windows installer (a 32-bit Unicode NSIS installer).
;
; Built by scripts/package.sh:
;   makensis -INPUTCHARSET UTF8 -DVERSION=2.00 -DEXE=path/of/pairmate.exe
;            -DREADME=path/of/readme.txt -DICON=path/of/pairmate.ico
;            -DOUTFILE=path/of/setup.exe pairmate.nsi
;
; It installs pairmate.exe and its read-me into the 32-bit Program Files
; folder with a Start-menu shortcut for each, optionally adds Pairmate to
; the current user's Send To menu and starts it at logon (the current user's
; Run key), and registers itself in Add/Remove Programs. A running Pairmate
; is closed before its file is replaced and started again afterwards.
;
; Command line, besides NSIS's own /S (silent) and /D=folder (last, unquoted):
;   /SENDTO=1 or /SENDTO=0         add Pairmate to Send To, or not.
;   /AUTOSTART=1 or /AUTOSTART=0   start Pairmate at logon, or not.
;   Without them: on for a first installation; a reinstallation keeps the
;   choices of the installation it replaces.
; The uninstaller asks whether to delete the settings and histories; silent
; (/S), it keeps them.

Unicode true
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!ifdef VERSION & EXE & README & ICON & OUTFILE
!else
  !error "Define VERSION, EXE, README, ICON and OUTFILE (see scripts/package.sh)."
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WordFunc.nsh
!include Sections.nsh
!include WinMessages.nsh

!define PRODUCT "Pairmate"
!define PUBLISHER "Velmora"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pairmate"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_PARENT_KEY "Software\Velmora"
!define SETTINGS_KEY "Software\Velmora\Pairmate"
; The running bar, found as the program itself finds it.
!define BAR_CLASS "PairmateFrameWnd"
!define BAR_TITLE "Pairmate"
!define SHORTCUT "$SMPROGRAMS\Pairmate.lnk"
!define README_SHORTCUT "$SMPROGRAMS\Pairmate Readme.lnk"
; Explorer passes the selected files to it as arguments.
!define SENDTO_SHORTCUT "$SENDTO\Pairmate.lnk"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
; An update goes to the folder of the installation it replaces (.onInit).
InstallDir "$PROGRAMFILES\${PRODUCT}"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show
AllowSkipFiles off

; The installer's file version is the program's own, read from its resources.
!getdllversion "${EXE}" EXE_VERSION_
VIProductVersion "${EXE_VERSION_1}.${EXE_VERSION_2}.${EXE_VERSION_3}.${EXE_VERSION_4}"
VIFileVersion "${EXE_VERSION_1}.${EXE_VERSION_2}.${EXE_VERSION_3}.${EXE_VERSION_4}"

Var WasRunning        ; 1 when a running Pairmate was closed for the update
Var PreviousDir       ; folder of the installation being replaced, if any
Var PreviousVersion   ; its version
Var Situation         ; the welcome page's first paragraph: what Setup will do

;---------------------------------------------------------------------------
; Pages

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_SMALLDESC

; The welcome page says what Setup will do with an installed copy, and what
; Pairmate needs besides itself.
!define MUI_PAGE_CUSTOMFUNCTION_PRE DescribeSituation
!define MUI_WELCOMEPAGE_TEXT "$Situation$\r$\n$\r$\n$(WELCOME_NEEDS)$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "$(FINISH_TEXT)"
!define MUI_FINISHPAGE_TEXT_LARGE
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartPairmateFromFinishPage
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\readme.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; English first: it is the language of systems whose language the installer
; does not have; Japanese systems get Japanese.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

;---------------------------------------------------------------------------
; Texts

LangString SEC_PROGRAM ${LANG_ENGLISH} "Pairmate"
LangString SEC_PROGRAM ${LANG_JAPANESE} "Pairmate"
LangString SEC_PROGRAM_DESC ${LANG_ENGLISH} "The program and its read-me, with their Start-menu shortcuts."
LangString SEC_PROGRAM_DESC ${LANG_JAPANESE} "プログラム本体と readme.txt、およびスタートメニューのショートカット。"
LangString SEC_SENDTO ${LANG_ENGLISH} "Add Pairmate to Explorer's Send To menu"
LangString SEC_SENDTO ${LANG_JAPANESE} "[送る] メニューに Pairmate を追加する"
LangString SEC_SENDTO_DESC ${LANG_ENGLISH} "In Explorer, right-click one or two files or folders and choose Send To > Pairmate (this user only)."
LangString SEC_SENDTO_DESC ${LANG_JAPANESE} "エクスプローラーで 1 つか 2 つ選んで右クリックし、[送る] → [Pairmate] で比較します（このユーザーのみ）。"
LangString SEC_AUTOSTART ${LANG_ENGLISH} "Start Pairmate when I log on"
LangString SEC_AUTOSTART ${LANG_JAPANESE} "ログオンしたときに Pairmate を起動する"
LangString SEC_AUTOSTART_DESC ${LANG_ENGLISH} "Pairmate waits at the top right of the desktop from the moment you log on (this user only)."
LangString SEC_AUTOSTART_DESC ${LANG_JAPANESE} "ログオンすると、Pairmate がデスクトップの右上に常駐します（このユーザーのみ）。"
LangString WELCOME_NEW ${LANG_ENGLISH} "Setup will install Pairmate ${VERSION} on your computer."
LangString WELCOME_NEW ${LANG_JAPANESE} "セットアップは、Pairmate ${VERSION} をこのコンピューターにインストールします。"
LangString WELCOME_UPDATE ${LANG_ENGLISH} "Pairmate $PreviousVersion is installed in $PreviousDir. Setup will update it to version ${VERSION}; your settings and path histories stay as they are."
LangString WELCOME_UPDATE ${LANG_JAPANESE} "Pairmate $PreviousVersion が $PreviousDir にインストールされています。セットアップはこれをバージョン ${VERSION} に更新します。設定と入力履歴はそのまま残ります。"
LangString WELCOME_REINSTALL ${LANG_ENGLISH} "Pairmate ${VERSION} is already installed in $PreviousDir. Setup will install the same version again; your settings and path histories stay as they are."
LangString WELCOME_REINSTALL ${LANG_JAPANESE} "Pairmate ${VERSION} は $PreviousDir にインストール済みです。セットアップは同じバージョンをもう一度インストールします。設定と入力履歴はそのまま残ります。"
LangString WELCOME_DOWNGRADE ${LANG_ENGLISH} "A newer version of Pairmate ($PreviousVersion) is installed in $PreviousDir. Setup will replace it with the older version ${VERSION}; your settings and path histories stay as they are."
LangString WELCOME_DOWNGRADE ${LANG_JAPANESE} "新しいバージョンの Pairmate ($PreviousVersion) が $PreviousDir にインストールされています。セットアップはこれを古いバージョン ${VERSION} で置き換えます。設定と入力履歴はそのまま残ります。"
LangString WELCOME_NEEDS ${LANG_ENGLISH} "Pairmate starts WinDiff (windiff.exe) to compare two files or folders. Current versions of Windows do not include WinDiff, but any comparison program that takes two paths on its command line will do, for example WinMerge (WinMergeU.exe) or KDiff3. Pairmate asks for the program in its Initial Setup dialog when it first starts; Settings changes it later."
LangString WELCOME_NEEDS ${LANG_JAPANESE} "Pairmate は、2 つのファイルまたはフォルダーを WinDiff（windiff.exe）で比較するためのツールです。現在の Windows には WinDiff が含まれていませんが、2 つのパスをコマンドラインで受け取る比較ツールなら、WinMerge（WinMergeU.exe）や KDiff3 なども使えます。使うプログラムは初めての起動時に「初期設定」ダイアログで指定し、後から「設定」で変更できます。"
LangString FINISH_TEXT ${LANG_ENGLISH} "Pairmate ${VERSION} has been installed on your computer.$\r$\n$\r$\nIf Pairmate does not know your comparison program yet, it asks for it in its Initial Setup dialog when it starts.$\r$\n$\r$\nClick Finish to close Setup."
LangString FINISH_TEXT ${LANG_JAPANESE} "Pairmate ${VERSION} は、このコンピューターにインストールされました。$\r$\n$\r$\n比較に使うプログラムがまだ指定されていないときは、起動時に「初期設定」ダイアログで指定します。$\r$\n$\r$\n「完了」をクリックしてセットアップを閉じます。"
LangString MSG_NEED_ADMIN ${LANG_ENGLISH} "Installing Pairmate needs administrator rights."
LangString MSG_NEED_ADMIN ${LANG_JAPANESE} "Pairmate のインストールには管理者の権限が必要です。"
LangString MSG_NEWER_INSTALLED ${LANG_ENGLISH} "A newer version of Pairmate ($PreviousVersion) is installed.$\r$\nReplace it with version ${VERSION}?"
LangString MSG_NEWER_INSTALLED ${LANG_JAPANESE} "新しいバージョンの Pairmate ($PreviousVersion) がインストールされています。$\r$\nバージョン ${VERSION} で置き換えますか?"
LangString MSG_CLOSING ${LANG_ENGLISH} "Closing the running Pairmate..."
LangString MSG_CLOSING ${LANG_JAPANESE} "実行中の Pairmate を終了しています..."
LangString MSG_STARTING ${LANG_ENGLISH} "Starting Pairmate again..."
LangString MSG_STARTING ${LANG_JAPANESE} "Pairmate をもう一度起動しています..."
LangString MSG_DELETE_SETTINGS ${LANG_ENGLISH} "Delete Pairmate's settings and path histories as well?$\r$\n(HKEY_CURRENT_USER\${SETTINGS_KEY})"
LangString MSG_DELETE_SETTINGS ${LANG_JAPANESE} "Pairmate の設定と入力履歴も削除しますか?$\r$\n(HKEY_CURRENT_USER\${SETTINGS_KEY})"

VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (C) ${PUBLISHER}"

;---------------------------------------------------------------------------
; Closing and starting the program, shared by the installer and uninstaller.

!macro PAIRMATE_FUNCTIONS UN
; Closes a running Pairmate and waits until its process has ended, so that
; its file can be replaced or deleted. Sets $WasRunning to 1 when one ran.
; The program writes its settings when the user confirms them, never at exit,
; so a copy that does not end when asked to close can be ended without loss.
Function ${UN}ClosePairmate
  Push $0
  Push $1
  Push $2
  Push $3
  StrCpy $WasRunning 0
  FindWindow $0 "${BAR_CLASS}" "${BAR_TITLE}"
  ${If} $0 P<> 0
    StrCpy $WasRunning 1
    DetailPrint "$(MSG_CLOSING)"
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1) i'
    ; SYNCHRONIZE | PROCESS_TERMINATE
    System::Call 'kernel32::OpenProcess(i 0x00100001, i 0, i r1) p .r2'
    System::Call 'user32::PostMessageW(p r0, i ${WM_CLOSE}, p 0, p 0) i'
    ${If} $2 P<> 0
      System::Call 'kernel32::WaitForSingleObject(p r2, i 15000) i .r3'
      ${If} $3 <> 0
        System::Call 'kernel32::TerminateProcess(p r2, i 1) i'
        System::Call 'kernel32::WaitForSingleObject(p r2, i 5000) i'
      ${EndIf}
      System::Call 'kernel32::CloseHandle(p r2) i'
    ${Else}
      ; The process cannot be opened: wait for the window to go instead.
      ${For} $3 1 150
        Sleep 100
        FindWindow $0 "${BAR_CLASS}" "${BAR_TITLE}"
        ${IfThen} $0 P= 0 ${|} ${ExitFor} ${|}
      ${Next}
    ${EndIf}
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro PAIRMATE_FUNCTIONS ""
!insertmacro PAIRMATE_FUNCTIONS "un."

; Starts the installed program as the user who is logged on. An installer
; elevated by UAC would pass its administrator token on to a program it
; starts itself, and an elevated Pairmate takes no drops from the
; (unelevated) Explorer; so in that case the shell starts it. Wine, whose
; explorer.exe opens a file browser instead, starts it directly.
Function StartPairmate
  Push $0
  Push $1
  Push $2
  StrCpy $2 0
  ; TOKEN_QUERY; TokenElevationType (18): 2 is "full", an elevated split token.
  System::Call 'advapi32::OpenProcessToken(p -1, i 0x0008, *p .r0) i .r1'
  ${If} $1 <> 0
    System::Call 'advapi32::GetTokenInformation(p r0, i 18, *i 0 r2, i 4, *i .r1) i'
    System::Call 'kernel32::CloseHandle(p r0) i'
  ${EndIf}
  System::Call 'kernel32::GetModuleHandleW(w "ntdll.dll") p .r0'
  System::Call 'kernel32::GetProcAddress(p r0, m "wine_get_version") p .r1'
  ${If} $2 = 2
  ${AndIf} $1 P= 0
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\pairmate.exe"'
  ${Else}
    Exec '"$INSTDIR\pairmate.exe"'
  ${EndIf}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

Function DescribeSituation
  ${If} $PreviousVersion == ""
    StrCpy $Situation "$(WELCOME_NEW)"
  ${Else}
    ${VersionCompare} "$PreviousVersion" "${VERSION}" $0
    ${Select} $0
      ${Case} 0
        StrCpy $Situation "$(WELCOME_REINSTALL)"
      ${Case} 1
        StrCpy $Situation "$(WELCOME_DOWNGRADE)"
      ${CaseElse}
        StrCpy $Situation "$(WELCOME_UPDATE)"
    ${EndSelect}
  ${EndIf}
FunctionEnd

Function StartPairmateFromFinishPage
  FindWindow $0 "${BAR_CLASS}" "${BAR_TITLE}"
  ${If} $0 P= 0
    Call StartPairmate
  ${EndIf}
FunctionEnd

;---------------------------------------------------------------------------
; Installer

Section "$(SEC_PROGRAM)" SecProgram
  SectionIn RO
  Call ClosePairmate

  SetOutPath "$INSTDIR"
  File "/oname=pairmate.exe" "${EXE}"
  File "/oname=readme.txt" "${README}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; An installation in another folder is replaced by this one.
  ${If} $PreviousDir != ""
  ${AndIf} $PreviousDir != $INSTDIR
    Delete "$PreviousDir\pairmate.exe"
    Delete "$PreviousDir\readme.txt"
    Delete "$PreviousDir\uninstall.exe"
    RMDir "$PreviousDir"
  ${EndIf}

  SetShellVarContext all
  CreateShortcut "${SHORTCUT}" "$INSTDIR\pairmate.exe" "" "$INSTDIR\pairmate.exe" 0
  CreateShortcut "${README_SHORTCUT}" "$INSTDIR\readme.txt"
  SetShellVarContext current

  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\pairmate.exe,0"
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
SectionEnd

Section "$(SEC_SENDTO)" SecSendTo
  CreateShortcut "${SENDTO_SHORTCUT}" "$INSTDIR\pairmate.exe" "" "$INSTDIR\pairmate.exe" 0
SectionEnd

Section "$(SEC_AUTOSTART)" SecAutoStart
  WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\pairmate.exe"'
SectionEnd

Section "-Finish"
  ${If} ${SectionIsSelected} ${SecSendTo}
    WriteRegDWORD HKLM "${UNINST_KEY}" "SendTo" 1
  ${Else}
    WriteRegDWORD HKLM "${UNINST_KEY}" "SendTo" 0
    Delete "${SENDTO_SHORTCUT}"
  ${EndIf}
  ${IfNot} ${SectionIsSelected} ${SecAutoStart}
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}
  ${GetSize} "$INSTDIR" "/S=0K /G=0" $0 $1 $2
  WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" $0
  ${If} $WasRunning = 1
    DetailPrint "$(MSG_STARTING)"
    Call StartPairmate
  ${EndIf}
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "$(SEC_PROGRAM_DESC)"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecSendTo} "$(SEC_SENDTO_DESC)"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecAutoStart} "$(SEC_AUTOSTART_DESC)"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; Selects SECTION when the parameters in $1 hold OPTION with any value but
; 0, unselects it for 0, and leaves it as it is without OPTION.
!macro SECTION_FROM_OPTION OPTION SECTION
  ClearErrors
  ${GetOptions} $1 "${OPTION}" $0
  ${IfNot} ${Errors}
    ${If} $0 == "0"
      !insertmacro UnselectSection ${SECTION}
    ${Else}
      !insertmacro SelectSection ${SECTION}
    ${EndIf}
  ${EndIf}
!macroend

Function .onInit
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "admin"
    MessageBox MB_OK|MB_ICONSTOP "$(MSG_NEED_ADMIN)" /SD IDOK
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}

  ReadRegStr $PreviousDir HKLM "${UNINST_KEY}" "InstallLocation"
  ReadRegStr $PreviousVersion HKLM "${UNINST_KEY}" "DisplayVersion"
  ; The earlier folder is the default unless /D= names one. (Read by
  ; InstallDirRegKey instead, it would appear on the folder page with a
  ; trailing backslash.) NSIS cuts /D= from $CMDLINE, not from the process's
  ; own command line.
  ${If} $PreviousDir != ""
    System::Call 'kernel32::GetCommandLineW() w .r0'
    ClearErrors
    ${GetOptionsS} $0 "/D=" $1
    ${IfThen} ${Errors} ${|} StrCpy $INSTDIR $PreviousDir ${|}
  ${EndIf}
  ${If} $PreviousVersion != ""
    ${VersionCompare} "$PreviousVersion" "${VERSION}" $0
    ${If} $0 = 1
      MessageBox MB_YESNO|MB_ICONEXCLAMATION|MB_DEFBUTTON2 "$(MSG_NEWER_INSTALLED)" /SD IDNO IDYES replace_newer
      SetErrorLevel 1
      Quit
      replace_newer:
    ${EndIf}
  ${EndIf}

  ; Send To and start at logon: on for a first installation, as before for
  ; a reinstallation, or as the command line says. An installation made
  ; before Send To was offered (no "SendTo" in its entry) gets it too.
  ${If} $PreviousDir != ""
    ClearErrors
    ReadRegDWORD $0 HKLM "${UNINST_KEY}" "SendTo"
    ${IfNot} ${Errors}
    ${AndIf} $0 = 0
      !insertmacro UnselectSection ${SecSendTo}
    ${EndIf}
    ClearErrors
    ReadRegStr $0 HKCU "${RUN_KEY}" "${PRODUCT}"
    ${If} ${Errors}
      !insertmacro UnselectSection ${SecAutoStart}
    ${EndIf}
  ${EndIf}
  ${GetParameters} $1
  !insertmacro SECTION_FROM_OPTION "/SENDTO=" ${SecSendTo}
  !insertmacro SECTION_FROM_OPTION "/AUTOSTART=" ${SecAutoStart}
FunctionEnd

;---------------------------------------------------------------------------
; Uninstaller

Section "Uninstall"
  Call un.ClosePairmate

  Delete "$INSTDIR\pairmate.exe"
  Delete "$INSTDIR\readme.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  SetShellVarContext all
  Delete "${SHORTCUT}"
  Delete "${README_SHORTCUT}"
  SetShellVarContext current
  Delete "${SENDTO_SHORTCUT}"

  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  DeleteRegKey HKLM "${UNINST_KEY}"

  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(MSG_DELETE_SETTINGS)" /SD IDNO IDNO keep_settings
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "${SETTINGS_PARENT_KEY}"
  keep_settings:
SectionEnd
