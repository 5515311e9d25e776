// The game's pictures, sounds and key file: present under the names the game
// loads, with the sizes and cell grids it cuts them into, transparent only
// through exact magenta, loops that join without a click, sounds without DC and
// with headroom, and remade byte for byte from their sources.
#include <gtest/gtest.h>
#include <mpg123.h>
#include <png.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "CannotRun.h"
#include "MediaTestSupport.h"
#include "media/Media.h"
#include "media/headless/HeadlessControls.h"
#include "media/sound/SoundOutput.h"

namespace fs = std::filesystem;

namespace {

const fs::path kAssets = fs::path(ANAGURA_SOURCE_DIR) / "assets";

std::vector<uint8_t> ReadBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
    bool operator<(const Rgb& o) const { return std::tie(r, g, b) < std::tie(o.r, o.g, o.b); }
};
constexpr Rgb kMagenta{255, 0, 255};

struct Picture {
    int width = 0, height = 0;
    std::vector<Rgb> px;
    const Rgb& at(int x, int y) const { return px[size_t(y) * width + x]; }
    bool clear(int x, int y) const { return at(x, y) == kMagenta; }
};

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

// Uncompressed 24-bit BMP, the only kind the generator writes.
bool ReadBmp(const fs::path& p, Picture& out) {
    auto b = ReadBytes(p);
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return false;
    uint32_t offset = Le32(b, 10);
    int32_t w = int32_t(Le32(b, 18)), h = int32_t(Le32(b, 22));
    uint16_t bpp = uint16_t(b[28] | b[29] << 8);
    if (bpp != 24 || Le32(b, 30) != 0 || w <= 0 || h == 0) return false;
    bool bottomUp = h > 0;
    h = std::abs(h);
    size_t stride = (size_t(w) * 3 + 3) & ~size_t(3);
    if (offset + stride * size_t(h) > b.size()) return false;
    out.width = w;
    out.height = h;
    out.px.resize(size_t(w) * h);
    for (int y = 0; y < h; ++y) {
        size_t row = offset + stride * size_t(bottomUp ? h - 1 - y : y);
        for (int x = 0; x < w; ++x)
            out.px[size_t(y) * w + x] = {b[row + 3 * x + 2], b[row + 3 * x + 1], b[row + 3 * x]};
    }
    return true;
}

bool ReadPng(const fs::path& p, Picture& out) {
    png_image img{};
    img.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&img, p.c_str())) return false;
    img.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> buf(PNG_IMAGE_SIZE(img));
    if (!png_image_finish_read(&img, nullptr, buf.data(), 0, nullptr)) return false;
    out.width = int(img.width);
    out.height = int(img.height);
    out.px.resize(size_t(out.width) * out.height);
    for (size_t i = 0; i < out.px.size(); ++i) out.px[i] = {buf[3 * i], buf[3 * i + 1], buf[3 * i + 2]};
    return true;
}

bool ReadPicture(const fs::path& p, Picture& out) {
    return p.extension() == ".png" ? ReadPng(p, out) : ReadBmp(p, out);
}

int Luma(const Rgb& c) { return (299 * c.r + 587 * c.g + 114 * c.b) / 1000; }

// What the game loads, and how it cuts it.
struct Expected {
    const char* name;
    int width, height;  // 0: free within the bounds below
    int minW, maxW, minH, maxH;
    int cols, rows;
    bool sprite;  // a figure on a transparent background, with a dark outline
};

