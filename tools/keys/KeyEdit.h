// The six buttons of the key file by name, and changes to them given as
// "button=key" words ("up=W", "decide=Return").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace keys {

struct Button {
    const char* name;
    int index;  // position in the key file
};

// Up, down, left, right, decide, cancel: the order in which they are shown.
extern const Button kButtons[6];

// How a code reads: its key name, "code N" when it has none, with a note when
// the game can never see it pressed.
std::string DescribeCode(int32_t code);

// Applies "button=key" words to `codes` (the key file's codes; a list shorter
// than six is first completed with the default keys). Names are
// case-insensitive. False, with `codes` untouched and the offending word named
// in `error`, for an unknown button or key, a button given twice, a key the
// window keeps for itself (Escape, F1, F2, F11, F12, Tab: WindowKeys.h), or a
// key that would then be held by two buttons one of which is given here.
bool ApplyAssignments(const std::vector<std::string>& words, std::vector<int32_t>& codes, std::string& error);

// The key file's bytes: little-endian 32-bit count, then the codes.
std::string KeyFileBytes(const std::vector<int32_t>& codes);

}  // namespace keys
