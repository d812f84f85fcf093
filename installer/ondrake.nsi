; OndrakeSetup.exe: installs the saver's three files for the current user in
; a folder of their own, makes Ondrake the current screen saver unless told
; not to, adds its Start menu entries, and registers an uninstaller in the
; user's list of installed programs. The screen saver found before the first
; install is remembered there, and the uninstaller gives it back.
;
; Built by the Windows builds (installer/CMakeLists.txt), which define
;   TARGET     x86-unicode, or amd64-unicode for the x86-64 test build
;   VERSION    the programs' version, four numbers
;   HOME_PAGE  our home page, the one the settings dialog opens
;   DIST       the folder holding Ondrake.scr, Ondrake.dll and Ondrake.3ds
;   ICON       our icon, drawn by ondrake-art
;   OUTFILE    the installer to write
;
; A silent run (/S) ends with one of these exit codes; with 2, 3 and 4 it
; has changed nothing:
;   0  installed (or uninstalled)
;   2  Ondrake is running, so its programs cannot be replaced or removed
;   3  the folder is a drive's top folder or one that Windows or the user's
;      own files use
;   4  another program (a virus scanner, say) holds one of our programs open

Target ${TARGET}
SetCompressor /SOLID lzma
; Without this every build would store the build time of each file, and
; two builds of the same programs would differ.
SetDateSave off

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ondrake"
!define DESKTOP_KEY "Control Panel\Desktop"
!define PUBLISHER "Ondrake"
!define UNINSTALLER "Uninstall Ondrake.exe"
; What installers before this one called the uninstaller: a name so common
; that another program's uninstaller may have it, so it is removed only
; where the listing says it is ours.
!define OLD_UNINSTALLER "Uninstall.exe"
!define START_FOLDER "$SMPROGRAMS\Ondrake"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATEINIFILE_SENDCHANGE 3
!define PROCESS_QUERY_LIMITED_INFORMATION 0x1000
; The saver copies its model here on every start.
!define WORK_FOLDER "C:\qorbel"
!searchparse "${VERSION}" "" VERSION_MAJOR "." VERSION_MINOR "."

Name "Ondrake"
OutFile "${OUTFILE}"
BrandingText "Ondrake ${VERSION}"
; Per user, without administrator rights: the saver writes its settings
; file beside itself, so it has to live in a folder the user can write to.
RequestExecutionLevel user
ManifestDPIAware true
; The last part of this folder is what Browse adds to the folder the user
; picks, so that Ondrake gets a folder of its own there. .onInit puts the
; system's own name for the user's programs folder in front of it.
InstallDir "$LOCALAPPDATA\Programs\Ondrake"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
; A drive's top folder is refused with a message that says why, not with
; a greyed-out Install button.
AllowRootDirInstall true
ShowInstDetails show
ShowUninstDetails show

!include MUI2.nsh
!include LogicLib.nsh
!include Sections.nsh
!include FileFunc.nsh
!include WinCore.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_COMPONENTS
!define MUI_DIRECTORYPAGE_TEXT_TOP "$(DirectoryNote)"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Ondrake.scr"
!define MUI_FINISHPAGE_RUN_PARAMETERS "/c"
!define MUI_FINISHPAGE_RUN_TEXT "$(OpenSettings)"
!define MUI_FINISHPAGE_SHOWREADME ""
!define MUI_FINISHPAGE_SHOWREADME_TEXT "$(OpenWindowsSettings)"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION OpenWindowsSettings
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The saver's own texts are Japanese; the system's language picks one.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

; The Start menu entries, by the names each language gives them; the
; uninstaller removes both, whichever language installed them.
!define LINK_SETTINGS_ENGLISH "Ondrake Settings"
!define LINK_SETTINGS_JAPANESE "Ondrakeの設定"
!define LINK_SELECT_ENGLISH "Use Ondrake as the Screen Saver"
!define LINK_SELECT_JAPANESE "Ondrakeをスクリーンセーバーにする"
LangString LinkSettings ${LANG_ENGLISH} "${LINK_SETTINGS_ENGLISH}"
LangString LinkSettings ${LANG_JAPANESE} "${LINK_SETTINGS_JAPANESE}"
LangString LinkSelect ${LANG_ENGLISH} "${LINK_SELECT_ENGLISH}"
LangString LinkSelect ${LANG_JAPANESE} "${LINK_SELECT_JAPANESE}"