const Expected kPictures[] = {
    {"kumo.bmp", 0, 0, 30, 56, 10, 24, 1, 1, false},
    {"yama.bmp", 320, 0, 320, 320, 40, 80, 1, 1, false},
    {"jimen.bmp", 320, 28, 320, 320, 28, 28, 1, 1, false},
    {"CharY.bmp", 64, 64, 64, 64, 64, 64, 4, 4, true},
    {"CharB.bmp", 64, 64, 64, 64, 64, 64, 4, 4, true},
    {"CharR.bmp", 64, 64, 64, 64, 64, 64, 4, 4, true},
    {"CharG.bmp", 64, 64, 64, 64, 64, 64, 4, 4, true},
    {"TitleLogo.bmp", 0, 0, 100, 130, 18, 30, 1, 1, false},
    {"PushZkey.bmp", 0, 0, 56, 80, 7, 10, 1, 1, false},
    {"en/PushZkey.bmp", 0, 0, 56, 80, 7, 10, 1, 1, false},
    {"map_chip.bmp", 20, 20, 20, 20, 20, 20, 2, 2, false},
    {"map_chip_ana.bmp", 20, 20, 20, 20, 20, 20, 2, 2, false},
    {"Flame1.bmp", 160, 30, 160, 160, 30, 30, 1, 1, false},
    {"Flame2.bmp", 160, 50, 160, 160, 50, 50, 1, 1, false},
    {"TrophicIcon.bmp", 16, 16, 16, 16, 16, 16, 1, 1, true},
    {"MoneyIcon.bmp", 16, 16, 16, 16, 16, 16, 1, 1, true},
    {"Icon_Trap.bmp", 16, 16, 16, 16, 16, 16, 1, 1, true},
    {"Icon_Date.bmp", 16, 16, 16, 16, 16, 16, 1, 1, true},
    {"LVIcon.bmp", 16, 16, 16, 16, 16, 16, 1, 1, true},
    {"HeiIcon.bmp", 16, 16, 16, 16, 16, 16, 1, 1, true},
    {"Arrow.bmp", 16, 16, 16, 16, 16, 16, 2, 2, true},
    {"Number.png", 50, 8, 50, 50, 8, 8, 10, 1, false},
    {"enemy_1.bmp", 80, 20, 80, 80, 20, 20, 4, 1, true},
    {"enemy_2.bmp", 80, 20, 80, 80, 20, 20, 4, 1, true},
    {"enemy_3.bmp", 80, 20, 80, 80, 20, 20, 4, 1, true},
    {"enemy_4.bmp", 80, 20, 80, 80, 20, 20, 4, 1, true},
    {"enemy_5.bmp", 96, 24, 96, 96, 24, 24, 4, 1, true},
    {"enemy_6.bmp", 96, 24, 96, 96, 24, 24, 4, 1, true},
    {"enemy_s.png", 64, 16, 64, 64, 16, 16, 4, 1, true},
};

const char* const kMusic[] = {"Battle1.mp3", "Battle2.mp3",   "BossBattle.mp3", "LastBattle.mp3", "GameOver.mp3",
                              "Normal1.mp3", "Normal1_2.mp3", "Normal2.mp3",    "Normal3.mp3",    "Win.mp3"};
const char* const kEffects[] = {"Dec.wav", "Select.wav", "Cancel.wav", "Attack.wav"};

std::map<std::string, Picture> LoadAll() {
    std::map<std::string, Picture> all;
    for (const auto& e : kPictures) {
        Picture p;
        if (ReadPicture(kAssets / "image" / e.name, p)) all[e.name] = p;
    }
    return all;
}

const std::map<std::string, Picture>& Pictures() {
    static const auto all = LoadAll();
    return all;
}

// Opaque pixels of a cell that touch the transparent background (or the cell edge).
template <class F>
void ForEachRim(const Picture& p, int x0, int y0, int w, int h, F f) {
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) {
            if (p.clear(x, y)) continue;
            bool rim = false;
            const int dx[] = {1, -1, 0, 0}, dy[] = {0, 0, 1, -1};
            for (int k = 0; k < 4; ++k) {
                int u = x + dx[k], v = y + dy[k];
                if (u >= x0 && u < x0 + w && v >= y0 && v < y0 + h && p.clear(u, v)) rim = true;
            }
            if (rim) f(p.at(x, y));
        }
}

}  // namespace

