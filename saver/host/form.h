// Forms: top-level windows with the events load, resize, query-unload and
// unload, a persistent image with windowless controls (canvas.h), timers
// (timer.h) and child controls. Tab moves the focus between a form's
// controls. The program lives while a form is loaded.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "canvas.h"

class Timer;

enum class BorderStyle {
    Sizable,      // a caption, a sizing border, minimise and close
    FixedSingle,  // a caption with the close box only; not sizable
    None,         // no border and no caption
};

// Why a form is unloading, as its query-unload handler is told.
enum class UnloadMode {
    FormControlMenu,  // the close box, the system menu, Alt+F4
    FormCode,         // the program unloaded it
    AppWindows,       // Windows is ending the session
    Destroyed,        // its window was destroyed from outside
};

class Form {
public:
    // The caption is program text (code page 932).
    explicit Form(std::string caption);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    HWND window() const { return window_; }
    bool loaded() const { return window_ != nullptr; }

    // The design: set before the form loads.
    void SetBorderStyle(BorderStyle style) { border_ = style; }
    void SetBackColour(COLORREF colour) { canvas_.SetBackground(colour); }
    void SetIcon(int resourceId) { icon_ = resourceId; }
    void SetClientSizeTwips(int width, int height);

    // The whole window's place and size, in twips.
    void Move(int left, int top);
    void Move(int left, int top, int width, int height);
    int WidthTwips() const;
    int HeightTwips() const;

    Canvas& canvas() { return canvas_; }

protected:
    virtual void OnLoad() {}
    // When the form's size changes, and when it is first shown.
    virtual void OnResize() {}
    // Return true to cancel the unload.
    virtual bool OnQueryUnload(UnloadMode) { return false; }
    virtual void OnUnload() {}
    // Messages the form does not handle itself; default processing if false.
    virtual bool OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

private:
    friend void LoadForm(Form&);
    friend void ShowForm(Form&, bool);
    friend bool UnloadForm(Form&, UnloadMode);
    friend class Timer;
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Detach();
    // Lets go of the window, whose messages get default processing from now
    // on, and leaves the loaded forms; returns the window, for the caller to
    // destroy or not.
    HWND ReleaseWindow();

    std::string caption_;
    BorderStyle border_ = BorderStyle::Sizable;
    int icon_ = 0;
    int clientWidthTwips_ = 0, clientHeightTwips_ = 0;
    HWND window_ = nullptr;
    HWND lastFocus_ = nullptr;
    bool resized_ = false;
    Canvas canvas_;
    std::vector<Timer*> timers_;
};

// Creates the form's window and runs its load handler, without showing it.
void LoadForm(Form& form);
// Shows it; a modal show runs its own message loop until the form unloads.
void ShowForm(Form& form, bool modal);
// Runs query-unload, then unload, and destroys the window. False when the
// query-unload handler cancelled.
bool UnloadForm(Form& form, UnloadMode mode = UnloadMode::FormCode);
// The program's message loop: runs while any form is loaded.
void RunWhileFormsLoaded();
// The visible form that owns message boxes, or none.
HWND ActiveFormWindow();