LangString SelectSection ${LANG_ENGLISH} "Use Ondrake as the screen saver"
LangString SelectSection ${LANG_JAPANESE} "Ondrakeをスクリーンセーバーにする"
LangString DirectoryNote ${LANG_ENGLISH} "Ondrake keeps its settings in a file beside the program, so it needs a folder of its own that you can write to. Browse adds \Ondrake to the folder you pick."
LangString DirectoryNote ${LANG_JAPANESE} "Ondrakeは設定をプログラムと同じフォルダに保存するため、書き込みのできる専用のフォルダが必要です。［参照］で選んだフォルダには\Ondrakeが付け加えられます。"
LangString RefusedFolder ${LANG_ENGLISH} "Ondrake cannot be installed in $R0: it is the top folder of a drive, or a folder that Windows, other programs or your own files use. Choose a folder of Ondrake's own; Browse adds \Ondrake to the folder you pick."
LangString RefusedFolder ${LANG_JAPANESE} "$R0にはOndrakeをインストールできません。ドライブの最上位のフォルダか、Windowsやほかのプログラム、あなた自身のファイルが使うフォルダです。Ondrake専用のフォルダを選んでください。［参照］で選んだフォルダには\Ondrakeが付け加えられます。"
LangString InUse ${LANG_ENGLISH} "Ondrake is running, so $R3 in $R1 cannot be replaced or removed. Close the screen saver, its settings and the Screen Saver Settings window, then choose Retry."
LangString InUse ${LANG_JAPANESE} "Ondrakeが実行中のため、$R1の$R3を置き換えたり削除したりできません。スクリーンセーバーとその設定、スクリーンセーバーの設定画面を閉じてから、［再試行］を選んでください。"
LangString HeldOpen ${LANG_ENGLISH} "$R3 in $R1 is held open by another program, perhaps a virus scanner, so it cannot be replaced or removed. Ondrake itself is not running. Wait a moment or close that program, then choose Retry."
LangString HeldOpen ${LANG_JAPANESE} "$R1の$R3をほかのプログラム（ウイルス対策ソフトなど）が開いているため、置き換えたり削除したりできません。Ondrake自体は実行されていません。しばらく待つか、そのプログラムを閉じてから、［再試行］を選んでください。"
LangString OpenSettings ${LANG_ENGLISH} "Open the screen saver's settings"
LangString OpenSettings ${LANG_JAPANESE} "スクリーンセーバーの設定を開く"
LangString OpenWindowsSettings ${LANG_ENGLISH} "Open Windows' screen saver settings (wait time, sign-in on resume)"
LangString OpenWindowsSettings ${LANG_JAPANESE} "Windowsのスクリーンセーバーの設定を開く（待ち時間、再開時のサインイン）"

; The lines of the install log, in the details list.
LangString LogRemembered ${LANG_ENGLISH} "Screen saver before Ondrake, kept for the uninstaller: $\"$R0$\", on: $\"$R1$\""
LangString LogRemembered ${LANG_JAPANESE} "Ondrakeの前のスクリーンセーバーをアンインストール用に記録: $\"$R0$\"、オン: $\"$R1$\""
LangString LogMoved ${LANG_ENGLISH} "Earlier install in $Listed replaced: its settings moved here, its programs removed"
LangString LogMoved ${LANG_JAPANESE} "$Listedにあった以前のインストールを置き換え: 設定をここへ移し、プログラムを削除"
LangString LogReadOnly ${LANG_ENGLISH} "$R3 was read-only; the mark is cleared so that it can be replaced or removed"
LangString LogReadOnly ${LANG_JAPANESE} "$R3は読み取り専用でした。置き換えや削除のため、その属性を外しました"
LangString LogSelected ${LANG_ENGLISH} "Ondrake is now the screen saver, switched on"
LangString LogSelected ${LANG_JAPANESE} "Ondrakeをスクリーンセーバーにし、オンにしました"
LangString LogRepointed ${LANG_ENGLISH} "The screen saver now names the programs in their new folder"
LangString LogRepointed ${LANG_JAPANESE} "スクリーンセーバーを新しいフォルダのプログラムに合わせました"
LangString LogNotSelected ${LANG_ENGLISH} "The screen saver stays as it was: $\"$R0$\""
LangString LogNotSelected ${LANG_JAPANESE} "スクリーンセーバーは今のまま: $\"$R0$\""
LangString LogGivenBack ${LANG_ENGLISH} "The screen saver from before Ondrake is back: $\"$R0$\""
LangString LogGivenBack ${LANG_JAPANESE} "Ondrakeの前のスクリーンセーバーに戻しました: $\"$R0$\""
LangString LogSwitchBack ${LANG_ENGLISH} "The screen saver's on/off switch is back as it was: $\"$R4$\""
LangString LogSwitchBack ${LANG_JAPANESE} "スクリーンセーバーのオン・オフを元に戻しました: $\"$R4$\""
LangString LogUnselected ${LANG_ENGLISH} "Ondrake is no longer the screen saver"
LangString LogUnselected ${LANG_JAPANESE} "Ondrakeはスクリーンセーバーではなくなりました"
LangString LogOtherSaver ${LANG_ENGLISH} "Another screen saver is chosen and stays: $\"$R0$\""
LangString LogOtherSaver ${LANG_JAPANESE} "ほかのスクリーンセーバーが選ばれているので、そのままにします: $\"$R0$\""
LangString LogNotListed ${LANG_ENGLISH} "This copy is not the one listed among the installed programs: the listing and the Start menu entries stay"
LangString LogNotListed ${LANG_JAPANESE} "このコピーはインストール済みのプログラムとして登録されたものではないため、登録とスタートメニューの項目は残します"

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

