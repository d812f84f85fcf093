#include "command_logic.h"

#include <cstdio>

#include "vb_text.h"

const char FaceLight[] = "&HFFFFFF";
const char FaceShade[] = "&HC6C5D7";

namespace {

// The corner is 4 px; the face image's edge pieces lie between its corners.
constexpr int kCorner = kFaceBand * kTwipsPerPixel;  // 60
constexpr int kImageWidth = kFaceWidth * kTwipsPerPixel;    // 960
constexpr int kImageHeight = kFaceHeight * kTwipsPerPixel;  // 375

// A 16-bit assignment: an overflow skips it, the field keeps its value.
void Assign(int16_t& field, int32_t value) {
    if (value >= INT16_MIN && value <= INT16_MAX) field = static_cast<int16_t>(value);
}

void SetPiece(Piece& piece, int32_t left, int32_t top, int32_t width, int32_t height, int16_t sourceLeft,
              int16_t sourceTop, int16_t sourceWidth, int16_t sourceHeight) {
    Assign(piece.left, left);
    Assign(piece.top, top);
    Assign(piece.width, width);
    Assign(piece.height, height);
    piece.sourceLeft = sourceLeft;
    piece.sourceTop = sourceTop;
    piece.sourceWidth = sourceWidth;
    piece.sourceHeight = sourceHeight;
}

void PaintFace(CommandTarget& target, Face face) {
    if (target.paintFace) target.paintFace(face);
}

void Notify(CommandTarget& target, const char* property) {
    if (target.notify) target.notify(property);
}

// "&HRRGGBB" read in text order, the first pair as red, into 16-bit
// channels (value x 256); not in the blue-green-red order of the colour
// properties.
Vertex ColourVertex(const char* text, int32_t x, int32_t y) {
    uint32_t value = 0;
    ParseColourText(text, value);
    auto channel = [value](int shift) { return static_cast<uint16_t>(((value >> shift) & 0xFF) << 8); };
    return {x, y, channel(16), channel(8), channel(0), 0};
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) { return UCase(a) == UCase(b); }

// Stored values are written with '.' and read back the same way, whatever
// the user's locale.
bool ParseNumber(std::string_view text, double& value) { return ParseLocaleNumber(text, {'.', 0}, value); }

// A Boolean as the runtime converts one: True, False or a number (not 0 is
// True).
bool ParseBoolean(std::string_view text, bool& value) {
    if (EqualsIgnoringCase(text, "True")) return value = true, true;
    if (EqualsIgnoringCase(text, "False")) return value = false, true;
    double number = 0;
    if (!ParseNumber(text, number)) return false;
    value = number != 0;
    return true;
}

std::string BooleanText(bool value) { return value ? "-1" : "0"; }

bool ParseInteger(std::string_view text, int32_t low, int32_t high, int32_t& value) {
    double number = 0;
    int32_t rounded = 0;
    if (!ParseNumber(text, number) || !ToInt32(number, rounded) || rounded < low || rounded > high) return false;
    value = rounded;
    return true;
}

// The shortest text that reads back as the same value.
std::string NumberText(double value) {
    char text[40];
    for (int precision = 6; precision <= 17; ++precision) {
        std::snprintf(text, sizeof text, "%.*g", precision, value);
        double back = 0;
        if (ParseNumber(text, back) && back == value) break;
    }
    return text;
}

void WriteProperty(PropertyBag& bag, const char* key, std::string value, const std::string& writeDefault) {
    if (value == writeDefault)
        bag.Remove(key);
    else
        bag.Set(key, std::move(value));
}

}  // namespace

Reaction MouseMove(CommandFields& fields) {
    if (!fields.Enabled) return {};
    if (fields.ButtonState == State::Normal) {
        fields.ButtonState = State::HighLight;
        return {Face::HighLight};
    }
    if (fields.ButtonState == State::Selected && !fields.MouseHeld) {
        fields.ButtonState = State::HighLightSelect;
        return {Face::HighLightSelect};
    }
    return {};
}

Reaction MouseDown(CommandFields& fields, MouseButton button) {
    if (!fields.Enabled || button != MouseButton::Primary) return {};
    fields.MouseHeld = kTrue;
    return {Face::Pressed};
}

Reaction MouseUp(CommandFields& fields, MouseButton button) {
    if (!fields.Enabled) return {};
    Reaction reaction;
    if (button == MouseButton::Primary) {
        fields.MouseHeld = kFalse;
        if (fields.ButtonState == State::HighLight) reaction.paint = Face::Normal;
        if (fields.ButtonState == State::HighLightSelect) reaction.paint = Face::HighLightSelect;
    }
    // A release after the poll saw the cursor leave finds the state Selected.
    reaction.click = fields.ButtonState != State::Selected;
    return reaction;
}

Reaction FocusGained(CommandFields& fields) {
    if (!fields.Enabled) return {};
    if (fields.ButtonState != State::HighLight) {
        fields.ButtonState = State::Selected;
        return {Face::Selected};
    }
    fields.ButtonState = State::HighLightSelect;
    return {Face::Pressed};
}

