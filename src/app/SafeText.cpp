#include "app/SafeText.h"

namespace app {

std::string SafeText(std::string_view text) {
    std::string safe(text);
    for (char& c : safe)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    return safe;
}

}  // namespace app
