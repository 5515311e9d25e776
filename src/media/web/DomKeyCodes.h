// The browser's key codes (KeyboardEvent.code: "KeyA", "ArrowUp", ...), which
// name a key by its place on the board, as USB keyboard usages.
#pragma once

namespace media {

// The USB usage of the key the browser calls `code`; 0 for a name it does not know.
int UsageOfDomCode(const char* code);

}  // namespace media
