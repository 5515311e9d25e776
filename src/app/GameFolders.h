// Where the game's files are. The data folder holds image/, sound/, Data/ and
// fonts/ and becomes the working folder; the player folder holds what the game
// writes: Log.txt, the player's own Data/KeyData.dat and screenshots.
//
// The data folder is, in this order: --data DIR; the working folder when it
// holds image/; the install beside the program (../share/games/anagura from the
// folder of the executable) when it holds image/; else the working folder.
// The player folder is the data folder itself when that is writable, not the
// install and holds no file ".no-player-files" (the source's assets/ holds one,
// so that a run from a checkout changes nothing in it); else
// $XDG_DATA_HOME/anagura (default ~/.local/share/anagura). Everything a run of
// the game or of its tools writes goes to the player folder.
#pragma once

#include <string>

namespace app {

// What the folders are found from; CurrentFolderPlaces fills it from the process.
struct FolderPlaces {
    std::string dataOption;     // --data, "" when not given
    std::string workingFolder;  // absolute
    std::string executable;     // the program's own file, absolute
    std::string xdgDataHome;    // $XDG_DATA_HOME, "" when unset
    std::string xdgConfigHome;  // $XDG_CONFIG_HOME, "" when unset
    std::string home;           // the user's home folder
};

struct GameFolders {
    std::string data;        // absolute
    bool found = true;       // false: no folder holds image/; the working folder stands in
    bool installed = false;  // the data folder is the install beside the program
    std::string player;      // absolute; equal to `data` when the game writes beside its data
};

FolderPlaces CurrentFolderPlaces(const std::string& dataOption);

// The data folder (and whether it is the install) as described above.
GameFolders FindDataFolder(const FolderPlaces& places);

// Fills `folders.player` for a data folder already found.
void ChoosePlayerFolder(const FolderPlaces& places, GameFolders& folders);

// The settings folder, which holds settings.ini and gamecontrollerdb.txt:
// $XDG_CONFIG_HOME/anagura, default ~/.config/anagura; "" without a home folder.
std::string SettingsFolder(const FolderPlaces& places);

// The player's data folder, which keeps the last game whatever the data folder:
// $XDG_DATA_HOME/anagura, default ~/.local/share/anagura; "" without a home folder.
std::string PlayerDataFolder(const FolderPlaces& places);

// The key file the game reads: "Data/KeyData.dat" of the working (data) folder
// when the player folder is the data folder or holds no key file of its own,
// else the player's own.
std::string PlayerKeyFile(const GameFolders& folders);

// Finds the folders, enters the data folder, makes the player folder with the
// installed Data/KeyData.dat copied into it on first start, and points the log
// there. False with a message in `error` when the data folder cannot be entered.
bool EnterGameFolders(const FolderPlaces& places, GameFolders& folders, std::string& error);

}  // namespace app
