// The full-screen run: an invisible form captioned "Sollvane_Main" (the mark
// by which a second start knows that a run is going on) that starts the
// renderer and the music, follows the renderer's window, and when that has
// gone gives the display its registry modes back, stops the music, gives
// the cursor back and ends the program.
#pragma once

#include "form.h"
#include "start_up.h"
#include "timer.h"
#include "unique_handle.h"

// The caption by which a second start knows that a run is going on.
constexpr char kRunCaption[] = "Sollvane_Main";

class Sollvane_S : public Form {
public:
    Sollvane_S();

protected:
    void OnLoad() override;
    bool OnQueryUnload(UnloadMode mode) override;

private:
    void WatchRenderer();

    Timer Timer1;  // 1000 ms: keeps an MP3 playing
    Timer Timer2;  // 200 ms: polls the CD
    Timer Timer3;  // 50 ms: follows the renderer's window
    UniqueHandle renderer_;
    RendererWatch watch_;
};