; The folder of the installed copy, as the listing names it; "" when
; Ondrake is not listed.
Var Listed
; 1 when the copy in $Listed is moved into $INSTDIR.
Var Moving

!macro SHARED_FUNCTIONS PREFIX
; $R3, $R4: two paths, both used up. $R2: 1 when they name the same file
; or folder, by its long or its short name, else 0; 0 for an empty $R3.
Function ${PREFIX}SamePath
    StrCpy $R2 0
    ${If} $R3 == ""
    ${ElseIf} $R3 == $R4
        StrCpy $R2 1
    ${Else}
        GetFullPathName /SHORT $R3 "$R3"
        GetFullPathName /SHORT $R4 "$R4"
        ${If} $R4 != ""
        ${AndIf} $R3 == $R4
            StrCpy $R2 1
        ${EndIf}
    ${EndIf}
FunctionEnd

; $R0: a SCRNSAVE.EXE value, $R1: a folder. $R2: 1 when the value names the
; Ondrake.scr in that folder, by its long or its short name, else 0. Asked
; while that program is still there, since only an existing file has a
; short name.
Function ${PREFIX}NamesSaverIn
    Push $R3
    Push $R4
    StrCpy $R3 $R0
    StrCpy $R4 "$R1\Ondrake.scr"
    Call ${PREFIX}SamePath
    Pop $R4
    Pop $R3
FunctionEnd

; $R1: a folder. $R2: 1 when $Listed names the same folder, else 0.
Function ${PREFIX}IsListedFolder
    Push $R3
    Push $R4
    StrCpy $R3 $Listed
    StrCpy $R4 $R1
    Call ${PREFIX}SamePath
    Pop $R4
    Pop $R3
FunctionEnd

; $R1: a folder. $R4: 1 while Ondrake runs, else 0: a process started from
; that folder's Ondrake.scr or Ondrake.dll (the saver, its settings, its
; preview, the renderer), or a window of the saver's own from any folder.
Function ${PREFIX}SaverRunning
    Push $R5
    Push $R6
    Push $R7
    Push $R8
    Push $R9
    StrCpy $R4 0
    FindWindow $R5 "" "Sollvane_VC"
    FindWindow $R6 "" "Sollvane_Main"
    FindWindow $R7 "" "<Ondrake>"
    ${If} $R5 P<> 0
    ${OrIf} $R6 P<> 0
    ${OrIf} $R7 P<> 0
        StrCpy $R4 1
    ${EndIf}

    GetFullPathName /SHORT $R8 "$R1\Ondrake.scr"
    GetFullPathName /SHORT $R9 "$R1\Ondrake.dll"
    ; Room for 4096 process ids.
    System::Alloc 16384
    Pop $R5
    System::Call "psapi::EnumProcesses(p R5, i 16384, *i .R6) i .R7"
    ${IfThen} $R7 == 0 ${|} StrCpy $R6 0 ${|}
    StrCpy $R7 0
    ${DoWhile} $R7 < $R6
        ${IfThen} $R4 == 1 ${|} ${ExitDo} ${|}
        Push $R6
        IntPtrOp $R6 $R5 + $R7
        System::Call "*$R6(i .R6)"
        System::Call "kernel32::OpenProcess(i ${PROCESS_QUERY_LIMITED_INFORMATION}, i 0, i R6) p .R6"
        ${If} $R6 P<> 0
            Push $R0
            StrCpy $R0 ""
            System::Call "kernel32::QueryFullProcessImageNameW(p R6, i 0, w .R0, *i ${NSIS_MAX_STRLEN})"
            System::Call "kernel32::CloseHandle(p R6)"
            GetFullPathName /SHORT $R0 "$R0"
            ${If} $R0 != ""
                ${If} $R0 == $R8
                ${OrIf} $R0 == $R9
                    StrCpy $R4 1
                ${EndIf}
            ${EndIf}
            Pop $R0
        ${EndIf}
        Pop $R6
        IntOp $R7 $R7 + 4
    ${Loop}
    System::Free $R5
    Pop $R9
    Pop $R8
    Pop $R7
    Pop $R6
    Pop $R5
