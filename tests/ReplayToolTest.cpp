// The replay tool as a program: input-script errors, the trace's contract, repeatability.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "GameTestSupport.h"
#include "MiniJson.h"
#include "replay/PngFile.h"

namespace {

namespace fs = std::filesystem;

fs::path ToolPath() {
    if (const char* dir = std::getenv("ANAGURA_BUILD_DIR")) return fs::path(dir) / "anagura-replay";
    return fs::read_symlink("/proc/self/exe").parent_path() / "anagura-replay";
}

fs::path Assets() { return fs::path(ANAGURA_SOURCE_DIR) / "assets"; }

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

class ReplayTool : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/anagura-replay-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        if (!fs::exists(ToolPath())) GTEST_SKIP() << "anagura-replay not built at " << ToolPath();
        if (fs::exists(Assets() / "image") && fs::exists(Assets() / "Data" / "KeyData.dat")) {
            data_ = Assets();
        } else {
            // No assets: nothing to see or hear, but the keys still work.
            data_ = dir_ / "data";
            fs::create_directories(data_ / "Data");
            const int32_t keys[] = {6, 200, 208, 205, 203, 44, 45};
            std::ofstream(data_ / "Data" / "KeyData.dat", std::ios::binary)
                .write(reinterpret_cast<const char*>(keys), sizeof keys);
        }
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    fs::path Write(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name, std::ios::binary) << text;
        return dir_ / name;
    }
    // Runs the tool; returns its exit status and keeps its error output.
    int Run(const std::string& args) {
        const std::string cmd = Quote(ToolPath().string()) + " --data " + Quote(data_.string()) + " " + args +
                                " 2>" + Quote((dir_ / "stderr.txt").string()) + " >/dev/null";
        const int rc = std::system(cmd.c_str());
        stderr_ = ReadFile(dir_ / "stderr.txt");
        return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    }
    std::vector<minijson::Value> Trace(const fs::path& p) {
        std::vector<minijson::Value> lines;
        std::ifstream in(p);
        std::string line;
        while (std::getline(in, line)) lines.push_back(minijson::Parse(line));
        return lines;
    }
    std::string P(const std::string& name) { return Quote((dir_ / name).string()); }

    fs::path dir_;
    fs::path data_;
    std::string stderr_;
};

TEST_F(ReplayTool, MalformedScriptsAreRefusedWithTheirLineNumber) {
    const struct {
        const char* script;
        int line;
    } cases[] = {
        {"# keys\n\n5 44\nfive 44\n", 4},
        {"5 44\n5 45\n", 2},
        {"5 44\n4 45\n", 2},
        {"1 256\n", 1},
        {"1 0\n", 1},
        {"1 -3\n", 1},
        {"1 +3\n", 1},
        {"0 44\n", 1},
        {"\n\n   \n3 44 4x\n", 4},
        {"3 44,45\n", 1},
        {"99999999999999999999999 44\n", 1},
    };
    for (const auto& c : cases) {
        Write("bad.txt", c.script);
        fs::remove(dir_ / "t.jsonl");
        EXPECT_EQ(Run("--frames 5 --input " + P("bad.txt") + " --trace " + P("t.jsonl")), 2) << c.script;
        EXPECT_NE(stderr_.find("line " + std::to_string(c.line)), std::string::npos) << stderr_;
        EXPECT_FALSE(fs::exists(dir_ / "t.jsonl")) << "nothing may run: " << c.script;
    }
    EXPECT_EQ(Run("--frames 5 --input " + P("missing.txt")), 2);
    EXPECT_EQ(Run("--frames x"), 2);
    EXPECT_EQ(Run("--bogus 1"), 2);
    EXPECT_EQ(Run("--seed 4294967296"), 2);
    Write("good.txt", "# comment\n\n1\n2 44 200\n3\t44\r\n");
    EXPECT_EQ(Run("--frames 5 --input " + P("good.txt")), 0) << stderr_;
}