TEST(Assets, EveryPictureHasItsSizeGridAndTransparency) {
    std::set<Rgb> palette;
    for (const auto& e : kPictures) {
        SCOPED_TRACE(e.name);
        auto it = Pictures().find(e.name);
        ASSERT_NE(it, Pictures().end()) << "missing or unreadable";
        const Picture& p = it->second;
        if (e.width) {
            EXPECT_EQ(p.width, e.width);
        }
        if (e.height) {
            EXPECT_EQ(p.height, e.height);
        }
        EXPECT_GE(p.width, e.minW);
        EXPECT_LE(p.width, e.maxW);
        EXPECT_GE(p.height, e.minH);
        EXPECT_LE(p.height, e.maxH);
        EXPECT_EQ(p.width % e.cols, 0);
        EXPECT_EQ(p.height % e.rows, 0);
        // Transparent means exactly magenta: nothing nearly magenta that would
        // show as a pink fringe.
        for (const Rgb& c : p.px) {
            palette.insert(c);
            if (c == kMagenta) continue;
            int d = std::abs(c.r - 255) + c.g + std::abs(c.b - 255);
            EXPECT_GT(d, 120) << "near-magenta " << int(c.r) << "," << int(c.g) << "," << int(c.b);
        }
        // No cell is empty; sprite cells have transparent corners and a dark ring.
        int cw = p.width / e.cols, ch = p.height / e.rows;
        for (int cy = 0; cy < e.rows; ++cy)
            for (int cx = 0; cx < e.cols; ++cx) {
                int x0 = cx * cw, y0 = cy * ch, opaque = 0;
                for (int y = y0; y < y0 + ch; ++y)
                    for (int x = x0; x < x0 + cw; ++x) opaque += !p.clear(x, y);
                EXPECT_GT(opaque, 0) << "cell " << cx << "," << cy << " is empty";
                if (!e.sprite) continue;
                EXPECT_TRUE(p.clear(x0, y0) && p.clear(x0 + cw - 1, y0) && p.clear(x0, y0 + ch - 1) &&
                            p.clear(x0 + cw - 1, y0 + ch - 1))
                    << "cell " << cx << "," << cy << " has opaque corners";
                ForEachRim(p, x0, y0, cw, ch, [&](const Rgb& c) {
                    EXPECT_LT(Luma(c), 50) << "cell " << cx << "," << cy << ": light pixel on the outline";
                });
            }
    }
    EXPECT_LE(palette.size(), 32u) << "more than 32 colours over all pictures";
}

