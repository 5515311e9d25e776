// Pictures of the game drawn as text grids: one palette of named colours, each
// picture a grid of palette characters ('.' is the transparent magenta).
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace assetgen {

struct Rgb {
    uint8_t r = 255, g = 0, b = 255;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kMagenta{255, 0, 255};

// A picture in 8-bit RGB, row by row from the top.
struct Image {
    std::string name;  // output file name, e.g. "CharY.bmp"
    int width = 0, height = 0;
    int cellWidth = 0, cellHeight = 0;  // 0 when the picture is not a sheet
    std::vector<Rgb> pixels;

    Image() = default;
    Image(int w, int h, Rgb fill = kMagenta) : width(w), height(h), pixels(size_t(w) * h, fill) {}
    Rgb& at(int x, int y) { return pixels[size_t(y) * width + x]; }
    const Rgb& at(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

// Palette characters to colours. The character '.' is always magenta.
class Palette {
public:
    // Lines "<char> <name> #rrggbb"; '#' at the line start begins a comment.
    void Parse(const std::string& text, const std::string& origin);
    bool Has(char c) const { return colours_.count(c) != 0; }
    Rgb Colour(char c) const { return colours_.at(c); }
    size_t Size() const { return colours_.size(); }

private:
    std::map<char, Rgb> colours_{{'.', kMagenta}};
};

// Reads every "image" block of a picture source; pictures may refer to earlier
// ones (also from earlier files) by name. Throws std::runtime_error with the
// file and line on any mistake.
class PictureBook {
public:
    explicit PictureBook(const Palette& palette) : palette_(palette) {}
    void Parse(const std::string& text, const std::string& origin);
    // Every picture whose name has an extension (those without one are drafts
    // that other pictures build on), in the order they were defined.
    std::vector<const Image*> Outputs() const;
    const Image* Find(const std::string& name) const;

private:
    struct Grid {
        int width = 0, height = 0;
        std::vector<char> cells;  // palette characters
        char& at(int x, int y) { return cells[size_t(y) * width + x]; }
    };
    static void Outline(Grid& g, int cellW, int cellH, char c);
    const Palette& palette_;
    std::map<std::string, Grid> grids_;
    std::vector<std::string> order_;
    std::map<std::string, Image> images_;
};

}  // namespace assetgen
