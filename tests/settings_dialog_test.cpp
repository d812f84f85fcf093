// The settings dialog's decisions: controls per music kind, placement, the
// two gradients and the repeat text that "設定" saves.
#include <gtest/gtest.h>

#include "settings_dialog_logic.h"

namespace {

TEST(SettingsDialog, ControlsFollowTheKind) {
    struct Row {
        int16_t kind;
        int marked;
        bool repeat, fileButton;
    };
    const Row rows[] = {{0, 0, false, false}, {1, 1, true, false}, {2, 2, false, true},
                        {7, -1, false, false}, {-1, -1, false, false}};
    for (const Row& row : rows) {
        KindControls controls = ControlsForKind(row.kind);
        EXPECT_EQ(controls.markedKind, row.marked) << row.kind;
        EXPECT_EQ(controls.repeatEnabled, row.repeat) << row.kind;
        EXPECT_EQ(controls.fileButtonEnabled, row.fileButton) << row.kind;
    }
}

TEST(SettingsDialog, PlacedCentredAThirdDown) {
    // 1024 x 768 screen, a 485 x 278 pixel window, all in twips.
    Placement place = DialogPlacement(15360, 11520, 7275, 4170);
    EXPECT_EQ(place.left, 4042);  // 8085 \ 2
    EXPECT_EQ(place.top, 2450);   // 7350 \ 3
    place = DialogPlacement(7000, 3000, 7275, 4170);  // larger than the screen
    EXPECT_EQ(place.left, -137);  // truncated toward zero
    EXPECT_EQ(place.top, -390);
}

TEST(SettingsDialog, TheDialogGradient) {
    std::vector<int> rows = GradientRows(252);
    ASSERT_EQ(rows.size(), 253u);
    EXPECT_EQ(DialogRowColour(rows[0]), (Rgb{0, 0, 30}));
    EXPECT_EQ(DialogRowColour(rows[252]), (Rgb{0, 0, 30}));
    EXPECT_EQ(DialogRowColour(rows[1]), (Rgb{3, 3, 33}));
    EXPECT_EQ(DialogRowColour(rows[126]), (Rgb{220, 220, 250}));
    for (size_t y = 1; y < 126; ++y) EXPECT_LE(rows[y - 1], rows[y]) << y;  // brightens to the middle
}

TEST(SettingsDialog, ThePanelGradient) {
    std::vector<int> rows = GradientRows(169);
    ASSERT_EQ(rows.size(), 170u);
    EXPECT_EQ(PanelRowColour(rows.front()), (Rgb{30, 30, 30}));
    EXPECT_EQ(PanelRowColour(rows.back()), (Rgb{30, 30, 30}));
    EXPECT_EQ(PanelRowColour(rows[84]), (Rgb{250, 250, 250}));
    EXPECT_EQ(PanelRowColour(rows[85]), (Rgb{250, 250, 250}));
    EXPECT_TRUE(GradientRows(-1).empty());
    EXPECT_EQ(GradientRows(0), std::vector<int>{0});
}

TEST(SettingsDialog, RepeatList) {
    std::vector<std::string> items = RepeatItems();
    ASSERT_EQ(items.size(), 31u);
    EXPECT_EQ(items[0], "");
    EXPECT_EQ(items[1], "1");
    EXPECT_EQ(items[30], "30");
}

TEST(SettingsDialog, RepeatTextSaved) {
    const NumberLocale english{'.', ','};
    const std::pair<const char*, int16_t> cases[] = {
        {"", 0}, {"abc", 0}, {"7", 7}, {"31", 31}, {"2.5", 2}, {"3.5", 4}, {" 12 ", 12}, {"-3", -3},
        {"1,000", 1000}, {"1e2", 100}, {"&H10", 16}, {"5x", 0},
    };
    for (auto [text, saved] : cases) EXPECT_EQ(RepeatFromText(text, english, 9), saved) << text;
    // A German user writes the decimal comma.
    EXPECT_EQ(RepeatFromText("2,5", NumberLocale{',', '.'}, 9), 2);
    EXPECT_EQ(RepeatFromText("2.5", NumberLocale{',', '.'}, 9), 25);  // a group separator there
}

TEST(SettingsDialog, ARepeatBeyondSixteenBitsKeepsTheSetting) {
    const NumberLocale english{'.', ','};
    EXPECT_EQ(RepeatFromText("40000", english, 5), 5);
    EXPECT_EQ(RepeatFromText("1e6", english, 5), 5);
    EXPECT_EQ(RepeatFromText("-32769", english, 0), 0);
    EXPECT_EQ(RepeatFromText("32767", english, 5), 32767);
    EXPECT_EQ(RepeatFromText("-32768.4", english, 5), -32768);
}

}  // namespace