FunctionEnd

; $R1\$R3: one of our programs that cannot be written. A read-only one is
; no obstacle, since replacing or deleting it clears the mark anyway. $R4:
; 1 when it was read-only and can be written without the mark; otherwise
; the mark stays as it was and $R4 is 0.
Function ${PREFIX}ClearReadOnly
    Push $R5
    Push $R6
    StrCpy $R4 0
    StrCpy $R6 "$R1\$R3"
    System::Call "kernel32::GetFileAttributesW(w R6) i .R5"
    ${If} $R5 <> -1
        IntOp $R4 $R5 & ${FILE_ATTRIBUTE_READONLY}
        ${If} $R4 <> 0
            IntOp $R4 $R5 ^ ${FILE_ATTRIBUTE_READONLY}
            System::Call "kernel32::SetFileAttributesW(w R6, i R4)"
            Call ${PREFIX}CanWrite
            ${If} $R4 == 1
                DetailPrint "$(LogReadOnly)"
            ${Else}
                System::Call "kernel32::SetFileAttributesW(w R6, i R5)"
            ${EndIf}
        ${EndIf}
    ${EndIf}
    Pop $R6
    Pop $R5
FunctionEnd

; $R1: a folder, $R3: one of our programs. $R2: "running" or "held" when
; it cannot be replaced or removed, else left as it was.
Function ${PREFIX}ProgramBlocked
    Push $R4
    ${If} ${FileExists} "$R1\$R3"
        Call ${PREFIX}CanWrite
        ${If} $R4 == 0
            Call ${PREFIX}SaverRunning
            ${If} $R4 == 1
                StrCpy $R2 "running"
            ${Else}
                Call ${PREFIX}ClearReadOnly
                ${IfThen} $R4 == 0 ${|} StrCpy $R2 "held" ${|}
            ${EndIf}
        ${EndIf}
    ${EndIf}
    Pop $R4
FunctionEnd

; $R1\$R3: a file. $R4: 1 when it can be opened for writing, else 0.
; Windows opens no program for writing while it runs.
Function ${PREFIX}CanWrite
    ClearErrors
    FileOpen $R4 "$R1\$R3" a
    ${If} ${Errors}
        StrCpy $R4 0
    ${Else}
        FileClose $R4
        StrCpy $R4 1
    ${EndIf}
FunctionEnd

; $R1: a folder. Asks until our programs there can be replaced or removed.
; A silent run, or Cancel, ends here with nothing changed: exit code 2
; while Ondrake runs, 4 while another program holds one open.
Function ${PREFIX}WaitForPrograms
    Push $R2
    Push $R3
    ${Do}
        StrCpy $R2 ""
        StrCpy $R3 "Ondrake.dll"
        Call ${PREFIX}ProgramBlocked
        ${If} $R2 == ""
            StrCpy $R3 "Ondrake.scr"
            Call ${PREFIX}ProgramBlocked
        ${EndIf}
        ${If} $R2 == ""
            ${Break}
        ${ElseIf} $R2 == "running"
            MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(InUse)" /SD IDCANCEL IDRETRY retry
            SetErrorLevel 2
        ${Else}
            MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(HeldOpen)" /SD IDCANCEL IDRETRY retry
            SetErrorLevel 4
        ${EndIf}
        Abort
        retry:
    ${Loop}
    Pop $R3
    Pop $R2
