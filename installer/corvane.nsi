; The setup program of Corvane: corvane.exe, nudgeon.exe, loopline.exe,
; corvane-export.exe, skein.dll, loopline.ini and the help pages, Start-menu entries, the reminder
; at logon, and an uninstaller that keeps the user's data unless asked.
;
;   makensis -DVERSION=1.2.3.4 -DBINDIR=<folder of the programs>
;            -DOUTFILE=<setup.exe> [-DTARGET=x86-unicode|amd64-unicode] corvane.nsi
;
; The release is x86 (the programs are 32-bit). The amd64 build of the same
; script installs the 64-bit test programs, for machines that run only 64-bit Wine.
;
; Command line of the setup program (besides NSIS's /S and /D=folder):
;   /REMINDER=startup|run|none   how nudgeon.exe starts at logon: a shortcut in the
;                                Startup folder (default), the Run key, or not at all
; Command line of the uninstaller (besides /S):
;   /PURGE                       also remove the control files beside the programs
;                                and Corvane's settings in the registry
; Backup archives are never removed: they are the user's, wherever they lie.

!ifndef VERSION
  !error "-DVERSION=<four numbers> is missing"
!endif
!ifndef BINDIR
  !error "-DBINDIR=<folder of the programs> is missing"
!endif
!ifndef OUTFILE
  !error "-DOUTFILE=<setup program> is missing"
!endif
!ifndef TARGET
  !define TARGET x86-unicode
!endif
Target ${TARGET}

!include LogicLib.nsh
!include WinVer.nsh
!include FileFunc.nsh
!include nsDialogs.nsh
!include MUI2.nsh

!define PRODUCT "Corvane"
!define COMPANY "BrindleWorks"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvane"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Corvane Reminder"
!define SETTINGS_KEY "Software\BrindleWorks\Corvane"
!define NEWS_KEY "Software\BrindleWorks\Loopline\Corvane"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
SetCompressor /SOLID lzma
; Per-user install: the folder is the user's (Program Files on XP and 2000,
; where users are administrators; the local application data folder on later
; Windows), and the programs write their control files beside themselves.
RequestExecutionLevel user
; A file that cannot be replaced (a program still running) stops the setup
; rather than leaving old and new programs mixed.
AllowSkipFiles off
ShowInstDetails show
ShowUninstDetails show
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "FileDescription" "Corvane setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) BrindleWorks"

!define MUI_ICON "${__FILEDIR__}/../corvane/main/res/corvane.ico"
!define MUI_UNICON "${MUI_ICON}"
!define MUI_ABORTWARNING

Var Reminder        ; startup, run or none
Var ReminderStartup
Var ReminderRun
Var ReminderNone
Var Purge           ; 1: remove control files and settings too
Var PurgeBox

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
Page custom ReminderPage ReminderPageLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\corvane.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Corvane"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
UninstPage custom un.PurgePage un.PurgePageLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetShellVarContext current
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMINDER=" $Reminder
  ${If} ${Errors}
    StrCpy $Reminder "startup"
  ${EndIf}
  ${If} $Reminder != "startup"
  ${AndIf} $Reminder != "run"
  ${AndIf} $Reminder != "none"
    MessageBox MB_ICONSTOP "Unknown /REMINDER=$Reminder: use startup, run or none." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  ; /D= on the command line has set the folder already.
  ${If} $INSTDIR == ""
    ReadRegStr $INSTDIR HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${EndIf}
  ${If} $INSTDIR == ""
    ${If} ${AtLeastWinVista}
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
    ${Else}
      StrCpy $INSTDIR "$PROGRAMFILES\${PRODUCT}"
    ${EndIf}
  ${EndIf}
FunctionEnd

