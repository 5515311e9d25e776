// Preloaded into the game (LD_PRELOAD) by bench/window-frame-work.sh: the main
// thread's own work per frame in its SDL window, counted as the web page counts
// its own: from the end of a wait (a present or a sleep) to the picture's upload
// or the next sleep. Every tenth present appends
// "<realtime ms> <frames> <own work us>" to the file $FRAME_WORK_LOG.
#include <dlfcn.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

double MonotonicMicros() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

long long RealtimeMillis() {
    timespec t;
    clock_gettime(CLOCK_REALTIME, &t);
    return static_cast<long long>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

bool OnMainThread() { return syscall(SYS_gettid) == getpid(); }

template <class F>
F Next(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

struct Count {
    double awakeSince = 0;  // 0 until the first present
    double own = 0;         // microseconds of own work
    bool waiting = false;   // uploading, presenting or asleep
    long frames = 0;
    FILE* log = nullptr;

    void StopWork() {
        if (!waiting && awakeSince > 0) own += MonotonicMicros() - awakeSince;
        waiting = true;
    }
    void StartWork() {
        waiting = false;
        awakeSince = MonotonicMicros();
    }
    void Presented() {
        if (++frames % 10 != 0) return;
        if (!log) {
            const char* path = std::getenv("FRAME_WORK_LOG");
            log = std::fopen(path ? path : "/dev/null", "a");
            if (!log) return;
        }
        std::fprintf(log, "%lld %ld %.1f\n", RealtimeMillis(), frames, own);
        std::fflush(log);
    }
};

Count& TheCount() {
    static Count count;
    return count;
}

}  // namespace

extern "C" {

int SDL_UpdateTexture(void* texture, const void* rect, const void* pixels, int pitch) {
    static auto next = Next<int (*)(void*, const void*, const void*, int)>("SDL_UpdateTexture");
    if (OnMainThread()) TheCount().StopWork();
    return next(texture, rect, pixels, pitch);
}

void SDL_RenderPresent(void* renderer) {
    static auto next = Next<void (*)(void*)>("SDL_RenderPresent");
    if (!OnMainThread()) return next(renderer);
    Count& count = TheCount();
    count.StopWork();
    next(renderer);
    count.Presented();
    count.StartWork();
}

int nanosleep(const timespec* wanted, timespec* left) {
    static auto next = Next<int (*)(const timespec*, timespec*)>("nanosleep");
    if (!OnMainThread()) return next(wanted, left);
    Count& count = TheCount();
    const bool wasWaiting = count.waiting;
    count.StopWork();
    const int result = next(wanted, left);
    if (!wasWaiting) count.StartWork();
    return result;
}

}  // extern "C"