Reaction FocusLost(CommandFields& fields) {
    if (!fields.Enabled) {
        // Disabling the focused button takes its focus away. It leaves the
        // focus states all the same, keeping its Disable face: a button left
        // Selected without the focus would take its next press for a focus
        // change, and that press's release would raise no Click.
        if (fields.ButtonState == State::Selected || fields.ButtonState == State::HighLightSelect)
            fields.ButtonState = State::Normal;
        return {};
    }
    if (fields.ButtonState == State::Normal) return {};
    fields.ButtonState = State::Normal;
    return {Face::Normal};
}

Reaction MouseLeave(CommandFields& fields) {
    if (!fields.Enabled) return {};
    if (fields.ButtonState == State::HighLight) {
        fields.ButtonState = State::Normal;
        return {Face::Normal};
    }
    if (fields.ButtonState == State::HighLightSelect) {
        fields.ButtonState = State::Selected;
        return {Face::Selected};
    }
    return {};
}

Reaction CaptureLost(CommandFields& fields) {
    // A press left held would keep the next move from highlighting, and the
    // poll would leave the state Selected: the next click would be dead.
    if (!fields.MouseHeld) return {};
    fields.MouseHeld = kFalse;
    if (!fields.Enabled) return {};
    switch (fields.ButtonState) {
        case State::HighLight: return {Face::HighLight};
        case State::Selected: return {Face::Selected};
        case State::HighLightSelect: return {Face::HighLightSelect};
        default: return {Face::Normal};
    }
}

void Initialize(CommandFields& fields) { fields.ButtonState = State::Normal; }

void PlanFace(CommandFields& fields, int32_t widthTwips, int32_t heightTwips) {
    // In None and HighLightSelect the gradient keeps its last orientation.
    switch (fields.ButtonState) {
        case State::Normal:
        case State::Selected: fields.GradientReversed = kFalse; break;
        case State::HighLight: fields.GradientReversed = kTrue; break;
        default: break;
    }
    SliceGeometry& g = fields.slices;
    Assign(g.W, widthTwips);
    Assign(g.H, heightTwips);
    const int32_t W = g.W, H = g.H, C = kCorner;
    const int16_t edgeWidth = kImageWidth - 2 * C, edgeHeight = kImageHeight - 2 * C;
    const int16_t right = kImageWidth - C, bottom = kImageHeight - C;
    SetPiece(g.pieces[0], 1, 1, C, C, 0, 0, C, C);
    SetPiece(g.pieces[1], C, 1, W - 2 * C, C, C, 1, edgeWidth, C);
    SetPiece(g.pieces[2], W - C, 1, C, C, right, 1, C, C);
    SetPiece(g.pieces[3], W - C, C, C, H - 2 * C, right, C, C, edgeHeight);
    SetPiece(g.pieces[4], W - C, H - C, C, C, right, bottom, C, C);
    SetPiece(g.pieces[5], C, H - C, W - 2 * C, C, C, bottom, edgeWidth, C);
    SetPiece(g.pieces[6], 1, H - C, C, C, 0, bottom, C, C);
    SetPiece(g.pieces[7], 1, C, C, H - 2 * C, 1, C, C, edgeHeight);
    // The caption sits 10 twips above the middle.
    int16_t top = 0;
    if (ToInt16((H - kLabelHeight - 20) / 2.0, top)) g.LabelTop = top;
}

std::array<Vertex, 2> GradientVertices(int16_t gradientReversed, int32_t widthPixels, int32_t heightPixels) {
    const char* top = gradientReversed ? FaceShade : FaceLight;
    const char* bottom = gradientReversed ? FaceLight : FaceShade;
    return {ColourVertex(top, 0, 0), ColourVertex(bottom, widthPixels - 1, heightPixels - 1)};
}

bool IsValidColour(uint32_t colour) {
    switch (colour >> 24) {
        case 0x00:
        case 0x02: return true;
        case 0x80: return (colour & 0xFFFFFF) <= 30;
        default: return false;
    }
}

void ApplyEnabled(CommandFields& fields, CommandTarget& target) {
    PaintFace(target, fields.Enabled ? Face::Normal : Face::Disable);
    target.labelEnabled = fields.Enabled != kFalse;
}

void ResetFace(CommandFields& fields, CommandTarget& target) {
    if (!fields.Enabled) return;
    target.labelEnabled = true;
    if (fields.FirstRun == 0) target.fontColour = 0;
    PaintFace(target, Face::Normal);
}

void Resize(CommandFields& fields, CommandTarget& target) { ApplyEnabled(fields, target); }

bool GetEnabled(CommandFields& fields, CommandTarget& target) {
    if (fields.FirstRun == 0) {
        ResetFace(fields, target);
        fields.FirstRun = 1;
        fields.Enabled = kTrue;
    }
    bool enabled = fields.Enabled != kFalse;
    ApplyEnabled(fields, target);
    return enabled;
}

void SetEnabled(CommandFields& fields, CommandTarget& target, bool enabled) {
    fields.Enabled = enabled ? kTrue : kFalse;
    Notify(target, "Enabled");
    ApplyEnabled(fields, target);
}

