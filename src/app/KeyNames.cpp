#include "app/KeyNames.h"

namespace app {

namespace {

struct NamedKey {
    const char* name;
    int code;
};

// The first name given for a code is the one shown.
const NamedKey kKeys[] = {
    {"Escape", 1},
    {"1", 2},
    {"2", 3},
    {"3", 4},
    {"4", 5},
    {"5", 6},
    {"6", 7},
    {"7", 8},
    {"8", 9},
    {"9", 10},
    {"0", 11},
    {"Minus", 12},
    {"Equals", 13},
    {"BackSpace", 14},
    {"Tab", 15},
    {"Q", 16},
    {"W", 17},
    {"E", 18},
    {"R", 19},
    {"T", 20},
    {"Y", 21},
    {"U", 22},
    {"I", 23},
    {"O", 24},
    {"P", 25},
    {"LeftBracket", 26},
    {"RightBracket", 27},
    {"Return", 28},
    {"LCtrl", 29},
    {"A", 30},
    {"S", 31},
    {"D", 32},
    {"F", 33},
    {"G", 34},
    {"H", 35},
    {"J", 36},
    {"K", 37},
    {"L", 38},
    {"Semicolon", 39},
    {"Apostrophe", 40},
    {"Grave", 41},
    {"LShift", 42},
    {"Backslash", 43},
    {"Z", 44},
    {"X", 45},
    {"C", 46},
    {"V", 47},
    {"B", 48},
    {"N", 49},
    {"M", 50},
    {"Comma", 51},
    {"Period", 52},
    {"Slash", 53},
    {"RShift", 54},
    {"KP_Multiply", 55},
    {"LAlt", 56},
    {"Space", 57},
    {"CapsLock", 58},
    {"F1", 59},
    {"F2", 60},
    {"F3", 61},
    {"F4", 62},
    {"F5", 63},
    {"F6", 64},
    {"F7", 65},
    {"F8", 66},
    {"F9", 67},
    {"F10", 68},
    {"NumLock", 69},
    {"ScrollLock", 70},
    {"KP_7", 71},
    {"KP_8", 72},
    {"KP_9", 73},
    {"KP_Subtract", 74},
    {"KP_4", 75},
    {"KP_5", 76},
    {"KP_6", 77},
    {"KP_Add", 78},
    {"KP_1", 79},
    {"KP_2", 80},
    {"KP_3", 81},
    {"KP_0", 82},
    {"KP_Decimal", 83},
    {"F11", 87},
    {"F12", 88},
    {"KP_Enter", 156},
    {"RCtrl", 157},
    {"KP_Divide", 181},
    {"RAlt", 184},
    {"Home", 199},
    {"Up", 200},
    {"PageUp", 201},
    {"Left", 203},
    {"Right", 205},
    {"End", 207},
    {"Down", 208},
    {"PageDown", 209},
    {"Insert", 210},
    {"Delete", 211},
    // Other spellings: X11 key names and the words players use.
    {"Esc", 1},
    {"Enter", 28},
    {"Control_L", 29},
    {"Control_R", 157},
    {"Shift_L", 42},
    {"Shift_R", 54},
    {"Alt_L", 56},
    {"Alt_R", 184},
    {"LControl", 29},
    {"RControl", 157},
    {"Prior", 201},
    {"Next", 209},
    {"KP_Plus", 78},
    {"KP_Minus", 74},
    {"KP_Period", 83},
    {"Keypad0", 82},
    {"Keypad1", 79},
    {"Keypad2", 80},
    {"Keypad3", 81},
    {"Keypad4", 75},
    {"Keypad5", 76},
    {"Keypad6", 77},
    {"Keypad7", 71},
    {"Keypad8", 72},
    {"Keypad9", 73},
    {"KP0", 82},
    {"KP1", 79},
    {"KP2", 80},
    {"KP3", 81},
    {"KP4", 75},
    {"KP5", 76},
    {"KP6", 77},
    {"KP7", 71},
    {"KP8", 72},
    {"KP9", 73},
};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

}  // namespace

const char* KeyName(int code) {
    for (const NamedKey& key : kKeys)
        if (key.code == code) return key.name;
    return nullptr;
}

std::optional<int> KeyCodeByName(std::string_view name) {
    for (const NamedKey& key : kKeys)
        if (SameIgnoringCase(key.name, name)) return key.code;
    return std::nullopt;
}

}  // namespace app