TEST(Assets, PicturesFitTheScreenLayout) {
    const auto& all = Pictures();
    ASSERT_EQ(all.size(), std::size(kPictures));
    // Icons keep their figure (outline included) inside the frames and clear of
    // the numbers beside them. The status bar draws food and money 2 px above
    // its frame (whose inner area starts 4 px down) and traps and day 12 px
    // lower, above the frame's bottom edge; a unit panel draws its cost icon 8 px
    // above the panel, 3 px above the panel's top inside the window, and its
    // result icon 3 px below it, left of a three-digit current value that starts
    // 12 px to the right of the icon.
    const struct {
        const char* name;
        int top, bottom, left, right;
    } iconBoxes[] = {
        {"TrophicIcon.bmp", 6, 15, 2, 10}, {"MoneyIcon.bmp", 6, 15, 0, 10}, {"Icon_Trap.bmp", 4, 13, 2, 10},
        {"Icon_Date.bmp", 3, 13, 0, 15},   {"LVIcon.bmp", 5, 15, 0, 10},    {"HeiIcon.bmp", 5, 15, 0, 10},
    };
    for (const auto& box : iconBoxes) {
        const Picture& p = all.at(box.name);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                if (x < box.left || x > box.right || y < box.top || y > box.bottom) {
                    EXPECT_TRUE(p.clear(x, y)) << box.name << " at " << x << "," << y;
                }
    }
    // Window frames and map chips are solid where the game shows them.
    for (const char* name : {"Flame1.bmp", "Flame2.bmp"}) {
        const Picture& p = all.at(name);
        for (int y = 3; y < p.height - 3; ++y)
            for (int x = 3; x < p.width - 3; ++x) ASSERT_FALSE(p.clear(x, y)) << name << " has a hole";
    }
    const Picture& chips = all.at("map_chip.bmp");
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_FALSE(chips.clear(x, y)) << "map chip hole at " << x << "," << y;
    // The landscape strips repeat every 320 pixels: their two edge columns meet.
    for (const char* name : {"yama.bmp", "jimen.bmp"}) {
        const Picture& p = all.at(name);
        int left = 0, right = 0;
        for (int y = 0; y < p.height; ++y) {
            left += !p.clear(0, y);
            right += !p.clear(p.width - 1, y);
        }
        EXPECT_LE(std::abs(left - right), 3) << name << " edges do not meet";
    }
    // The four unit colours: yellow, blue, red, green, told apart by their mean body colour.
    auto mean = [&](const char* name) {
        const Picture& p = all.at(name);
        long r = 0, g = 0, b = 0, n = 0;
        for (const Rgb& c : p.px)
            if (!(c == kMagenta) && Luma(c) > 60) {
                r += c.r;
                g += c.g;
                b += c.b;
                ++n;
            }
        return std::array<long, 3>{r / n, g / n, b / n};
    };
    auto y = mean("CharY.bmp"), bl = mean("CharB.bmp"), rd = mean("CharR.bmp"), gr = mean("CharG.bmp");
    EXPECT_TRUE(y[0] > 180 && y[1] > 150 && y[2] < 130) << "yellow";
    EXPECT_TRUE(bl[2] > bl[0] + 60 && bl[2] > bl[1]) << "blue";
    EXPECT_TRUE(rd[0] > rd[1] + 80 && rd[0] > rd[2] + 60) << "red";
    EXPECT_TRUE(gr[1] > gr[0] + 40 && gr[1] > gr[2] + 40) << "green";
    // Ten different digits, each inside its 5-pixel pitch, and nothing below
    // row 5: the status bar's lower numbers stand 6 rows above its frame's edge.
    const Picture& digits = all.at("Number.png");
    std::set<std::vector<bool>> glyphs;
    for (int d = 0; d < 10; ++d) {
        std::vector<bool> glyph;
        for (int yy = 0; yy < 8; ++yy)
            for (int xx = 0; xx < 5; ++xx)
                glyph.push_back(Luma(digits.at(d * 5 + xx, yy)) > 128 && !digits.clear(d * 5 + xx, yy));
        glyphs.insert(glyph);
    }
    EXPECT_EQ(glyphs.size(), 10u);
    for (int yy = 6; yy < 8; ++yy)
        for (int xx = 0; xx < 50; ++xx) EXPECT_TRUE(digits.clear(xx, yy)) << "digit pixel at " << xx << "," << yy;
    // Arrow cell 1 points right: its figure narrows towards the right.
    const Picture& arrow = all.at("Arrow.bmp");
    std::vector<int> heights;
    for (int x = 8; x < 16; ++x) {
        int h = 0;
        for (int yy = 0; yy < 8; ++yy) h += !arrow.clear(x, yy);
        if (h) heights.push_back(h);
    }
    ASSERT_GE(heights.size(), 3u);
    EXPECT_GT(heights.front(), heights.back());
    // Units and raiders: every raider is a different figure, and each animates.
    for (const char* name : {"enemy_1.bmp", "enemy_2.bmp", "enemy_3.bmp", "enemy_4.bmp", "enemy_5.bmp", "enemy_6.bmp",
                             "enemy_s.png", "CharY.bmp"}) {
        const Picture& p = all.at(name);
        int cw = p.width / 4, ch = p.height / (p.height == 64 ? 4 : 1);
        std::set<std::vector<Rgb>> frames;
        for (int f = 0; f < 4; ++f) {
            std::vector<Rgb> cell;
            for (int yy = 0; yy < ch; ++yy)
                for (int xx = 0; xx < cw; ++xx) cell.push_back(p.at(f * cw + xx, yy));
            frames.insert(cell);
        }
        EXPECT_GE(frames.size(), 2u) << name << " does not animate";
    }
}

TEST(Assets, KeyFileHoldsTheSixButtons) {
    auto b = ReadBytes(kAssets / "Data" / "KeyData.dat");
    ASSERT_EQ(b.size(), 28u);
    std::vector<uint32_t> v;
    for (size_t i = 0; i < b.size(); i += 4) v.push_back(Le32(b, i));
    EXPECT_EQ(v, (std::vector<uint32_t>{6, 200, 208, 205, 203, 44, 45}));
}

namespace {

fs::path Generator() {
    // CTest names the build folder; run by hand, the tool sits beside the tests.
    const char* dir = std::getenv("ANAGURA_BUILD_DIR");
    std::error_code ec;
    fs::path tool = dir ? fs::path(dir) / "anagura-assetgen"
                        : fs::read_symlink("/proc/self/exe", ec).parent_path() / "anagura-assetgen";
    return fs::exists(tool) ? tool : fs::path();
}

std::string RunAndRead(const std::string& cmd) {
    std::string out;
    FILE* f = popen(cmd.c_str(), "r");
    if (!f) return out;
    char buf[512];
    while (size_t n = fread(buf, 1, sizeof buf, f)) out.append(buf, n);
    if (pclose(f) != 0) out = "FAILED";
    return out;
}

}  // namespace

