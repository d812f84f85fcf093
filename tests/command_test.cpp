// The Command button's decisions: its state table through the sequences a
// user produces, the face geometry, the gradient, and the property set.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_logic.h"

namespace {

const char* FaceName(Face face) {
    static const char* const names[] = {"Normal", "HighLight", "Pressed", "Disable", "HighLightSelect", "Selected"};
    return names[static_cast<int>(face)];
}

std::string Describe(const Reaction& reaction) {
    std::string text = reaction.paint ? FaceName(*reaction.paint) : "-";
    return reaction.click ? text + " Click" : text;
}

CommandFields Ready(State state) {
    CommandFields fields;
    fields.Enabled = kTrue;
    fields.FirstRun = 1;
    fields.ButtonState = state;
    return fields;
}

// Inputs in the order a user makes them, with what each shows.
struct StepCase {
    const char* input;
    const char* shows;
};

Reaction Apply(CommandFields& fields, const std::string& input) {
    if (input == "move") return MouseMove(fields);
    if (input == "leave") return MouseLeave(fields);
    if (input == "focus") return FocusGained(fields);
    if (input == "blur") return FocusLost(fields);
    if (input == "down") return MouseDown(fields, MouseButton::Primary);
    if (input == "up") return MouseUp(fields, MouseButton::Primary);
    if (input == "rdown") return MouseDown(fields, MouseButton::Secondary);
    if (input == "rup") return MouseUp(fields, MouseButton::Secondary);
    if (input == "mdown") return MouseDown(fields, MouseButton::Middle);
    if (input == "mup") return MouseUp(fields, MouseButton::Middle);
    if (input == "lost") return CaptureLost(fields);
    ADD_FAILURE() << "unknown input " << input;
    return {};
}

void Expect(CommandFields& fields, const std::vector<StepCase>& steps) {
    for (size_t i = 0; i < steps.size(); ++i)
        EXPECT_EQ(Describe(Apply(fields, steps[i].input)), steps[i].shows) << "step " << i << ": " << steps[i].input;
}

TEST(StateTable, HoverWithoutFocusHighlightsAndLeavingRestoresNormal) {
    CommandFields fields = Ready(State::Normal);
    Expect(fields, {{"move", "HighLight"}, {"move", "-"}, {"leave", "Normal"}, {"leave", "-"}});
    EXPECT_EQ(fields.ButtonState, State::Normal);
}

TEST(StateTable, TabOntoAHoveredButtonShowsPressedUntilTheCursorLeaves) {
    CommandFields fields = Ready(State::Normal);
    Expect(fields, {{"move", "HighLight"}, {"focus", "Pressed"}, {"move", "-"}});
    EXPECT_EQ(fields.ButtonState, State::HighLightSelect);
    EXPECT_FALSE(fields.MouseHeld);
    Expect(fields, {{"leave", "Selected"}, {"move", "HighLightSelect"}});
}

TEST(StateTable, ClickOnAHoveredButtonInEitherOrderOfFocusAndPress) {
    for (bool focusFirst : {true, false}) {
        CommandFields fields = Ready(State::Normal);
        Expect(fields, {{"move", "HighLight"}});
        if (focusFirst)
            Expect(fields, {{"focus", "Pressed"}, {"down", "Pressed"}});
        else
            Expect(fields, {{"down", "Pressed"}, {"focus", "Pressed"}});
        EXPECT_EQ(fields.ButtonState, State::HighLightSelect);
        EXPECT_TRUE(fields.MouseHeld);
        Expect(fields, {{"up", "HighLightSelect Click"}});
        EXPECT_FALSE(fields.MouseHeld);
    }
}

TEST(StateTable, PressDragOffDragBackReleaseGivesNoClick) {
    CommandFields fields = Ready(State::Normal);
    Expect(fields, {{"move", "HighLight"},
                    {"focus", "Pressed"},
                    {"down", "Pressed"},
                    {"leave", "Selected"},
                    {"move", "-"},  // back over the button, still held
                    {"up", "-"}});
    EXPECT_EQ(fields.ButtonState, State::Selected);
    EXPECT_FALSE(fields.MouseHeld);
    // Released, the next move highlights again.
    Expect(fields, {{"move", "HighLightSelect"}});
}

TEST(StateTable, SecondaryAndMiddleReleasesClickUnlessSelectedAndTheirPressPaintsNothing) {
    for (const char* button : {"r", "m"}) {
        for (State state : {State::None, State::Normal, State::HighLight, State::Selected, State::HighLightSelect}) {
            CommandFields fields = Ready(state);
            EXPECT_EQ(Describe(Apply(fields, std::string(button) + "down")), "-");
            EXPECT_FALSE(fields.MouseHeld);
            EXPECT_EQ(Describe(Apply(fields, std::string(button) + "up")), state == State::Selected ? "-" : "- Click")
                << button << " in state " << static_cast<int>(state);
            EXPECT_EQ(fields.ButtonState, state);
        }
    }
}

TEST(StateTable, PrimaryReleaseRepaintsOnlyHoveredStates) {
    const struct {
        State state;
        const char* shows;
    } cases[] = {{State::None, "- Click"},
                 {State::Normal, "- Click"},
                 {State::HighLight, "Normal Click"},
                 {State::Selected, "-"},
                 {State::HighLightSelect, "HighLightSelect Click"}};
    for (const auto& c : cases) {
        CommandFields fields = Ready(c.state);
        fields.MouseHeld = kTrue;
        EXPECT_EQ(Describe(MouseUp(fields, MouseButton::Primary)), c.shows) << static_cast<int>(c.state);
        EXPECT_FALSE(fields.MouseHeld);
        EXPECT_EQ(fields.ButtonState, c.state);
    }
}

TEST(StateTable, FocusMovesByState) {
    const struct {
        State before;
        const char* gained;
        State afterGained;
        const char* lost;
    } cases[] = {
        {State::None, "Selected", State::Selected, "Normal"},
        {State::Normal, "Selected", State::Selected, "-"},
        {State::HighLight, "Pressed", State::HighLightSelect, "Normal"},
        {State::Selected, "Selected", State::Selected, "Normal"},
        {State::HighLightSelect, "Selected", State::Selected, "Normal"},
    };
    for (const auto& c : cases) {
        CommandFields gained = Ready(c.before);
        EXPECT_EQ(Describe(FocusGained(gained)), c.gained) << static_cast<int>(c.before);
        EXPECT_EQ(gained.ButtonState, c.afterGained);
        CommandFields lost = Ready(c.before);
        EXPECT_EQ(Describe(FocusLost(lost)), c.lost) << static_cast<int>(c.before);
        EXPECT_EQ(lost.ButtonState, State::Normal);
    }
}

TEST(StateTable, DisabledIgnoresEveryInputButTheFocusLeaving) {
    const char* inputs[] = {"move", "leave", "focus", "blur", "down", "up", "rdown", "rup", "mdown", "mup"};
    for (State state : {State::None, State::Normal, State::HighLight, State::Selected, State::HighLightSelect}) {
        for (const char* input : inputs) {
            CommandFields fields = Ready(state);
            fields.Enabled = kFalse;
            fields.MouseHeld = kTrue;
            EXPECT_EQ(Describe(Apply(fields, input)), "-") << input << " in state " << static_cast<int>(state);
            bool focusLeft =
                std::string(input) == "blur" && (state == State::Selected || state == State::HighLightSelect);
            EXPECT_EQ(fields.ButtonState, focusLeft ? State::Normal : state) << input;
            EXPECT_TRUE(fields.MouseHeld);
        }
    }
}

// "..." focused, disabled (which takes its focus), enabled again, then
// clicked: the first click raises Click.
TEST(StateTable, FirstClickAfterTheFocusedButtonWasDisabledAndEnabled) {
    for (State focused : {State::Selected, State::HighLightSelect}) {
        CommandFields fields = Ready(focused);
        fields.Enabled = kFalse;
        Expect(fields, {{"blur", "-"}});
        fields.Enabled = kTrue;
        Expect(fields,
               {{"move", "HighLight"}, {"focus", "Pressed"}, {"down", "Pressed"}, {"up", "HighLightSelect Click"}});
    }
}

// Disabled while held (which cancels the press): enabled again, no press
// is left over, and the next click raises Click.
TEST(StateTable, APressLostWhileDisabledEndsThere) {
    CommandFields fields = Ready(State::Selected);
    Expect(fields, {{"down", "Pressed"}});
    fields.Enabled = kFalse;
    Expect(fields, {{"lost", "-"}});
    fields.Enabled = kTrue;
    Expect(fields, {{"move", "HighLightSelect"}, {"down", "Pressed"}, {"up", "HighLightSelect Click"}});
}

TEST(StateTable, WithoutInitializeNoHighlightAndNoLeave) {
    CommandFields fields = Ready(State::None);
    Expect(fields, {{"move", "-"}, {"leave", "-"}});
    EXPECT_EQ(fields.ButtonState, State::None);
    Initialize(fields);
    EXPECT_EQ(fields.ButtonState, State::Normal);
    Expect(fields, {{"move", "HighLight"}, {"leave", "Normal"}});
}

// Faces and properties through a target that records what it is asked.
struct Recorder {
    std::vector<std::string> events;
    CommandTarget target;
    Recorder() {
        target.paintFace = [this](Face face) { events.push_back(std::string("paint ") + FaceName(face)); };
        target.notify = [this](const char* property) { events.push_back(std::string("notify ") + property); };
    }
    std::vector<std::string> Take() { return std::exchange(events, {}); }
};
using Events = std::vector<std::string>;

TEST(Painting, GradientIsReversedOnlyWhileHighlightedAndKeptOnEnteringHighLightSelect) {
    CommandFields fields = Ready(State::HighLight);
    PlanFace(fields, 1095, 375);
    EXPECT_EQ(fields.GradientReversed, kTrue);
    FocusGained(fields);  // HighLight -> HighLightSelect keeps the reversed gradient
    PlanFace(fields, 1095, 375);
    EXPECT_EQ(fields.GradientReversed, kTrue);
    MouseLeave(fields);  // -> Selected
    PlanFace(fields, 1095, 375);
    EXPECT_EQ(fields.GradientReversed, kFalse);
    MouseMove(fields);  // Selected -> HighLightSelect keeps the light top
    PlanFace(fields, 1095, 375);
    EXPECT_EQ(fields.GradientReversed, kFalse);
    fields.ButtonState = State::HighLight;
    PlanFace(fields, 1095, 375);
    fields.ButtonState = State::Normal;
    PlanFace(fields, 1095, 375);
    EXPECT_EQ(fields.GradientReversed, kFalse);
}

TEST(Painting, ReadingEnabledOverAHoveredButtonRepaintsNormalButKeepsTheState) {
    Recorder r;
    CommandFields fields = Ready(State::HighLight);
    EXPECT_TRUE(GetEnabled(fields, r.target));
    EXPECT_EQ(r.Take(), Events{"paint Normal"});
    EXPECT_EQ(fields.ButtonState, State::HighLight);
}

TEST(Painting, ReEnablingShowsNormalWhateverTheState) {
    Recorder r;
    CommandFields fields = Ready(State::HighLightSelect);
    SetEnabled(fields, r.target, false);
    EXPECT_FALSE(r.target.labelEnabled);
    EXPECT_EQ(r.Take(), (Events{"notify Enabled", "paint Disable"}));
    EXPECT_EQ(Describe(MouseMove(fields)), "-");
    SetEnabled(fields, r.target, true);
    EXPECT_TRUE(r.target.labelEnabled);
    EXPECT_EQ(r.Take(), (Events{"notify Enabled", "paint Normal"}));
    EXPECT_EQ(fields.ButtonState, State::HighLightSelect);
    // A resize repaints by the same rule, also while disabled.
    fields.Enabled = kFalse;
    Resize(fields, r.target);
    EXPECT_EQ(r.Take(), Events{"paint Disable"});
}

// A 73 x 25 px button (Cmd_Set), in twips.
TEST(Geometry, EightPiecesOfA73By25Button) {
    CommandFields fields = Ready(State::Normal);
    PlanFace(fields, 73 * 15, 25 * 15);
    const Piece expected[8] = {
        {1, 1, 60, 60, 0, 0, 60, 60},          {60, 1, 975, 60, 60, 1, 840, 60},
        {1035, 1, 60, 60, 900, 1, 60, 60},     {1035, 60, 60, 255, 900, 60, 60, 255},
        {1035, 315, 60, 60, 900, 315, 60, 60}, {60, 315, 975, 60, 60, 315, 840, 60},
        {1, 315, 60, 60, 0, 315, 60, 60},      {1, 60, 60, 255, 1, 60, 60, 255},
    };
    for (int i = 0; i < 8; ++i) {
        const Piece& p = fields.slices.pieces[i];
        const Piece& e = expected[i];
        EXPECT_EQ((std::vector<int>{p.left, p.top, p.width, p.height, p.sourceLeft, p.sourceTop, p.sourceWidth,
                                    p.sourceHeight}),
                  (std::vector<int>{e.left, e.top, e.width, e.height, e.sourceLeft, e.sourceTop, e.sourceWidth,
                                    e.sourceHeight}))
            << "piece " << i + 1;
    }
    EXPECT_EQ(fields.slices.LabelTop, 80);  // (375 - 195 - 20) / 2
}

TEST(Geometry, LabelTopFollowsTheHeight) {
    const struct {
        int heightTwips, labelTop;
    } cases[] = {{315, 50}, {375, 80}, {360, 72 /* 72.5, halves to even */}, {390, 88 /* 87.5 */}, {100, -58}};
    for (const auto& c : cases) {
        CommandFields fields = Ready(State::Normal);
        PlanFace(fields, 435, c.heightTwips);
        EXPECT_EQ(fields.slices.LabelTop, c.labelTop) << c.heightTwips;
    }
}

TEST(Geometry, ASizeBeyond16BitsKeepsThePreviousPaintsValues) {
    CommandFields fields = Ready(State::Normal);
    PlanFace(fields, 1095, 375);
    PlanFace(fields, 40000, 315);  // the width overflows, the height is read
    EXPECT_EQ(fields.slices.W, 1095);
    EXPECT_EQ(fields.slices.pieces[1].width, 975);
    EXPECT_EQ(fields.slices.pieces[2].left, 1035);
    EXPECT_EQ(fields.slices.H, 315);
    EXPECT_EQ(fields.slices.pieces[3].height, 195);
    EXPECT_EQ(fields.slices.LabelTop, 50);
    PlanFace(fields, 32767, 32768);
    EXPECT_EQ(fields.slices.pieces[2].left, 32707);
    EXPECT_EQ(fields.slices.H, 315);
}

TEST(Gradient, ConstantsReadAsRedGreenBlueInTextOrder) {
    std::array<Vertex, 2> normal = GradientVertices(kFalse, 73, 25);
    EXPECT_EQ(
        (std::vector<int>{normal[0].x, normal[0].y, normal[0].red, normal[0].green, normal[0].blue, normal[0].alpha}),
        (std::vector<int>{0, 0, 0xFF00, 0xFF00, 0xFF00, 0}));
    EXPECT_EQ(
        (std::vector<int>{normal[1].x, normal[1].y, normal[1].red, normal[1].green, normal[1].blue, normal[1].alpha}),
        (std::vector<int>{72, 24, 0xC600, 0xC500, 0xD700, 0}));
    std::array<Vertex, 2> reversed = GradientVertices(kTrue, 73, 25);
    EXPECT_EQ((std::vector<int>{reversed[0].red, reversed[0].green, reversed[0].blue, reversed[1].red}),
              (std::vector<int>{0xC600, 0xC500, 0xD700, 0xFF00}));
    EXPECT_EQ(reversed[1].x, 72);
}

FontDesc Font(const char* face, double points, int weight) { return {face, points, weight, false, false, false, 0}; }

TEST(Properties, WriteOrderAndValues) {
    Recorder r;
    CommandFields fields = Ready(State::Normal);
    fields.Enabled = kFalse;
    fields.FirstRun = 0;
    r.target.caption = "OK";
    r.target.font = {"Tahoma", 12.5, 700, true, false, true, 1};
    r.target.fontColour = 0x80000012;
    r.target.backStyle = 0;
    PropertyBag bag;
    WriteProperties(fields, r.target, bag, DesignFont());
    EXPECT_EQ(bag.entries(), (std::vector<PropertyBag::Entry>{{"Enabled", "0"},
                                                              {"Caption", "OK"},
                                                              {"FirstRun", "0"},
                                                              {"Font", "Tahoma;12.5;700;-1;0;-1;1"},
                                                              {"FontColour", "-2147483630"},
                                                              {"Visible", "0"}}));
}

TEST(Properties, ValuesEqualToTheirWritingDefaultsAreLeftOut) {
    Recorder r;
    CommandFields fields = Ready(State::Normal);
    const FontDesc ambient = Font("Arial", 10, 400);
    r.target.caption = "Command";
    r.target.font = ambient;
    PropertyBag bag;
    bag.Set("caption", "stale");  // a key from an earlier save goes too
    WriteProperties(fields, r.target, bag, ambient);
    EXPECT_TRUE(bag.entries().empty());
    EXPECT_EQ(r.Take(), Events{"paint Normal"});  // then ResetFace
}

TEST(Properties, CaptionCommandComesBackAsCommand1) {
    for (const char* caption : {"Command", "Command1", "command", "", "\x90\xdd\x92\xe8" /* 設定 */}) {
        Recorder r;
        CommandFields fields = Ready(State::Normal);
        r.target.caption = caption;
        PropertyBag bag;
        WriteProperties(fields, r.target, bag, DesignFont());
        Recorder back;
        CommandFields restored;
        ReadProperties(restored, back.target, bag, DesignFont());
        EXPECT_EQ(back.target.caption, std::string(caption) == "Command" ? "Command1" : caption) << caption;
    }
}

TEST(Properties, TheDialogsStoredSetReadsWithDefaults) {
    const FontDesc ambient = Font("Arial", 9, 400);
    PropertyBag bag;
    bag.Set("caption", "\xb7\xac\xdd\xbe\xd9");  // ｷｬﾝｾﾙ
    bag.Set("font", FontText(DesignFont()));
    bag.Set("_extentx", "1826");
    Recorder r;
    CommandFields fields;
    ReadProperties(fields, r.target, bag, ambient);
    EXPECT_EQ(fields.Enabled, kTrue);
    EXPECT_EQ(fields.FirstRun, 1);
    EXPECT_EQ(r.target.caption, "\xb7\xac\xdd\xbe\xd9");
    EXPECT_EQ(r.target.font, DesignFont());
    EXPECT_EQ(r.target.fontColour, 0u);
    EXPECT_EQ(r.target.backStyle, 1);
    EXPECT_EQ(r.Take(), Events{"paint Normal"});
    EXPECT_EQ(fields.ButtonState, State::None);

    Recorder empty;
    CommandFields fresh;
    ReadProperties(fresh, empty.target, PropertyBag(), ambient);
    EXPECT_EQ(empty.target.caption, "Command1");
    EXPECT_EQ(empty.target.font, ambient);
}

TEST(Properties, AStoredSetWithoutFirstRunKeepsItsColour) {
    PropertyBag bag;
    bag.Set("FontColour", "255");
    Recorder r;
    CommandFields fields;
    ReadProperties(fields, r.target, bag, DesignFont());
    EXPECT_EQ(fields.FirstRun, 1);
    EXPECT_EQ(r.target.fontColour, 255u);

    bag.Set("FirstRun", "0");
    Recorder first;
    CommandFields firstFields;
    ReadProperties(firstFields, first.target, bag, DesignFont());
    EXPECT_EQ(first.target.fontColour, 0u);  // ResetFace puts it back to black
}

TEST(Properties, UnconvertibleValuesLeaveTheirPropertyAndReadingGoesOn) {
    const struct {
        const char* key;
        const char* value;
    } cases[] = {
        {"Enabled", "yes"},
        {"Font", "Arial;big;400;0;0;0;0"},
        {"Font", "Arial;10;400"},
        {"Font", ";10;400;0;0;0;0"},
        {"Font", "Arial;10;5000;0;0;0;0"},
        {"FirstRun", "300"},
        {"FirstRun", "one"},
        {"FontColour", "red"},
        {"FontColour", "&H80000040"},
        {"FontColour", "4294967296"},
        {"Visible", "2"},
        {"Visible", ""},
    };
    for (const auto& c : cases) {
        PropertyBag bag;
        bag.Set("Enabled", "0");
        bag.Set("FirstRun", "7");
        bag.Set("FontColour", "&HFF");
        bag.Set("Visible", "0");
        bag.Set(c.key, c.value);
        bag.Set("Caption", "after");
        Recorder r;
        r.target.font = Font("Before", 11, 300);
        CommandFields fields;
        fields.Enabled = kTrue;
        fields.FirstRun = 9;
        r.target.fontColour = 0x123456;
        r.target.backStyle = 1;
        ReadProperties(fields, r.target, bag, DesignFont());
        const std::string key = c.key;
        EXPECT_EQ(fields.Enabled, key == "Enabled" ? kTrue : kFalse) << c.key << "=" << c.value;
        EXPECT_EQ(fields.FirstRun, key == "FirstRun" ? 9 : 7) << c.key << "=" << c.value;
        EXPECT_EQ(r.target.fontColour, key == "FontColour" ? 0x123456u : 0xFFu) << c.key << "=" << c.value;
        EXPECT_EQ(r.target.backStyle, key == "Visible" ? 1 : 0) << c.key << "=" << c.value;
        EXPECT_EQ(r.target.font, key == "Font" ? Font("Before", 11, 300) : DesignFont()) << c.key << "=" << c.value;
        EXPECT_EQ(r.target.caption, "after");
    }
}

TEST(Properties, ValuesInOtherWritings) {
    const struct {
        const char* key;
        const char* value;
    } cases[] = {{"ENABLED", "False"}, {"enabled", " 0 "}, {"FontColour", "&H8000000F"}, {"firstrun", "2.5"}};
    PropertyBag bag;
    for (const auto& c : cases) bag.Set(c.key, c.value);
    Recorder r;
    CommandFields fields;
    ReadProperties(fields, r.target, bag, DesignFont());
    EXPECT_EQ(fields.Enabled, kFalse);
    EXPECT_EQ(r.target.fontColour, 0x8000000Fu);
    EXPECT_EQ(fields.FirstRun, 2);
    EXPECT_EQ(bag.entries().size(), 3u);  // "enabled" replaced "ENABLED"
}

TEST(Properties, RoundTripsThroughTheStoredSet) {
    struct Values {
        int16_t enabled;
        uint8_t firstRun;
        const char* caption;
        FontDesc font;
        uint32_t colour;
        int16_t backStyle;
    };
    const Values cases[] = {
        {kTrue, 1, "OK", DesignFont(), 0, 1},
        {kFalse, 0, "", {"A;B", 0.1 + 0.2, 1000, true, true, true, 255}, 0xFF, 0},
        {kTrue, 255, "\x90\xdd\x92\xe8", {"Arial", 2160, 0, false, true, false, 128}, 0x80000005, 1},
        {kFalse, 1, "Command1", {"X", 13.333333333333334, 400, false, false, false, 0}, 0x02FFFFFF, 0},
    };
    for (const Values& v : cases) {
        Recorder r;
        CommandFields fields = Ready(State::Normal);
        fields.Enabled = v.enabled;
        fields.FirstRun = v.firstRun;
        r.target = {v.caption, v.colour, v.font, true, v.backStyle, nullptr, nullptr};
        PropertyBag bag;
        WriteProperties(fields, r.target, bag, DesignFont());
        Recorder back;
        CommandFields restored;
        ReadProperties(restored, back.target, bag, DesignFont());
        EXPECT_EQ(restored.Enabled, v.enabled) << v.caption;
        EXPECT_EQ(restored.FirstRun, v.firstRun) << v.caption;
        EXPECT_EQ(back.target.caption, v.caption);
        EXPECT_EQ(back.target.font, v.font) << FontText(back.target.font);
        // With FirstRun 0 an enabled button's colour is forced to black.
        EXPECT_EQ(back.target.fontColour, v.firstRun == 0 && v.enabled ? 0 : v.colour) << v.caption;
        EXPECT_EQ(back.target.backStyle, v.backStyle) << v.caption;
    }
}

TEST(Properties, AFreshButtonSwitchesOnAtTheFirstReadOfEnabled) {
    Recorder r;
    CommandFields fields;  // never stored: every field 0
    EXPECT_EQ(r.target.caption, "Command");
    // "ＭＳ Ｐゴシック" in code page 932, 9.75 points, weight 400, the
    // Japanese character set.
    const FontDesc design = {"\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e", 9.75, 400, false, false,
                             false, 128};
    EXPECT_EQ(r.target.font, design);
    EXPECT_TRUE(GetEnabled(fields, r.target));
    EXPECT_EQ(fields.FirstRun, 1);
    EXPECT_EQ(fields.Enabled, kTrue);
    EXPECT_EQ(r.Take(), Events{"paint Normal"});
}

TEST(Properties, FontColourWhileFirstRunIsZeroStaysBlack) {
    Recorder r;
    CommandFields fields = Ready(State::Normal);
    fields.FirstRun = 0;
    SetFontColour(fields, r.target, 0x0000FF);
    EXPECT_EQ(r.target.fontColour, 0u);
    EXPECT_EQ(r.Take(), (Events{"paint Normal", "notify FontColour"}));

    fields.FirstRun = 1;
    SetFontColour(fields, r.target, 0x0000FF);
    EXPECT_EQ(GetFontColour(fields, r.target), 0x0000FFu);
    r.Take();
    // A colour the label refuses: ResetFace runs, no notice.
    SetFontColour(fields, r.target, 0x01000005);
    EXPECT_EQ(r.target.fontColour, 0x0000FFu);
    EXPECT_EQ(r.Take(), Events{"paint Normal"});
    // Disabled, the colour is kept and nothing is painted.
    fields.Enabled = kFalse;
    fields.FirstRun = 0;
    SetFontColour(fields, r.target, 0x00FF00);
    EXPECT_EQ(r.target.fontColour, 0x00FF00u);
    EXPECT_EQ(r.Take(), Events{"notify FontColour"});
}

TEST(Properties, VisibleGivesZeroOr255) {
    Recorder r;
    CommandFields fields = Ready(State::Normal);
    EXPECT_EQ(GetVisible(fields, r.target), 255);
    EXPECT_EQ(r.Take(), Events{"paint Normal"});
    SetVisible(fields, r.target, 0);
    EXPECT_EQ(r.target.backStyle, 0);
    EXPECT_EQ(r.Take(), Events{"notify Visible"});
    EXPECT_EQ(GetVisible(fields, r.target), 0);
    EXPECT_EQ(r.Take(), Events{});
    SetVisible(fields, r.target, 7);
    EXPECT_EQ(r.target.backStyle, 1);
    EXPECT_EQ(r.Take(), (Events{"paint Normal", "notify Visible"}));
}

TEST(Properties, CaptionAndFontNotifyWithoutPainting) {
    Recorder r;
    SetCaption(r.target, "New");
    SetFont(r.target, Font("Arial", 12, 700));
    EXPECT_EQ(r.target.caption, "New");
    EXPECT_EQ(r.target.font, Font("Arial", 12, 700));
    EXPECT_EQ(r.Take(), (Events{"notify Caption", "notify Font"}));
}

TEST(Properties, BagMatchesKeysWithoutCaseAndKeepsTheirPlace) {
    PropertyBag bag;
    bag.Set("caption", "a");
    bag.Set("Font", "f");
    bag.Set("CAPTION", "b");
    ASSERT_NE(bag.Find("Caption"), nullptr);
    EXPECT_EQ(*bag.Find("Caption"), "b");
    EXPECT_EQ(bag.entries().front().first, "CAPTION");
    EXPECT_EQ(bag.Find("Captio"), nullptr);
    bag.Remove("font");
    EXPECT_EQ(bag.entries().size(), 1u);
}

}  // namespace
