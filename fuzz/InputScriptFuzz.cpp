// The replay tool's input script on any bytes: a script it takes has frames
// from 1 up, strictly increasing, and key codes 1..255, sorted, each once.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/InputScript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    app::InputScript script;
    app::ScriptError error;
    if (!script.Parse(std::string_view(reinterpret_cast<const char*>(data), size), error)) {
        if (error.line < 1 || error.message.empty()) std::abort();
        return 0;
    }
    uint64_t previous = 0;
    for (const app::KeyChange& change : script.Changes()) {
        if (change.frame <= previous) std::abort();
        previous = change.frame;
        for (size_t i = 0; i < change.codes.size(); ++i)
            if (change.codes[i] < 1 || change.codes[i] > 255 || (i > 0 && change.codes[i] <= change.codes[i - 1]))
                std::abort();
        if (script.ChangeAt(change.frame) != &change) std::abort();
    }
    return 0;
}
