#include "Picture.h"

#include <sstream>
#include <stdexcept>

namespace assetgen {

namespace {

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

std::string Trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return {};
    size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

[[noreturn]] void Fail(const std::string& origin, int line, const std::string& what) {
    throw std::runtime_error(origin + ":" + std::to_string(line) + ": " + what);
}

int ToInt(const std::string& s, const std::string& origin, int line) {
    try {
        size_t used = 0;
        int v = std::stoi(s, &used);
        if (used != s.size()) Fail(origin, line, "not a number: " + s);
        return v;
    } catch (const std::logic_error&) {
        Fail(origin, line, "not a number: " + s);
    }
}

}  // namespace

void Palette::Parse(const std::string& text, const std::string& origin) {
    std::istringstream in(text);
    int lineNo = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNo;
        line = Trim(line);
        if (line.empty() || line[0] == '#') continue;
        auto w = Words(line);
        if (w.size() != 3 || w[0].size() != 1 || w[2].size() != 7 || w[2][0] != '#')
            Fail(origin, lineNo, "expected: <char> <name> #rrggbb");
        char c = w[0][0];
        if (c == '.' || colours_.count(c)) Fail(origin, lineNo, std::string("character used twice: ") + c);
        unsigned v = std::stoul(w[2].substr(1), nullptr, 16);
        Rgb rgb{uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
        if (rgb == kMagenta) Fail(origin, lineNo, "magenta is reserved for transparency");
        colours_[c] = rgb;
    }
    if (colours_.size() > 32) Fail(origin, lineNo, "more than 32 colours");
}

// Puts colour c on every transparent pixel that touches (side by side) an
// opaque one of the same cell, so each figure gets a one-pixel ring.
void PictureBook::Outline(Grid& g, int cellW, int cellH, char c) {
    Grid src = g;
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x) {
            if (src.at(x, y) != '.') continue;
            int cx = x / cellW * cellW, cy = y / cellH * cellH;
            auto opaque = [&](int u, int v) {
                return u >= cx && u < cx + cellW && v >= cy && v < cy + cellH && src.at(u, v) != '.';
            };
            if (opaque(x - 1, y) || opaque(x + 1, y) || opaque(x, y - 1) || opaque(x, y + 1)) g.at(x, y) = c;
        }
}

