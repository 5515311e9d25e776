#include "media/platform/KeyPositions.h"

namespace media {
namespace {

// USB keyboard usages (page 7) used below.
enum Usage : int {
    kA = 0x04,
    kZ = 0x1D,
    k1 = 0x1E,
    k0 = 0x27,
    kReturn = 0x28,
    kEscape = 0x29,
    kBackspace = 0x2A,
    kTab = 0x2B,
    kSpace = 0x2C,
    kMinus = 0x2D,
    kEquals = 0x2E,
    kLeftBracket = 0x2F,
    kRightBracket = 0x30,
    kBackslash = 0x31,
    kNonUsHash = 0x32,
    kSemicolon = 0x33,
    kApostrophe = 0x34,
    kGrave = 0x35,
    kComma = 0x36,
    kPeriod = 0x37,
    kSlash = 0x38,
    kCapsLock = 0x39,
    kF1 = 0x3A,
    kF11 = 0x44,
    kF12 = 0x45,
    kPrintScreen = 0x46,
    kScrollLock = 0x47,
    kPause = 0x48,
    kInsert = 0x49,
    kHome = 0x4A,
    kPageUp = 0x4B,
    kDelete = 0x4C,
    kEnd = 0x4D,
    kPageDown = 0x4E,
    kRight = 0x4F,
    kLeft = 0x50,
    kDown = 0x51,
    kUp = 0x52,
    kNumLock = 0x53,
    kKpDivide = 0x54,
    kKpMultiply = 0x55,
    kKpMinus = 0x56,
    kKpPlus = 0x57,
    kKpEnter = 0x58,
    kKp1 = 0x59,
    kKp0 = 0x62,
    kKpPeriod = 0x63,
    kNonUsBackslash = 0x64,
    kApplication = 0x65,
    kPower = 0x66,
    kKpEquals = 0x67,
    kF13 = 0x68,
    kInternational1 = 0x87,  // Ro (\ _)
    kInternational2 = 0x88,  // Katakana/Hiragana
    kInternational3 = 0x89,  // Yen
    kInternational4 = 0x8A,  // Henkan
    kInternational5 = 0x8B,  // Muhenkan
    kLang3 = 0x92,
    kLang4 = 0x93,
    kLeftCtrl = 0xE0,
    kLeftShift = 0xE1,
    kLeftAlt = 0xE2,
    kLeftGui = 0xE3,
    kRightCtrl = 0xE4,
    kRightShift = 0xE5,
    kRightAlt = 0xE6,
    kRightGui = 0xE7,
};

struct KeyMap {
    uint8_t dik[256] = {};
    void Set(int usage, int code) { dik[usage] = static_cast<uint8_t>(code); }
    KeyMap() {
        Set(kEscape, 0x01);
        for (int i = 0; i < 9; ++i) Set(k1 + i, 0x02 + i);
        Set(k0, 0x0B);
        Set(kMinus, 0x0C);
        Set(kEquals, 0x0D);
        Set(kBackspace, 0x0E);
        Set(kTab, 0x0F);
        const char row1[] = "QWERTYUIOP";
        for (int i = 0; i < 10; ++i) Set(kA + (row1[i] - 'A'), 0x10 + i);
        Set(kLeftBracket, 0x1A);
        Set(kRightBracket, 0x1B);
        Set(kReturn, 0x1C);
        Set(kLeftCtrl, 0x1D);
        const char row2[] = "ASDFGHJKL";
        for (int i = 0; i < 9; ++i) Set(kA + (row2[i] - 'A'), 0x1E + i);
        Set(kSemicolon, 0x27);
        Set(kApostrophe, 0x28);
        Set(kGrave, 0x29);  // also Hankaku/Zenkaku on a 106-key board
        Set(kLeftShift, 0x2A);
        Set(kBackslash, 0x2B);
        Set(kNonUsHash, 0x2B);
        const char row3[] = "ZXCVBNM";
        for (int i = 0; i < 7; ++i) Set(kA + (row3[i] - 'A'), 0x2C + i);
        Set(kComma, 0x33);
        Set(kPeriod, 0x34);
        Set(kSlash, 0x35);
        Set(kRightShift, 0x36);
        Set(kKpMultiply, 0x37);
        Set(kLeftAlt, 0x38);
        Set(kSpace, 0x39);
        Set(kCapsLock, 0x3A);
        for (int i = 0; i < 10; ++i) Set(kF1 + i, 0x3B + i);
        Set(kNumLock, 0x45);
        Set(kScrollLock, 0x46);
        // The keypad's digits lie in three rows of three from 1 (bottom left) to 9.
        const int keypadDik[] = {0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};
        for (int i = 0; i < 9; ++i) Set(kKp1 + i, keypadDik[i]);
        Set(kKpMinus, 0x4A);
        Set(kKpPlus, 0x4E);
        Set(kKp0, 0x52);
        Set(kKpPeriod, 0x53);
        Set(kNonUsBackslash, 0x56);
        Set(kF11, 0x57);
        Set(kF12, 0x58);
        for (int i = 0; i < 3; ++i) Set(kF13 + i, 0x64 + i);
        Set(kInternational2, 0x70);
        Set(kLang3, 0x70);
        Set(kLang4, 0x70);
        Set(kInternational1, 0x73);
        Set(kInternational4, 0x79);
        Set(kInternational5, 0x7B);
        Set(kInternational3, 0x7D);
        Set(kKpEquals, 0x8D);
        Set(kKpEnter, 0x9C);
        Set(kRightCtrl, 0x9D);
        Set(kKpDivide, 0xB5);
        Set(kPrintScreen, 0xB7);
        Set(kRightAlt, 0xB8);
        Set(kPause, 0xC5);
        Set(kHome, 0xC7);
        Set(kUp, 0xC8);
        Set(kPageUp, 0xC9);
        Set(kLeft, 0xCB);
        Set(kRight, 0xCD);
        Set(kEnd, 0xCF);
        Set(kDown, 0xD0);
        Set(kPageDown, 0xD1);
        Set(kInsert, 0xD2);
        Set(kDelete, 0xD3);
        Set(kLeftGui, 0xDB);
        Set(kRightGui, 0xDC);
        Set(kApplication, 0xDD);
        Set(kPower, 0xDE);
    }
};

}  // namespace

uint8_t DikOfKeyPosition(int usage) {
    static const KeyMap map;
    return usage >= 0 && usage < 256 ? map.dik[usage] : 0;
}

}  // namespace media