TEST(Assets, PicturesIconsAndKeyFileRegenerateByteForByte) {
    fs::path tool = Generator();
    if (tool.empty()) return testsupport::CannotRun("anagura-assetgen not built (set ANAGURA_BUILD_DIR)");
    fs::path out = fs::temp_directory_path() / ("anagura-assets-" + std::to_string(::getpid()));
    fs::remove_all(out);
    std::string cmd = "'" + tool.string() + "' --src '" + (kAssets / "src").string() + "' --out '" + out.string() +
                      "' --only pictures --only key > /dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    std::set<std::string> made, committed;
    for (const auto& e : fs::recursive_directory_iterator(out / "image"))
        if (e.is_regular_file()) made.insert(fs::relative(e.path(), out / "image").string());
    for (const auto& e : fs::recursive_directory_iterator(kAssets / "image"))
        if (e.is_regular_file()) committed.insert(fs::relative(e.path(), kAssets / "image").string());
    EXPECT_EQ(made, committed);
    for (const auto& name : made)
        EXPECT_TRUE(ReadBytes(out / "image" / name) == ReadBytes(kAssets / "image" / name)) << name << " differs";
    EXPECT_TRUE(ReadBytes(out / "Data" / "KeyData.dat") == ReadBytes(kAssets / "Data" / "KeyData.dat"));
    std::set<fs::path> madeIcons, committedIcons;
    for (const auto& e : fs::recursive_directory_iterator(out / "icons"))
        if (e.is_regular_file()) madeIcons.insert(fs::relative(e.path(), out));
    for (const auto& e : fs::recursive_directory_iterator(kAssets / "icons"))
        if (e.is_regular_file()) committedIcons.insert(fs::relative(e.path(), kAssets));
    EXPECT_EQ(madeIcons, committedIcons);
    for (const auto& icon : madeIcons)
        EXPECT_TRUE(ReadBytes(out / icon) == ReadBytes(kAssets / icon)) << icon << " differs";
    fs::remove_all(out);
}

namespace {

struct Decoded {
    long rate = 0;
    int channels = 0;
    std::vector<int16_t> samples;  // interleaved
    size_t Frames() const { return channels ? samples.size() / size_t(channels) : 0; }
};

bool DecodeMp3(const fs::path& p, Decoded& d) {
    static const bool ready = mpg123_init() == MPG123_OK;
    if (!ready) return false;
    int err = 0;
    mpg123_handle* mh = mpg123_new(nullptr, &err);
    if (!mh) return false;
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0);
    bool ok = mpg123_open(mh, p.c_str()) == MPG123_OK;
    int enc = 0;
    if (ok) ok = mpg123_getformat(mh, &d.rate, &d.channels, &enc) == MPG123_OK;
    if (ok) {
        mpg123_format_none(mh);
        ok = mpg123_format(mh, d.rate, d.channels, MPG123_ENC_SIGNED_16) == MPG123_OK;
    }
    std::vector<unsigned char> buf(1 << 16);
    while (ok) {
        size_t got = 0;
        int rc = mpg123_read(mh, buf.data(), buf.size(), &got);
        const int16_t* s = reinterpret_cast<const int16_t*>(buf.data());
        d.samples.insert(d.samples.end(), s, s + got / 2);
        if (rc == MPG123_DONE) break;
        if (rc != MPG123_OK && rc != MPG123_NEW_FORMAT) ok = false;
    }
    mpg123_close(mh);
    mpg123_delete(mh);
    return ok;
}

}  // namespace

namespace {

// Every sound leaves 6 dB of headroom, so music and an effect together stay
// below full scale, and carries no DC.
constexpr int kHeadroomPeak = 16384;
constexpr double kLargestMean = 0.002 * 32768;

// Mean and largest |sample| of one channel of interleaved samples.
void ExpectCentredWithHeadroom(const std::vector<int16_t>& s, int channels, int channel) {
    double sum = 0;
    int peak = 0;
    size_t n = 0;
    for (size_t i = size_t(channel); i < s.size(); i += size_t(channels), ++n) {
        sum += s[i];
        peak = std::max(peak, std::abs(int(s[i])));
    }
    ASSERT_GT(n, 0u);
    EXPECT_LE(std::fabs(sum / double(n)), kLargestMean) << "channel " << channel << " carries DC";
    EXPECT_LE(peak, kHeadroomPeak) << "channel " << channel << " peaks above -6 dBFS";
}

double Rms(const std::vector<int16_t>& s) {
    double sum = 0;
    for (int16_t v : s) sum += double(v) * v;
    return s.empty() ? 0.0 : std::sqrt(sum / double(s.size()));
}

}  // namespace

