#include "keys/KeyEdit.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "app/KeyNames.h"
#include "app/StartKeys.h"
#include "app/WindowKeys.h"

namespace keys {

const Button kButtons[6] = {{"up", 0}, {"down", 1}, {"left", 3}, {"right", 2}, {"decide", 4}, {"cancel", 5}};

namespace {

const Button* FindButton(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    for (const Button& button : kButtons)
        if (name == button.name) return &button;
    return nullptr;
}

const char* ButtonName(size_t index) {
    for (const Button& button : kButtons)
        if (static_cast<size_t>(button.index) == index) return button.name;
    return "?";
}

}  // namespace

std::string DescribeCode(int32_t code) {
    if (const char* name = app::KeyName(code)) {
        const char* use = app::WindowKeyUse(code);
        return use ? std::string(name) + " (never pressed: it " + use + ")" : name;
    }
    std::string text = "code " + std::to_string(code);
    if (code < 1 || code > 255) text += " (never pressed)";
    return text;
}

bool ApplyAssignments(const std::vector<std::string>& words, std::vector<int32_t>& codes, std::string& error) {
    std::vector<int32_t> result = codes;
    for (size_t i = result.size(); i < std::size(app::kDefaultKeyCodes); ++i)
        result.push_back(app::kDefaultKeyCodes[i]);
    std::vector<bool> given(result.size(), false);
    for (const std::string& word : words) {
        const size_t equals = word.find('=');
        if (equals == std::string::npos) {
            error = "\"" + word + "\" is not button=key";
            return false;
        }
        const std::string buttonName = word.substr(0, equals), keyName = word.substr(equals + 1);
        const Button* button = FindButton(buttonName);
        if (!button) {
            error = "unknown button \"" + buttonName + "\" (the buttons: up, down, left, right, decide, cancel)";
            return false;
        }
        const std::optional<int> code = app::KeyCodeByName(keyName);
        if (!code) {
            error = "unknown key \"" + keyName + "\" for " + button->name;
            return false;
        }
        if (const char* use = app::WindowKeyUse(*code)) {
            error = std::string(app::KeyName(*code)) + " " + use + ": it cannot be given to " + button->name;
            return false;
        }
        if (given[button->index]) {
            error = std::string(button->name) + " is given twice";
            return false;
        }
        given[button->index] = true;
        result[button->index] = *code;
    }
    const size_t buttons = std::size(kButtons);  // codes beyond them are no button
    for (size_t a = 0; a < buttons; ++a)
        for (size_t b = a + 1; b < buttons; ++b)
            if ((given[a] || given[b]) && result[a] == result[b]) {
                error = "the key " + DescribeCode(result[a]) + " would be both " + ButtonName(a) + " and " +
                        ButtonName(b);
                return false;
            }
    codes = std::move(result);
    return true;
}

std::string KeyFileBytes(const std::vector<int32_t>& codes) {
    std::string bytes;
    auto put = [&](int32_t value) {
        const auto v = static_cast<uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((v >> shift) & 0xFF);
    };
    put(static_cast<int32_t>(codes.size()));
    for (int32_t code : codes) put(code);
    return bytes;
}

}  // namespace keys
