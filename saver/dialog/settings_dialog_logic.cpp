#include "settings_dialog_logic.h"

#include <cmath>

KindControls ControlsForKind(int16_t kind) {
    switch (kind) {
        case 0:
            return {0, false, false};
        case 1:
            return {1, true, false};
        case 2:
            return {2, false, true};
        default:
            return {-1, false, false};
    }
}

Placement DialogPlacement(double screenWidth, double screenHeight, double dialogWidth, double dialogHeight) {
    int32_t freeWidth = 0, freeHeight = 0;
    // Sizes far beyond any screen do not fit the integers: then the corner.
    if (!ToInt32(screenWidth - dialogWidth, freeWidth)) freeWidth = 0;
    if (!ToInt32(screenHeight - dialogHeight, freeHeight)) freeHeight = 0;
    return {freeWidth / 2, freeHeight / 3};
}

std::vector<int> GradientRows(double height) {
    // 3.142 rather than pi: the last row lands a hair past the half turn
    // and still rounds to 0.
    double k = height / 3.142;
    int32_t last = 0;
    if (!ToInt32(height, last) || last < 0) return {};
    std::vector<int> rows;
    rows.reserve(static_cast<size_t>(last) + 1);
    for (int32_t y = 0; y <= last; ++y) {
        int32_t v = 0;
        ToInt32(std::fabs(220.0 * std::sin(y / k)), v);
        rows.push_back(v);
    }
    return rows;
}

Rgb DialogRowColour(int brightness) { return {brightness, brightness, brightness + 30}; }

Rgb PanelRowColour(int brightness) { return {brightness + 30, brightness + 30, brightness + 30}; }

std::vector<std::string> RepeatItems() {
    std::vector<std::string> items;
    for (int track = 0; track <= 30; ++track) items.push_back(FormatHashes(track));
    return items;
}

int16_t RepeatFromText(const std::string& text, const NumberLocale& locale, int16_t current) {
    double value = 0;
    if (!ParseLocaleNumber(text, locale, value)) return 0;
    int16_t track = 0;
    return ToInt16(value, track) ? track : current;
}
