// The replay tool's reading of an input script or recorded game from its file,
// on any bytes (a recording cut anywhere among them): it is refused with a
// reason, or gives key changes in strictly rising frames with codes 1 to 255.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/InputScriptFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const int fd = memfd_create("game.rec", 0);  // read by name like any other file
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) std::abort();
    app::InputScript script;
    app::RecordedGame recorded;
    std::string error;
    if (!app::ReadInputScript("/proc/self/fd/" + std::to_string(fd), script, recorded, error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    uint64_t previous = 0;
    for (const app::KeyChange& change : script.Changes()) {
        if (change.frame <= previous) std::abort();
        previous = change.frame;
        for (int code : change.codes)
            if (code < 1 || code > 255) std::abort();
    }
    return 0;
}
