// The player's settings: the file, the command line over it, and the file kept
// up to date when the player changes the window.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "MediaTestSupport.h"
#include "app/PlayerStart.h"
#include "app/SettingsFile.h"
#include "media/core/PlayerPrefs.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

TEST(SettingsText, GivesWhatItCanAndNamesEachLineItCannotUse) {
    std::vector<std::string> problems;
    const app::PlayerSettings s = app::ParseSettings(
        "# comment\n[anagura]\n  scale = 3 \r\nfullscreen=1\nmusic_volume = 50\nmusic_volume = 70\n"
        "effect_volume = 101\nmute = yes\nscale = 3x\nzoom = 2\njust text\n\neffect_volume = 0\nz\x1b[2J\0m = 1\n"
        "language = en\nlanguage = fr\nnotices = 0"s,
        problems);
    EXPECT_EQ(s.scale, 3);
    EXPECT_EQ(s.fullscreen, true);
    EXPECT_EQ(s.musicVolume, 70);  // the later line wins
    EXPECT_EQ(s.effectVolume, 0);
    EXPECT_FALSE(s.mute.has_value());
    EXPECT_EQ(s.english, true);
    EXPECT_EQ(s.notices, false);
    ASSERT_EQ(problems.size(), 7u);
    EXPECT_EQ(problems[0], "line 7: bad value \"101\" for effect_volume (0 to 100), ignored");
    EXPECT_EQ(problems[1], "line 8: bad value \"yes\" for mute (0 to 1), ignored");
    EXPECT_EQ(problems[2], "line 9: bad value \"3x\" for scale (1 to 8), ignored");
    EXPECT_EQ(problems[3], "line 10: unknown setting \"zoom\", ignored");
    EXPECT_EQ(problems[4], "line 11: not \"name = value\", ignored");
    EXPECT_EQ(problems[5], "line 14: unknown setting \"z?[2J?m\", ignored");  // no terminal control, no cut
    EXPECT_EQ(problems[6], "line 16: bad value \"fr\" for language (ja or en), ignored");
}

TEST(SettingsText, ASettingIsRewrittenInPlaceAndEverythingElseKept) {
    EXPECT_EQ(app::WithSetting("", "scale", "4"), "scale = 4\n");
    EXPECT_EQ(app::WithSetting("# mine\nmute = 1", "scale", "4"), "# mine\nmute = 1\nscale = 4\n");
    EXPECT_EQ(app::WithSetting("scale = 2\n# scale = 9\nzoom = 1\n scale=3 \nmute = 0\n", "scale", "5"),
              "scale = 2\n# scale = 9\nzoom = 1\nscale = 5\nmute = 0\n");
}

// Some editors begin a UTF-8 file with a byte-order mark: the first line is
// read as any other, and rewritten in place with the mark kept.
TEST(SettingsText, AByteOrderMarkDoesNotHideTheFirstLine) {
    const std::string marked =
        "\xEF\xBB\xBF"
        "fullscreen = 1\nscale = 2\n";
    std::vector<std::string> problems;
    EXPECT_EQ(app::ParseSettings(marked, problems).fullscreen, true);
    EXPECT_TRUE(problems.empty()) << problems[0];
    EXPECT_EQ(app::WithSetting(marked, "fullscreen", "0"),
              "\xEF\xBB\xBF"
              "fullscreen = 0\nscale = 2\n");
}

class SettingsFolderTest : public ::testing::Test {
protected:
    void TearDown() override {
        media::SetPlayerPrefs({});
        media::SetPlayerDisplayListener({});
    }
    std::string SettingsPath() const { return (folder.Path() / "config" / "settings.ini").string(); }
    testsupport::ScratchFolder folder;
};

TEST_F(SettingsFolderTest, CommandLineWinsAndWindowChangesAreWrittenWholeKeepingTheRest) {
    fs::create_directories(folder.Path() / "config");
    std::ofstream(SettingsPath()) << "# my settings\nscale = 3\nfullscreen = 1\nmusic_volume = 40\nzoom = 2\n";
    app::PlayerSettings commandLine;
    commandLine.scale = 5;
    commandLine.mute = true;
    app::StartPlayerSettings(commandLine, (folder.Path() / "config").string(), "/player");

    const media::PlayerPrefs& prefs = media::CurrentPlayerPrefs();
    EXPECT_EQ(prefs.scale, 5);
    EXPECT_EQ(prefs.fullscreen, true);
    EXPECT_EQ(prefs.musicVolume, 40);
    EXPECT_EQ(prefs.effectVolume, 100);
    EXPECT_TRUE(prefs.mute);
    EXPECT_EQ(prefs.screenshotFolder, "/player/screenshots");
    EXPECT_EQ(prefs.padMappingFile, (folder.Path() / "config" / "gamecontrollerdb.txt").string());
    EXPECT_EQ(media::PlayerWindowScale(2.0), 5.0);
    EXPECT_FALSE(media::PlayerWindowed(true));

    // What the player changes in play is written; what the command line said is not.
    media::NotePlayerFullscreen(false);
    EXPECT_EQ(testsupport::ReadFile(SettingsPath()),
              "# my settings\nscale = 3\nfullscreen = 0\nmusic_volume = 40\nzoom = 2\n");
    media::NotePlayerScale(4);
    EXPECT_EQ(testsupport::ReadFile(SettingsPath()),
              "# my settings\nscale = 4\nfullscreen = 0\nmusic_volume = 40\nzoom = 2\n");
    EXPECT_FALSE(fs::exists(SettingsPath() + ".tmp"));
}

TEST_F(SettingsFolderTest, NoFileMeansTheGamesOwnWindowAndTheFirstChangeMakesTheFile) {
    app::StartPlayerSettings({}, (folder.Path() / "config").string(), "/player");
    EXPECT_EQ(media::PlayerWindowScale(2.0), 2.0);
    EXPECT_TRUE(media::PlayerWindowed(true));
    EXPECT_EQ(media::PlayerVolumeGain(3), 1.0f);
    media::NotePlayerFullscreen(true);
    EXPECT_EQ(testsupport::ReadFile(SettingsPath()), "fullscreen = 1\n");
}

TEST_F(SettingsFolderTest, AFileThatCannotBeReadIsNeverOverwritten) {
    fs::create_directories(SettingsPath());  // a folder where the file should be
    app::SettingsFile file(SettingsPath());
    file.Load();
    EXPECT_FALSE(file.Save("scale", "2"));
    EXPECT_TRUE(fs::is_directory(SettingsPath()));
}

}  // namespace