FunctionEnd

; $R1: a folder. Deletes the uninstaller an older installer left there,
; while the listing still names it.
Function ${PREFIX}DeleteOldUninstaller
    Push $R2
    ReadRegStr $R2 HKCU "${UNINSTALL_KEY}" "UninstallString"
    ${If} $R2 == '"$R1\${OLD_UNINSTALLER}"'
        Delete "$R1\${OLD_UNINSTALLER}"
    ${EndIf}
    Pop $R2
FunctionEnd

; $R1: a folder. Deletes what an installer put there, and the settings
; file, then the folder if that leaves it empty: anything else the user
; keeps there stays, and so does the folder then.
Function ${PREFIX}RemovePrograms
    Delete "$R1\Ondrake.scr"
    Delete "$R1\Ondrake.dll"
    Delete "$R1\Ondrake.3ds"
    Delete "$R1\Ondrake.ini"
    Delete "$R1\${UNINSTALLER}"
    Call ${PREFIX}DeleteOldUninstaller
    RMDir "$R1"
FunctionEnd
!macroend
!insertmacro SHARED_FUNCTIONS ""
!insertmacro SHARED_FUNCTIONS "un."

!macro REMOVE_START_MENU_ENTRIES
    Delete "${START_FOLDER}\${LINK_SETTINGS_ENGLISH}.lnk"
    Delete "${START_FOLDER}\${LINK_SETTINGS_JAPANESE}.lnk"
    Delete "${START_FOLDER}\${LINK_SELECT_ENGLISH}.lnk"
    Delete "${START_FOLDER}\${LINK_SELECT_JAPANESE}.lnk"
    RMDir "${START_FOLDER}"
!macroend

; $R0: what SCRNSAVE.EXE should hold to name our Ondrake.scr in $INSTDIR.
; The system expects the short name; where the volume keeps no short
; names the long one is all there is.
Function SaverName
    GetFullPathName /SHORT $R0 "$INSTDIR\Ondrake.scr"
    ${If} $R0 == ""
        StrCpy $R0 "$INSTDIR\Ondrake.scr"
    ${EndIf}
FunctionEnd

; $R2: 1 when $INSTDIR is no place for Ondrake's files, else 0: the top
; folder of a drive or network share, Windows' folder or anything in it,
; or one of the folders that hold other programs or the user's own files.
Function RefusedFolder
    Push $R3
    Push $R4
    Push $R5
    Push $R6
    StrCpy $R3 $INSTDIR
    ${Do}
        StrCpy $R4 $R3 1 -1
        ${If} $R4 != "\"
        ${AndIf} $R4 != "/"
            ${ExitDo}
        ${EndIf}
        StrCpy $R3 $R3 -1
    ${Loop}

    StrCpy $R2 0
    StrLen $R4 $R3
    StrCpy $R5 $R3 2
    ${If} $R4 <= 2
        StrCpy $R2 1
    ${ElseIf} $R5 == "\\"
        ; \\server\share: one backslash after the server's name, at most.
        StrCpy $R5 0
        ${For} $R6 2 $R4
            StrCpy $R2 $R3 1 $R6
            ${IfThen} $R2 == "\" ${|} IntOp $R5 $R5 + 1 ${|}
        ${Next}
        StrCpy $R2 0
        ${IfThen} $R5 <= 1 ${|} StrCpy $R2 1 ${|}
    ${EndIf}

    StrLen $R4 "$WINDIR\"
    StrCpy $R5 $R3 $R4
    GetKnownFolderPath $R4 ${FOLDERID_UserProgramFiles}
    ${If} $R5 == "$WINDIR\"
    ${OrIf} $R3 == $WINDIR
    ${OrIf} $R3 == $PROGRAMFILES
    ${OrIf} $R3 == $PROGRAMFILES64
    ${OrIf} $R3 == $COMMONFILES
    ${OrIf} $R3 == $COMMONFILES64
    ${OrIf} $R3 == $PROFILE
    ${OrIf} $R3 == $DESKTOP
    ${OrIf} $R3 == $DOCUMENTS
    ${OrIf} $R3 == $APPDATA
    ${OrIf} $R3 == $LOCALAPPDATA
    ${OrIf} $R3 == "$LOCALAPPDATA\Programs"
    ${OrIf} $R3 == $R4
        StrCpy $R2 1
    ${EndIf}
    Pop $R6
    Pop $R5
    Pop $R4
    Pop $R3
