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

#include "CannotRun.h"
#include "GameTestSupport.h"
#include "MiniJson.h"
#include "ScratchFolder.h"
#include "media/video/PngFile.h"

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
        if (!fs::exists(ToolPath()))
            return testsupport::CannotRun("anagura-replay not built at " + ToolPath().string());
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
    fs::path Write(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name, std::ios::binary) << text;
        return dir_ / name;
    }
    // Runs the tool; returns its exit status and keeps its error output.
    int Run(const std::string& args) {
        const std::string cmd = "XDG_DATA_HOME=" + Quote(dir_.string()) + " " + Quote(ToolPath().string()) +
                                " --data " + Quote(data_.string()) + " " + args + " 2>" +
                                Quote((dir_ / "stderr.txt").string()) + " >/dev/null";
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
    testsupport::ScratchFolder scratch_{testsupport::ScratchFolder::kStay};
    const fs::path dir_ = scratch_.Path();
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
    EXPECT_EQ(t[0].Keys(),
              (std::vector<std::string>{"frame", "scene", "state", "pendingState", "fade", "music", "visible"}));
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
    EXPECT_EQ(g.Keys(), (std::vector<std::string>{
                            "frame",    "scene",  "state",  "pendingState", "fade",         "music", "timer",
                            "pressure", "choice", "food",   "money",        "traps",        "day",   "levels",
                            "orders",   "units",  "raider", "activeLine",   "raiderBeaten", "menus", "pages"}));
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
    ASSERT_EQ(Run("--seed 1 --frames 1000 --trace-every 10 --input " + P("in.txt") + " --trace " + P("t.jsonl")), 0);
    auto t = Trace(dir_ / "t.jsonl");
    ASSERT_FALSE(t.empty());
    EXPECT_EQ(t.back()["frame"].I(), 57);
    EXPECT_EQ(t[t.size() - 2]["frame"].I(), 50);
}

TEST_F(ReplayTool, ARecordedGamePlaysWithItsSeedKeysAndLengthUnlessTheCommandLineSaysOtherwise) {
    // Decide is Return (28) in the recording; the data folder's key file keeps Z (44).
    Write("game.rec", "# seed 77\n# keys 200 208 205 203 28 45\n40 28\n41\n# frames 150\n");
    Write("plain.txt", "40 44\n41\n");
    ASSERT_EQ(Run("--input " + P("game.rec") + " --trace " + P("rec.jsonl")), 0) << stderr_;
    ASSERT_EQ(Run("--seed 77 --frames 150 --input " + P("plain.txt") + " --trace " + P("plain.jsonl")), 0);
    const std::string played = ReadFile(dir_ / "rec.jsonl");
    EXPECT_EQ(played, ReadFile(dir_ / "plain.jsonl"));
    EXPECT_NE(played.find("\"scene\":\"game\""), std::string::npos);

    // --seed: the data folder's keys, so Return does nothing; --frames wins over the recorded length.
    ASSERT_EQ(Run("--seed 77 --frames 100 --input " + P("game.rec") + " --trace " + P("t.jsonl")), 0);
    auto t = Trace(dir_ / "t.jsonl");
    ASSERT_EQ(t.size(), 100u);
    EXPECT_EQ(t.back()["scene"].text, "title");

    // Escape down when the recorded game started: it ends after its first frame.
    Write("esc.rec", "# seed 77\n# keys 200 208 205 203 28 45\n# down-at-start 1\n");
    ASSERT_EQ(Run("--input " + P("esc.rec") + " --trace " + P("esc.jsonl")), 0);
    EXPECT_EQ(Trace(dir_ / "esc.jsonl").size(), 1u);

    Write("bad.rec", "# seed 77\n# keys 200 Up\n");
    EXPECT_EQ(Run("--input " + P("bad.rec") + " --trace " + P("bad.jsonl")), 2);
    EXPECT_NE(stderr_.find("line 2"), std::string::npos) << stderr_;
    EXPECT_FALSE(fs::exists(dir_ / "bad.jsonl"));
}

