// Unsigned whole numbers given on a command line: decimal digits and nothing
// else, within the type (a number too large for it is refused, never cut).
#pragma once

#include <charconv>
#include <string_view>

namespace app {

template <typename T>
bool ParseUnsigned(std::string_view text, T& value) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    T parsed{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (ec != std::errc() || end != text.data() + text.size()) return false;
    value = parsed;
    return true;
}

}  // namespace app
