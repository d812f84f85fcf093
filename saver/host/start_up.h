// The decisions of the program's start: what the argument text asks for,
// and, for a full-screen run, when to stop waiting for the renderer.
// Portable: no Windows headers.
#pragma once

#include <cstdint>
#include <string>

// The argument text of a command line: what follows the program's path and
// the blanks after it. A quoted path ends at its closing quote, an unquoted
// one at a blank. But Windows also starts a saver from a long path written
// unquoted, blanks and all (a volume without short names): then the path
// ends at the first blank before which the line names this program, as
// Windows itself found it; when no such place is found, at the first blank.
std::string ArgumentsOf(const std::string& commandLine, bool (*namesProgram)(const std::string& candidate));

// The second character of the upper-cased argument text ("/s", "-s" and
// "xs" all give "S"); empty when the text is shorter.
std::string ModeLetter(const std::string& argumentText);

// The preview's parent window: the number that the text spells from its
// fourth character ("/p 1234" and "/p:1234" give 1234), to the nearest
// 32-bit integer; 0 when there is none or it does not fit. Windows may write
// a handle as an unsigned number: 2147483648 to 4294967295 are the same 32
// bits as -2147483648 to -1.
int32_t PreviewParent(const std::string& argumentText);

// A preview dimension in twips as a signed 16-bit value: pixels times twips
// per pixel, to the nearest integer; 0 when that does not fit.
int16_t PreviewTwips(int32_t pixels, float twipsPerPixel);

// Follows the renderer of a full-screen run by its window, which another
// program's window list shows only a little after the renderer starts (a
// few hundred milliseconds under load). The time before the window first
// exists does not count as the renderer having gone, but the wait is
// bounded: a renderer that has ended, or that has shown no window within
// kRendererStartLimitMs, ends the run too.
constexpr uint32_t kRendererStartLimitMs = 5000;

struct RendererWatch {
    bool started = false;     // the program could be started
    uint32_t startTime = 0;   // milliseconds, when it was started
    bool windowSeen = false;  // its window has existed
};

// One look at the renderer: true when the run should end. Times are
// milliseconds of a wrapping tick count.
bool RendererGone(RendererWatch& watch, bool windowFound, bool processEnded, uint32_t nowMs);