TEST(Assets, MusicLoopsJoinWithoutGapOrClickCentredWithHeadroomAndEquallyLoud) {
    std::map<std::string, size_t> lengths;
    if (fs::path tool = Generator(); !tool.empty()) {
        std::istringstream in(
            RunAndRead("'" + tool.string() + "' --src '" + (kAssets / "src").string() + "' --loop-lengths"));
        std::string name;
        for (size_t n; in >> name >> n;) lengths[name] = n;
        EXPECT_EQ(lengths.size(), std::size(kMusic)) << "the generator did not list every loop";
    }
    double quietest = 1e9, loudest = 0;
    for (const char* name : kMusic) {
        SCOPED_TRACE(name);
        Decoded d;
        ASSERT_TRUE(DecodeMp3(kAssets / "sound" / name, d));
        ASSERT_GT(d.Frames(), size_t(d.rate));
        double seconds = double(d.Frames()) / double(d.rate);
        if (std::string(name).rfind("Normal", 0) == 0) {
            EXPECT_GE(seconds, 30.0);
            EXPECT_LE(seconds, 90.0);
        }
        // Gapless: exactly the rendered period, no encoder delay or padding left.
        if (lengths.count(name)) {
            EXPECT_EQ(d.Frames(), lengths[name]);
        }
        for (int c = 0; c < d.channels; ++c) {
            int largestStep = 0, fullScale = 0;
            size_t n = d.Frames();
            auto at = [&](size_t i) { return int(d.samples[i * size_t(d.channels) + size_t(c)]); };
            for (size_t i = 0; i + 1 < n; ++i) largestStep = std::max(largestStep, std::abs(at(i + 1) - at(i)));
            for (size_t i = 0; i < n; ++i) fullScale += std::abs(at(i)) >= 32767;
            EXPECT_LE(std::abs(at(0) - at(n - 1)), largestStep) << "channel " << c << " clicks at the loop point";
            EXPECT_LE(fullScale, 3) << "channel " << c << " clips";
            ExpectCentredWithHeadroom(d.samples, d.channels, c);
        }
        quietest = std::min(quietest, Rms(d.samples));
        loudest = std::max(loudest, Rms(d.samples));
    }
    EXPECT_LE(20 * std::log10(loudest / quietest), 2.0) << "the pieces differ in loudness";
}

TEST(Assets, EffectsAreShortDistinctCentredWithHeadroomAndStartAndEndOnZero) {
    std::set<std::string> seen;  // the sample data of each effect
    for (const char* name : kEffects) {
        SCOPED_TRACE(name);
        auto b = ReadBytes(kAssets / "sound" / name);
        ASSERT_GE(b.size(), 44u);
        ASSERT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
        ASSERT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
        uint16_t format = uint16_t(b[20] | b[21] << 8), channels = uint16_t(b[22] | b[23] << 8);
        uint32_t rate = Le32(b, 24);
        uint16_t bits = uint16_t(b[34] | b[35] << 8);
        EXPECT_EQ(format, 1);
        EXPECT_EQ(bits, 16);
        ASSERT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
        uint32_t size = Le32(b, 40);
        ASSERT_EQ(size_t(size) + 44, b.size());
        double seconds = double(size) / (2.0 * channels * rate);
        EXPECT_GT(seconds, 0.02);
        EXPECT_LT(seconds, 0.4);
        std::vector<int16_t> samples;
        for (size_t i = 44; i + 1 < b.size(); i += 2) samples.push_back(int16_t(b[i] | b[i + 1] << 8));
        ASSERT_GE(samples.size(), size_t(2 * channels));
        for (int c = 0; c < channels; ++c) {
            ExpectCentredWithHeadroom(samples, channels, c);
            EXPECT_EQ(samples[size_t(c)], 0) << "channel " << c << " starts with a step";
            EXPECT_EQ(samples[samples.size() - size_t(channels - c)], 0) << "channel " << c << " ends with a step";
        }
        EXPECT_GT(Rms(samples), 1000) << "too quiet";
        seen.insert(std::string(b.begin() + 44, b.end()));
    }
    EXPECT_EQ(seen.size(), std::size(kEffects));
}

