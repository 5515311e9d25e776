// Bytes read from a file, made safe to show in a message on the terminal or in
// the log: control bytes (a NUL cuts a message short, ESC and BEL drive the
// terminal) are shown as '?'.
#pragma once

#include <string>
#include <string_view>

namespace app {

std::string SafeText(std::string_view text);

}  // namespace app
