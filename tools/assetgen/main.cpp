// anagura-assetgen: makes every picture, music piece, sound effect and the key
// file of the game from the human-readable sources under assets/src.
//
//   anagura-assetgen --src DIR --out DIR [--only pictures|sounds|key]...
//                    [--sheet FILE] [--mockup FILE] [--kbps N]
//   anagura-assetgen --src DIR --loop-lengths     prints each loop's length in frames
//   anagura-assetgen --src DIR --describe         also each track's length and pitch range
//
// Pictures go to OUT/image, sounds to OUT/sound, the key file to OUT/Data.
// The picture named "icon" becomes the window's icon (OUT/image/anagura.png)
// and the desktop icons (OUT/icons/hicolor/NxN/apps/anagura.png).
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "assetgen/AudioFiles.h"
#include "assetgen/Icons.h"
#include "assetgen/ImageFiles.h"
#include "assetgen/Picture.h"
#include "assetgen/Sheet.h"
#include "assetgen/Synth.h"

namespace fs = std::filesystem;
using namespace assetgen;

namespace {

std::string ReadText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + p.string());
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<fs::path> Sorted(const fs::path& dir, const std::string& ext) {
    std::vector<fs::path> files;
    if (!fs::is_directory(dir)) return files;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.is_regular_file() && e.path().extension() == ext) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

// keys.txt: one scan code per line, "<code> <button name>"; '#' comments.
void MakeKeyFile(const fs::path& src, const fs::path& out) {
    std::istringstream in(ReadText(src));
    std::vector<int32_t> codes;
    for (std::string line; std::getline(in, line);) {
        if (auto hash = line.find('#'); hash != std::string::npos) line.resize(hash);
        std::istringstream ls(line);
        int code;
        if (ls >> code) {
            if (code < 0 || code > 255) throw std::runtime_error(src.string() + ": scan code out of range");
            codes.push_back(code);
        }
    }
    std::vector<uint8_t> b;
    auto put = [&](int32_t v) {
        for (int i = 0; i < 4; ++i) b.push_back(uint8_t(uint32_t(v) >> (8 * i)));
    };
    put(int32_t(codes.size()));
    for (int32_t c : codes) put(c);
    fs::create_directories(out.parent_path());
    std::ofstream o(out, std::ios::binary | std::ios::trunc);
    o.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
    if (!o) throw std::runtime_error("cannot write " + out.string());
}

PictureBook ReadPictures(const fs::path& src, Palette& palette) {
    palette.Parse(ReadText(src / "palette.txt"), (src / "palette.txt").string());
    PictureBook book(palette);
    for (const auto& f : Sorted(src / "pictures", ".txt")) book.Parse(ReadText(f), f.string());
    return book;
}

// Prints "NAME FRAMES" for every loop: the exact length a gapless decoder must give.
void ListLoopLengths(const fs::path& src, bool describe) {
    fs::path dir = src / "music";
    for (const auto& f : Sorted(dir, ".mml")) {
        Score score =
            ParseScore(ReadText(f), f.string(), [&](const std::string& name) { return ReadText(dir / name); });
        std::printf("%s %zu\n", score.output.c_str(), LoopFrames(score));
        if (describe) std::printf("%s", Describe(score).c_str());
    }
}

// Music pieces share one loudness and keep their peak below -6 dBFS (the
// encoder may add a little to it). Effects peak at -9 dBFS: a menu plays two
// of them within a few frames (decide, then a cursor move) over the music,
// and the three together still stay below full scale.
constexpr Level kMusicLevel{0.45, 0.0841};  // -21.5 dBFS RMS
constexpr Level kEffectLevel{0.355, 0};

double Decibels(double v) { return v > 0 ? 20.0 * std::log10(v) : -999.0; }

