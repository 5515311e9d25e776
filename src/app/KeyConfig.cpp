#include "app/KeyConfig.h"

#include <sys/stat.h>

#include <cstdio>

#include "app/SystemContext.h"

int GetButtonState(const KeyConfig& config, unsigned button) {
    const SystemContext* system = GetSystem();
    if (button >= config.keys.size()) return kButtonUp;
    const int32_t code = config.keys[button];
    if (code < 0 || code > 255) return kButtonUp;
    const bool now = system->keyboard->current[code] == 1;
    const bool before = system->keyboard->previous[code] == 1;
    if (now) return before ? kButtonHeld : kButtonPressed;
    return before ? kButtonReleased : kButtonUp;
}

namespace {

bool ReadInt32(std::FILE* f, int32_t& value) {
    unsigned char b[4];
    if (std::fread(b, 1, 4, f) != 4) return false;
    value = static_cast<int32_t>(static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                                 static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24);
    return true;
}

}  // namespace

int LoadKeyConfig(KeyConfig& config) {
    std::FILE* f = std::fopen("Data/KeyData.dat", "rb");
    if (!f) return -1;
    std::vector<int32_t> codes;
    bool ok = true;
    int32_t count = 0;
    if (!ReadInt32(f, count) || count < 0) ok = false;
    if (ok) {
        // The codes must be in the file: the count is checked against the file's
        // size in 64-bit arithmetic before anything is allocated.
        struct stat info;
        if (fstat(fileno(f), &info) != 0 || static_cast<int64_t>(count) * 4 > static_cast<int64_t>(info.st_size) - 4)
            ok = false;
    }
    if (ok) {
        codes.resize(static_cast<size_t>(count));
        for (int32_t& code : codes)
            if (!ReadInt32(f, code)) {
                ok = false;
                break;
            }
    }
    std::fclose(f);
    if (!ok) return -1;
    config.keys.clear();
    config.count = 0;
    for (int32_t code : codes) {
        config.keys.push_back(code);
        ++config.count;
    }
    return 0;
}
