; OndrakeSetup.exe: installs the saver's three files for the current user in
; a folder of their own, makes Ondrake the current screen saver unless told
; not to, adds its Start menu entries, and registers an uninstaller in the
; user's list of installed programs. The screen saver that Ondrake takes over
; from is remembered there, and the uninstaller gives it back.
;
; Built by the Windows builds (installer/CMakeLists.txt), which define
;   TARGET     x86-unicode, or amd64-unicode for the x86-64 test build
;   VERSION    the programs' version, four numbers
;   HOME_PAGE  our home page, the one the settings dialog opens
;   DIST       the folder holding Ondrake.scr, Ondrake.dll and Ondrake.3ds
;   ICON       our icon, drawn by ondrake-art
;   OUTFILE    the installer to write
;
; A silent run (/S) ends with one of these exit codes; with any but 0 it
; has changed nothing:
;   0  installed (or uninstalled)
;   2  Ondrake is running, so its programs cannot be replaced or removed;
;      also NSIS's own code when the installer cannot start at all (its file
;      damaged, or no temporary folder to unpack into)
;   3  the folder is refused: a drive's top folder, a folder that Windows,
;      other programs or the user's own files use, or no folder at all (/D=
;      naming a drive that does not exist, a path through a file, a relative
;      path)
;   4  another program (a virus scanner, say) holds one of our programs open
;   5  a file or folder cannot be written (held open by another program, not
;      the user's to write, a full disk, a path longer than Windows allows);
;      what was there before is put back
;   6  another installer or uninstaller of Ondrake is running

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
!define MOVEFILE_REPLACE_EXISTING 1
!define FORMAT_MESSAGE_FROM_SYSTEM_IGNORE_INSERTS 0x1200
!define WAIT_TIMEOUT 258
!define FOLDERID_ProgramData {62AB5D82-FDC1-4DC3-A9DD-070D1D495D97}
!define FOLDERID_ProgramFilesX86 {7C5A40EF-A0FB-4BFC-874A-C0F2E0B9FA8E}
; Windows opens no path longer than this (MAX_PATH less its closing NUL).
!define LONGEST_PATH 259
; What an earlier install left is kept aside under its name and this until
; the new files are all in place, so that a failed install can put it back.
!define KEPT ".kept"
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
; A file that cannot be unpacked ends the install (Retry or Cancel), never
; leaves a gap.
AllowSkipFiles off

!include MUI2.nsh
!include LogicLib.nsh
!include Sections.nsh
!include FileFunc.nsh
!include WinCore.nsh
!include x64.nsh

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
LangString NoFolder ${LANG_ENGLISH} "Ondrake cannot be installed in $R0: its drive does not exist, a part of it is a file, or it is not a full path such as C:\Savers\Ondrake."
LangString NoFolder ${LANG_JAPANESE} "$R0にはOndrakeをインストールできません。ドライブが存在しないか、途中にファイルがあるか、C:\Savers\Ondrakeのような完全なパスではありません。"
LangString Unwritten ${LANG_ENGLISH} "Ondrake could not be installed: $Unwritten cannot be written. $Why Everything is as it was before."
LangString Unwritten ${LANG_JAPANESE} "$Unwrittenに書き込めないため、Ondrakeをインストールできませんでした。$Why すべて元のままです。"
LangString AlreadyRunning ${LANG_ENGLISH} "Another installer or uninstaller of Ondrake is running. Let it finish, then try again."
LangString AlreadyRunning ${LANG_JAPANESE} "Ondrakeのほかのインストーラーかアンインストーラーが実行中です。それが終わってから、もう一度お試しください。"
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
LangString LogSelectedSwitchKept ${LANG_ENGLISH} "Ondrake is now the screen saver; its on/off switch stays as it was: $\"$R1$\""
LangString LogSelectedSwitchKept ${LANG_JAPANESE} "Ondrakeをスクリーンセーバーにしました。オン・オフは今のまま: $\"$R1$\""
LangString LogRepointed ${LANG_ENGLISH} "The screen saver now names the programs in their new folder"
LangString LogRepointed ${LANG_JAPANESE} "スクリーンセーバーを新しいフォルダのプログラムに合わせました"
LangString LogNotSelected ${LANG_ENGLISH} "The screen saver stays as it was: $\"$R0$\""
LangString LogNotSelected ${LANG_JAPANESE} "スクリーンセーバーは今のまま: $\"$R0$\""
LangString LogGivenBack ${LANG_ENGLISH} "The screen saver from before Ondrake is back: $\"$R0$\""
LangString LogGivenBack ${LANG_JAPANESE} "Ondrakeの前のスクリーンセーバーに戻しました: $\"$R0$\""
LangString LogSwitchBack ${LANG_ENGLISH} "The screen saver's on/off switch is back as it was: $\"$R4$\""
LangString LogSwitchBack ${LANG_JAPANESE} "スクリーンセーバーのオン・オフを元に戻しました: $\"$R4$\""
LangString LogUnselected ${LANG_ENGLISH} "Ondrake is no longer the screen saver: none is chosen, and the screen saver is off"
LangString LogUnselected ${LANG_JAPANESE} "Ondrakeはスクリーンセーバーではなくなりました。スクリーンセーバーは「なし」で、オフです"
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
; 1 when a listed copy is there to be upgraded or moved, else 0.
Var Upgrade
; The highest folder an install made to hold its folder, or "" when that
; folder was there; the listing keeps it as CreatedFolder.
Var Made
; What could not be written ("" while everything could), and why.
Var Unwritten
Var Why
; 1 once the new files are being put in place, 0 while the old ones are
; being kept aside: only then is a file without a kept one new.
Var Placing
; 1 when a moved install brings its settings file along.
Var MovingSettings

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
; file: anything else the user keeps there stays.
Function ${PREFIX}RemovePrograms
    Delete "$R1\Ondrake.scr"
    Delete "$R1\Ondrake.dll"
    Delete "$R1\Ondrake.3ds"
    Delete "$R1\Ondrake.ini"
    Delete "$R1\${UNINSTALLER}"
    Call ${PREFIX}DeleteOldUninstaller
FunctionEnd

; $R1: an install's folder, $R2: the highest folder an installer made to
; hold it ("" for none). Removes the folders it made, from $R1 upwards, as
; far as they are empty: a folder the user had before stays, even empty.
Function ${PREFIX}RemoveMadeFolders
    Push $R3
    Push $R4
    ${Do}
        StrCpy $R3 $R1 1 -1
        ${IfThen} $R3 != "\" ${|} ${ExitDo} ${|}
        StrCpy $R1 $R1 -1
    ${Loop}
    ; Only a folder above $R1, or $R1 itself, is one made for it.
    StrLen $R3 $R2
    StrCpy $R4 $R1 $R3
    StrCpy $R3 $R1 1 $R3
    ${IfThen} $R3 == "" ${|} StrCpy $R3 "\" ${|}
    ${If} $R2 != ""
    ${AndIf} $R4 == $R2
    ${AndIf} $R3 == "\"
        StrCpy $R3 $R1
        ${Do}
            ClearErrors
            RMDir $R3
            ${If} ${Errors}
            ${OrIf} $R3 == $R2
                ${ExitDo}
            ${EndIf}
            ${GetParent} $R3 $R3
        ${Loop}
    ${EndIf}
    Pop $R4
    Pop $R3
FunctionEnd

; Ends this run with exit code 6 while another installer or uninstaller of
; Ondrake runs: both would change the same files and entries. One that is
; just ending is waited for a moment.
Function ${PREFIX}OnlyOne
    System::Call 'kernel32::CreateMutexW(p 0, i 0, w "OndrakeSetup") p .R0'
    ; The mutex is this run's until it ends, also when it ends without a word.
    System::Call 'kernel32::WaitForSingleObject(p R0, i 2000) i .R1'
    ${If} $R1 == ${WAIT_TIMEOUT}
        MessageBox MB_OK|MB_ICONEXCLAMATION "$(AlreadyRunning)" /SD IDOK
        SetErrorLevel 6
        Quit
    ${EndIf}
FunctionEnd

; $R0: a SCRNSAVE.EXE value. $R2: 1 when that saver's file is there, or
; when it names none, else 0. A name without a folder is one in the system
; folder; a 32-bit installer on 64-bit Windows looks there, not in its own
; SysWOW64.
Function ${PREFIX}SaverThere
    StrCpy $R2 1
    ${If} $R0 != ""
        ${GetParent} $R0 $R2
        StrCpy $R3 $R0
        ${IfThen} $R2 == "" ${|} StrCpy $R3 "$SYSDIR\$R0" ${|}
        StrCpy $R2 0
        ${DisableX64FSRedirection}
        ${IfThen} ${FileExists} $R3 ${|} StrCpy $R2 1 ${|}
        ${EnableX64FSRedirection}
    ${EndIf}
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

; $R3: a path; becomes its full long form: "." and ".." resolved, the
; part of it that exists spelt by its long names, and no backslash at its
; end. Two spellings of one folder then compare equal, case aside.
Function LongForm
    Push $R4
    Push $R5
    Push $R6
    System::Call 'kernel32::GetFullPathNameW(w R3, i ${NSIS_MAX_STRLEN}, w .R4, p 0) i .R5'
    ${IfThen} $R5 == 0 ${|} StrCpy $R4 $R3 ${|}
    ; Only what exists has a long name: the names below it stay as written.
    StrCpy $R5 ""
    ${Do}
        System::Call 'kernel32::GetLongPathNameW(w R4, w .R6, i ${NSIS_MAX_STRLEN}) i .R3'
        ${If} $R3 <> 0
            StrCpy $R4 $R6
            ${ExitDo}
        ${EndIf}
        ${GetParent} $R4 $R3
        ${IfThen} $R3 == "" ${|} ${ExitDo} ${|}
        ${GetFileName} $R4 $R6
        StrCpy $R5 "\$R6$R5"
        StrCpy $R4 $R3
    ${Loop}
    StrCpy $R3 "$R4$R5"
    ${Do}
        StrCpy $R4 $R3 1 -1
        ${IfThen} $R4 != "\" ${|} ${ExitDo} ${|}
        StrCpy $R3 $R3 -1
    ${Loop}
    Pop $R6
    Pop $R5
    Pop $R4
FunctionEnd

; $R3: a folder, used up; $R5: a folder in its long form. $R2 becomes 1
; when they are the same folder, and stays as it was otherwise.
Function IsFolder
    ${If} $R3 != ""
        Call LongForm
        ${IfThen} $R3 == $R5 ${|} StrCpy $R2 1 ${|}
    ${EndIf}
FunctionEnd
!macro REFUSE FOLDER
    StrCpy $R3 "${FOLDER}"
    Call IsFolder
!macroend
!macro REFUSE_KNOWN FOLDERID
    GetKnownFolderPath $R3 ${FOLDERID}
    Call IsFolder
!macroend

; $R2: 1 when $INSTDIR is no place for Ondrake's files, else 0: the top
; folder of a drive or network share, Windows' folder or anything in it,
; or one of the folders that hold other programs or the user's own files;
; by what the folder is, however it is spelt.
Function RefusedFolder
    Push $R3
    Push $R4
    Push $R5
    Push $R6
    StrCpy $R3 $INSTDIR
    Call LongForm
    StrCpy $R5 $R3

    StrCpy $R2 0
    StrLen $R4 $R5
    StrCpy $R3 $R5 2
    ${If} $R4 <= 2
        StrCpy $R2 1
    ${ElseIf} $R3 == "\\"
        ; \\server\share: one backslash after the server's name, at most.
        StrCpy $R3 0
        ${For} $R6 2 $R4
            StrCpy $R2 $R5 1 $R6
            ${IfThen} $R2 == "\" ${|} IntOp $R3 $R3 + 1 ${|}
        ${Next}
        StrCpy $R2 0
        ${IfThen} $R3 <= 1 ${|} StrCpy $R2 1 ${|}
    ${EndIf}

    StrCpy $R3 $WINDIR
    Call LongForm
    StrLen $R4 "$R3\"
    StrCpy $R6 $R5 $R4
    ${If} $R6 == "$R3\"
    ${OrIf} $R5 == $R3
        StrCpy $R2 1
    ${EndIf}
    !insertmacro REFUSE $PROGRAMFILES32
    !insertmacro REFUSE $PROGRAMFILES64
    !insertmacro REFUSE_KNOWN ${FOLDERID_ProgramFilesX86}
    !insertmacro REFUSE $COMMONFILES32
    !insertmacro REFUSE $COMMONFILES64
    !insertmacro REFUSE_KNOWN ${FOLDERID_ProgramData}
    !insertmacro REFUSE_KNOWN ${FOLDERID_UserProfiles}
    !insertmacro REFUSE $PROFILE
    !insertmacro REFUSE $DESKTOP
    !insertmacro REFUSE $DOCUMENTS
    !insertmacro REFUSE_KNOWN ${FOLDERID_Downloads}
    !insertmacro REFUSE $PICTURES
    !insertmacro REFUSE $MUSIC
    !insertmacro REFUSE $VIDEOS
    !insertmacro REFUSE $APPDATA
    !insertmacro REFUSE $LOCALAPPDATA
    !insertmacro REFUSE "$LOCALAPPDATA\Programs"
    !insertmacro REFUSE_KNOWN ${FOLDERID_UserProgramFiles}
    !insertmacro REFUSE $TEMP
    !insertmacro REFUSE $SMPROGRAMS
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

; $R0: the folder /D= gave on the command line, as written; "" without one.
; NSIS itself puts its default in place of a /D= that names no folder one
; could make (a drive that does not exist, a path through a file, a
; relative path), and takes /D= only last and unquoted.
Function GivenFolder
    Push $R1
    Push $R2
    Push $R3
    StrCpy $R0 ""
    System::Call 'kernel32::GetCommandLineW() w .R1'
    StrLen $R2 $R1
    ${For} $R3 0 $R2
        StrCpy $R0 $R1 4 $R3
        ${If} $R0 S== " /D="
            IntOp $R3 $R3 + 4
            StrCpy $R0 $R1 "" $R3
            ${ExitFor}
        ${EndIf}
        StrCpy $R0 ""
    ${Next}
    Pop $R3
    Pop $R2
    Pop $R1
FunctionEnd

; $R5: a system error code. $Why: what the system says it means.
Function Reason
    Push $R6
    Push $R7
    System::Call 'kernel32::FormatMessageW(i ${FORMAT_MESSAGE_FROM_SYSTEM_IGNORE_INSERTS}, p 0, i R5, i 0, w .R6, i ${NSIS_MAX_STRLEN}, p 0) i .R7'
    ${IfThen} $R7 == 0 ${|} StrCpy $R6 "($R5)" ${|}
    ${Do}
        StrCpy $R7 $R6 1 -1
        ${If} $R7 != "$\r"
        ${AndIf} $R7 != "$\n"
            ${ExitDo}
        ${EndIf}
        StrCpy $R6 $R6 -1
    ${Loop}
    StrCpy $Why $R6
    Pop $R7
    Pop $R6
FunctionEnd

; Makes $INSTDIR and each missing folder above it; $Made: the highest of
; them, or "" when $INSTDIR was there.
Function MakeFolder
    StrCpy $Made ""
    StrCpy $R3 $INSTDIR
    ${DoUntil} ${FileExists} "$R3\*.*"
        StrCpy $Made $R3
        ${GetParent} $R3 $R3
    ${LoopUntil} $R3 == ""
    ${If} $Made != ""
        StrCpy $R4 $INSTDIR
        System::Call 'shell32::SHCreateDirectoryExW(p 0, w R4, p 0) i .R5'
        ${If} $R5 <> 0
            StrCpy $Unwritten $INSTDIR
            Call Reason
        ${EndIf}
    ${EndIf}
FunctionEnd

; Each of these takes $R3, the name of one of the files an install puts in
; $INSTDIR, and does nothing once something could not be written.
; KeepAside moves what an earlier install left under that name aside.
Function KeepAside
    StrCpy $R4 "$INSTDIR\$R3"
    ${If} $Unwritten == ""
    ${AndIf} ${FileExists} $R4
        StrCpy $R5 "$R4${KEPT}"
        System::Call 'kernel32::MoveFileExW(w R4, w R5, i ${MOVEFILE_REPLACE_EXISTING}) i .R6 ?e'
        Pop $R5
        ${If} $R6 == 0
            StrCpy $Unwritten $R4
            Call Reason
        ${EndIf}
    ${EndIf}
FunctionEnd
; PutInPlace copies the new file there: the settings from the copy being
; moved, the rest from the stage.
Function PutInPlace
    StrCpy $R4 "$PLUGINSDIR\$R3"
    ${IfThen} $R3 == "Ondrake.ini" ${|} StrCpy $R4 "$Listed\$R3" ${|}
    StrCpy $R5 "$INSTDIR\$R3"
    ${If} $Unwritten == ""
        System::Call 'kernel32::CopyFileW(w R4, w R5, i 1) i .R6 ?e'
        Pop $R4
        ${If} $R6 == 0
            StrCpy $Unwritten $R5
            StrCpy $R5 $R4
            Call Reason
        ${EndIf}
    ${EndIf}
FunctionEnd
; PutBack undoes both: a new file goes, and what was kept aside comes back.
; Before the new files are placed, a name kept aside holds nothing.
Function PutBack
    ${IfThen} $Placing == 1 ${|} Delete "$INSTDIR\$R3" ${|}
    Rename "$INSTDIR\$R3${KEPT}" "$INSTDIR\$R3"
FunctionEnd
Function DropKept
    Delete "$INSTDIR\$R3${KEPT}"
FunctionEnd
!macro FOR_EACH_FILE FUNCTION
    StrCpy $R3 "Ondrake.scr"
    Call ${FUNCTION}
    StrCpy $R3 "Ondrake.dll"
    Call ${FUNCTION}
    StrCpy $R3 "Ondrake.3ds"
    Call ${FUNCTION}
    StrCpy $R3 "${UNINSTALLER}"
    Call ${FUNCTION}
    ${If} $MovingSettings == 1
        StrCpy $R3 "Ondrake.ini"
        Call ${FUNCTION}
    ${EndIf}
!macroend

; Puts the staged files in $INSTDIR, and the settings of a copy being
; moved, all or nothing: whatever cannot be written puts everything back
; as it was, says which file and why, and ends the install with exit
; code 5.
Function PlaceFiles
    StrCpy $Unwritten ""
    StrCpy $Made ""
    StrCpy $MovingSettings 0
    ${If} $Moving == 1
    ${AndIf} ${FileExists} "$Listed\Ondrake.ini"
        StrCpy $MovingSettings 1
    ${EndIf}
    ; The longest path written is the uninstaller kept aside.
    StrLen $R4 "$INSTDIR\${UNINSTALLER}${KEPT}"
    ${If} $R4 > ${LONGEST_PATH}
        StrCpy $Unwritten "$INSTDIR\${UNINSTALLER}"
        StrCpy $R5 ${ERROR_FILENAME_EXCED_RANGE}
        Call Reason
    ${Else}
        Call MakeFolder
    ${EndIf}
    StrCpy $Placing 0
    !insertmacro FOR_EACH_FILE KeepAside
    ${IfThen} $Unwritten == "" ${|} StrCpy $Placing 1 ${|}
    !insertmacro FOR_EACH_FILE PutInPlace
    ${If} $Unwritten == ""
        !insertmacro FOR_EACH_FILE DropKept
        Return
    ${EndIf}
    !insertmacro FOR_EACH_FILE PutBack
    StrCpy $R1 $INSTDIR
    StrCpy $R2 $Made
    Call RemoveMadeFolders
    DetailPrint "$(Unwritten)"
    MessageBox MB_OK|MB_ICONSTOP "$(Unwritten)" /SD IDOK
    SetErrorLevel 5
    Abort
FunctionEnd

; What the uninstaller gives back: the screen saver chosen now, and its
; on/off switch.
Function RememberSaver
    ReadRegStr $R0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ReadRegStr $R1 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "ScreenSaverBefore" "$R0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "ScreenSaveActiveBefore" "$R1"
    DetailPrint "$(LogRemembered)"
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
    StrCpy $R9 $R2
    ${If} $R9 == 0
    ${AndIf} $Upgrade == 1
        StrCpy $Moving 1
    ${EndIf}
    ; Both folders are free before anything changes in either.
    Call WaitForPrograms
    ${If} $Moving == 1
        StrCpy $R1 $Listed
        Call WaitForPrograms
    ${EndIf}

    ; Everything to install is unpacked first into the installer's own
    ; temporary folder: nothing in $INSTDIR changes before all of it is at
    ; hand. NSIS ends the install itself, with a message, when that folder
    ; cannot be written; the exit code is then ours for a file not written.
    InitPluginsDir
    SetOutPath "$PLUGINSDIR"
    SetErrorLevel 5
    File "${DIST}/Ondrake.scr"
    File "${DIST}/Ondrake.dll"
    File "${DIST}/Ondrake.3ds"
    WriteUninstaller "$PLUGINSDIR\${UNINSTALLER}"
    SetErrorLevel 0
    Call PlaceFiles
    SetOutPath "$INSTDIR"
    StrCpy $R1 $INSTDIR
    Call DeleteOldUninstaller

    ${If} $Listed == ""
        ; The first install: what the uninstaller will give back.
        Call RememberSaver
    ${ElseIf} $Moving == 1
        ReadRegStr $R0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
        StrCpy $R1 $Listed
        Call NamesSaverIn
        StrCpy $R8 $R2
        ; The settings came along: the old copy goes, and the folders made
        ; for it.
        Call RemovePrograms
        ReadRegStr $R2 HKCU "${UNINSTALL_KEY}" "CreatedFolder"
        Call RemoveMadeFolders
        DetailPrint "$(LogMoved)"
        ; The saver chosen is the copy just removed: it follows the move.
        ${If} $R8 == 1
            Call SaverName
            WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$R0"
            DetailPrint "$(LogRepointed)"
        ${EndIf}
    ${EndIf}
    ; The folders made for the listed folder stay on record over an
    ; upgrade there that found its folder in place.
    ${If} $Made != ""
        WriteRegStr HKCU "${UNINSTALL_KEY}" "CreatedFolder" "$Made"
    ${ElseIf} $R9 == 0
        DeleteRegValue HKCU "${UNINSTALL_KEY}" "CreatedFolder"
    ${EndIf}

    ; A saver outside the Windows folders drops out of Windows' list of
    ; screen savers as soon as another is chosen: these entries are the
    ; way back to it.
    !insertmacro REMOVE_START_MENU_ENTRIES
    CreateDirectory "${START_FOLDER}"
    CreateShortCut "${START_FOLDER}\$(LinkSettings).lnk" "$INSTDIR\Ondrake.scr" "/c" "$INSTDIR\Ondrake.scr" 0
    ; What right-click Install on a screen saver does.
    Call SaverName
    CreateShortCut "${START_FOLDER}\$(LinkSelect).lnk" "$SYSDIR\rundll32.exe" "desk.cpl,InstallScreenSaver $R0" "$INSTDIR\Ondrake.scr" 0

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
    ; Taking over from another saver: that one and its switch are what the
    ; uninstaller gives back (the first install has remembered them). One
    ; whose file is gone, such as a copy of Ondrake deleted by hand, cannot
    ; be given back, and the one on record stays.
    ReadRegStr $R0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    StrCpy $R1 $INSTDIR
    Call NamesSaverIn
    ${If} $R2 == 0
    ${AndIf} $Listed != ""
        Call SaverThere
        ${IfThen} $R2 == 1 ${|} Call RememberSaver ${|}
    ${EndIf}
    Call SaverName
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$R0"
    ; An upgrade keeps the user's on/off choice; a fresh install switches
    ; the saver on.
    ${If} $Upgrade == 1
        ReadRegStr $R1 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
        DetailPrint "$(LogSelectedSwitchKept)"
    ${Else}
        WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
        ; Tells the running session, which keeps its own copy of the switch.
        System::Call "user32::SystemParametersInfo(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATEINIFILE_SENDCHANGE})"
        DetailPrint "$(LogSelected)"
    ${EndIf}
SectionEnd

Section "-"
    ${IfNot} ${SectionIsSelected} ${SecSelect}
        ReadRegStr $R0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
        DetailPrint "$(LogNotSelected)"
    ${EndIf}
SectionEnd

Function .onInit
    Call OnlyOne
    ; $INSTDIR already holds /D= or the folder of an earlier install. A /D=
    ; that NSIS has replaced names no folder: put through $INSTDIR, which
    ; drops trailing backslashes and what no name holds, as NSIS put it
    ; there, it reads differently.
    Call GivenFolder
    ${If} $R0 != ""
        StrCpy $R1 $INSTDIR
        StrCpy $INSTDIR $R0
        ${If} $INSTDIR != $R1
            MessageBox MB_OK|MB_ICONEXCLAMATION "$(NoFolder)" /SD IDOK
            SetErrorLevel 3
            Quit
        ${EndIf}
    ${EndIf}
    ${If} $INSTDIR == "$LOCALAPPDATA\Programs\Ondrake"
        GetKnownFolderPath $R0 ${FOLDERID_UserProgramFiles}
        ${IfThen} $R0 != "" ${|} StrCpy $INSTDIR "$R0\Ondrake" ${|}
    ${EndIf}
    ReadRegStr $Listed HKCU "${UNINSTALL_KEY}" "InstallLocation"

    ; A fresh install makes Ondrake the screen saver; an upgrade only while
    ; it still is one, so that a user who has chosen another since keeps
    ; it. /NOSELECT leaves the screen saver alone.
    StrCpy $Upgrade 0
    ${If} $Listed != ""
    ${AndIf} ${FileExists} "$Listed\Ondrake.scr"
        StrCpy $Upgrade 1
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

Function un.onInit
    Call un.OnlyOne
FunctionEnd

; SCRNSAVE.EXE names our program in $INSTDIR ($R1); $R5 is 1 when this
; copy is the listed one. Gives back the screen saver Ondrake took over
; from and, while the saver is still switched on as the installer left
; it, its on/off switch. Without that memory (another copy is listed, or
; an older installer made this one), or when that saver is gone, the
; screen saver becomes "(None)", switched off, as Windows' own choice of
; none leaves it.
Function un.GiveBackSaver
    StrCpy $R0 ""
    ClearErrors
    ReadRegStr $R3 HKCU "${UNINSTALL_KEY}" "ScreenSaverBefore"
    ${IfNot} ${Errors}
    ${AndIf} $R5 == 1
        ReadRegStr $R4 HKCU "${UNINSTALL_KEY}" "ScreenSaveActiveBefore"
        ; Ondrake itself in this folder, chosen by hand before the install,
        ; would be a saver that no longer exists.
        StrCpy $R0 $R3
        Call un.NamesSaverIn
        ${IfThen} $R2 == 1 ${|} StrCpy $R0 "" ${|}
        ${If} $R0 != ""
            Call un.SaverThere
            ${IfThen} $R2 == 0 ${|} StrCpy $R0 "" ${|}
        ${EndIf}
    ${EndIf}
    ${If} $R0 == ""
        DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
        WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "0"
        System::Call "user32::SystemParametersInfo(i ${SPI_SETSCREENSAVEACTIVE}, i 0, p 0, i ${SPIF_UPDATEINIFILE_SENDCHANGE})"
        DetailPrint "$(LogUnselected)"
        Return
    ${EndIf}
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$R0"
    DetailPrint "$(LogGivenBack)"
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

    ; A copy that is not the listed one leaves the listed one's entries,
    ; and its folder: what made that is not on record.
    ${If} $R5 == 1
        ReadRegStr $R2 HKCU "${UNINSTALL_KEY}" "CreatedFolder"
        Call un.RemoveMadeFolders
        !insertmacro REMOVE_START_MENU_ENTRIES
        ; Last, so that its going says the uninstaller has finished.
        DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ${Else}
        DetailPrint "$(LogNotListed)"
    ${EndIf}
SectionEnd
