// The settings dialog's decisions: which controls a music kind enables,
// where the dialog opens, the colours of its two gradients, the repeat
// list, and what "設定" makes of the typed repeat text. Portable: no
// Windows headers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vb_text.h"

// What the dialog shows for a music kind: the marked row (the kind itself,
// or -1 for a kind the dialog does not offer), the repeat combo box and the
// file button.
struct KindControls {
    int markedKind;
    bool repeatEnabled;
    bool fileButtonEnabled;
};
KindControls ControlsForKind(int16_t kind);

// The dialog's top-left corner in twips: centred across the screen, a third
// of the free height down. Sizes are in twips, the dialog's whole window.
struct Placement {
    int32_t left, top;
};
Placement DialogPlacement(double screenWidth, double screenHeight, double dialogWidth, double dialogHeight);

// The brightness of the gradients' rows, 0 at the edges to 220 in the
// middle: one value per row y = 0 .. height (rounded), both ends included.
std::vector<int> GradientRows(double height);

struct Rgb {
    int red, green, blue;
    bool operator==(const Rgb& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
};
// Dark blue to pale lavender on the dialog, dark grey to near white on the
// panel.
Rgb DialogRowColour(int brightness);
Rgb PanelRowColour(int brightness);

// The repeat list: the empty text (the whole disc), then "1" to "30".
std::vector<std::string> RepeatItems();

// The repeat track saved for the typed text: a number by the user's locale,
// to the nearest integer with halves to even; text that is no number gives
// 0. A number outside the 16-bit range cannot be a track: the setting keeps
// the value it had.
int16_t RepeatFromText(const std::string& text, const NumberLocale& locale, int16_t current);
