// Loaded into a GL program by bench_hack_cpu.sh: counts its buffer swaps,
// its frames, through GLX or (as xscreensaver's own hacks draw) EGL, into
// the file ONDRAKE_FRAME_COUNT names (a 64-bit count in the machine's byte
// order), through a shared mapping, so that counting costs the program no
// system call per frame.
#include <GL/glx.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace {

uint64_t* MapCount() {
    const char* path = std::getenv("ONDRAKE_FRAME_COUNT");
    if (!path) return nullptr;
    int fd = open(path, O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return nullptr;
    void* at = ftruncate(fd, sizeof(uint64_t)) == 0
                   ? mmap(nullptr, sizeof(uint64_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)
                   : MAP_FAILED;
    close(fd);
    return at == MAP_FAILED ? nullptr : static_cast<uint64_t*>(at);
}

void Count() {
    static uint64_t* count = MapCount();
    if (count) __atomic_add_fetch(count, 1, __ATOMIC_RELAXED);
}

}  // namespace

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    using Real = void (*)(Display*, GLXDrawable);
    static Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    real(display, drawable);
    Count();
}

// EGLBoolean eglSwapBuffers(EGLDisplay, EGLSurface), without EGL's headers.
extern "C" unsigned eglSwapBuffers(void* display, void* surface) {
    using Real = unsigned (*)(void*, void*);
    static Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "eglSwapBuffers"));
    unsigned swapped = real(display, surface);
    Count();
    return swapped;
}
