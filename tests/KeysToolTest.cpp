// anagura-keys as a program: it changes the key file the game reads, atomically,
// refuses bad changes leaving the file alone, and writes the player's own copy
// when the game is installed. The key names' scan codes.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CannotRun.h"
#include "MediaTestSupport.h"
#include "app/KeyNames.h"

namespace {

namespace fs = std::filesystem;

const std::vector<int32_t> kDefaults = {200, 208, 205, 203, 44, 45};

fs::path ToolPath() {
    if (const char* dir = std::getenv("ANAGURA_BUILD_DIR")) return fs::path(dir) / "anagura-keys";
    return fs::read_symlink("/proc/self/exe").parent_path() / "anagura-keys";
}

void WriteCodes(const fs::path& file, const std::vector<int32_t>& codes) {
    fs::create_directories(file.parent_path());
    const int32_t count = static_cast<int32_t>(codes.size());
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&count), 4);
    out.write(reinterpret_cast<const char*>(codes.data()), static_cast<std::streamsize>(4 * codes.size()));
}

std::vector<int32_t> ReadCodes(const fs::path& file) {
    const std::string bytes = testsupport::ReadFile(file.string());
    std::vector<int32_t> codes(bytes.size() / 4);
    std::memcpy(codes.data(), bytes.data(), 4 * codes.size());
    if (codes.empty() || codes[0] != static_cast<int32_t>(codes.size()) - 1) return {-999};
    return {codes.begin() + 1, codes.end()};
}

class KeysTool : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(ToolPath()))
            return testsupport::CannotRun("anagura-keys not built at " + ToolPath().string());
        root_ = folder_.Path();
    }
    // Runs `tool` with `args` in `cwd`; keeps its output and error output.
    int Run(const fs::path& tool, const std::string& args, const fs::path& cwd, const std::string& env = "") {
        const std::string cmd = "cd '" + cwd.string() + "' && " + env + " '" + tool.string() + "' " + args + " >'" +
                                (root_ / "out.txt").string() + "' 2>'" + (root_ / "err.txt").string() + "'";
        const int rc = std::system(cmd.c_str());
        out_ = testsupport::ReadFile((root_ / "out.txt").string());
        err_ = testsupport::ReadFile((root_ / "err.txt").string());
        return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    }
    testsupport::ScratchFolder folder_;
    fs::path root_;
    std::string out_, err_;
};

TEST_F(KeysTool, SetShowAndResetTheKeyFileAndRefuseBadChangesLeavingItAlone) {
    const fs::path file = root_ / "data" / "Data" / "KeyData.dat";
    fs::create_directories(root_ / "data" / "image");
    WriteCodes(file, kDefaults);

    ASSERT_EQ(Run(ToolPath(), "--data data set up=w down=S left=a right=D decide=Return cancel=BackSpace", root_), 0)
        << err_;
    const std::vector<int32_t> wasd = {17, 31, 32, 30, 28, 14};  // file order: up down right left decide cancel
    EXPECT_EQ(ReadCodes(file), wasd);
    ASSERT_EQ(Run(ToolPath(), "--data data show", root_), 0) << err_;
    EXPECT_NE(out_.find("Key file: " + file.string() + "\n"), std::string::npos) << out_;
    EXPECT_NE(out_.find("decide  Return\n"), std::string::npos) << out_;
    EXPECT_NE(out_.find("left    A\n"), std::string::npos) << out_;

    const struct {
        const char* args;
        const char* named;
    } refused[] = {
        {"set up=Foo", "Foo"},
        {"set jump=Z", "jump"},
        {"set up=Z UP=X", "up"},
        {"set left=W", "W"},
        {"set cancel=Esc", "Escape"},
        {"set up", "up"},
        {"set", "set"},
        {"frobnicate", "frobnicate"},
        {"show extra", "extra"},
        // The window's own keys never reach the game as a button.
        {"set decide=F1", "F1 opens the help"},
        {"set cancel=f2", "F2"},
        {"set up=F11", "F11"},
        {"set decide=F12", "F12"},
        {"set down=Tab", "Tab"},
    };
    for (const auto& r : refused) {
        EXPECT_NE(Run(ToolPath(), std::string("--data data ") + r.args, root_), 0) << r.args;
        EXPECT_NE(err_.find(r.named), std::string::npos) << r.args << ": " << err_;
        EXPECT_EQ(ReadCodes(file), wasd) << r.args;
    }

    // A file made otherwise shows which buttons can never be pressed.
    WriteCodes(file, {200, 0, 205, 59, 44});
    ASSERT_EQ(Run(ToolPath(), "--data data show", root_), 0) << err_;
    for (const char* line : {"down    code 0 (never pressed)\n", "left    F1 (never pressed: it opens the help)\n",
                             "cancel  none (the file holds 5 codes)\n"})
        EXPECT_NE(out_.find(line), std::string::npos) << out_;

    ASSERT_EQ(Run(ToolPath(), "--data data reset", root_), 0) << err_;
    EXPECT_EQ(ReadCodes(file), kDefaults);
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(file.parent_path())) left.push_back(entry.path().filename());
    EXPECT_EQ(left, std::vector<std::string>{"KeyData.dat"});
}

