// fake_browser: stands in for the user's web browser in the dialog's tests.
// Registered for https addresses, it writes the address it is asked to open
// to the file named first on its command line. Like a browser it is a
// windowed program: a console program would get a console window of its own,
// over the dialog, that takes the next click.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc != 3) return 2;
    FILE* file = std::fopen(__argv[1], "wb");
    if (!file) return 1;
    std::fputs(__argv[2], file);
    return std::fclose(file) == 0 ? 0 : 1;
}
