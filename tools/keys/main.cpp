// anagura-keys: shows and changes which keys are the game's six buttons, in
// the key file the game reads. Exit status 0 done, 1 the key file could not be
// written, 2 a bad command line or a refused change (the file is left as it was).
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "app/AtomicFile.h"
#include "app/GameFolders.h"
#include "app/KeyConfigFile.h"
#include "app/StartKeys.h"
#include "keys/KeyEdit.h"

namespace {

namespace fs = std::filesystem;

const char kUsage[] =
    "usage: anagura-keys [--data DIR] show\n"
    "       anagura-keys [--data DIR] set BUTTON=KEY...\n"
    "       anagura-keys [--data DIR] reset\n"
    "Shows or changes the keys of the game's buttons: up, down, left, right, decide, cancel.\n"
    "  show   the key of each button, and the key file read\n"
    "  set    gives buttons new keys, e.g. set up=W down=S left=A right=D decide=Return cancel=BackSpace\n"
    "  reset  the default keys: arrows, Z (decide), X (cancel)\n"
    "  --data DIR  the game's data folder (as the game's --data); without it, the one the game would use\n"
    "Key names (case does not matter): A-Z, 0-9, Return, Space, BackSpace, Tab, Up, Down, Left, Right,\n"
    "F1-F12, KP_0-KP_9, KP_Enter, KP_Add, KP_Subtract, KP_Multiply, KP_Divide, KP_Decimal,\n"
    "LShift, RShift, LCtrl, RCtrl, LAlt, RAlt, Insert, Delete, Home, End, PageUp, PageDown,\n"
    "Minus, Equals, Comma, Period, Slash, Semicolon, Apostrophe, Grave, Backslash, LeftBracket, RightBracket.\n"
    "Escape, F1, F2, F11, F12 and Tab are the window's own keys: they cannot be given to a button.\n";

int Fail(const std::string& message, int status) {
    std::fprintf(stderr, "anagura-keys: %s\n", message.c_str());
    return status;
}

struct Command {
    std::string dataDir;
    std::string verb;
    std::vector<std::string> words;
    bool help = false;
};

bool ParseCommand(int argc, char** argv, Command& command, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (command.verb.empty() && (word == "--help" || word == "-h")) {
            command.help = true;
        } else if (command.verb.empty() && word == "--data") {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                error = "--data needs a folder";
                return false;
            }
            command.dataDir = argv[++i];
        } else if (command.verb.empty()) {
            command.verb = word;
        } else {
            command.words.push_back(word);
        }
    }
    if (command.help) return true;
    if (command.verb != "show" && command.verb != "set" && command.verb != "reset") {
        error = command.verb.empty() ? "no command given" : "unknown command \"" + command.verb + "\"";
        return false;
    }
    if (command.verb == "set" && command.words.empty()) {
        error = "set needs at least one BUTTON=KEY";
        return false;
    }
    if (command.verb != "set" && !command.words.empty()) {
        error = command.verb + " takes nothing more, got \"" + command.words[0] + "\"";
        return false;
    }
    return true;
}

// The key files of the folders the game would use: the one it reads and the
// player's own, which changes are written to.
struct KeyFiles {
    std::string read;
    std::string write;
    bool dataFound = true;
};

bool FindKeyFiles(const std::string& dataDir, KeyFiles& files, std::string& error) {
    const app::FolderPlaces places = app::CurrentFolderPlaces(dataDir);
    app::GameFolders folders = app::FindDataFolder(places);
    std::error_code ec;
    if (!fs::is_directory(folders.data, ec)) {
        error = "cannot find the data folder \"" + folders.data + "\"";
        return false;
    }
    app::ChoosePlayerFolder(places, folders);
    files.read = (fs::path(folders.data) / app::PlayerKeyFile(folders)).lexically_normal().string();
    files.write = (fs::path(folders.player) / "Data" / "KeyData.dat").lexically_normal().string();
    files.dataFound = folders.found;
    return true;
}

// The codes the game would start with from `path`: the file's, or the defaults.
// `report`: says which on stdout; otherwise a file there that cannot be used is said on stderr.
std::vector<int32_t> ReadCodes(const std::string& path, bool report) {
    KeyConfig config;
    std::string problem;
    if (LoadKeyConfigFrom(config, path, &problem) == 0) {
        if (report) std::printf("Key file: %s\n", path.c_str());
        return config.keys;
    }
    std::error_code ec;
    if (report) std::printf("Key file: %s %s: the game uses the default keys\n", path.c_str(), problem.c_str());
    else if (fs::symlink_status(path, ec).type() != fs::file_type::not_found)
        std::fprintf(stderr, "anagura-keys: key file %s %s: the change starts from the default keys\n", path.c_str(),
                     problem.c_str());
    return {std::begin(app::kDefaultKeyCodes), std::end(app::kDefaultKeyCodes)};
}

void ShowButtons(const std::vector<int32_t>& codes) {
    for (const keys::Button& button : keys::kButtons) {
        const size_t index = static_cast<size_t>(button.index);
        const std::string key = index < codes.size()
                                    ? keys::DescribeCode(codes[index])
                                    : "none (the file holds " + std::to_string(codes.size()) + " codes)";
        std::printf("  %-7s %s\n", button.name, key.c_str());
    }
}

const char kNoDataFolder[] = "no data folder found (no image/ here nor in the install beside the program)";

int Write(const KeyFiles& files, const std::vector<int32_t>& codes) {
    if (!files.dataFound) return Fail(std::string(kNoDataFolder) + ": give --data DIR", 2);
    std::error_code ec;
    fs::create_directories(fs::path(files.write).parent_path(), ec);
    std::string error;
    if (!app::WriteFileAtomically(files.write, keys::KeyFileBytes(codes), error)) return Fail(error, 1);
    std::printf("Key file: %s written\n", files.write.c_str());
    ShowButtons(codes);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Command command;
    std::string error;
    if (!ParseCommand(argc, argv, command, error)) return Fail(error + "\n" + kUsage, 2);
    if (command.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    KeyFiles files;
    if (!FindKeyFiles(command.dataDir, files, error)) return Fail(error, 2);

    if (command.verb == "show") {
        if (!files.dataFound) std::fprintf(stderr, "anagura-keys: %s: the working folder is shown\n", kNoDataFolder);
        ShowButtons(ReadCodes(files.read, true));
        return 0;
    }
    if (command.verb == "reset")
        return Write(files, {std::begin(app::kDefaultKeyCodes), std::end(app::kDefaultKeyCodes)});
    std::vector<int32_t> codes = ReadCodes(files.read, false);
    if (!keys::ApplyAssignments(command.words, codes, error)) return Fail(error + "; nothing was changed", 2);
    return Write(files, codes);
}
