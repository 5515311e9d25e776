// Names of keyboard keys and their DIK scan codes (the numbering of the key
// file and of the keyboard arrays): "Z" is 44, "Return" 28, "Up" 200.
#pragma once

#include <optional>
#include <string_view>

namespace app {

// The key's name as players write it ("Return", "KP_5", "LShift"), or null when
// the code has none.
const char* KeyName(int code);

// The scan code of a key name, case-insensitive; also takes a few common
// other spellings ("Enter", "Control_L", "Keypad5"). nullopt for an unknown name.
std::optional<int> KeyCodeByName(std::string_view name);

}  // namespace app
