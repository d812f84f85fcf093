#include "sollvane_p.h"

#include <windows.h>

#include <commdlg.h>
#include <cstddef>
#include <cwchar>
#include <shellapi.h>

#include "code_pages.h"
#include "gdi.h"
#include "resource_ids.h"
#include "runtime.h"
#include "settings.h"
#include "settings_dialog_logic.h"
#include "settings_win32.h"
#include "window_animation.h"

const char kHomePage[] = "https://ondrake.example/";

namespace {

const char kFileFilter[] = "BGMﾌｧｲﾙ (MP3 WAV)\0*.MP3;*.WAV\0";
const char kFileDialogTitle[] = "ﾌｧｲﾙを開く";
constexpr int kPathBuffer = 255;

// The record of the open-file dialog as the program fills it: its first
// published form, up to the template name, 76 bytes in the 32-bit program.
// Its wide form, so that a file in a folder of any name comes back whole.
constexpr DWORD kOpenFileNameSize = offsetof(OPENFILENAMEW, pvReserved);
static_assert(sizeof(void*) != 4 || kOpenFileNameSize == 76, "OPENFILENAMEW of 76 bytes");

// One button as the dialog stores it: its caption, its font and its size.
PropertyBag StoredButton(const char* caption, int extentX, int extentY) {
    PropertyBag bag;
    bag.Set("_extentx", std::to_string(extentX));
    bag.Set("_extenty", std::to_string(extentY));
    bag.Set("caption", caption);
    bag.Set("font", FontText(DesignFont()));
    return bag;
}

// Horizontal one-pixel lines from (0, y) to (width, y), one colour a row.
template <typename Colour>
void PaintGradient(Canvas& canvas, Colour colourOf) {
    HDC dc = canvas.Dc();
    if (!dc) return;
    int width = canvas.ScaleWidth();
    std::vector<int> rows = GradientRows(canvas.ScaleHeight());
    ScopedSelectObject pen(dc, GetStockObject(DC_PEN));
    for (size_t y = 0; y < rows.size(); ++y) {
        Rgb colour = colourOf(rows[y]);
        SetDCPenColor(dc, RGB(colour.red, colour.green, colour.blue));
        MoveToEx(dc, 0, static_cast<int>(y), nullptr);
        LineTo(dc, width, static_cast<int>(y));
    }
    canvas.Refresh();
}

// Places a windowless control at design pixels.
void Place(Windowless& control, int x, int y, int width, int height) {
    control.SetBounds(ScreenPixels(x), ScreenPixels(y, LOGPIXELSY), ScreenPixels(width),
                      ScreenPixels(height, LOGPIXELSY));
}

void PlaceLabel(Label& label, Canvas& canvas, const wchar_t* caption, int x, int y, int width, int height) {
    label.SetCaption(caption);
    Place(label, x, y, width, height);
    canvas.Add(label);
}

// A control window at design pixels: its place and size converted in one
// place, so that none is scaled along the wrong axis; the arguments after
// them go to its constructor as they are.
template <typename Control, typename... More>
std::unique_ptr<Control> PlaceWindow(HWND parent, int x, int y, int width, int height, const More&... more) {
    return std::make_unique<Control>(parent, ScreenPixels(x), ScreenPixels(y, LOGPIXELSY), ScreenPixels(width),
                                     ScreenPixels(height, LOGPIXELSY), more...);
}

// A Command button at design pixels.
std::unique_ptr<Command> PlaceButton(HWND parent, int x, int y, int width, int height, const PropertyBag& stored) {
    return PlaceWindow<Command>(parent, x, y, width, height, stored, DesignFont());
}

}  // namespace

Sollvane_P::Sollvane_P() : Form(kDialogCaption) {
    SetBorderStyle(BorderStyle::FixedSingle);
    SetClientSizeTwips(7185, 3780);
    SetBackColour(RGB(192, 192, 192));
    SetIcon(IDI_ONDRAKE);
}

void Sollvane_P::CreateControls() {
    // Laid out in pixels at 96 dots per inch, scaled to the screen's.
    // Created in the tab order: the combo box and "..." inside the panel,
    // then "設定", "ｷｬﾝｾﾙ" and "その他の作品".
    Pic_C = PlaceWindow<PictureBox>(window(), 12, 16, 453, 169, RGB(224, 224, 224));
    Canvas& panel = Pic_C->canvas();
    BGM_Repeat = PlaceWindow<ComboBox>(Pic_C->window(), 92, 52, 41, 20);
    Cmd_BGM = PlaceButton(Pic_C->window(), 36, 116, 29, 21, StoredButton("...", 767, 556));
    Cmd_Set = PlaceButton(window(), 320, 200, 73, 25, StoredButton("設定", 1931, 661));
    Cmd_Can = PlaceButton(window(), 396, 200, 69, 25, StoredButton("ｷｬﾝｾﾙ", 1826, 661));
    Cmd_Etc = PlaceButton(window(), 192, 200, 125, 25, StoredButton("その他の作品", 3307, 661));
    Cmd_BGM->onClick = [this] { ChooseFile(); };
    Cmd_Set->onClick = [this] { Save(); };
    Cmd_Can->onClick = [this] { UnloadForm(*this); };
    Cmd_Etc->onClick = [this] { OpenHomePage(); };

    Place(Shape3, 20, 20, 113, 21);
    panel.Add(Shape3);
    lblHeading.SetAlignment(Label::Alignment::Centre);
    PlaceLabel(lblHeading, panel, L"BGM", 20, 24, 111, 13);
    const int markTop[3] = {76, 56, 96};
    const std::wstring kindText[3] = {WideFromCp932("無し"), WideFromCp932("音楽CD"), WideFromCp932("MP3、WAV")};
    for (int kind = 0; kind < 3; ++kind) {
        Place(Img_BGM[kind], 20, markTop[kind], 13, 13);
        panel.Add(Img_BGM[kind]);
        PlaceLabel(lbl_BGM[kind], panel, kindText[kind].c_str(), 36, markTop[kind], 0, 13);
        lbl_BGM[kind].AutoSize();
        Img_BGM[kind].onMouseDown = lbl_BGM[kind].onMouseDown = [this, kind](MouseButton) { ChooseKind(kind); };
    }
    PlaceLabel(lblRepeat, panel, WideFromCp932("曲目をﾘﾋﾟｰﾄ").c_str(), 136, 56, 0, 13);
    lblRepeat.AutoSize();
    lbl_Fname.SetBorder(true);
    PlaceLabel(lbl_Fname, panel, L"", 68, 116, 357, 29);
    lbl_Fname.FitLines(2);
    PlaceLabel(lblCredit, canvas(), L"Ondrake 1.0", 16, 206, 0, 13);
    lblCredit.AutoSize();

    // The two mark pictures lie outside the client area, never seen.
    Img_Ra[0].SetPicture(Picture::FromBitmapResource(IDB_MARK_UNCHOSEN));
    Img_Ra[1].SetPicture(Picture::FromBitmapResource(IDB_MARK_CHOSEN));
    Place(Img_Ra[0], 536, 20, 12, 12);
    Place(Img_Ra[1], 536, 40, 12, 12);
    canvas().Add(Img_Ra[0]);
    canvas().Add(Img_Ra[1]);
}

