// Our runtime layer over Win32 for the front end: forms with their events,
// timers, the message box, the program's argument text and folder, screen
// units, and the few file operations the front end uses.
//
// Fallible operations return a Step. A handler that skips errors passes it
// to Skip (the failing statement is abandoned and the next one runs); one
// without error handling passes it to Must, and a failure ends the program.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct [[nodiscard]] Step {
    bool ok;
};
inline void Skip(Step) {}
void Must(Step step);

// The caption of the front end's message boxes.
extern const char kAppTitle[];

// Code page 932 text for the wide functions, so that Japanese shows on a
// system of any code page.
std::wstring WideFromCp932(const std::string& text);

// The text, an OK button, no icon, the application title as caption; waits
// for OK.
void MsgBox(const std::string& text);

// The command line without the program path.
std::string ArgumentText();
// The folder of the program file; a trailing backslash only at a drive root.
std::string ProgramFolder();

// Screen units: twips per pixel from the screen's dots per inch (15 at 96),
// and the screen's size in twips.
float TwipsPerPixelX();
float TwipsPerPixelY();
int ScreenWidthTwips();
int ScreenHeightTwips();

// File number 1 opened for reading; closed by CloseInput or at the end.
Step OpenForInput(const std::string& path);
void CloseInput();
// Fails when the folder exists.
Step MakeDirectory(const std::string& path);
// Replaces an existing target.
Step CopyFileTo(const std::string& from, const std::string& to);
// Starts a program file with a window style (1: normal, with focus).
Step StartProgram(const std::string& path, int windowStyle);

// Stops at once: no unload handler runs; open files are closed.
[[noreturn]] void EndProgram();

class Timer;

// A top-level window with a caption and the events load, resize,
// query-unload and unload. Derived forms override the events.
class Form {
public:
    explicit Form(std::string caption);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    HWND window() const { return window_; }
    bool loaded() const { return window_ != nullptr; }
    const std::string& caption() const { return caption_; }
    void SetCaption(const std::string& caption);

protected:
    virtual void OnLoad() {}
    virtual void OnResize() {}
    // Return true to cancel the unload.
    virtual bool OnQueryUnload() { return false; }
    virtual void OnUnload() {}
    // Messages the form does not handle itself; default processing if false.
    virtual bool OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

private:
    friend void LoadForm(Form&);
    friend bool UnloadForm(Form&);
    friend class Timer;
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    std::string caption_;
    HWND window_ = nullptr;
    std::vector<Timer*> timers_;
};

// Creates the form's window and runs its load handler, without showing it.
void LoadForm(Form& form);
// Shows it; a modal show runs its own message loop until the form unloads.
void ShowForm(Form& form, bool modal);
// Runs query-unload, then unload, and destroys the window. False when the
// query-unload handler cancelled.
bool UnloadForm(Form& form);
// The program's message loop: runs while any form is loaded.
void RunWhileFormsLoaded();

// A timer on a form: ticks every interval milliseconds on the form's
// thread while Enabled. An interval of 0 does not tick.
class Timer {
public:
    Timer(Form& owner, std::function<void()> onTick);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void SetInterval(unsigned milliseconds);
    void SetEnabled(bool enabled);
    bool enabled() const { return enabled_; }
    unsigned interval() const { return interval_; }

private:
    friend class Form;
    friend void LoadForm(Form&);
    void Apply();

    Form& owner_;
    std::function<void()> onTick_;
    unsigned interval_ = 0;
    bool enabled_ = false;
};