FunctionEnd

Function DirectoryLeave
    Call RefusedFolder
    ${If} $R2 == 1
        ; A drive as its top folder is written, not as the bare "C:" that
        ; $INSTDIR holds then.
        StrCpy $R0 $INSTDIR
        StrCpy $R1 $R0 1 -1
        ${IfThen} $R1 == ":" ${|} StrCpy $R0 "$R0\" ${|}
        MessageBox MB_OK|MB_ICONEXCLAMATION "$(RefusedFolder)"
        Abort
    ${EndIf}
FunctionEnd

Function OpenWindowsSettings
    Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

; Ondrake.ini, the user's settings, is never replaced by a default, so
; installing over an older version keeps it; a moved install brings its
; own along.
Section "Ondrake" SecOndrake
    SectionIn RO
    ; One install per user: a copy listed in another folder is moved here.
    StrCpy $Moving 0
    StrCpy $R1 $INSTDIR
    Call IsListedFolder
    ${If} $R2 == 0
    ${AndIf} $Listed != ""
    ${AndIf} ${FileExists} "$Listed\Ondrake.scr"
        StrCpy $Moving 1
    ${EndIf}
    ; Both folders are free before anything changes in either.
    Call WaitForPrograms
    ${If} $Moving == 1
        StrCpy $R1 $Listed
        Call WaitForPrograms
    ${EndIf}

    SetOutPath "$INSTDIR"
    File "${DIST}/Ondrake.scr"
    File "${DIST}/Ondrake.dll"
    File "${DIST}/Ondrake.3ds"
    StrCpy $R1 $INSTDIR
    Call DeleteOldUninstaller
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"

    ReadRegStr $R0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${If} $Listed == ""
        ; The first install: what the uninstaller will give back.
        ReadRegStr $R1 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
        WriteRegStr HKCU "${UNINSTALL_KEY}" "ScreenSaverBefore" "$R0"
        WriteRegStr HKCU "${UNINSTALL_KEY}" "ScreenSaveActiveBefore" "$R1"
        DetailPrint "$(LogRemembered)"
    ${ElseIf} $Moving == 1
        StrCpy $R1 $Listed
        Call NamesSaverIn
        ; The settings in use come along, over any left in the new folder.
        ${If} ${FileExists} "$Listed\Ondrake.ini"
            CopyFiles /SILENT "$Listed\Ondrake.ini" "$INSTDIR"
        ${EndIf}
        Call RemovePrograms
        DetailPrint "$(LogMoved)"
        ; The saver chosen is the copy just removed: it follows the move.
        ${If} $R2 == 1
            Call SaverName
            WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$R0"
            DetailPrint "$(LogRepointed)"
        ${EndIf}
    ${EndIf}

    ; A saver outside the Windows folders drops out of Windows' list of
    ; screen savers as soon as another is chosen: these entries are the
    ; way back to it.
    !insertmacro REMOVE_START_MENU_ENTRIES
    CreateDirectory "${START_FOLDER}"
    CreateShortCut "${START_FOLDER}\$(LinkSettings).lnk" "$INSTDIR\Ondrake.scr" "/c" "$INSTDIR\Ondrake.scr" 0
    ; What right-click Install on a screen saver does.
    Call SaverName
    CreateShortCut "${START_FOLDER}\$(LinkSelect).lnk" "$SYSDIR\rundll32.exe" "desktop.cpl,InstallScreenSaver $R0" "$INSTDIR\Ondrake.scr" 0

    ${GetTime} "" "L" $R0 $R1 $R2 $R3 $R4 $R5 $R6
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Ondrake"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "VersionMajor" ${VERSION_MAJOR}
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "VersionMinor" ${VERSION_MINOR}
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "${HOME_PAGE}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "HelpLink" "${HOME_PAGE}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallDate" "$R2$R1$R0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Ondrake.scr,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize ${SecOndrake} $R0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $R0
SectionEnd

Section "$(SelectSection)" SecSelect
    Call SaverName
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$R0"
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
    ; Tells the running session, which keeps its own copy of the switch.
    System::Call "user32::SystemParametersInfo(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATEINIFILE_SENDCHANGE})"
    DetailPrint "$(LogSelected)"
SectionEnd