// Renders and writes every score, a few at a time (the encoder runs as its own process).
void MakeSounds(const fs::path& src, const fs::path& out, int kbps) {
    fs::create_directories(out / "sound");
    struct Job {
        fs::path dir, file;
        std::string report, error;
    };
    std::vector<Job> jobs;
    for (const char* folder : {"effects", "music"})
        for (const auto& f : Sorted(src / folder, ".mml")) jobs.push_back({src / folder, f, {}, {}});
    std::atomic<size_t> next{0};
    auto work = [&]() {
        for (size_t i; (i = next++) < jobs.size();) {
            Job& job = jobs[i];
            try {
                auto start = std::chrono::steady_clock::now();
                Score score = ParseScore(ReadText(job.file), job.file.string(),
                                         [&](const std::string& name) { return ReadText(job.dir / name); });
                StereoBuffer sound = Render(score, score.loop ? kMusicLevel : kEffectLevel);
                fs::path target = out / "sound" / score.output;
                if (score.loop) WriteMp3(sound, kbps, target.string());
                else WriteWav(sound, true, target.string());
                double ms =
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
                char line[128];
                std::snprintf(line, sizeof line, "%-16s %7.2f s  peak %5.1f dBFS  rms %5.1f dBFS  %5.0f ms\n",
                              score.output.c_str(), double(sound.Frames()) / kSampleRate, Decibels(Peak(sound)),
                              Decibels(Rms(sound)), ms);
                job.report = line;
            } catch (const std::exception& e) {
                job.error = e.what();
            }
        }
    };
    unsigned workers = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    std::vector<std::thread> threads;
    for (unsigned w = 1; w < workers; ++w) threads.emplace_back(work);
    work();
    for (auto& t : threads) t.join();
    for (const Job& job : jobs) {
        if (!job.error.empty()) throw std::runtime_error(job.error);
        std::printf("%s", job.report.c_str());
    }
}

int Usage() {
    std::fprintf(stderr,
                 "usage: anagura-assetgen --src DIR --out DIR [--only pictures|sounds|key]...\n"
                 "                        [--sheet FILE] [--mockup FILE] [--kbps N]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    fs::path src, out, sheet, mockup;
    std::set<std::string> only;
    int kbps = 128;
    bool listLengths = false, describe = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto next = [&]() -> std::string {
            if (i + 1 >= argc) throw std::runtime_error("missing value after " + a);
            return argv[++i];
        };
        try {
            if (a == "--src") src = next();
            else if (a == "--out") out = next();
            else if (a == "--only") only.insert(next());
            else if (a == "--sheet") sheet = next();
            else if (a == "--mockup") mockup = next();
            else if (a == "--kbps") kbps = std::stoi(next());
            else if (a == "--loop-lengths") listLengths = true;
            else if (a == "--describe") listLengths = describe = true;
            else return Usage();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
            return Usage();
        }
    }
    if (listLengths && !src.empty()) {
        try {
            ListLoopLengths(src, describe);
            return 0;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "anagura-assetgen: %s\n", e.what());
            return 1;
        }
    }
    if (src.empty() || out.empty()) return Usage();
    auto wanted = [&](const char* part) { return only.empty() || only.count(part) != 0; };
    try {
        if (wanted("pictures") || !sheet.empty() || !mockup.empty()) {
            Palette palette;
            PictureBook book = ReadPictures(src, palette);
            auto pictures = book.Outputs();
            if (wanted("pictures")) {
                fs::create_directories(out / "image");
                for (const Image* img : pictures) {
                    const fs::path target = out / "image" / img->name;  // English variants in image/en/
                    fs::create_directories(target.parent_path());
                    WritePicture(*img, target.string());
                }
                const Image* icon = book.Find("icon");
                if (!icon) throw std::runtime_error("the pictures lack one named icon");
                WriteIcons(*icon, out, out / "icons");
                std::printf("%zu pictures, %zu colours\n", pictures.size(), palette.Size() - 1);
            }
            if (!sheet.empty()) WritePng(ContactSheet(pictures, 4), sheet.string());
            if (!mockup.empty()) WritePng(ScreenMockup(book, 3), mockup.string());
        }
        if (wanted("key")) MakeKeyFile(src / "keys.txt", out / "Data" / "KeyData.dat");
        if (wanted("sounds")) MakeSounds(src, out, kbps);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "anagura-assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
