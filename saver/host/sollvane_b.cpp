// Ondrake.scr: the screen saver's front end. Windows starts it with /s to
// run the saver, /c to show its settings, /p and a window to embed the
// preview; Main reads that, refuses to run twice, checks that the renderer
// and the model lie beside the program, copies the model to the renderer's
// folder, and loads the form the mode asks for. The program then lives
// while a form is loaded.
#include <windows.h>

#include <ole2.h>

#include <cstdint>

#include "files.h"
#include "form.h"
#include "music.h"
#include "music_winmm.h"
#include "paths.h"
#include "runtime.h"
#include "settings_win32.h"
#include "sollvane_p.h"
#include "sollvane_r.h"
#include "sollvane_s.h"
#include "start_up.h"

namespace {

const char kWorkFolder[] = "C:\\qorbel";
const char kWorkModel[] = "C:\\qorbel\\Ondrake.3ds";
const char kNoRenderer[] = "Ondrake.dllが同じﾌｫﾙﾀﾞに見つかりません！";
const char kNoModel[] = "Ondrake.3dsが同じﾌｫﾙﾀﾞに見つかりません！";

// Embeds the preview in the given window, sized to it.
void ShowPreview(const std::string& argumentText) {
    static Sollvane_R preview;
    HWND parent = reinterpret_cast<HWND>(static_cast<intptr_t>(PreviewParent(argumentText)));
    RECT box{};
    ApiResult = GetWindowRect(parent, &box);
    // No window to embed in (none given, or gone already): nothing would
    // ever end the preview.
    if (ApiResult == 0) EndProgram();
    float twipsX = TwipsPerPixelX(), twipsY = TwipsPerPixelY();
    int16_t width = PreviewTwips(box.right - box.left, twipsX);
    int16_t height = PreviewTwips(box.bottom - box.top, twipsY);

    LoadForm(preview);
    LONG style = GetWindowLongA(preview.window(), GWL_STYLE);
    ApiResult = SetWindowLongA(preview.window(), GWL_STYLE, style | WS_CHILD);
    ApiResult = SetParent(preview.window(), parent) != nullptr;
    // Refused, or the window went since it was looked at: the form would
    // stay on the desktop, and nothing would ever end it.
    if (ApiResult == 0) EndProgram();
    preview.Move(0, 0, width, height);
    preview.Img_Prev.SetBounds(0, 0, ScreenPixelsFromTwips(width, twipsX), ScreenPixelsFromTwips(height, twipsY));
    ShowForm(preview, false);
}

void Main() {
    if (FindWindowA(nullptr, kRunCaption) || FindWindowA(nullptr, kDialogCaption)) EndProgram();

    std::string argumentText = ArgumentText();
    std::string mode = ModeLetter(argumentText);
    if (mode == "P") {
        ShowPreview(argumentText);
        return;
    }

    LoadSettings(WindowsSettingsAccess());
    std::string folder = ProgramFolder();
    if (!FileExists(JoinPath(folder, "Ondrake.dll"))) {
        MsgBox(kNoRenderer);
        EndProgram();
    }
    std::string model = JoinPath(folder, "Ondrake.3ds");
    if (!FileExists(model)) {
        MsgBox(kNoModel);
        EndProgram();
    }
    Skip(MakeDirectory(kWorkFolder));
    Skip(CopyFileTo(model, kWorkModel));

    if (mode == "C") {
        static Sollvane_P dialog;
        ShowForm(dialog, true);
        EndProgram();
    }
    if (mode != "S" && !argumentText.empty()) EndProgram();
    if (mode == "S") CursorCount = ShowCursor(FALSE);
    static Sollvane_S run;
    LoadForm(run);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The system's picture loader, used by the preview, rests on OLE.
    OleInitialize(nullptr);
    musicSystem = WinmmMusicSystem();
    Main();
    RunWhileFormsLoaded();
    EndProgram();
}