// The media layer loads every picture, cuts it into the game's grid, and draws
// its magenta as transparent.
class AssetsInMediaLayer : public testsupport::HeadlessMedia {};

TEST_F(AssetsInMediaLayer, LoadsCutsAndDrawsEveryPicture) {
    for (const auto& e : kPictures) {
        SCOPED_TRACE(e.name);
        const std::string path = (kAssets / "image" / e.name).string();
        int whole = LoadImageFile(path.c_str(), 0);
        ASSERT_GT(whole, 0);
        int w = 0, h = 0;
        ASSERT_EQ(GetImageSize(whole, &w, &h), 0);
        const Picture& own = Pictures().at(e.name);
        EXPECT_EQ(w, own.width);
        EXPECT_EQ(h, own.height);
        std::vector<int> cells(size_t(e.cols * e.rows), -1);
        ASSERT_EQ(
            LoadImageDivided(path.c_str(), e.cols * e.rows, e.cols, e.rows, w / e.cols, h / e.rows, cells.data(), 0),
            0);
        for (size_t i = 0; i < cells.size(); ++i) {
            ASSERT_GT(cells[i], 0);
            ClearScreen();
            ASSERT_EQ(DrawImage(0, 0, cells[i], 1), 0);
            // Every drawn pixel is opaque in the file, every magenta one left the black screen alone.
            int cx = int(i) % e.cols * (w / e.cols), cy = int(i) / e.cols * (h / e.rows);
            int shown = 0;
            const std::vector<uint32_t> screen = media::headless::BackScreenPixels();
            for (int y = 0; y < std::min(h / e.rows, 120); ++y)
                for (int x = 0; x < std::min(w / e.cols, 160); ++x) {
                    bool clear = own.clear(cx + x, cy + y);
                    uint32_t px = screen.at(size_t(y) * 160 + size_t(x));
                    if (clear) {
                        EXPECT_EQ(px, 0u) << "magenta drawn at " << x << "," << y;
                    }
                    shown += px != 0;
                }
            EXPECT_GT(shown, 0) << "cell " << i << " draws nothing";
            DeleteImage(cells[i], 0);
        }
        DeleteImage(whole, 0);
    }
}

TEST_F(AssetsInMediaLayer, LoadsEverySound) {
    SetSoundDataMode(0);
    for (const char* name : kEffects) {
        int h = LoadSound((kAssets / "sound" / name).string().c_str(), 3, -1);
        EXPECT_GT(h, 0) << name;
        DeleteSound(h, 0);
    }
    SetSoundDataMode(2);
    for (const char* name : kMusic) {
        int h = LoadSound((kAssets / "sound" / name).string().c_str(), 3, -1);
        EXPECT_GT(h, 0) << name;
        DeleteSound(h, 0);
    }
}

// What the player hears: each sound's peak through the mixer (decoded,
// resampled, at full volume). The loudest music and the loudest effect sum
// below full scale however they line up, so an effect over the music never clips.
TEST_F(AssetsInMediaLayer, LoudestMusicWithLoudestEffectAtFullVolumeDoesNotClip) {
    SetSoundDataMode(0);
    auto heardPeak = [](const char* name) {
        const int h = LoadSound((kAssets / "sound" / name).string().c_str(), 3, -1);
        if (h <= 0) {
            ADD_FAILURE() << name << " does not load";
            return 0;
        }
        SetSoundVolume(255, h);
        PlaySoundHandle(h, kPlayBackground, kFromTop);
        int peak = 0;
        while (media::SoundTable().Find(h)->IsPlaying())
            for (int16_t v : media::headless::RenderAudio(48000)) peak = std::max(peak, std::abs(int(v)));
        DeleteSound(h, 0);
        return peak;
    };
    int music = 0, effect = 0;
    for (const char* name : kMusic) music = std::max(music, heardPeak(name));
    for (const char* name : kEffects) effect = std::max(effect, heardPeak(name));
    EXPECT_LT(music + effect, 32767) << "music " << music << " + effect " << effect;
}
