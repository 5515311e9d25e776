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
    explicit SettingsFile(std::string path) : m_path(std::move(path)) {}
    const std::string& Path() const { return m_path; }

    // Reads the file (ReadSmallFile: a plain file of at most kSettingsFileCap
    // bytes). A missing file gives no settings and says nothing; an
    // unreadable one, an unknown name or a bad value is logged (and told on
    // stderr) and skipped, never fatal.
    PlayerSettings Load();
    // Sets `name` to `value` in the file as it is now, keeping every other line
    // (also lines written into it while the game runs). Written through
    // WriteFileAtomically, so the file is always whole, a link stays a link
    // and the file keeps its mode. False (logged once) when it cannot be read or written.
    bool Save(std::string_view name, std::string_view value);

private:
    // The file's text into m_text; true also when there is no file (no text).
    bool Read(std::string& problem);

    std::string m_path;
    std::string m_text;
    bool m_unreadable = false;
};

// The settings `text` gives; a message per kind of line that gives none, naming
// its first line and how many more there are, at most 100 and then their count.
PlayerSettings ParseSettings(std::string_view text, std::vector<std::string>& problems);
// `text` with the value of its last `name` line replaced by `value`, or with
// "name = value" added at the end when no line gives it.
std::string WithSetting(std::string_view text, std::string_view name, std::string_view value);

}  // namespace app
