// ondrake: the Ondrake screen saver's picture as an xscreensaver hack. The
// same scene as the Windows renderer, drawn with GLX at the window's own
// size, on a beat of one frame every -delay microseconds and not at all
// while the window cannot be seen, until its window goes away, q or Esc in
// its own window, or SIGTERM or SIGINT.
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "clock.h"
#include "fps_meter.h"
#include "frame_memory.h"
#include "frame_pacing.h"
#include "hack_options.h"
#include "model_check.h"
#include "overlay_text.h"
#include "reader3ds.h"
#include "scene.h"
#include "x11_target.h"

#if defined(__SANITIZE_ADDRESS__)
// Mesa's GL driver leaves a few hundred bytes behind and is unloaded before
// the leak check runs, so its frames cannot be named in a suppression. The
// scene's own memory is leak-checked by its headless tests.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }
#endif

namespace {

// xscreensaver ends a hack with SIGTERM when the screen unblanks and wants
// it gone at once, whatever it is doing: reading a large model, or waiting
// on a swap. Nothing the hack holds outlives it (the X server frees a
// departing client's windows and contexts), so it ends right here.
void EndNow(int) { _exit(0); }

// The scene's host services are plain functions; they reach the window, the
// pacing and the frame counter through these.
X11Target target;
FramePacing pacing;
FpsMeter fpsMeter;
bool showFps = false;

uint32_t SceneClock() { return SceneMilliseconds(pacing, MonotonicMicroseconds()); }

// The scene renews the Windows renderer's title for its front end to find;
// an X window keeps the name it was given.
void KeepTitle(const char*) {}

void ShowFrame() {
    if (showFps) {
        CountFrame(fpsMeter, SceneClock());
        DrawCornerText(FpsText(fpsMeter), target.width, target.height);
    }
    SwapTarget(target);
}

std::string HackFolder() {
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return ".";
    std::string self(path, size_t(length));
    return self.substr(0, self.find_last_of('/'));
}

bool FileExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

// Says why the hack ends, if for a problem; returns the exit code.
int ExitCode() {
    bool failed = !target.problem.empty();
    if (failed) std::fprintf(stderr, "ondrake: %s\n", target.problem.c_str());
    return failed ? 1 : 0;
}

// How often the window's watcher looks whether the model has been read, in
// microseconds: news of the window wakes it at once.
constexpr int64_t kReadLookUs = 10000;

// Reads the model on a thread of its own while this one follows the
// window: a window destroyed or closed during a long read (of a file of
// hundreds of megabytes, say) ends the hack at once, as at any other
// moment, and not when the read is done. The read cannot be stopped
// midway, so the hack then ends at once, as on a signal.
void ReadModel(int file, const std::string& path, SceneState& scene) {
    std::atomic<bool> read{false};
    std::thread reader([&] {
        scene.model = LoadModel3dsFromFile(file, path.c_str(), scene.vertexCount);
        read = true;
    });
    while (!read) {
        if (PumpEvents(target) == TargetNews::End) _exit(ExitCode());
        WaitForNews(target, kReadLookUs);
    }
    reader.join();
}

}  // namespace

int main(int argc, char** argv) {
    struct sigaction end = {};
    end.sa_handler = EndNow;
    sigemptyset(&end.sa_mask);
    sigaction(SIGTERM, &end, nullptr);
    sigaction(SIGINT, &end, nullptr);

    HackOptions options;
    std::string problem;
    if (!ParseHackOptions({argv + 1, argv + argc}, std::getenv("XSCREENSAVER_WINDOW"), options, problem)) {
        std::fprintf(stderr, "ondrake: %s\n%s", problem.c_str(), kHackUsage.c_str());
        return 1;
    }
    if (options.showHelp) {
        std::fputs(kHackUsage.c_str(), stdout);
        return 0;
    }
    if (options.modelPath.empty())
        options.modelPath =
            DefaultModelPath(HackFolder(), ONDRAKE_MODEL_FROM_HACK, ONDRAKE_MODEL_INSTALLED, FileExists);
    showFps = options.showFps;
    pacing.delayUs = options.delayUs;

    if (!OpenTarget(target, options)) {
        CloseTarget(target);
        return 1;
    }

    std::string modelProblem;
    int modelFile = OpenModelFile(options.modelPath, modelProblem);
    if (modelFile < 0)
        std::fprintf(stderr, "ondrake: cannot read the model %s: %s; the screen stays black\n",
                     options.modelPath.c_str(), modelProblem.c_str());
    SceneState scene;
    if (modelFile >= 0) {
        ReadModel(modelFile, options.modelPath, scene);
        close(modelFile);
    }
    FitView(scene, target.width, target.height);
    SetUpScene(scene, SceneHost{nullptr, SceneClock, SceneClock, KeepTitle, ShowFrame});
    if (modelFile >= 0 && scene.vertexCount == 0)
        std::fprintf(stderr, "ondrake: no triangles in the model %s; the screen stays black\n",
                     options.modelPath.c_str());
    KeepFrameMemory();

    for (;;) {
        TargetNews news = PumpEvents(target);
        if (news == TargetNews::End) break;
        if (news == TargetNews::Resized) FitView(scene, target.width, target.height);
        int64_t waitUs = 0;
        if (TimeToDraw(pacing, TargetSeen(target), MonotonicMicroseconds(), waitUs))
            RenderFrame(scene);
        else
            WaitForNews(target, waitUs);
    }

    ReleaseScene(scene);
    int code = ExitCode();
    CloseTarget(target);
    return code;
}
