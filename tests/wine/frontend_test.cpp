// frontend_test: the front end's runtime layer, settings file and music
// player against the real Windows functions, run under Wine by
// frontend_test.sh. Prints one line per failed check and a closing
// "N passed, N failed" line.
//
//   frontend_test checks WORKDIR   every in-process check, files in WORKDIR
//   frontend_test folder           prints ProgramFolder()
//   frontend_test args ...         prints ArgumentText()
//   frontend_test music FILE       runs the music player once, for a trace
//   frontend_test end DIR          ends the program with a form loaded
//   frontend_test unload DIR       unloads that form, then ends the program
//   frontend_test noop             exits at once (a program to start)
//   frontend_test start FILE LINE  starts the program FILE with the command
//                                  line LINE as it stands (a path in it
//                                  unquoted), waits for it to end, and ends
//                                  with its exit code
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "checks.h"
#include "code_pages.h"
#include "files.h"
#include "form.h"
#include "music.h"
#include "music_winmm.h"
#include "paths.h"
#include "picture_box.h"
#include "runtime.h"
#include "settings_win32.h"
#include "timer.h"

namespace {

std::string ReadAll(const std::string& path) {
    std::string bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
        std::fclose(f);
    }
    return bytes;
}

void WriteAll(const std::string& path, const std::string& bytes) {
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

// What a message box shows, read back from its window by another thread,
// which then presses its button.
struct BoxSeen {
    std::wstring caption, text;
    int buttons = 0, icons = 0;
    bool okButton = false, found = false;
};

BOOL CALLBACK InspectChild(HWND child, LPARAM data) {
    BoxSeen& seen = *reinterpret_cast<BoxSeen*>(data);
    wchar_t className[64] = {}, text[512] = {};
    GetClassNameW(child, className, 64);
    GetWindowTextW(child, text, 512);
    LONG style = GetWindowLongW(child, GWL_STYLE);
    if (!lstrcmpiW(className, L"Button")) {
        ++seen.buttons;
        if (GetDlgCtrlID(child) == IDOK) seen.okButton = true;
    } else if (!lstrcmpiW(className, L"Static")) {
        if ((style & SS_TYPEMASK) == SS_ICON) {
            if (IsWindowVisible(child) && SendMessageW(child, STM_GETICON, 0, 0)) ++seen.icons;
        } else if (text[0]) {
            seen.text = text;
        }
    }
    return TRUE;
}

DWORD WINAPI WatchForBox(LPVOID data) {
    BoxSeen& seen = *static_cast<BoxSeen*>(data);
    for (int i = 0; i < 250 && !seen.found; ++i) {
        HWND box = FindWindowW(L"#32770", nullptr);
        if (box && GetWindowThreadProcessId(box, nullptr) != GetCurrentThreadId()) {
            wchar_t caption[256] = {};
            GetWindowTextW(box, caption, 256);
            seen.caption = caption;
            EnumChildWindows(box, InspectChild, reinterpret_cast<LPARAM>(&seen));
            seen.found = true;
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
        Sleep(20);
    }
    return 0;
}

void CheckMessageBox() {
    BoxSeen seen;
    HANDLE watcher = CreateThread(nullptr, 0, WatchForBox, &seen, 0, nullptr);
    MsgBox("Ondrake.dll \x82\xaa\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1");  // "がありません"
    WaitForSingleObject(watcher, 10000);
    CloseHandle(watcher);
    Check(seen.found, "message box shown and answered");
    Check(seen.caption == L"Ondrake (ScreenSaver)", "message box caption is the application title");
    Check(seen.text == L"Ondrake.dll \x304c\x3042\x308a\x307e\x305b\x3093", "message box text, Japanese shown");
    Check(seen.buttons == 1 && seen.okButton, "message box has an OK button only");
    Check(seen.icons == 0, "message box has no icon");
}

std::string ModulePath() {
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    return Utf8FromWide(module);
}

void CheckFolderAndScreen() {
    std::string folder = ProgramFolder();
    Check(!folder.empty() && folder.back() != '\\', "program folder has no trailing backslash");
    Check(ModulePath().rfind(folder + "\\", 0) == 0, "program folder holds the program");
    Check(TwipsPerPixelX() == 15.0f && TwipsPerPixelY() == 15.0f, "15 twips per pixel at 96 dots per inch");
    Check(ScreenWidthTwips() == GetSystemMetrics(SM_CXSCREEN) * 15, "screen width in twips");
}

void CheckFiles(const std::string& dir) {
    std::string file = dir + "\\present.txt", sub = dir + "\\sub";
    WriteAll(file, "one");
    Check(FileExists(file), "FileExists: a file");
    Check(FileExists(file + "\\"), "FileExists: a file, trailing backslash removed");
    Check(!FileExists(dir + "\\missing.txt"), "FileExists: a missing file");
    Check(!FileExists(dir), "FileExists: a folder");
    Check(!FileExists(dir + "\\"), "FileExists: a folder with a trailing backslash");
    Check(!FileExists(""), "FileExists: empty path");

    Check(MakeDirectory(sub).ok, "MakeDirectory makes a folder");
    Check(!MakeDirectory(sub).ok, "MakeDirectory fails when it exists");
    WriteAll(sub + "\\target.txt", "old contents");
    Check(CopyFileTo(file, sub + "\\target.txt").ok && ReadAll(sub + "\\target.txt") == "one",
          "CopyFileTo replaces the target");
    Check(!CopyFileTo(dir + "\\missing.txt", sub + "\\x.txt").ok, "CopyFileTo fails without a source");
    Check(OpenForInput(file).ok, "open for input");
    CloseInput();
    Check(!OpenForInput(dir + "\\missing.txt").ok, "open for input fails on a missing file");

    Check(StartProgram(ModulePath(), 1).ok, "StartProgram starts a program");
    Check(!StartProgram(dir + "\\missing.exe", 1).ok, "StartProgram fails on a missing file");
}

// Text in the system's code page shows as the system spells it; a file
// named in it (能 is 0x94 0x5C in code page 932, its second byte a
// backslash) is the file the program's UTF-8 path names.
void CheckSystemText(const std::string& dir) {
    if (GetACP() == 932) {
        const std::string nou = "\x94\x5c", hyou = "\x95\x5c";
        WriteAll(dir + "\\" + nou, "music");
        Check(FileExists(dir + u8"\\能"), "FileExists: a file named 能");
        bool made = MakeDirectory(dir + u8"\\表").ok;
        DWORD attributes = GetFileAttributesA((dir + "\\" + hyou).c_str());
        Check(made && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY),
              "MakeDirectory: a folder named 表");
        Check(!FileExists(dir + u8"\\表\\"), "FileExists: the folder 表 with its backslash");
        Check(WideFromAnsi(nou) == L"\x80fd", "system text in code page 932 shows as 能");
    } else {
        const std::wstring musica = L"D:\\M" + std::wstring(1, wchar_t(0xFA)) + L"sica";
        Check(WideFromAnsi("D:\\M\xfasica") == musica, "system text in code page 1252 shows its accented letter");
    }
}

void CheckProfile(const std::string& dir) {
    std::string ini = dir + "\\Ondrake.ini";
    DeleteFileA(ini.c_str());
    Check(ReadIniString(kIniSection, kKeyBgmKind, ini).empty(), "missing file reads empty");
    Check(WriteIniString(kIniSection, kKeyBgmKind, "2", ini).empty() && ApiResult != 0, "write succeeds");
    std::string bytes = ReadAll(ini);
    Check(bytes.find("[Section]") == 0, "first write creates [Section]");
    Check(bytes.find("\x42\x47\x4d\x8b\xe6\x95\xaa=2") != std::string::npos, "key bytes are code page 932");
    Check(ReadIniString(kIniSection, kKeyBgmKind, ini) == "2", "value reads back");

    (void)WriteIniString(kIniSection, kKeyBgmKind, "2", dir + "\\no such folder\\Ondrake.ini");
    Check(ApiResult == 0, "a write to a missing folder fails quietly");

    std::string music = dir + "\\theme.mp3";
    WriteAll(music, "ID3");
    (void)WriteIniString(kIniSection, kKeyBgmRepeat, "2.9", ini);
    (void)WriteIniString(kIniSection, kKeyBgmFile, music, ini);
    SettingsAccess access = WindowsSettingsAccess();
    access.iniPath = ini;
    LoadSettings(access);
    Check(BgmKind == 2 && BgmRepeat == 2 && BgmFile == music, "LoadSettings reads the file");
    DeleteFileA(music.c_str());
    LoadSettings(access);
    Check(BgmKind == 0 && BgmFile.empty(), "LoadSettings drops a music file that is gone");

    // A path of 146 characters, 266 bytes in code page 932 (a file URI on
    // other code pages): read back whole, its file found.
    std::string longName;
    for (int i = 0; i < 120; ++i) longName += u8"曲";
    std::string longMusic = JoinPath(JoinPath(dir, longName), "theme.mp3");
    (void)MakeDirectory(JoinPath(dir, longName));
    (void)CopyFileTo(JoinPath(dir, "present.txt"), longMusic);
    (void)WriteIniString(kIniSection, kKeyBgmFile, IniTextOfMusicFile(longMusic), ini);
    LoadSettings(access);
    Check(BgmFile == longMusic, "LoadSettings reads a path of 266 bytes in code page 932 back whole");

    // A folder whose name no ANSI code page holds whole (Ukrainian і, the
    // 𠮷 of a Japanese family name), with a name long enough that its URI
    // passes 255 bytes: the settings file keeps it in ASCII, and it reads
    // back whole.
    std::string distant = JoinPath(dir, u8"Програмні файли 𠮷田 " + std::string(100, 'x'));
    std::string distantMusic = JoinPath(distant, u8"пісня.mp3");
    Check(MakeDirectory(distant).ok, "MakeDirectory: a folder named in no code page");
    Check(CopyFileTo(JoinPath(dir, "present.txt"), distantMusic).ok && FileExists(distantMusic),
          "CopyFileTo and FileExists: a file in that folder");
    (void)WriteIniString(kIniSection, kKeyBgmKind, "2", ini);
    (void)WriteIniString(kIniSection, kKeyBgmFile, IniTextOfMusicFile(distantMusic), ini);
    bytes = ReadAll(ini);
    Check(bytes.find("\r\n\x42\x47\x4d\xcc\xa7\xb2\xd9=file:///") != std::string::npos,
          "a path the code page cannot hold: kept as a file URI, the key in code page 932");
    Check(ReadIniString(kIniSection, kKeyBgmFile, ini).size() > 255, "its URI of more than 255 bytes reads back whole");
    LoadSettings(access);
    Check(BgmKind == 2 && BgmFile == distantMusic, "LoadSettings reads that path back and finds its file");
    (void)WriteIniString(kIniSection, kKeyBgmFile, IniTextOfMusicFile(music), ini);
    Check(ReadAll(ini).find("=" + music + "\r\n") != std::string::npos, "a path the code page holds is kept as it stands");
}

class TestForm : public Form {
public:
    TestForm() : Form("\x90\xdd\x92\xe8"), ticker(*this, [this] { Tick(); }), idle(*this, [this] { ++idleTicks; }) {}
    std::vector<std::string> events;
    int ticks = 0, idleTicks = 0;
    bool refuseFirstUnload = true;
    Timer ticker, idle;

protected:
    void OnLoad() override { events.push_back("load"); }
    bool OnQueryUnload(UnloadMode) override {
        events.push_back("query");
        if (refuseFirstUnload) {
            refuseFirstUnload = false;
            return true;
        }
        return false;
    }
    void OnUnload() override { events.push_back("unload"); }

private:
    void Tick() {
        if (++ticks == 5) {
            UnloadForm(*this);  // refused once
            UnloadForm(*this);
        }
    }
};

void CheckForms() {
    TestForm form;
    form.ticker.SetInterval(30);
    form.ticker.SetEnabled(true);
    form.idle.SetInterval(10);  // never enabled
    LoadForm(form);
    Check(form.loaded() && !IsWindowVisible(form.window()), "load runs without showing");
    Check(form.events == std::vector<std::string>{"load"}, "load handler ran");
    wchar_t caption[64] = {};
    GetWindowTextW(form.window(), caption, 64);
    Check(std::wstring(caption) == L"\x8a2d\x5b9a", "Japanese caption shown");
    {
        // A press held by a picture box, and its form told to cancel its
        // modes, as when a message box appears.
        PictureBox box(form.window(), 0, 0, 40, 40, 0);
        SendMessageW(box.window(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
        bool held = GetCapture() == box.window();
        SendMessageW(form.window(), WM_CANCELMODE, 0, 0);
        Check(held && !GetCapture(), "a press held inside a form ends when the form cancels its modes");
    }
    ShowForm(form, true);  // returns when the timer unloads it
    Check(!form.loaded(), "modal show returns once the form unloads");
    Check(form.ticks == 5, "timer ticked on the form's thread until the unload");
    Check(form.idleTicks == 0, "a disabled timer does not tick");
    Check(form.events == (std::vector<std::string>{"load", "query", "query", "unload"}),
          "query-unload can refuse; unload follows query-unload");
}

// A loaded form whose unload handler leaves a mark: unloading it must leave
// the mark, ending the program with it loaded must not.
class MarkingForm : public Form {
public:
    explicit MarkingForm(std::string mark) : Form("End"), mark_(std::move(mark)) {}

protected:
    void OnUnload() override { WriteAll(mark_, "unloaded"); }

private:
    std::string mark_;
};

[[noreturn]] void EndWithMarkingForm(const std::string& dir, bool unloadFirst) {
    MarkingForm form(dir + "\\unloaded.txt");
    LoadForm(form);
    if (unloadFirst) UnloadForm(form);
    EndProgram();
}

void RunMusic(const char* file) {
    musicSystem = WinmmMusicSystem();
    BgmFile = file;
    BgmRepeat = 3;
    CdOpen();
    CdPoll();
    std::printf("CdActive=%d\n", CdActive);
    CdStop();
    Mp3Play();
    Mp3Poll();
    Mp3Stop();
    WavPlay();
    WavStop();
    std::printf("music done\n");
}

}  // namespace

// Starts a program with a command line as it stands and hands on its exit
// code. (Given no program file, Wine would quote a path with blanks that
// leads the line.)
int StartCommandLine() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments || count != 4) return 2;
    std::wstring line = arguments[3];
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(arguments[2], &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return 3;
    WaitForSingleObject(started.hProcess, INFINITE);
    DWORD code = 4;
    GetExitCodeProcess(started.hProcess, &code);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return static_cast<int>(code);
}

int main(int argc, char** argv) {
    if (argc >= 2 && !std::strcmp(argv[1], "noop")) return 0;
    if (argc == 4 && !std::strcmp(argv[1], "start")) return StartCommandLine();
    if (argc >= 2 && !std::strcmp(argv[1], "folder")) {
        std::printf("%s\n", ProgramFolder().c_str());
        return 0;
    }
    if (argc >= 2 && !std::strcmp(argv[1], "args")) {
        std::printf("[%s]\n", ArgumentText().c_str());
        return 0;
    }
    if (argc == 3 && !std::strcmp(argv[1], "end")) EndWithMarkingForm(argv[2], false);
    if (argc == 3 && !std::strcmp(argv[1], "unload")) EndWithMarkingForm(argv[2], true);
    if (argc == 3 && !std::strcmp(argv[1], "music")) {
        RunMusic(argv[2]);
        return 0;
    }
    if (argc == 3 && !std::strcmp(argv[1], "checks")) {
        CheckFolderAndScreen();
        CheckFiles(argv[2]);
        CheckSystemText(argv[2]);
        CheckProfile(argv[2]);
        CheckForms();
        CheckMessageBox();
        return PrintCheckCount();
    }
    std::fprintf(stderr, "usage: frontend_test checks DIR | folder | args ... | music FILE | end DIR |\n"
                         "       unload DIR | noop | start FILE LINE\n");
    return 2;
}