TEST_F(ReplayTool, TraceFollowsTheFramesAndTheSceneSwitch) {
    // Z from frame 40 to 44: the title takes it once it waits (state 1 after 29 frames).
    Write("in.txt", "40 44\n45\n");
    ASSERT_EQ(Run("--seed 5 --frames 200 --input " + P("in.txt") + " --trace " + P("t.jsonl")), 0) << stderr_;
    auto t = Trace(dir_ / "t.jsonl");
    ASSERT_EQ(t.size(), 200u);
    EXPECT_EQ(t[0]["frame"].I(), 1);
    EXPECT_EQ(t[0]["scene"].text, "title");
    EXPECT_EQ(t[0].Keys(), (std::vector<std::string>{"frame", "scene", "state", "pendingState", "fade", "music",
                                                     "visible"}));
    size_t firstGame = 0;
    for (size_t i = 0; i < t.size(); ++i) {
        EXPECT_EQ(t[i]["frame"].I(), static_cast<int64_t>(i + 1));
        if (!firstGame && t[i]["scene"].text == "game") firstGame = i;
    }
    ASSERT_GT(firstGame, 40u);
    const auto& g = t[firstGame];
    // Written after the switch: the new scene just after its Begin.
    EXPECT_EQ(g["state"].I(), 0);
    EXPECT_EQ(g["fade"][1].I(), 0);
    EXPECT_EQ(g["day"].I(), 1);
    EXPECT_EQ(g["food"].I(), 100);
    EXPECT_EQ(g["money"].I(), 100);
    EXPECT_EQ(g["units"].Size(), 4u);
    EXPECT_EQ(g["units"][0].Size(), 3u);
    EXPECT_EQ(g["units"][0][0].Size(), 9u);
    EXPECT_EQ(g["raider"].Size(), 9u);
    EXPECT_EQ(g["menus"][0].Size(), 3u);
    EXPECT_EQ(g["pages"].Size(), 3u);
    EXPECT_FALSE(g.Has("lines"));
    EXPECT_FALSE(g.Has("visible"));
    EXPECT_EQ(g.Keys(), (std::vector<std::string>{"frame", "scene", "state", "pendingState", "fade", "music",
                                                  "timer", "pressure", "choice", "food", "money", "traps", "day",
                                                  "levels", "orders", "units", "raider", "activeLine",
                                                  "raiderBeaten", "menus", "pages"}));
    EXPECT_EQ(t.back()["state"].I(), 1);  // the command menu by frame 200
    EXPECT_EQ(t.back()["music"].text, "sound/Normal1.mp3");

    // Every K-th frame and always the last one.
    ASSERT_EQ(Run("--seed 5 --frames 103 --trace-every 25 --input " + P("in.txt") + " --trace " + P("k.jsonl")), 0);
    auto k = Trace(dir_ / "k.jsonl");
    std::vector<int64_t> frames;
    for (auto& v : k) frames.push_back(v["frame"].I());
    EXPECT_EQ(frames, (std::vector<int64_t>{25, 50, 75, 100, 103}));
    // The same frame traced alone or with all the others reads the same.
    std::vector<std::string> all, some;
    std::istringstream a(ReadFile(dir_ / "t.jsonl")), b(ReadFile(dir_ / "k.jsonl"));
    for (std::string line; std::getline(a, line);) all.push_back(line);
    for (std::string line; std::getline(b, line);) some.push_back(line);
    ASSERT_EQ(some.size(), 5u);
    EXPECT_EQ(some[2], all[74]);
    EXPECT_EQ(some[4], all[102]);
}

TEST_F(ReplayTool, EscapeEndsTheRunAndTheLastFrameIsTraced) {
    Write("in.txt", "57 1\n");
    ASSERT_EQ(Run("--seed 1 --frames 1000 --trace-every 10 --input " + P("in.txt") + " --trace " + P("t.jsonl")),
              0);
    auto t = Trace(dir_ / "t.jsonl");
    ASSERT_FALSE(t.empty());
    EXPECT_EQ(t.back()["frame"].I(), 57);
    EXPECT_EQ(t[t.size() - 2]["frame"].I(), 50);
}

