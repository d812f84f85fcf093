// The Command button's decisions, without Windows: its instance fields, its
// state table (which face to paint and whether to raise Click for each
// input), the slice geometry of a face paint, the background gradient, and
// the property code with its stored property set.
//
// Geometry is in twips, at the screen's density: the face images are
// 64 x 25 pixels at 96 dots per inch (15 twips each), so their corners and
// bands grow with the density as the control does. Booleans are 16-bit,
// True -1 and False 0. Texts are code page 932.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "font_desc.h"
#include "mouse_button.h"
#include "vb_text.h"


// Twips per pixel of the face images.
constexpr int kTwipsPerPixel = 15;

// Values of ButtonState; None until Initialize runs.
enum class State : uint8_t { None = 0, Normal = 1, HighLight = 2, Selected = 3, HighLightSelect = 4 };

// The six face images.
enum class Face : uint8_t { Normal, HighLight, Pressed, Disable, HighLightSelect, Selected };
constexpr int kFaceCount = 6;
// 64 x 25 px, of which a band of 4 px along the edges is drawn.
constexpr int kFaceWidth = 64;
constexpr int kFaceHeight = 25;
constexpr int kFaceBand = 4;  // also the corners' size

// One piece of a face copied onto the control: destination and source
// left, top, width, height, in twips.
struct Piece {
    int16_t left, top, width, height;
    int16_t sourceLeft, sourceTop, sourceWidth, sourceHeight;
};

// Recomputed at every face paint in 16-bit arithmetic; an assignment that
// overflows is skipped and keeps the value of the previous paint.
struct SliceGeometry {
    int16_t W = 0, H = 0;           // the control's size as last read
    std::array<Piece, 8> pieces{};  // in the order they are copied
    int16_t LabelTop = 0;
};

// LblMsg's fixed height: 195 twips, 13 px.
constexpr int kLabelHeight = 195;

// Instance fields; everything is zero in a new instance.
struct CommandFields {
    int16_t GradientReversed = kFalse;
    uint8_t FirstRun = 0;
    int16_t Enabled = kFalse;  // while False every input handler does nothing
    State ButtonState = State::None;
    SliceGeometry slices;
    int16_t MouseHeld = kFalse;  // True from a primary press to its release
};

// What an input asks of the control: a face to paint, then Click to raise.
struct Reaction {
    std::optional<Face> paint;
    bool click = false;
};


// The state table. Each returns what to do; the caller paints the face
// first and raises Click last.
Reaction MouseMove(CommandFields& fields);
Reaction MouseDown(CommandFields& fields, MouseButton button);
Reaction MouseUp(CommandFields& fields, MouseButton button);
Reaction FocusGained(CommandFields& fields);
// Also while disabled: a button that loses the focus leaves Selected and
// HighLightSelect, without a paint.
Reaction FocusLost(CommandFields& fields);
// The poll found the cursor off the button.
Reaction MouseLeave(CommandFields& fields);
// The button lost the mouse during a press (another window took the
// capture, or the press was cancelled): the release will not come, so the
// press is over. A held button shows the face of its state again; also
// while disabled the press ends, keeping the Disable face.
Reaction CaptureLost(CommandFields& fields);
// ButtonState := Normal; the caller starts the 100 ms poll.
void Initialize(CommandFields& fields);
constexpr unsigned kPollMilliseconds = 100;

// The first steps of a face paint: sets GradientReversed from ButtonState,
// reads the control's size (twips) into the slice geometry and places
// LblMsg's top.
void PlanFace(CommandFields& fields, int32_t widthTwips, int32_t heightTwips);

// A gradient vertex as the platform's TRIVERTEX: pixels, and 16-bit
// channels that hold the 8-bit value in their high byte.
struct Vertex {
    int32_t x, y;
    uint16_t red, green, blue, alpha;
};
// The gradient's colour constants, read as red, green, blue in text order.
extern const char FaceLight[];  // "&HFFFFFF"
extern const char FaceShade[];  // "&HC6C5D7"
// Two vertices of the vertical background gradient over a control of the
// given size in pixels: the top colour at (0, 0), the bottom one at
// (width - 1, height - 1); light on top unless reversed.
std::array<Vertex, 2> GradientVertices(int16_t gradientReversed, int32_t widthPixels, int32_t heightPixels);

// A colour the caption label accepts: an RGB value (red in the low byte),
// a palette RGB (0x02 in the high byte) or a system colour code
// (0x80000000 + index, index up to 30).
bool IsValidColour(uint32_t colour);

// What the property code works on: the caption label and the background
// style, and the control's ways to paint a face and tell its container.
struct CommandTarget {
    std::string caption = "Command";  // LblMsg's caption
    uint32_t fontColour = 0;          // LblMsg's text colour
    FontDesc font = DesignFont();     // LblMsg's font
    bool labelEnabled = true;         // false: the system's disabled text style
    int16_t backStyle = 1;            // 1 opaque, 0 transparent
    std::function<void(Face)> paintFace;
    std::function<void(const char* property)> notify;
};

// PaintFace with Normal or Disable and the label's enabled style, by Enabled.
void ApplyEnabled(CommandFields& fields, CommandTarget& target);
// Nothing while disabled; else the label enabled, black text while FirstRun
// is 0, and the Normal face.
void ResetFace(CommandFields& fields, CommandTarget& target);
// The resize of the control.
void Resize(CommandFields& fields, CommandTarget& target);

// Properties. Every getter and setter runs even while disabled; several
// repaint the face as a side effect.
bool GetEnabled(CommandFields& fields, CommandTarget& target);
void SetEnabled(CommandFields& fields, CommandTarget& target, bool enabled);
uint8_t GetVisible(CommandFields& fields, CommandTarget& target);  // 0 or 255
void SetVisible(CommandFields& fields, CommandTarget& target, uint8_t value);
uint32_t GetFontColour(CommandFields& fields, CommandTarget& target);
void SetFontColour(CommandFields& fields, CommandTarget& target, uint32_t colour);
void SetCaption(CommandTarget& target, std::string caption);
void SetFont(CommandTarget& target, FontDesc font);

// A stored property set: keys in order, matched without regard to case,
// values as text.
class PropertyBag {
public:
    using Entry = std::pair<std::string, std::string>;

    // The value under the key; null when the set holds no such key.
    const std::string* Find(std::string_view key) const;
    // Stores the value, in the place of an existing key of the same name.
    void Set(std::string_view key, std::string value);
    void Remove(std::string_view key);
    const std::vector<Entry>& entries() const { return entries_; }

private:
    // The key's place in entries_, or its size when there is none.
    size_t Locate(std::string_view key) const;
    std::vector<Entry> entries_;
};

// Restores the six properties in reading order (a missing key gives its
// reading default; a value that does not convert leaves that property
// unchanged), then ResetFace.
void ReadProperties(CommandFields& fields, CommandTarget& target, const PropertyBag& bag, const FontDesc& ambient);
// Stores them in writing order, leaving out each value equal to its writing
// default, then ResetFace.
void WriteProperties(CommandFields& fields, CommandTarget& target, PropertyBag& bag, const FontDesc& ambient);

// The font as one text: face;points;weight;italic;underline;strikeout;charset
// (the face may hold ';': the fields are read from the right).
std::string FontText(const FontDesc& font);
bool ParseFontText(std::string_view text, FontDesc& font);
