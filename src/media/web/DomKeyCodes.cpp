#include "media/web/DomKeyCodes.h"

#include <cstdlib>
#include <cstring>

namespace media {
namespace {

struct Named {
    const char* code;
    int usage;
};

// Every key a 104/106-key board has but the letters, digits and function keys
// (those are counted out below).
constexpr Named kNamed[] = {
    {"Enter", 0x28},
    {"Escape", 0x29},
    {"Backspace", 0x2A},
    {"Tab", 0x2B},
    {"Space", 0x2C},
    {"Minus", 0x2D},
    {"Equal", 0x2E},
    {"BracketLeft", 0x2F},
    {"BracketRight", 0x30},
    {"Backslash", 0x31},
    {"Semicolon", 0x33},
    {"Quote", 0x34},
    {"Backquote", 0x35},
    {"Comma", 0x36},
    {"Period", 0x37},
    {"Slash", 0x38},
    {"CapsLock", 0x39},
    {"PrintScreen", 0x46},
    {"ScrollLock", 0x47},
    {"Pause", 0x48},
    {"Insert", 0x49},
    {"Home", 0x4A},
    {"PageUp", 0x4B},
    {"Delete", 0x4C},
    {"End", 0x4D},
    {"PageDown", 0x4E},
    {"ArrowRight", 0x4F},
    {"ArrowLeft", 0x50},
    {"ArrowDown", 0x51},
    {"ArrowUp", 0x52},
    {"NumLock", 0x53},
    {"NumpadDivide", 0x54},
    {"NumpadMultiply", 0x55},
    {"NumpadSubtract", 0x56},
    {"NumpadAdd", 0x57},
    {"NumpadEnter", 0x58},
    {"NumpadDecimal", 0x63},
    {"IntlBackslash", 0x64},
    {"ContextMenu", 0x65},
    {"Power", 0x66},
    {"NumpadEqual", 0x67},
    {"IntlRo", 0x87},
    {"KanaMode", 0x88},
    {"IntlYen", 0x89},
    {"Convert", 0x8A},
    {"NonConvert", 0x8B},
    {"Lang3", 0x92},
    {"Lang4", 0x93},
    {"ControlLeft", 0xE0},
    {"ShiftLeft", 0xE1},
    {"AltLeft", 0xE2},
    {"MetaLeft", 0xE3},
    {"OSLeft", 0xE3},
    {"ControlRight", 0xE4},
    {"ShiftRight", 0xE5},
    {"AltRight", 0xE6},
    {"MetaRight", 0xE7},
    {"OSRight", 0xE7},
};

// The number after `prefix` in `code` when it is all digits, else -1.
int NumberAfter(const char* code, const char* prefix) {
    const size_t n = std::strlen(prefix);
    if (std::strncmp(code, prefix, n) != 0 || code[n] < '0' || code[n] > '9') return -1;
    char* end = nullptr;
    const long number = std::strtol(code + n, &end, 10);
    return *end == '\0' && number < 100 ? static_cast<int>(number) : -1;
}

}  // namespace

int UsageOfDomCode(const char* code) {
    if (!code) return 0;
    if (std::strncmp(code, "Key", 3) == 0 && code[3] >= 'A' && code[3] <= 'Z' && code[4] == '\0')
        return 0x04 + (code[3] - 'A');
    if (const int digit = NumberAfter(code, "Digit"); digit >= 0 && digit <= 9)
        return digit == 0 ? 0x27 : 0x1E + digit - 1;
    if (const int digit = NumberAfter(code, "Numpad"); digit >= 0 && digit <= 9)
        return digit == 0 ? 0x62 : 0x59 + digit - 1;
    if (const int f = NumberAfter(code, "F"); f >= 1 && f <= 24) return f <= 12 ? 0x3A + f - 1 : 0x68 + f - 13;
    for (const Named& named : kNamed)
        if (std::strcmp(named.code, code) == 0) return named.usage;
    return 0;
}

}  // namespace media
