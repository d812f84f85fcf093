; OndrakeSetup.exe: installs the saver's three files for the current user,
; makes Ondrake the current screen saver, and registers an uninstaller in
; the user's list of installed programs.
;
; Built by the Windows builds (installer/CMakeLists.txt), which define
;   TARGET   x86-unicode, or amd64-unicode for the x86-64 test build
;   VERSION  the programs' version, four numbers
;   DIST     the folder holding Ondrake.scr, Ondrake.dll and Ondrake.3ds
;   ICON     our icon, drawn by ondrake-art
;   OUTFILE  the installer to write

Target ${TARGET}
SetCompressor /SOLID lzma
; Without this every build would store the build time of each file, and
; two builds of the same programs would differ.
SetDateSave off

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ondrake"
!define DESKTOP_KEY "Control Panel\Desktop"
!define PUBLISHER "Ondrake"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATEINIFILE_SENDCHANGE 3
; The saver copies its model here on every start.
!define WORK_FOLDER "C:\qorbel"

Name "Ondrake"
OutFile "${OUTFILE}"
BrandingText "Ondrake ${VERSION}"
; Per user, without administrator rights: the saver writes its settings
; file beside itself, so it has to live in a folder the user can write to.
RequestExecutionLevel user
ManifestDPIAware true
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

!include MUI2.nsh
!include LogicLib.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!define MUI_DIRECTORYPAGE_TEXT_TOP "$(DirectoryNote)"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Ondrake.scr"
!define MUI_FINISHPAGE_RUN_PARAMETERS "/c"
!define MUI_FINISHPAGE_RUN_TEXT "$(OpenSettings)"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The saver's own texts are Japanese; the system's language picks one.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString DirectoryNote ${LANG_ENGLISH} "Ondrake keeps its settings in a file beside the program, so choose a folder of your own that you can write to."
LangString DirectoryNote ${LANG_JAPANESE} "Ondrakeは設定をプログラムと同じフォルダに保存します。書き込みのできる自分のフォルダを選んでください。"
LangString InUse ${LANG_ENGLISH} "Ondrake is running, so $0 cannot be replaced or removed. Close the screen saver, its settings and the Screen Saver Settings window, then choose Retry."
LangString InUse ${LANG_JAPANESE} "Ondrakeが実行中のため、$0を置き換えたり削除したりできません。スクリーンセーバーとその設定、スクリーンセーバーの設定画面を閉じてから、［再試行］を選んでください。"
LangString OpenSettings ${LANG_ENGLISH} "Open the screen saver's settings"
LangString OpenSettings ${LANG_JAPANESE} "スクリーンセーバーの設定を開く"

; Like the programs themselves, the installer carries no copyright line.
!pragma warning disable 9100
VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Ondrake"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Ondrake screen saver setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "OriginalFilename" "OndrakeSetup.exe"

Function .onInit
    ; $INSTDIR already holds /D= or the folder of an earlier install.
    ${If} $INSTDIR == ""
        GetKnownFolderPath $INSTDIR {5CD7AEE2-2219-4A67-B85D-6C9CE15660CB} ; FOLDERID_UserProgramFiles
        ${If} $INSTDIR == ""
            StrCpy $INSTDIR "$LOCALAPPDATA\Programs"
        ${EndIf}
        StrCpy $INSTDIR "$INSTDIR\Ondrake"
    ${EndIf}
FunctionEnd

; Windows neither replaces nor deletes a program that is running: the saver,
; its settings dialog, its preview in the Screen Saver Settings window, or
; the renderer. Without this check an install over a running saver would
; leave it half old and half new, and an uninstall would leave programs
; behind that no list of programs names any more.
; Sets $0 to NAME when that program in $INSTDIR cannot be written.
!macro NOTE_IF_IN_USE NAME
    ${If} ${FileExists} "$INSTDIR\${NAME}"
        ClearErrors
        FileOpen $1 "$INSTDIR\${NAME}" a
        ${If} ${Errors}
            StrCpy $0 "${NAME}"
        ${Else}
            FileClose $1
        ${EndIf}
    ${EndIf}
!macroend

!macro WAIT_WHILE_RUNNING PREFIX
; $0: one of our programs in $INSTDIR that cannot be written, else "".
Function ${PREFIX}ProgramInUse
    StrCpy $0 ""
    !insertmacro NOTE_IF_IN_USE "Ondrake.dll"
    !insertmacro NOTE_IF_IN_USE "Ondrake.scr"
FunctionEnd

; Asks until the programs are free; a silent run, or Cancel, ends here with
; exit code 2 and nothing changed.
Function ${PREFIX}WaitWhileRunning
    ${Do}
        Call ${PREFIX}ProgramInUse
        ${If} $0 == ""
            Return
        ${EndIf}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(InUse)" /SD IDCANCEL IDRETRY retry
        Abort
        retry:
    ${Loop}
FunctionEnd
!macroend
!insertmacro WAIT_WHILE_RUNNING ""
!insertmacro WAIT_WHILE_RUNNING "un."

; Ondrake.ini, the user's settings, is never written here, so installing
; over an older version keeps it.
Section "Ondrake" SecOndrake
    Call WaitWhileRunning
    SetOutPath "$INSTDIR"
    File "${DIST}/Ondrake.scr"
    File "${DIST}/Ondrake.dll"
    File "${DIST}/Ondrake.3ds"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    ; The system expects the short name; where the volume keeps no short
    ; names the long one is all there is.
    GetFullPathName /SHORT $0 "$INSTDIR\Ondrake.scr"
    ${If} $0 == ""
        StrCpy $0 "$INSTDIR\Ondrake.scr"
    ${EndIf}
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$0"
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
    ; Tells the running session, which keeps its own copy of the switch.
    System::Call "user32::SystemParametersInfo(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATEINIFILE_SENDCHANGE})"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Ondrake"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Ondrake.scr,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize ${SecOndrake} $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; $0: a SCRNSAVE.EXE value. $1: "1" when it names the Ondrake.scr in
; $INSTDIR (by its long or short name), else "0". Asked while our program
; is still there, since a short name can be had only for an existing file.
Function un.NamesOurSaver
    StrCpy $1 0
    GetFullPathName /SHORT $2 "$INSTDIR\Ondrake.scr"
    GetFullPathName /SHORT $3 "$0"
    ${If} $0 == "$INSTDIR\Ondrake.scr"
    ${OrIf} $0 == $2
        StrCpy $1 1
    ${ElseIf} $3 != ""
    ${AndIf} $3 == $2
        StrCpy $1 1
    ${EndIf}
FunctionEnd

Section "Uninstall"
    Call un.WaitWhileRunning
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${If} $0 != ""
        Call un.NamesOurSaver
        ${If} $1 == 1
            DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
        ${EndIf}
    ${EndIf}

    ; Only what we or the saver put there: anything else the user keeps in
    ; these folders stays, and so do the folders then.
    Delete "$INSTDIR\Ondrake.scr"
    Delete "$INSTDIR\Ondrake.dll"
    Delete "$INSTDIR\Ondrake.3ds"
    Delete "$INSTDIR\Ondrake.ini"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    Delete "${WORK_FOLDER}\Ondrake.3ds"
    RMDir "${WORK_FOLDER}"

    ; Last, so that its going says the uninstaller has finished.
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
