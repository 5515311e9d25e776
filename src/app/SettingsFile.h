// The player's settings file, settings.ini: one "name = value" a line (names in
// PlayerSettings.h); blank lines, comment lines (# or ;) and section lines
// ([...]) are skipped; when a name comes twice the later line wins.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/PlayerSettings.h"

namespace app {

class SettingsFile {
public:
    explicit SettingsFile(std::string path) : path_(std::move(path)) {}
    const std::string& Path() const { return path_; }

    // Reads the file. A missing file gives no settings and says nothing; an
    // unreadable one, an unknown name or a bad value is logged (and told on
    // stderr) and skipped, never fatal.
    PlayerSettings Load();
    // Sets `name` to `value` in the file, keeping every other line as last read
    // or written. Written to a temporary file that is then renamed over the
    // old one, so the file is always whole. False (logged) when it cannot be
    // written; also, without a word, after a Load that could not read it.
    bool Save(std::string_view name, std::string_view value);

private:
    std::string path_;
    std::string text_;
    bool unreadable_ = false;
};

// The settings `text` gives; one message per line that gives none, naming the line.
PlayerSettings ParseSettings(std::string_view text, std::vector<std::string>& problems);
// `text` with the value of its last `name` line replaced by `value`, or with
// "name = value" added at the end when no line gives it.
std::string WithSetting(std::string_view text, std::string_view name, std::string_view value);

}  // namespace app
