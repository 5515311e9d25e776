#include "media/text/ShiftJis.h"

#include <iconv.h>

#include <cstring>

namespace media {

namespace {

// One iconv descriptor for the life of the process.
class SjisConverter {
public:
    SjisConverter() : m_cd(iconv_open("UTF-32LE", "CP932")) {
        if (m_cd == reinterpret_cast<iconv_t>(-1)) m_cd = iconv_open("UTF-32LE", "SHIFT_JIS");
    }

    char32_t Convert(const char* bytes, size_t length) {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            return length == 1 && static_cast<uint8_t>(bytes[0]) < 0x80 ? static_cast<char32_t>(bytes[0]) : 0;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char in[2];
        std::memcpy(in, bytes, length);
        char* inPtr = in;
        size_t inLeft = length;
        uint8_t out[8];
        char* outPtr = reinterpret_cast<char*>(out);
        size_t outLeft = sizeof out;
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0 ||
            sizeof out - outLeft != 4)
            return 0;
        return static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | static_cast<uint32_t>(out[3]) << 24);
    }

private:
    iconv_t m_cd;
};

SjisConverter& Converter() {
    static SjisConverter* converter = new SjisConverter();  // lives until process exit
    return *converter;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

SjisChar NextSjisChar(const char* p) {
    SjisChar c;
    const uint8_t lead = static_cast<uint8_t>(p[0]);
    if (lead == 0) return c;
    if (IsSjisLeadByte(lead)) {
        const uint8_t trail = static_cast<uint8_t>(p[1]);
        if (trail == 0) {
            c.code = lead;
            c.length = 1;
            c.truncated = true;
            return c;
        }
        c.code = static_cast<uint16_t>(lead << 8 | trail);
        c.length = 2;
        return c;
    }
    c.code = lead;
    c.length = 1;
    return c;
}

char32_t SjisToUnicode(uint16_t code) {
    if (code < 0x80) return code;
    char bytes[2];
    size_t length = 0;
    if (code > 0xFF) bytes[length++] = static_cast<char>(code >> 8);
    bytes[length++] = static_cast<char>(code & 0xFF);
    return Converter().Convert(bytes, length);
}

std::string SjisToUtf8(const std::string& sjis) {
    std::string out;
    const char* p = sjis.c_str();
    while (true) {
        const SjisChar c = NextSjisChar(p);
        if (c.length == 0) break;
        const char32_t u = c.truncated ? 0 : SjisToUnicode(c.code);
        if (u == 0) {
            // A byte that starts no character: U+FFFD, and the next byte is read on its own.
            AppendUtf8(out, U'\uFFFD');
            ++p;
            continue;
        }
        AppendUtf8(out, u);
        p += c.length;
    }
    return out;
}

}  // namespace media
