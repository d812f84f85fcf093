// fake_renderer: stands in for Ondrake.dll in the front end's tests of a
// renderer that fails. ONDRAKE_FAKE=exit1 ends at once with exit code 1;
// ONDRAKE_FAKE=hang runs for a minute without ever opening a window.
#include <windows.h>

#include <cstdlib>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const char* behaviour = std::getenv("ONDRAKE_FAKE");
    if (behaviour && !std::strcmp(behaviour, "hang")) Sleep(60000);
    return 1;
}