void PictureBook::Parse(const std::string& text, const std::string& origin) {
    std::istringstream in(text);
    int lineNo = 0;
    std::string name;  // picture being defined; empty outside a block
    Grid* grid = nullptr;
    int cellW = 0, cellH = 0, cols = 0;
    int cell = -1;  // cell being written, -1 in whole-picture mode
    int row = 0;    // next row to write (within the cell or picture)
    int rowLimit = 0;
    char outline = 0;
    bool patching = false;  // a patch may replace fewer rows than the cell has

    auto finish = [&](int at) {
        if (cell < 0 && row != 0 && row != grid->height)
            Fail(origin, at, name + ": " + std::to_string(row) + " rows, expected " + std::to_string(grid->height));
        if (cell >= 0 && row != rowLimit && !patching)
            Fail(origin, at,
                 name + ": cell " + std::to_string(cell) + " has " + std::to_string(row) + " rows, expected " +
                     std::to_string(rowLimit));
    };
    auto cellOrigin = [&](int k, int& ox, int& oy) {
        ox = (k % cols) * cellW;
        oy = (k / cols) * cellH;
    };

    for (std::string raw; std::getline(in, raw);) {
        ++lineNo;
        std::string line = Trim(raw);
        if (line.empty() || line[0] == '#') continue;
        auto w = Words(line);

        if (w.size() == 1 && w[0] != "end") {  // a grid row
            if (!grid) Fail(origin, lineNo, "grid row outside an image block");
            const std::string& r = w[0];
            int width = cell >= 0 ? cellW : grid->width;
            if (int(r.size()) != width)
                Fail(origin, lineNo,
                     name + ": row is " + std::to_string(r.size()) + " wide, expected " + std::to_string(width));
            if (row >= rowLimit) Fail(origin, lineNo, name + ": too many rows");
            int ox = 0, oy = 0;
            if (cell >= 0) cellOrigin(cell, ox, oy);
            for (int x = 0; x < width; ++x) {
                if (!palette_.Has(r[x])) Fail(origin, lineNo, std::string("unknown colour character ") + r[x]);
                grid->at(ox + x, oy + row) = r[x];
            }
            ++row;
            continue;
        }

        if (w[0] == "image") {
            if (grid) Fail(origin, lineNo, "image inside an image block (missing end)");
            if (w.size() < 3) Fail(origin, lineNo, "image NAME W H [cell CW CH] | image NAME like OTHER ...");
            name = w[1];
            if (grids_.count(name)) Fail(origin, lineNo, "image defined twice: " + name);
            if (w[2] == "like") {
                if (w.size() < 4 || !grids_.count(w[3])) Fail(origin, lineNo, "like: unknown image");
                Grid g = grids_.at(w[3]);
                Image base = images_.count(w[3]) ? images_.at(w[3]) : Image();
                bool flip = false;
                std::map<char, char> swaps;  // applied all at once, so pairs never chain
                for (size_t i = 4; i < w.size(); ++i) {
                    if (w[i] == "flip") {
                        flip = true;
                        continue;
                    }
                    if (w[i] == "swap") continue;
                    if (w[i].size() != 3 || w[i][1] != '=' || !palette_.Has(w[i][2]))
                        Fail(origin, lineNo, "swap pairs are written a=b with palette characters");
                    swaps[w[i][0]] = w[i][2];
                }
                for (char& c : g.cells)
                    if (auto it = swaps.find(c); it != swaps.end()) c = it->second;
                if (flip) {
                    Grid f = g;
                    for (int y = 0; y < g.height; ++y)
                        for (int x = 0; x < g.width; ++x) f.at(x, y) = g.at(g.width - 1 - x, y);
                    g = f;
                }
                grids_[name] = g;
                order_.push_back(name);
                Image img(g.width, g.height);
                img.name = name;
                img.cellWidth = base.cellWidth;
                img.cellHeight = base.cellHeight;
                images_[name] = img;
                name.clear();
                continue;  // a "like" image has no block
            }
            if (w.size() != 4 && w.size() != 7) Fail(origin, lineNo, "image NAME W H [cell CW CH]");
            Grid g;
            g.width = ToInt(w[2], origin, lineNo);
            g.height = ToInt(w[3], origin, lineNo);
            if (g.width <= 0 || g.height <= 0 || g.width > 4096 || g.height > 4096) Fail(origin, lineNo, "bad size");
            g.cells.assign(size_t(g.width) * g.height, '.');
            grids_[name] = g;
            grid = &grids_[name];
            order_.push_back(name);
            Image img(g.width, g.height);
            img.name = name;
            cellW = cellH = 0;
            if (w.size() == 7) {
                if (w[4] != "cell") Fail(origin, lineNo, "expected: cell CW CH");
                cellW = ToInt(w[5], origin, lineNo);
                cellH = ToInt(w[6], origin, lineNo);
                if (cellW <= 0 || cellH <= 0 || g.width % cellW || g.height % cellH)
                    Fail(origin, lineNo, "cells must tile the picture");
                img.cellWidth = cellW;
                img.cellHeight = cellH;
                cols = g.width / cellW;
            }
            images_[name] = img;
            cell = -1;
            row = 0;
            rowLimit = g.height;
            continue;
        }

        if (!grid) Fail(origin, lineNo, "directive outside an image block: " + w[0]);

        if (w[0] == "end") {
            finish(lineNo);
            if (outline) Outline(*grid, cellW ? cellW : grid->width, cellH ? cellH : grid->height, outline);
            outline = 0;
            grid = nullptr;
            name.clear();
            continue;
        }

        if (w[0] == "cell") {
            finish(lineNo);
            if (cellW == 0) Fail(origin, lineNo, "cell in a picture without cells");
            int k = ToInt(w[1], origin, lineNo);
            int count = (grid->width / cellW) * (grid->height / cellH);
            if (k < 0 || k >= count) Fail(origin, lineNo, "cell number out of range");
            cell = k;
            patching = false;
            row = 0;
            rowLimit = cellH;
            if (w.size() == 2) continue;
            // cell K copy J [shift DX DY] [flip] [patch ROW]
            if (w[2] != "copy" || w.size() < 4)
                Fail(origin, lineNo, "cell K copy J [shift DX DY] [flip] [patch ROW]");
            int j = ToInt(w[3], origin, lineNo);
            if (j < 0 || j >= count) Fail(origin, lineNo, "copied cell out of range");
            int dx = 0, dy = 0;
            bool flip = false;
            row = rowLimit;  // a copy is complete unless patched
            for (size_t i = 4; i < w.size(); ++i) {
                if (w[i] == "shift" && i + 2 < w.size()) {
                    dx = ToInt(w[i + 1], origin, lineNo);
                    dy = ToInt(w[i + 2], origin, lineNo);
                    i += 2;
                } else if (w[i] == "flip") {
                    flip = true;
                } else if (w[i] == "patch" && i + 1 < w.size()) {
                    row = ToInt(w[i + 1], origin, lineNo);
                    if (row < 0 || row >= cellH) Fail(origin, lineNo, "patch row out of range");
                    patching = true;
                    ++i;
                } else {
                    Fail(origin, lineNo, "unknown word: " + w[i]);
                }
            }
            int sx, sy, tx, ty;
            cellOrigin(j, sx, sy);
            cellOrigin(k, tx, ty);
            std::vector<char> src(size_t(cellW) * cellH);
            for (int y = 0; y < cellH; ++y)
                for (int x = 0; x < cellW; ++x) src[size_t(y) * cellW + x] = grid->at(sx + x, sy + y);
            for (int y = 0; y < cellH; ++y)
                for (int x = 0; x < cellW; ++x) {
                    int fx = x - dx, fy = y - dy;
                    if (flip) fx = cellW - 1 - fx;
                    char c = '.';
                    if (fx >= 0 && fx < cellW && fy >= 0 && fy < cellH) c = src[size_t(fy) * cellW + fx];
                    grid->at(tx + x, ty + y) = c;
                }
            continue;
        }

        if (w[0] == "outline") {  // outline C: rings every figure of each cell with colour C when the block ends
            if (w.size() != 2 || w[1].size() != 1 || !palette_.Has(w[1][0])) Fail(origin, lineNo, "outline C");
            outline = w[1][0];
            continue;
        }

        if (w[0] == "place") {  // place NAME X Y: draws an earlier picture's opaque pixels
            if (w.size() != 4 || !grids_.count(w[1]) || w[1] == name) Fail(origin, lineNo, "place NAME X Y");
            const Grid& src = grids_.at(w[1]);
            int px = ToInt(w[2], origin, lineNo), py = ToInt(w[3], origin, lineNo);
            for (int y = 0; y < src.height; ++y)
                for (int x = 0; x < src.width; ++x) {
                    char c = src.cells[size_t(y) * src.width + x];
                    int gx = px + x, gy = py + y;
                    if (c != '.' && gx >= 0 && gx < grid->width && gy >= 0 && gy < grid->height) grid->at(gx, gy) = c;
                }
            continue;
        }

        Fail(origin, lineNo, "unknown directive: " + w[0]);
    }
    if (grid) Fail(origin, lineNo, name + ": missing end");

    // Colour every grid.
    for (auto& [n, img] : images_) {
        const Grid& g = grids_.at(n);
        for (int y = 0; y < g.height; ++y)
            for (int x = 0; x < g.width; ++x) img.at(x, y) = palette_.Colour(g.cells[size_t(y) * g.width + x]);
    }
}

std::vector<const Image*> PictureBook::Outputs() const {
    std::vector<const Image*> out;
    for (const auto& n : order_)
        if (n.find('.') != std::string::npos) out.push_back(&images_.at(n));
    return out;
}

const Image* PictureBook::Find(const std::string& name) const {
    auto it = images_.find(name);
    return it == images_.end() ? nullptr : &it->second;
}

}  // namespace assetgen
