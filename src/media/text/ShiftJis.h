// Shift-JIS (code page 932) text: walking a string character by character and
// converting characters and strings to Unicode through iconv.
#pragma once

#include <cstdint>
#include <string>

namespace media {

// One character of a Shift-JIS string.
struct SjisChar {
    uint16_t code = 0;       // the byte, or lead << 8 | trail for a two-byte character
    int length = 0;          // bytes taken from the string: 1 or 2; 0 at the terminating NUL
    bool truncated = false;  // a lead byte followed by the end of the string
};

// True for a byte that starts a two-byte character.
constexpr bool IsSjisLeadByte(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// The character at p. A lead byte takes the following byte with it unless that
// byte is the terminating NUL (then the character is `truncated`, length 1).
SjisChar NextSjisChar(const char* p);

// Unicode scalar value of one character, or 0 when the code is not a valid
// code page 932 character. Not thread-safe (callers hold the operation lock).
char32_t SjisToUnicode(uint16_t code);

// Converts a whole Shift-JIS string to UTF-8. A byte that does not convert (alone,
// or as the lead of a pair that is no character) becomes U+FFFD.
std::string SjisToUtf8(const std::string& sjis);

}  // namespace media