void Sollvane_P::InitializeButtons() {
    for (Command* button : {Cmd_BGM.get(), Cmd_Set.get(), Cmd_Can.get(), Cmd_Etc.get()}) button->Initialize();
}

void Sollvane_P::OnLoad() {
    CreateControls();
    Placement place = DialogPlacement(ScreenWidthTwips(), ScreenHeightTwips(), WidthTwips(), HeightTwips());
    Move(place.left, place.top);
    InitializeButtons();
    ShowKind(BgmKind);
    BGM_Repeat->SetText(WideFromCp932(FormatHashes(BgmRepeat)));
    for (const std::string& item : RepeatItems()) BGM_Repeat->AddItem(WideFromCp932(item));
    lbl_Fname.SetCaption(WideFromUtf8(BgmFile));

    POINT cursor{};
    ApiResult = GetCursorPos(&cursor);
    AnimOriginX = AnimOriginY = 0;
    // A coordinate beyond the 16-bit point (a very wide desktop) leaves
    // that coordinate 0.
    if (ApiResult != 0) {
        if (!ToInt16(cursor.x, AnimOriginX)) AnimOriginX = 0;
        if (!ToInt16(cursor.y, AnimOriginY)) AnimOriginY = 0;
    }
    AnimateWindowOpen(window());
    SetAppPointer(AppPointer::Default);
}

void Sollvane_P::OnResize() {
    PaintGradient(canvas(), DialogRowColour);
    PaintGradient(Pic_C->canvas(), PanelRowColour);
}

void Sollvane_P::OnUnload() { AnimateWindowClose(window()); }

// Marks the kind's row and enables what the kind uses.
void Sollvane_P::ShowKind(int16_t kind) {
    KindControls controls = ControlsForKind(kind);
    for (int row = 0; row < 3; ++row) Img_BGM[row].SetPicture(Img_Ra[row == controls.markedKind].picture());
    BGM_Repeat->SetEnabled(controls.repeatEnabled);
    Cmd_BGM->SetEnabled(controls.fileButtonEnabled);
}

void Sollvane_P::ChooseKind(int kind) {
    BgmKind = static_cast<int16_t>(kind);
    ShowKind(BgmKind);
}

void Sollvane_P::ChooseFile() {
    std::wstring filter = WideFromCp932(std::string(kFileFilter, sizeof kFileFilter));  // with its NULs
    std::wstring title = WideFromCp932(kFileDialogTitle);
    wchar_t file[kPathBuffer] = {}, fileTitle[kPathBuffer] = {};
    OPENFILENAMEW record{};
    record.lStructSize = kOpenFileNameSize;
    record.hwndOwner = window();
    record.hInstance = GetModuleHandleW(nullptr);
    record.lpstrFilter = filter.c_str();
    record.lpstrFile = file;
    record.nMaxFile = kPathBuffer;
    record.lpstrFileTitle = fileTitle;
    record.nMaxFileTitle = kPathBuffer;
    record.lpstrTitle = title.c_str();
    ApiResult = GetOpenFileNameW(&record);
    if (ApiResult <= 0) return;
    BgmFile = Utf8FromWide(std::wstring(file, wcsnlen(file, kPathBuffer)));
    lbl_Fname.SetCaption(WideFromUtf8(BgmFile));
}

void Sollvane_P::Save() {
    std::string iniPath = IniPath();
    WriteIniString(kIniSection, kKeyBgmKind, std::to_string(BgmKind), iniPath);
    BgmRepeat = RepeatFromText(AnsiFromWide(BGM_Repeat->Text()), UserNumberLocale(), BgmRepeat);
    WriteIniString(kIniSection, kKeyBgmRepeat, std::to_string(BgmRepeat), iniPath);
    WriteIniString(kIniSection, kKeyBgmFile, IniTextOfMusicFile(BgmFile), iniPath);
    UnloadForm(*this);
}

void Sollvane_P::OpenHomePage() {
    SetAppPointer(AppPointer::Hourglass);
    ShellExecuteA(window(), "open", kHomePage, "", "", SW_SHOWNORMAL);
    SetAppPointer(AppPointer::Default);
}
