// The Shift-JIS walker and converter on any bytes: the walk stays inside the
// string and ends at its terminating NUL; every character converts or is
// refused.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "media/text/ShiftJis.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const size_t end = std::strlen(text.c_str());
    size_t at = 0;
    while (true) {
        const media::SjisChar c = media::NextSjisChar(text.c_str() + at);
        if (c.length == 0) break;
        if (c.length > 2 || (c.truncated && c.length != 1)) std::abort();
        media::SjisToUnicode(c.code);
        at += static_cast<size_t>(c.length);
        if (at > end) std::abort();
    }
    if (at != end) std::abort();
    media::SjisToUtf8(text);
    return 0;
}