TEST_F(ReplayTool, SameSeedAndScriptGiveTheSameRun) {
    std::string script = "# start a game, then wander the menus\n40 44\n41\n";
    for (int f = 120; f < 1500; f += 7)
        script += std::to_string(f) + " " + (f % 3 ? "44" : "208") + "\n" + std::to_string(f + 2) + "\n";
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

// The language changes the words and the pictures with words, never the game:
// the same seed and keys play the same frames in both.
TEST_F(ReplayTool, EnglishPlaysTheSameGameInOtherWords) {
    std::string script = "40 44\n41\n";  // a game, then the menus and days
    for (int f = 150; f < 2400; f += 40) script += std::to_string(f) + " " + (f % 3 ? "44" : "208") + "\n" +
                                                   std::to_string(f + 2) + "\n";
    Write("in.txt", script);
    for (const char* lang : {"ja", "en"})
        ASSERT_EQ(Run(std::string("--lang ") + lang + " --seed 21 --frames 2400 --input " + P("in.txt") + " --trace " +
                      P(std::string(lang) + ".jsonl") + " --calls " + P(std::string(lang) + "-calls.jsonl")),
                  0)
            << stderr_;
    const std::string trace = ReadFile(dir_ / "ja.jsonl");
    EXPECT_NE(trace.find("\"scene\":\"game\""), std::string::npos);
    EXPECT_EQ(trace, ReadFile(dir_ / "en.jsonl"));
    const std::string ja = ReadFile(dir_ / "ja-calls.jsonl"), en = ReadFile(dir_ / "en-calls.jsonl");
    const std::string rest = "\"きゅうけい\"";  // the call trace shows text in UTF-8
    for (const char* english : {"\"image/en/PushZkey.bmp\"", "\"Rest\""}) {
        EXPECT_NE(en.find(english), std::string::npos) << english;
        EXPECT_EQ(ja.find(english), std::string::npos) << english;
    }
    EXPECT_NE(ja.find(rest), std::string::npos);
    EXPECT_EQ(en.find(rest), std::string::npos);
}

TEST_F(ReplayTool, AHuntPlayedThroughTheTool) {
    // Start a game; the hunt command (cursor down, decide), then the colour under the unit cursor, which
    // followed the same down press while it was hidden: colour 1; then rest every day.
    std::string script =
        "40 44\n41\n150 208\n151\n160 44\n161\n170 44\n171\n"
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

bool Is(const minijson::Value& call, const char* name) { return call[0].text == name; }

bool IsDraw(const minijson::Value& call) {
    return Is(call, "DrawImage") || Is(call, "DrawImageMirrored") || Is(call, "DrawRect") || Is(call, "DrawTextAt");
}

// What a draw call shows: the image's name, "rect x1 y1 x2 y2", or "text TEXT".
std::string Drawn(const minijson::Value& c) {
    if (Is(c, "DrawRect"))
        return "rect " + minijson::Write(c[1]) + " " + minijson::Write(c[2]) + " " + minijson::Write(c[3]) + " " +
               minijson::Write(c[4]);
    if (Is(c, "DrawTextAt")) return "text " + c[3].text;
    return c[3].text;
}

std::vector<std::string> DrawnIn(const minijson::Value& frame) {
    std::vector<std::string> drawn;
    for (const auto& c : frame["calls"].items)
        if (IsDraw(c)) drawn.push_back(Drawn(c));
    return drawn;
}

// Every graphic's draw starts with its blend mode and brightness (a text block also with its
// font size and face, then all ten lines); the fade sets the brightness 0 first.
void ExpectDrawsSetTheirState(const minijson::Value& frame) {
    const auto& c = frame["calls"].items;
    for (size_t i = 0; i < c.size(); ++i) {
        if (!IsDraw(c[i])) continue;
        ASSERT_GE(i, 4u);
        if (Is(c[i], "DrawTextAt")) {
            size_t end = i;
            while (end < c.size() && Is(c[end], "DrawTextAt")) ++end;
            EXPECT_EQ(end - i, 10u) << "frame " << frame["frame"].I();
            EXPECT_TRUE(Is(c[i - 4], "SetBlendMode") && Is(c[i - 3], "SetDrawBrightness") &&
                        Is(c[i - 2], "SetDefaultFontSize") && Is(c[i - 1], "SetDefaultFontFace"))
                << "frame " << frame["frame"].I() << ": " << minijson::Write(c[i]);
            i = end - 1;
            continue;
        }
        const bool graphic = Is(c[i - 2], "SetBlendMode") && Is(c[i - 1], "SetDrawBrightness");
        const bool fade =
            minijson::Write(c[i - 2]) == R"(["SetDrawBrightness",0,0,0])" && Is(c[i - 1], "SetBlendMode");
        EXPECT_TRUE(graphic || fade) << "frame " << frame["frame"].I() << ": " << minijson::Write(c[i]);
    }
}

std::vector<std::string> Written(const minijson::Value& frame, size_t from, size_t count) {
    std::vector<std::string> out;
    const auto& c = frame["calls"].items;
    for (size_t i = from; i < from + count && i < c.size(); ++i) out.push_back(minijson::Write(c[i]));
    return out;
}

TEST_F(ReplayTool, CallTraceShowsEachFrameAsTheGameCallsTheMediaLayer) {
    if (data_ != Assets()) return testsupport::CannotRun("needs the shipped pictures");
    Write("in.txt", "40 44\n41\n150 208\n151\n");
    ASSERT_EQ(
        Run("--seed 5 --frames 160 --input " + P("in.txt") + " --calls " + P("c.jsonl") + " --trace " + P("t.jsonl")),
        0)
        << stderr_;
    const auto calls = Trace(dir_ / "c.jsonl");
    const auto trace = Trace(dir_ / "t.jsonl");
    ASSERT_EQ(calls.size(), 161u);
    for (size_t f = 0; f < calls.size(); ++f) {
        ASSERT_EQ(calls[f]["frame"].I(), static_cast<int64_t>(f));
        ExpectDrawsSetTheirState(calls[f]);
    }

    // Frame 0: the system context, the first scene reset, the title's pictures.
    EXPECT_EQ(Written(calls[0], 0, 12),
              (std::vector<std::string>{
                  R"(["SetScreenMode",160,120,16,60,0])", R"(["SetWindowScale",2.0])", R"(["ChangeWindowMode",1,0])",
                  R"(["InitMediaLayer",0])", R"(["SetDrawTarget","back"])", R"(["SetTransparentColor",255,0,255])",
                  R"(["SetDefaultFontFace","ＭＳ ゴシック",-1])", R"(["SetDefaultFontThickness",2])",
                  R"(["SetSoundDataMode",2])", R"(["StopSoundHandle",0])", R"(["DeleteSound",0,0])",
                  R"(["LoadImageFile","image/kumo.bmp",0,"image/kumo.bmp"])"}));
    EXPECT_EQ(Written(calls[0], 14, 3),
              (std::vector<std::string>{R"(["LoadImageFile","image/CharY.bmp",0,"image/CharY.bmp"])",
                                        R"(["DeleteImage","image/CharY.bmp",0])",
                                        R"(["LoadImageDivided","image/CharY.bmp",16,4,4,16,16,0,0])"}));
    EXPECT_EQ(minijson::Write(calls[0]["calls"].items.back()),
              R"(["LoadImageFile","image/PushZkey.bmp",0,"image/PushZkey.bmp"])");
    // The title's first frames draw nothing.
    EXPECT_EQ(Written(calls[1], 0, 9),
              (std::vector<std::string>{R"(["FlipScreen"])", R"(["ClearScreen"])", R"(["SetSoundVolume",0,0])"}));

    // A title frame: sky, clouds, mountains, ground, walkers, bars, logo, prompt, fade.
    const auto title = DrawnIn(calls[35]);
    ASSERT_EQ(title.size(), 25u);
    EXPECT_EQ(Written(calls[35], 3, 3),
              (std::vector<std::string>{R"(["SetBlendMode",1,255])", R"(["SetDrawBrightness",128,128,255])",
                                        R"(["DrawRect",0,0,160,120,65535,1])"}));
    const std::vector<std::string> scenery = {"image/kumo.bmp", "image/kumo.bmp",  "image/kumo.bmp", "image/yama.bmp",
                                              "image/yama.bmp", "image/jimen.bmp", "image/jimen.bmp"};
    EXPECT_EQ(std::vector<std::string>(title.begin() + 1, title.begin() + 8), scenery);
    const char* sheets[] = {"image/CharY.bmp#", "image/CharR.bmp#", "image/CharG.bmp#", "image/CharB.bmp#"};
    for (size_t i = 0; i < 12; ++i) EXPECT_EQ(title[8 + i].rfind(sheets[i % 4], 0), 0u) << title[8 + i];
    EXPECT_EQ(std::vector<std::string>(title.begin() + 20, title.end()),
              (std::vector<std::string>{"rect 0 0 160 20", "rect 0 100 160 120", "image/TitleLogo.bmp",
                                        "image/PushZkey.bmp", "rect 0 0 160 120"}));
    EXPECT_EQ(Written(calls[35], 69, 3),
              (std::vector<std::string>{R"(["SetBlendMode",1,255])", R"(["SetDrawBrightness",255,255,255])",
                                        R"(["DrawImage",21,37,"image/TitleLogo.bmp",1])"}));

    // The scene switch: the title (leaving, nothing drawn) is replaced within the frame, the
    // music stopped, the game scene built (digits for its damage numbers first, the twelve
    // units' growth and spots, its four effects loaded last).
    size_t sw = 0;
    while (sw < trace.size() && trace[sw]["scene"].text != "game") ++sw;
    ASSERT_LT(sw, trace.size());
    const auto& switchFrame = calls[sw + 1]["calls"].items;
    EXPECT_EQ(Written(calls[sw + 1], 3, 3),
              (std::vector<std::string>{R"(["StopSoundHandle",0])", R"(["DeleteSound",0,0])",
                                        R"(["LoadImageFile","image/Number.png",0,"image/Number.png"])"}));
    int growth = 0, spots = 0;
    for (const auto& c : switchFrame) {
        growth += minijson::Write(c).rfind(R"(["GetRandom",40,)", 0) == 0;
        spots += minijson::Write(c).rfind(R"(["GetRandom",143,)", 0) == 0;
    }
    EXPECT_EQ(growth, 36);
    EXPECT_EQ(spots, 12);
    EXPECT_EQ(Written(calls[sw + 1], switchFrame.size() - 4, 4),
              (std::vector<std::string>{R"(["LoadSound","sound/Dec.wav",3,-1,"sound/Dec.wav"])",
                                        R"(["LoadSound","sound/Select.wav",3,-1,"sound/Select.wav"])",
                                        R"(["LoadSound","sound/Cancel.wav",3,-1,"sound/Cancel.wav"])",
                                        R"(["LoadSound","sound/Attack.wav",3,-1,"sound/Attack.wav"])"}));
    EXPECT_EQ(minijson::Write(calls[sw + 2]["calls"][0]), R"(["FlipScreen"])");

    // A command-menu frame: the down key moves both menus (the unit menu is armed too), then the
    // map, frames, status, command words, cursor, units and the fade.
    const auto& menuFrame = calls[150];
    EXPECT_EQ(minijson::Write(menuFrame["calls"][2]), R"(["SetSoundVolume",255,"sound/Normal1.mp3"])");
    std::vector<std::string> sounds;
    for (const auto& c : menuFrame["calls"].items)
        if (Is(c, "PlaySoundHandle")) sounds.push_back(minijson::Write(c));
    EXPECT_EQ(sounds, std::vector<std::string>(2, R"(["PlaySoundHandle","sound/Select.wav",1,1])"));
    const auto drawn = DrawnIn(menuFrame);
    ASSERT_GT(drawn.size(), 64u + 4 + 2 + 12 + 10 + 60 + 1 + 12);
    for (size_t i = 0; i < 64; ++i) EXPECT_EQ(drawn[i], i < 32 ? "image/map_chip.bmp#1" : "image/map_chip.bmp#0");
    EXPECT_EQ(drawn[68], "image/Flame1.bmp");
    EXPECT_EQ(drawn[71], "image/Number.png#1");  // yellow's level
    size_t text = 0;
    while (text < menuFrame["calls"].Size() && !Is(menuFrame["calls"][text], "DrawTextAt")) ++text;
    std::vector<std::string> block = Written(menuFrame, text - 4, 6);
    EXPECT_EQ(block, (std::vector<std::string>{
                         R"(["SetBlendMode",1,255])", R"(["SetDrawBrightness",255,255,255])",
                         R"(["SetDefaultFontSize",8])", R"(["SetDefaultFontFace","MS ゴシック",-1])",
                         R"(["DrawTextAt",14,78,"ぞうしょく",65535,0])", R"(["DrawTextAt",14,86,"",65535,0])"}));
    const size_t cursor = text - 4 + 6 * 14;  // six words of four set-up calls and ten lines
    EXPECT_EQ(Written(menuFrame, cursor, 3),
              (std::vector<std::string>{R"(["SetBlendMode",1,255])", R"(["SetDrawBrightness",255,255,255])",
                                        R"(["DrawImage",5,89,"image/Arrow.bmp#1",1])"}));
    int mirrored = 0;
    for (const auto& c : menuFrame["calls"].items) mirrored += Is(c, "DrawImageMirrored");
    EXPECT_GT(mirrored, 0);  // units walking left
    EXPECT_EQ(drawn.back(), "rect 0 0 160 120");
}

TEST_F(ReplayTool, TheCallTraceChangesNoOtherOutputAndTracesTheTraceFrames) {
    Write("in.txt", "40 44\n41\n150 208\n151\n160 44\n161\n200 205\n201\n210 44\n211\n");
    const std::string common = "--seed 9 --frames 310 --input " + P("in.txt") + " --shot-every 50 --trace-every 25 ";
    fs::create_directories(dir_ / "a");
    fs::create_directories(dir_ / "b");
    ASSERT_EQ(Run(common + "--trace " + P("a.jsonl") + " --screenshots " + P("a") + " --audio-out " + P("a.wav")), 0)
        << stderr_;
    ASSERT_EQ(Run(common + "--trace " + P("b.jsonl") + " --screenshots " + P("b") + " --audio-out " + P("b.wav") +
                  " --calls " + P("some.jsonl")),
              0)
        << stderr_;
    EXPECT_EQ(ReadFile(dir_ / "a.jsonl"), ReadFile(dir_ / "b.jsonl"));
    EXPECT_EQ(ReadFile(dir_ / "a.wav"), ReadFile(dir_ / "b.wav"));
    int shots = 0;
    for (const auto& e : fs::directory_iterator(dir_ / "a")) {
        ++shots;
        EXPECT_EQ(ReadFile(e.path()), ReadFile(dir_ / "b" / e.path().filename())) << e.path();
    }
    EXPECT_EQ(shots, 6);

    // The selected frames hold exactly their own calls: those of the frames left out are dropped.
    ASSERT_EQ(Run("--seed 9 --frames 310 --input " + P("in.txt") + " --calls " + P("all.jsonl")), 0) << stderr_;
    std::vector<std::string> all, some;
    std::istringstream a(ReadFile(dir_ / "all.jsonl")), b(ReadFile(dir_ / "some.jsonl"));
    for (std::string line; std::getline(a, line);) all.push_back(line);
    for (std::string line; std::getline(b, line);) some.push_back(line);
    ASSERT_EQ(all.size(), 311u);
    std::vector<int64_t> frames;
    for (const std::string& line : some) {
        const int64_t f = minijson::Parse(line)["frame"].I();
        frames.push_back(f);
        EXPECT_EQ(line, all.at(static_cast<size_t>(f)));
    }
    EXPECT_EQ(frames, (std::vector<int64_t>{0, 25, 50, 75, 100, 125, 150, 175, 200, 225, 250, 275, 300, 310}));
}

// Screenshots are written for speed (no row filters, the lightest compression);
// they must still decode to exactly the picture, noise and flat areas alike.
TEST(ReplayScreenshot, DecodesToExactlyThePixelsWritten) {
    std::mt19937 random(5);
    std::vector<uint32_t> pixels(160 * 120);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = i < 9000 ? random() & 0xFFFFFF : 0x3060C0 + (i / 1000);
    const fs::path file = fs::temp_directory_path() / ("anagura-shot-" + std::to_string(getpid()) + ".png");
    ASSERT_TRUE(media::WritePng(file.string(), pixels, 160, 120));
    int w = 0, h = 0;
    std::vector<uint32_t> decoded;
    ASSERT_TRUE(gametest::ReadPng(file.string(), w, h, decoded));
    fs::remove(file);
    EXPECT_EQ(w, 160);
    EXPECT_EQ(h, 120);
    EXPECT_EQ(decoded, pixels);
}

}  // namespace
