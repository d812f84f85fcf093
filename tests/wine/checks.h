// Checks counted inside a probe program, for the script that runs it: one
// "FAIL:" line per failed check and a closing "N passed, N failed" line.
#pragma once

#include <cstdio>
#include <string>

struct CheckCount {
    int passed = 0, failed = 0;
};

inline CheckCount& CheckCounter() {
    static CheckCount count;
    return count;
}

inline void Check(bool ok, const std::string& what) {
    if (ok) {
        ++CheckCounter().passed;
    } else {
        ++CheckCounter().failed;
        std::printf("FAIL: %s\n", what.c_str());
    }
}

// Prints the closing line; the program's exit code.
inline int PrintCheckCount() {
    std::printf("%d passed, %d failed\n", CheckCounter().passed, CheckCounter().failed);
    return CheckCounter().failed ? 1 : 0;
}