TEST_F(KeysTool, AnInstalledGameKeepsItsKeyFileAndThePlayersCopyIsChanged) {
    const fs::path tool = root_ / "usr" / "games" / "anagura-keys";
    const fs::path installed = root_ / "usr" / "share" / "games" / "anagura";
    fs::create_directories(tool.parent_path());
    fs::copy_file(ToolPath(), tool);
    fs::create_directories(installed / "image");
    WriteCodes(installed / "Data" / "KeyData.dat", kDefaults);
    fs::create_directories(root_ / "elsewhere");
    const std::string env = "XDG_DATA_HOME='" + (root_ / "xdg").string() + "'";
    const fs::path own = root_ / "xdg" / "anagura" / "Data" / "KeyData.dat";

    ASSERT_EQ(Run(tool, "show", root_ / "elsewhere", env), 0) << err_;
    EXPECT_NE(out_.find("Key file: " + (installed / "Data" / "KeyData.dat").string()), std::string::npos) << out_;
    ASSERT_EQ(Run(tool, "set decide=Return", root_ / "elsewhere", env), 0) << err_;
    EXPECT_EQ(ReadCodes(own), (std::vector<int32_t>{200, 208, 205, 203, 28, 45}));
    EXPECT_EQ(ReadCodes(installed / "Data" / "KeyData.dat"), kDefaults);
    ASSERT_EQ(Run(tool, "show", root_ / "elsewhere", env), 0) << err_;
    EXPECT_NE(out_.find("Key file: " + own.string() + "\n"), std::string::npos) << out_;
    EXPECT_NE(out_.find("decide  Return"), std::string::npos) << out_;
}

TEST(KeyNames, NamesGiveTheirScanCodesWhateverTheCase) {
    const std::pair<const char*, int> named[] = {
        {"return", 28}, {"ENTER", 28}, {"space", 57},  {"backspace", 14}, {"Tab", 15},        {"up", 200},
        {"Down", 208},  {"left", 203}, {"RIGHT", 205}, {"f1", 59},        {"F10", 68},        {"f11", 87},
        {"F12", 88},    {"kp_0", 82},  {"KP_7", 71},   {"KP_Enter", 156}, {"kp_divide", 181}, {"LShift", 42},
        {"rshift", 54}, {"lctrl", 29}, {"RCtrl", 157}, {"lalt", 56},      {"RAlt", 184},      {"a", 30},
        {"Z", 44},      {"0", 11},     {"1", 2},       {"m", 50},         {"p", 25},          {"l", 38},
    };
    for (const auto& [name, code] : named) EXPECT_EQ(app::KeyCodeByName(name), code) << name;
    for (int code = 0; code < 256; ++code) {
        if (const char* name = app::KeyName(code)) {
            EXPECT_EQ(app::KeyCodeByName(name), code) << name;
        }
    }
    for (const char* unknown : {"", "F13", "Up ", "Retur", "KP_"})
        EXPECT_FALSE(app::KeyCodeByName(unknown)) << unknown;
}

}  // namespace