TEST_F(ReplayTool, SameSeedAndScriptGiveTheSameRun) {
    std::string script = "# start a game, then wander the menus\n40 44\n41\n";
    for (int f = 120; f < 1500; f += 7) script += std::to_string(f) + " " + (f % 3 ? "44" : "208") + "\n" +
                                                  std::to_string(f + 2) + "\n";
    Write("in.txt", script);
    const std::string common = "--seed 77 --frames 1500 --input " + P("in.txt") + " --shot-every 100 ";
    fs::create_directories(dir_ / "a");
    fs::create_directories(dir_ / "b");
    ASSERT_EQ(Run(common + "--trace " + P("a.jsonl") + " --screenshots " + P("a") + " --audio-out " + P("a.wav")), 0)
        << stderr_;
    ASSERT_EQ(Run(common + "--trace " + P("b.jsonl") + " --screenshots " + P("b") + " --audio-out " + P("b.wav")), 0)
        << stderr_;
    const std::string a = ReadFile(dir_ / "a.jsonl");
    EXPECT_FALSE(a.empty());
    EXPECT_EQ(a, ReadFile(dir_ / "b.jsonl"));
    const std::string wav = ReadFile(dir_ / "a.wav");
    ASSERT_EQ(wav.size(), 44u + 1500u * 768u * 4u);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(wav, ReadFile(dir_ / "b.wav"));
    int shots = 0;
    for (const auto& e : fs::directory_iterator(dir_ / "a")) {
        ++shots;
        const std::string name = e.path().filename().string();
        EXPECT_EQ(ReadFile(e.path()), ReadFile(dir_ / "b" / name)) << name;
        EXPECT_EQ(ReadFile(e.path()).substr(1, 3), "PNG");
    }
    EXPECT_EQ(shots, 15);

    ASSERT_EQ(Run("--seed 78 --frames 1500 --input " + P("in.txt") + " --trace " + P("c.jsonl")), 0);
    EXPECT_NE(a, ReadFile(dir_ / "c.jsonl"));
}

TEST_F(ReplayTool, AHuntPlayedThroughTheTool) {
    // Start a game; the hunt command (cursor down, decide), then the colour under the unit cursor, which
    // followed the same down press while it was hidden: colour 1; then rest every day.
    std::string script = "40 44\n41\n150 208\n151\n160 44\n161\n170 44\n171\n"
                         "320 205\n321\n330 208\n331\n";
    for (int f = 340; f < 3000; f += 60) script += std::to_string(f) + " 44\n" + std::to_string(f + 1) + "\n";
    Write("in.txt", script);
    ASSERT_EQ(Run("--seed 3 --frames 3000 --input " + P("in.txt") + " --trace " + P("t.jsonl")), 0) << stderr_;
    auto t = Trace(dir_ / "t.jsonl");
    ASSERT_EQ(t.size(), 3000u);

    const auto& ordered = t[169];  // frame 170: the order is given
    EXPECT_EQ(ordered["state"].I(), 3);
    EXPECT_EQ(ordered["timer"].I(), 90);
    EXPECT_EQ(ordered["choice"].I(), 2);
    EXPECT_EQ(ordered["orders"][1][0].I(), 3);
    EXPECT_EQ(ordered["orders"][1][1].I(), 0);
    EXPECT_EQ(ordered["orders"][1][2].I(), 24);
    EXPECT_EQ(ordered["food"].I(), 100);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(ordered["units"][1][i][2].I(), 2);
    EXPECT_EQ(t[168]["state"].I(), 2);

    int completions = 0;
    for (size_t i = 1; i < t.size(); ++i) {
        const auto &a = t[i - 1], &b = t[i];
        if (a["scene"].text != "game" || b["scene"].text != "game") continue;
        if (b["day"].I() == a["day"].I()) {
            EXPECT_EQ(b["food"].I(), a["food"].I()) << "frame " << b["frame"].I();
            continue;
        }
        const bool completes = b["orders"][1][0].I() == 0;
        EXPECT_EQ(b["food"].I(), a["food"].I() + (completes ? 24 : 0)) << "frame " << b["frame"].I();
        if (completes) {
            ++completions;
            EXPECT_EQ(b["day"].I(), 4);
            for (size_t u = 0; u < b["units"][1].Size(); ++u) EXPECT_EQ(b["units"][1][u][2].I(), 3);
        }
    }
    EXPECT_EQ(completions, 1);
    EXPECT_GE(t.back()["day"].I(), 6);
}

// Screenshots are written for speed (no row filters, the lightest compression);
// they must still decode to exactly the picture, noise and flat areas alike.
TEST(ReplayScreenshot, DecodesToExactlyThePixelsWritten) {
    std::mt19937 random(5);
    std::vector<uint32_t> pixels(160 * 120);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = i < 9000 ? random() & 0xFFFFFF : 0x3060C0 + (i / 1000);
    const fs::path file = fs::temp_directory_path() / ("anagura-shot-" + std::to_string(getpid()) + ".png");
    ASSERT_TRUE(replay::WritePng(file.string(), pixels, 160, 120));
    int w = 0, h = 0;
    std::vector<uint32_t> decoded;
    ASSERT_TRUE(gametest::ReadPng(file.string(), w, h, decoded));
    fs::remove(file);
    EXPECT_EQ(w, 160);
    EXPECT_EQ(h, 120);
    EXPECT_EQ(decoded, pixels);
}

}  // namespace