Function ReminderPage
  !insertmacro MUI_HEADER_TEXT "Backup reminder" "How the reminder starts when you log on."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 24u "The reminder tells you when your last backup of Outlook Express is older than you asked for, and starts a quick backup."
  Pop $0
  ${NSD_CreateRadioButton} 10u 32u 100% 12u "Start the reminder at logon from the Startup folder"
  Pop $ReminderStartup
  ${NSD_CreateRadioButton} 10u 48u 100% 12u "Start the reminder at logon from the registry (Run key)"
  Pop $ReminderRun
  ${NSD_CreateRadioButton} 10u 64u 100% 12u "Do not start the reminder at logon"
  Pop $ReminderNone
  ${If} $Reminder == "run"
    ${NSD_Check} $ReminderRun
  ${ElseIf} $Reminder == "none"
    ${NSD_Check} $ReminderNone
  ${Else}
    ${NSD_Check} $ReminderStartup
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ReminderPageLeave
  ${NSD_GetState} $ReminderRun $0
  ${NSD_GetState} $ReminderNone $1
  ${If} $0 == ${BST_CHECKED}
    StrCpy $Reminder "run"
  ${ElseIf} $1 == ${BST_CHECKED}
    StrCpy $Reminder "none"
  ${Else}
    StrCpy $Reminder "startup"
  ${EndIf}
FunctionEnd

Section "Corvane"
  SetOutPath "$INSTDIR"
  File "${BINDIR}/corvane.exe"
  File "${BINDIR}/nudgeon.exe"
  File "${BINDIR}/loopline.exe"
  File "${BINDIR}/corvane-export.exe"
  File "${BINDIR}/skein.dll"
  File "${BINDIR}/loopline.ini"
  SetOutPath "$INSTDIR\help"
  File "${BINDIR}/help/*.html"
  File "${BINDIR}/help/*.css"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Corvane.lnk" "$INSTDIR\corvane.exe" "" "$INSTDIR\corvane.exe" 0
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Corvane Reminder.lnk" "$INSTDIR\nudgeon.exe" "" "$INSTDIR\nudgeon.exe" 0
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall Corvane.lnk" "$INSTDIR\uninstall.exe"

  ; One way of starting at logon, never two: an earlier install may have chosen the other.
  Delete "$SMSTARTUP\Corvane Reminder.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $Reminder == "startup"
    CreateShortcut "$SMSTARTUP\Corvane Reminder.lnk" "$INSTDIR\nudgeon.exe"
  ${ElseIf} $Reminder == "run"
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\nudgeon.exe"'
  ${EndIf}

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\corvane.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
  SetShellVarContext current
  StrCpy $Purge 0
  ${un.GetParameters} $0
  ClearErrors
  ${un.GetOptions} $0 "/PURGE" $1
  ${IfNot} ${Errors}
    StrCpy $Purge 1
  ${EndIf}
FunctionEnd

Function un.PurgePage
  !insertmacro MUI_HEADER_TEXT "Your data" "What stays after the programs are removed."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 36u "Your backup archives are never removed. The control files beside the programs (brind*.ctl, they remember what you last backed up) and Corvane's settings stay too, for a later install, unless you tick the box."
  Pop $0
  ${NSD_CreateCheckbox} 0 44u 100% 12u "Also remove the control files and Corvane's settings"
  Pop $PurgeBox
  ${If} $Purge == 1
    ${NSD_Check} $PurgeBox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function un.PurgePageLeave
  ${NSD_GetState} $PurgeBox $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $Purge 1
  ${Else}
    StrCpy $Purge 0
  ${EndIf}
FunctionEnd

Section "Uninstall"
  ; Only the files the setup put there: whatever else lies in the folder (an
  ; archive saved there, say) stays, and with it the folder.
  Delete "$INSTDIR\corvane.exe"
  Delete "$INSTDIR\nudgeon.exe"
  Delete "$INSTDIR\loopline.exe"
  Delete "$INSTDIR\corvane-export.exe"
  Delete "$INSTDIR\skein.dll"
  Delete "$INSTDIR\loopline.ini"
  Delete "$INSTDIR\help\*.html"
  Delete "$INSTDIR\help\help.css"
  RMDir "$INSTDIR\help"
  Delete "$INSTDIR\uninstall.exe"

  ${If} $Purge == 1
    Delete "$INSTDIR\brind*.ctl"
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey HKCU "${NEWS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\BrindleWorks\Loopline"
    DeleteRegKey /ifempty HKCU "Software\BrindleWorks"
  ${EndIf}
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${PRODUCT}\Corvane.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Corvane Reminder.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall Corvane.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  Delete "$SMSTARTUP\Corvane Reminder.lnk"
  ; The Run value only when it starts this copy of the reminder.
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 == '"$INSTDIR\nudgeon.exe"'
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
  ; Last: its absence tells that the uninstall is over.
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
