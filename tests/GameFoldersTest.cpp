// Where the game finds its data and where it writes, and its command line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "MediaTestSupport.h"
#include "app/GameFolders.h"
#include "app/GameOptions.h"
#include "media/core/Log.h"

namespace {

namespace fs = std::filesystem;

// A scratch tree: an unpacked install (usr/games/anagura beside
// usr/share/games/anagura), a folder of data of its own, a bare folder, a home.
class GameFoldersTest : public ::testing::Test {
protected:
    GameFoldersTest() {
        root = folder.Path();
        install = root / "usr" / "share" / "games" / "anagura";
        for (const fs::path& data : {install, root / "mine"}) {
            fs::create_directories(data / "image");
            fs::create_directories(data / "Data");
            std::ofstream(data / "Data" / "KeyData.dat", std::ios::binary) << data.filename().string();
        }
        fs::create_directories(root / "usr" / "games");
        fs::create_directories(root / "bare");
        places.executable = (root / "usr" / "games" / "anagura").string();
        places.home = (root / "home").string();
    }

    testsupport::ScratchFolder folder;
    fs::path root, install;
    app::FolderPlaces places;
};

TEST_F(GameFoldersTest, DataIsTheOptionThenTheWorkingFolderThenTheInstallBesideTheProgram) {
    struct Case {
        const char* what;
        std::string option, working;
        fs::path data;
        bool found, installed;
    };
    const std::vector<Case> cases = {
        {"--data, relative to the working folder", "../mine", (root / "bare").string(), root / "mine", true, false},
        {"working folder with image/", "", (root / "mine").string(), root / "mine", true, false},
        {"install beside the program", "", (root / "bare").string(), install, true, true},
    };
    for (const Case& c : cases) {
        places.dataOption = c.option;
        places.workingFolder = c.working;
        const app::GameFolders f = app::FindDataFolder(places);
        EXPECT_EQ(f.data, c.data.string()) << c.what;
        EXPECT_EQ(f.found, c.found) << c.what;
        EXPECT_EQ(f.installed, c.installed) << c.what;
    }
    // Nothing anywhere: the working folder stands in, and says so.
    places.dataOption.clear();
    places.workingFolder = (root / "bare").string();
    places.executable = (root / "elsewhere" / "anagura").string();
    const app::GameFolders none = app::FindDataFolder(places);
    EXPECT_EQ(none.data, places.workingFolder);
    EXPECT_FALSE(none.found);
}

TEST_F(GameFoldersTest, TheInstallWritesInThePlayersFolderWithACopyOfTheDefaultKeys) {
    app::GameFolders mine{(root / "mine").string(), true, false, ""};
    app::ChoosePlayerFolder(places, mine);
    EXPECT_EQ(mine.player, mine.data);  // writable and not installed: as today
    EXPECT_EQ(app::PlayerKeyFile(mine), "Data/KeyData.dat");

    places.xdgDataHome = "relative/is/ignored";
    app::GameFolders installed{install.string(), true, true, ""};
    app::ChoosePlayerFolder(places, installed);
    EXPECT_EQ(installed.player, (root / "home" / ".local" / "share" / "anagura").string());
    places.xdgDataHome = (root / "xdg").string();
    app::ChoosePlayerFolder(places, installed);
    EXPECT_EQ(installed.player, (root / "xdg" / "anagura").string());
    std::ofstream(root / "mine" / ".no-player-files") << "a source's data folder, kept as it is\n";
    app::ChoosePlayerFolder(places, mine);
    EXPECT_EQ(mine.player, installed.player);

    // A start from the bare folder: the install is entered, the player folder made.
    places.workingFolder = (root / "bare").string();
    app::GameFolders entered;
    std::string error;
    ASSERT_TRUE(app::EnterGameFolders(places, entered, error)) << error;
    EXPECT_EQ(fs::current_path(), install);
    const fs::path ownKeys = root / "xdg" / "anagura" / "Data" / "KeyData.dat";
    EXPECT_EQ(app::PlayerKeyFile(entered), ownKeys.string());
    EXPECT_EQ(testsupport::ReadFile(ownKeys.string()), "anagura");
    // The player's own keys are kept at the next start.
    std::ofstream(ownKeys, std::ios::binary) << "changed";
    ASSERT_TRUE(app::EnterGameFolders(places, entered, error));
    EXPECT_EQ(testsupport::ReadFile(ownKeys.string()), "changed");
    media::SetLogFolder("");

    places.dataOption = (root / "no-such-folder").string();
    EXPECT_FALSE(app::EnterGameFolders(places, entered, error));
    EXPECT_NE(error.find("no-such-folder"), std::string::npos);
}

// A relative HOME names a folder from where the game was started, not from
// the data folder it then works in: the player's files stay out of a data
// folder that takes none.
TEST_F(GameFoldersTest, ARelativeHomeIsTakenFromTheStartingFolder) {
    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    fs::current_path(root / "bare");
    setenv("HOME", "player", 1);
    app::FolderPlaces here = app::CurrentFolderPlaces("../mine");
    setenv("HOME", savedHome.c_str(), 1);
    EXPECT_EQ(here.home, (root / "bare" / "player").string());

    std::ofstream(root / "mine" / ".no-player-files") << "kept as it is\n";
    here.xdgDataHome.clear();
    app::GameFolders entered;
    std::string error;
    ASSERT_TRUE(app::EnterGameFolders(here, entered, error)) << error;
    media::SetLogFolder("");
    EXPECT_EQ(entered.player, (root / "bare" / "player" / ".local" / "share" / "anagura").string());
    EXPECT_TRUE(fs::exists(root / "bare" / "player" / ".local" / "share" / "anagura" / "Data" / "KeyData.dat"));
    EXPECT_FALSE(fs::exists(root / "mine" / "player"));
}

bool Parse(const std::vector<const char*>& args, app::GameOptions& options) {
    std::vector<char*> argv{const_cast<char*>("anagura")};
    for (const char* a : args) argv.push_back(const_cast<char*>(a));
    std::string error;
    const bool ok = app::ParseGameOptions(static_cast<int>(argv.size()), argv.data(), options, error);
    EXPECT_EQ(error.empty(), ok);
    return ok;
}

TEST(GameOptionsTest, OptionsAreTakenAndAnythingElseRefused) {
    struct Case {
        std::vector<const char*> args;
        bool ok;
        std::string data;
        bool help;
        uint64_t traceEvery = 1;
    };
    const std::vector<Case> cases = {
        {{}, true, "", false},
        {{"--data", "some/where"}, true, "some/where", false},
        {{"-h"}, true, "", true},
        {{"--data"}, false, "", false},
        {{"--data", ""}, false, "", false},
        {{"--zoom", "2"}, false, "", false},
        {{"data"}, false, "", false},
        // Player settings take whole numbers in range only.
        {{"--scale", "8"}, true, "", false},
        {{"--scale", "0"}, false, "", false},
        {{"--scale", "9"}, false, "", false},
        {{"--scale", "2.5"}, false, "", false},
        {{"--music-volume", "100"}, true, "", false},
        {{"--effect-volume", "-1"}, false, "", false},
        {{"--trace-every", "25", "--record", "r", "--trace", "t", "--calls", "c"}, true, "", false, 25},
        {{"--trace-every", "0"}, false, "", false},
        {{"--trace-every", "-3"}, false, "", false},
        {{"--trace-every", "3x"}, false, "", false},
        {{"--trace-every", "18446744073709551615"}, true, "", false, 18446744073709551615u},
        {{"--trace-every", "18446744073709551616"}, false, "", false},  // one more than 64 bits hold
        {{"--record", ""}, false, "", false},
    };
    for (const Case& c : cases) {
        app::GameOptions options;
        EXPECT_EQ(Parse(c.args, options), c.ok) << (c.args.empty() ? "" : c.args[0]);
        if (!c.ok) continue;
        EXPECT_EQ(options.dataDir, c.data);
        EXPECT_EQ(options.help, c.help);
        EXPECT_EQ(options.traceEvery, c.traceEvery);
        if (c.traceEvery == 25) {
            EXPECT_EQ(options.recordFile + options.traceFile + options.callsFile, "rtc");
        }
    }
    app::GameOptions options;
    ASSERT_TRUE(Parse({"--fullscreen", "--window", "--effect-volume", "30", "--scale", "3"}, options));
    EXPECT_EQ(options.player.fullscreen, false);  // the later one wins
    EXPECT_EQ(options.player.effectVolume, 30);
    EXPECT_EQ(options.player.scale, 3);
}

}  // namespace
