// Command: the owner-drawn push button of the settings dialog, a child
// window of its own class ("Sollvane.Command"). It shows one of six faces
// over a vertical gradient with its caption centred on top, follows hover,
// focus and presses, and raises Click on a release.
//
// Sizes are the screen's pixels; the faces, drawn for 96 dots per inch,
// and the caption's font grow with the screen's density. Texts are code
// page 932. The faces come from the resources of button_faces.rc, which
// linking this library brings into the program.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "command_logic.h"

class CommandWindow;

class Command {
public:
    // A child of parent at (x, y), width x height pixels, restored from its
    // stored property set, with the container's ambient font.
    Command(HWND parent, int x, int y, int width, int height, const PropertyBag& stored, const FontDesc& ambient);
    // Destroys its window. Safe from inside its own Click handler.
    ~Command();
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

    HWND window() const;

    std::string Caption() const;
    void SetCaption(const std::string& text);
    // Reading repaints the face (Normal or Disable), and the first read of a
    // button that was never stored switches it on.
    bool Enabled();
    void SetEnabled(bool enabled);
    // 0 or 255.
    uint8_t Visible();
    void SetVisible(uint8_t value);
    // Red in the low byte; system colour codes allowed.
    uint32_t FontColour();
    void SetFontColour(uint32_t colour);
    FontDesc Font() const;
    void SetFont(const FontDesc& font);

    // Puts the button in its Normal state and starts the 100 ms mouse-leave
    // poll. Until then it does not highlight.
    void Initialize();
    void WriteProperties(PropertyBag& bag);

    // The Click event, raised on the release of a press.
    std::function<void()> onClick;
    // The container's change notice, with the property's name.
    std::function<void(const char* property)> onPropertyChanged;

private:
    // Runs a property operation on the window, then brings the window in
    // line with the result; gives what the operation gives.
    template <typename Operation>
    auto Operate(Operation operation);

    // Shared with the window's handlers, which hold it while they run.
    std::shared_ptr<CommandWindow> window_;
};