uint8_t GetVisible(CommandFields& fields, CommandTarget& target) {
    if (target.backStyle == 0) return 0;
    ResetFace(fields, target);
    return 255;
}

void SetVisible(CommandFields& fields, CommandTarget& target, uint8_t value) {
    if (value) {
        target.backStyle = 1;
        ResetFace(fields, target);
    } else {
        target.backStyle = 0;
    }
    Notify(target, "Visible");
}

uint32_t GetFontColour(CommandFields& fields, CommandTarget& target) {
    uint32_t colour = target.fontColour;
    ResetFace(fields, target);
    return colour;
}

void SetFontColour(CommandFields& fields, CommandTarget& target, uint32_t colour) {
    bool assigned = IsValidColour(colour);
    if (assigned) target.fontColour = colour;
    ResetFace(fields, target);
    if (assigned) Notify(target, "FontColour");
}

void SetCaption(CommandTarget& target, std::string caption) {
    target.caption = std::move(caption);
    Notify(target, "Caption");
}

void SetFont(CommandTarget& target, FontDesc font) {
    target.font = std::move(font);
    Notify(target, "Font");
}

size_t PropertyBag::Locate(std::string_view key) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (EqualsIgnoringCase(entries_[i].first, key)) return i;
    return entries_.size();
}

const std::string* PropertyBag::Find(std::string_view key) const {
    size_t at = Locate(key);
    return at < entries_.size() ? &entries_[at].second : nullptr;
}

void PropertyBag::Set(std::string_view key, std::string value) {
    size_t at = Locate(key);
    if (at == entries_.size())
        entries_.emplace_back(std::string(key), std::move(value));
    else
        entries_[at] = {std::string(key), std::move(value)};
}

void PropertyBag::Remove(std::string_view key) {
    size_t at = Locate(key);
    if (at < entries_.size()) entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(at));
}

void ReadProperties(CommandFields& fields, CommandTarget& target, const PropertyBag& bag, const FontDesc& ambient) {
    bool enabled = true;
    if (const std::string* text = bag.Find("Enabled"); !text || ParseBoolean(*text, enabled))
        fields.Enabled = enabled ? kTrue : kFalse;

    const std::string* caption = bag.Find("Caption");
    target.caption = caption ? *caption : "Command1";

    FontDesc font = ambient;
    if (const std::string* text = bag.Find("Font"); !text || ParseFontText(*text, font)) target.font = font;

    int32_t firstRun = 1;
    if (const std::string* text = bag.Find("FirstRun"); !text || ParseInteger(*text, 0, 255, firstRun))
        fields.FirstRun = static_cast<uint8_t>(firstRun);

    int32_t colour = 0;
    if (const std::string* text = bag.Find("FontColour");
        (!text || ParseInteger(*text, INT32_MIN, INT32_MAX, colour)) && IsValidColour(static_cast<uint32_t>(colour)))
        target.fontColour = static_cast<uint32_t>(colour);

    // The background style takes 0 or 1 only.
    int32_t style = 1;
    if (const std::string* text = bag.Find("Visible"); !text || ParseInteger(*text, 0, 1, style))
        target.backStyle = static_cast<int16_t>(style);

    ResetFace(fields, target);
}

void WriteProperties(CommandFields& fields, CommandTarget& target, PropertyBag& bag, const FontDesc& ambient) {
    WriteProperty(bag, "Enabled", BooleanText(fields.Enabled != kFalse), BooleanText(true));
    WriteProperty(bag, "Caption", target.caption, "Command");
    WriteProperty(bag, "FirstRun", std::to_string(fields.FirstRun), "1");
    WriteProperty(bag, "Font", FontText(target.font), FontText(ambient));
    WriteProperty(bag, "FontColour", std::to_string(static_cast<int32_t>(target.fontColour)), "0");
    WriteProperty(bag, "Visible", std::to_string(target.backStyle), "1");
    ResetFace(fields, target);
}

std::string FontText(const FontDesc& font) {
    return font.face + ';' + NumberText(font.points) + ';' + std::to_string(font.weight) + ';' +
           BooleanText(font.italic) + ';' + BooleanText(font.underline) + ';' + BooleanText(font.strikeout) + ';' +
           std::to_string(font.charset);
}

bool ParseFontText(std::string_view text, FontDesc& font) {
    std::string_view fields[6];
    for (int i = 5; i >= 0; --i) {
        size_t separator = text.rfind(';');
        if (separator == std::string_view::npos) return false;
        fields[i] = text.substr(separator + 1);
        text = text.substr(0, separator);
    }
    FontDesc read;
    read.face = std::string(text);
    int32_t weight = 0, charset = 0;
    if (read.face.empty() || !ParseNumber(fields[0], read.points) || !(read.points > 0 && read.points <= 2160) ||
        !ParseInteger(fields[1], 0, 1000, weight) || !ParseBoolean(fields[2], read.italic) ||
        !ParseBoolean(fields[3], read.underline) || !ParseBoolean(fields[4], read.strikeout) ||
        !ParseInteger(fields[5], 0, 255, charset))
        return false;
    read.weight = weight;
    read.charset = charset;
    font = std::move(read);
    return true;
}