Section "-"
    ${IfNot} ${SectionIsSelected} ${SecSelect}
        ReadRegStr $R0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
        DetailPrint "$(LogNotSelected)"
    ${EndIf}
SectionEnd

Function .onInit
    ; $INSTDIR already holds /D= or the folder of an earlier install.
    ${If} $INSTDIR == "$LOCALAPPDATA\Programs\Ondrake"
        GetKnownFolderPath $R0 ${FOLDERID_UserProgramFiles}
        ${IfThen} $R0 != "" ${|} StrCpy $INSTDIR "$R0\Ondrake" ${|}
    ${EndIf}
    ReadRegStr $Listed HKCU "${UNINSTALL_KEY}" "InstallLocation"

    ; A fresh install makes Ondrake the screen saver; an upgrade only while
    ; it still is one, so that a user who has chosen another since keeps
    ; it. /NOSELECT leaves the screen saver alone.
    ${If} $Listed != ""
    ${AndIf} ${FileExists} "$Listed\Ondrake.scr"
        ReadRegStr $R0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
        StrCpy $R1 $Listed
        Call NamesSaverIn
        ${If} $R2 == 0
            !insertmacro UnselectSection ${SecSelect}
        ${EndIf}
    ${EndIf}
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/NOSELECT" $R1
    ${IfNot} ${Errors}
        !insertmacro UnselectSection ${SecSelect}
    ${EndIf}

    ; A silent run has no folder page to refuse the folder on.
    ${If} ${Silent}
        Call RefusedFolder
        ${If} $R2 == 1
            SetErrorLevel 3
            Quit
        ${EndIf}
    ${EndIf}
FunctionEnd

; SCRNSAVE.EXE names our program in $INSTDIR ($R1); $R5 is 1 when this
; copy is the listed one. Gives back the screen saver found before the
; first install and, while the saver is still switched on as the installer
; left it, its on/off switch; without that memory (another copy is listed,
; or an older installer made this one) Ondrake is simply no longer
; selected.
Function un.GiveBackSaver
    ClearErrors
    ReadRegStr $R3 HKCU "${UNINSTALL_KEY}" "ScreenSaverBefore"
    ${If} ${Errors}
    ${OrIf} $R5 == 0
        DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
        DetailPrint "$(LogUnselected)"
        Return
    ${EndIf}
    ReadRegStr $R4 HKCU "${UNINSTALL_KEY}" "ScreenSaveActiveBefore"
    ; Ondrake itself in this folder, chosen by hand before the install,
    ; would be a saver that no longer exists.
    StrCpy $R0 $R3
    Call un.NamesSaverIn
    ${IfThen} $R2 == 1 ${|} StrCpy $R0 "" ${|}
    ${If} $R0 == ""
        DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
        DetailPrint "$(LogUnselected)"
    ${Else}
        WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$R0"
        DetailPrint "$(LogGivenBack)"
    ${EndIf}
    ReadRegStr $R3 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    ${If} $R3 == 1
        ${If} $R4 == ""
            DeleteRegValue HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
        ${Else}
            WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "$R4"
            System::Call "user32::SystemParametersInfo(i ${SPI_SETSCREENSAVEACTIVE}, i R4, p 0, i ${SPIF_UPDATEINIFILE_SENDCHANGE})"
        ${EndIf}
        DetailPrint "$(LogSwitchBack)"
    ${EndIf}
FunctionEnd

Section "Uninstall"
    StrCpy $R1 $INSTDIR
    Call un.WaitForPrograms
    ReadRegStr $Listed HKCU "${UNINSTALL_KEY}" "InstallLocation"
    Call un.IsListedFolder
    StrCpy $R5 $R2

    ReadRegStr $R0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    Call un.NamesSaverIn
    ${If} $R2 == 1
        Call un.GiveBackSaver
    ${ElseIf} $R0 != ""
        DetailPrint "$(LogOtherSaver)"
    ${EndIf}

    Call un.RemovePrograms
    Delete "${WORK_FOLDER}\Ondrake.3ds"
    RMDir "${WORK_FOLDER}"

    ; A copy that is not the listed one leaves the listed one's entries.
    ${If} $R5 == 1
        !insertmacro REMOVE_START_MENU_ENTRIES
        ; Last, so that its going says the uninstaller has finished.
        DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ${Else}
        DetailPrint "$(LogNotListed)"
    ${EndIf}
SectionEnd
