// Reading a replay input script (InputScript.h) from its file (ReadSmallFile: a plain file of at
// most kRecordedGameCap bytes), with its recorded-game lines.
#pragma once

#include <string>

#include "app/RecordedGame.h"
#include "app/InputScript.h"

namespace app {

// Reads the script at `path` and, when it is a recorded game, its recorded-game
// lines; a recorded game's last line without its line end is dropped (it was
// cut short). False with the reason in `error`, bytes of the file made safe.
bool ReadInputScript(const std::string& path, InputScript& script, RecordedGame& recorded, std::string& error);

}  // namespace app
