#include "app/InputScriptFile.h"


#include "app/SafeText.h"
#include "media/core/SmallFile.h"

namespace app {

bool ReadInputScript(const std::string& path, InputScript& script, RecordedGame& recorded, std::string& error) {
    std::string bytes, problem;
    if (!media::ReadSmallFile(path, media::kRecordedGameCap, bytes, problem)) {
        error = "the input script \"" + path + "\" " + problem;
        return false;
    }
    if (!ParseRecordedGame(bytes, recorded, error)) {
        error = path + ": " + error + "; nothing was run";
        return false;
    }
    if (recorded.recorded && WholeLines(bytes).size() < bytes.size()) {
        bytes.resize(WholeLines(bytes).size());
        if (!ParseRecordedGame(bytes, recorded, error)) return false;  // fewer lines: cannot fail
    }
    ScriptError scriptError;
    if (!script.Parse(bytes, scriptError)) {
        error = path + ": " + (scriptError.line ? "line " + std::to_string(scriptError.line) + ": " : std::string()) +
                SafeText(scriptError.message) + "; nothing was run";
        return false;
    }
    return true;
}

}  // namespace app
