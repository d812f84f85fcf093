#include "sollvane_s.h"

#include "music.h"
#include "paths.h"
#include "runtime.h"
#include "settings.h"

namespace {

const char kRendererTitle[] = "Sollvane_VC";

// The last three characters of the music file's name, upper-cased. The
// path is UTF-8, in which a name that ends in "mp3" or "wav" ends in those
// three bytes.
std::string FileType() { return UCase(BgmFile.substr(BgmFile.size() < 3 ? 0 : BgmFile.size() - 3)); }

// Every display of the desktop shows its registry mode at its registry
// place. Asking takes a millisecond; setting the modes takes a tenth of a
// second or more even when they are the same, and the run would end that
// much later.
bool DisplaysAtRegistryModes() {
    DISPLAY_DEVICEA device{};
    device.cb = sizeof device;
    for (DWORD i = 0; EnumDisplayDevicesA(nullptr, i, &device, 0); ++i) {
        if (!(device.StateFlags & DISPLAY_DEVICE_ATTACHED_TO_DESKTOP)) continue;
        DEVMODEA shown{}, saved{};
        shown.dmSize = saved.dmSize = sizeof shown;
        if (!EnumDisplaySettingsA(device.DeviceName, ENUM_CURRENT_SETTINGS, &shown) ||
            !EnumDisplaySettingsA(device.DeviceName, ENUM_REGISTRY_SETTINGS, &saved) ||
            shown.dmPelsWidth != saved.dmPelsWidth || shown.dmPelsHeight != saved.dmPelsHeight ||
            shown.dmBitsPerPel != saved.dmBitsPerPel || shown.dmPosition.x != saved.dmPosition.x ||
            shown.dmPosition.y != saved.dmPosition.y)
            return false;
    }
    return true;
}

}  // namespace

Sollvane_S::Sollvane_S()
    : Form(kRunCaption),
      Timer1(*this, [] { Mp3Poll(); }),
      Timer2(*this,
             [this] {
                 CdPoll();
                 Timer2.SetEnabled(CdActive != kFalse);
             }),
      Timer3(*this, [this] { WatchRenderer(); }) {
    Timer1.SetInterval(1000);
    Timer2.SetInterval(200);
    Timer3.SetInterval(50);
    Timer3.SetEnabled(true);
}

void Sollvane_S::OnLoad() {
    std::string rendererPath = JoinPath(ProgramFolder(), "Ondrake.dll");
    watch_.started = StartProgram(rendererPath, SW_SHOWNORMAL, &renderer_).ok;
    watch_.startTime = GetTickCount();
    if (BgmKind == 1) {
        CdOpen();
        Timer2.SetEnabled(true);
    }
    if (BgmKind == 2) {
        if (FileType() == "WAV") WavPlay();
        if (FileType() == "MP3") {
            Mp3Play();
            Timer1.SetEnabled(true);
        }
    }
}

void Sollvane_S::WatchRenderer() {
    bool found = FindWindowA(nullptr, kRendererTitle) != nullptr;
    bool ended = renderer_ && WaitForSingleObject(renderer_.get(), 0) == WAIT_OBJECT_0;
    if (!RendererGone(watch_, found, ended, GetTickCount())) return;
    Timer3.SetEnabled(false);
    // A renderer that was killed or crashed could not give the display its
    // modes back: every monitor would stay at the run's mode and place.
    if (!DisplaysAtRegistryModes()) ChangeDisplaySettingsA(nullptr, 0);
    UnloadForm(*this);
}

bool Sollvane_S::OnQueryUnload(UnloadMode) {
    if (Timer2.enabled()) {
        Timer2.SetEnabled(false);
        CdStop();
    }
    if (BgmKind == 2) {
        if (FileType() == "WAV") WavStop();
        if (FileType() == "MP3") Mp3Stop();
    }
    // Only a run started with /s hid the cursor. Showing it is asked for
    // outright: the count kept from hiding can be 0, which as a flag
    // would hide it once more.
    if (ModeLetter(ArgumentText()) == "S") CursorCount = ShowCursor(TRUE);
    EndProgram();
}
