#include "Sheet.h"

#include <algorithm>
#include <string>

namespace assetgen {

namespace {

// Draws cell `cell` of a sheet cut cols x rows at (x, y), skipping magenta.
void Blit(Image& dst, const Image* src, int x, int y, int cols = 1, int rows = 1, int cell = 0,
          bool mirrored = false) {
    if (!src) return;
    int cw = src->width / cols, ch = src->height / rows;
    int sx0 = (cell % cols) * cw, sy0 = (cell / cols) * ch;
    for (int v = 0; v < ch; ++v)
        for (int u = 0; u < cw; ++u) {
            const Rgb& p = src->at(sx0 + (mirrored ? cw - 1 - u : u), sy0 + v);
            int dx = x + u, dy = y + v;
            if (p == kMagenta || dx < 0 || dy < 0 || dx >= dst.width || dy >= dst.height) continue;
            dst.at(dx, dy) = p;
        }
}

void Fill(Image& dst, int x, int y, int w, int h, Rgb c) {
    for (int v = std::max(0, y); v < std::min(dst.height, y + h); ++v)
        for (int u = std::max(0, x); u < std::min(dst.width, x + w); ++u) dst.at(u, v) = c;
}

// A number centred on x as the game draws it: 5-pixel pitch, top at y.
void Number(Image& dst, const Image* digits, int value, int x, int y) {
    std::string s = std::to_string(value);
    int start = x - int(double(s.size()) * 0.5 * 5);
    for (size_t i = 0; i < s.size(); ++i) Blit(dst, digits, start + int(i) * 5, y, 10, 1, s[i] - '0');
}

Image Title(const PictureBook& b) {
    Image s(160, 120, Rgb{128, 128, 255});
    // Every strip where the title puts it on its first frame.
    const Image* cloud = b.Find("kumo.bmp");
    for (auto [ox, oy] : {std::pair{0, 0}, {100, 30}, {200, 15}}) Blit(s, cloud, -80 + ox, 21 + oy);
    Blit(s, b.Find("yama.bmp"), -320, 26);
    Blit(s, b.Find("yama.bmp"), 0, 26);
    Blit(s, b.Find("jimen.bmp"), -320, 72);
    Blit(s, b.Find("jimen.bmp"), 0, 72);
    const char* sheets[] = {"CharY.bmp", "CharR.bmp", "CharG.bmp", "CharB.bmp"};
    for (int i = 0; i < 12; ++i) Blit(s, b.Find(sheets[i % 4]), -16 + 16 * i, 82, 4, 4, i % 4);
    Fill(s, 0, 0, 160, 20, Rgb{0, 0, 0});
    Fill(s, 0, 100, 160, 20, Rgb{0, 0, 0});
    Blit(s, b.Find("TitleLogo.bmp"), 21, 37);
    Blit(s, b.Find("PushZkey.bmp"), 45, 66);
    return s;
}

Image Play(const PictureBook& b) {
    Image s(160, 120, Rgb{0, 0, 0});
    const Image* chips = b.Find("map_chip.bmp");
    for (int y = 0; y < 40; y += 10)
        for (int x = 0; x < 160; x += 10) Blit(s, chips, x, 30 + y, 2, 2, y < 20 ? 1 : 0);
    for (int i = 0; i < 4; ++i) Blit(s, b.Find("map_chip_ana.bmp"), 70 + (i % 2) * 10, 30 + (i / 2) * 10, 2, 2, i);
    Blit(s, b.Find("Flame1.bmp"), 0, 0);
    Blit(s, b.Find("Flame2.bmp"), 0, 70);
    const Image* digits = b.Find("Number.png");
    const char* icons[] = {"TrophicIcon.bmp", "MoneyIcon.bmp", "Icon_Trap.bmp", "Icon_Date.bmp"};
    int ix[] = {2, 38, 2, 38}, iy[] = {-2, -2, 12, 12}, values[] = {100, 1250, 2, 37};
    for (int k = 0; k < 4; ++k) {
        Blit(s, b.Find(icons[k]), ix[k], iy[k]);
        Number(s, digits, values[k], ix[k] + 25, iy[k] + 8);
    }
    const char* sheets[] = {"CharY.bmp", "CharB.bmp", "CharR.bmp", "CharG.bmp"};
    int ux[] = {81, 120, 81, 120}, uy[] = {-1, -1, 11, 11};
    for (int k = 0; k < 4; ++k) {
        Blit(s, b.Find(sheets[k]), ux[k], uy[k], 4, 4, k);
        Number(s, digits, 1 + k, ux[k], uy[k] + 9);
        Number(s, digits, 3 + k * 4, ux[k] + 23, uy[k] + 9);
    }
    // Unit menu as the breed offer shows it, cursor on the second panel.
    int px[] = {12, 12, 90, 90}, py[] = {77, 97, 77, 97};
    for (int k = 0; k < 4; ++k) {
        Blit(s, b.Find(sheets[k]), px[k], py[k], 4, 4, 0);
        Blit(s, b.Find("TrophicIcon.bmp"), px[k] + 16, py[k] - 8);
        Number(s, digits, 13 * (k + 1), px[k] + 45, py[k]);
        Blit(s, b.Find("HeiIcon.bmp"), px[k] + 16, py[k] + 3);
        Number(s, digits, 3, px[k] + 35, py[k] + 10);
        Blit(s, b.Find("Arrow.bmp"), px[k] + 43, py[k] + 9, 2, 2, 1);
        Number(s, digits, 5, px[k] + 57, py[k] + 10);
    }
    Blit(s, b.Find("Arrow.bmp"), 12 - 8, 97 + 5, 2, 2, 1);
    // A raid: three lines of defenders against the raider, a few units about.
    Blit(s, b.Find("CharG.bmp"), 20, 44, 4, 4, 1);
    Blit(s, b.Find("CharY.bmp"), 120, 50, 4, 4, 2, true);
    for (int j = 0; j < 3; ++j)
        for (int i = 2; i >= 0; --i) Blit(s, b.Find(sheets[(i + j) % 4]), 44 - 10 * i, 40 + 7 * j, 4, 4, (i + j) % 4);
    Blit(s, b.Find("enemy_1.bmp"), 100, 47, 4, 1, 0);
    Number(s, digits, 27, 108, 38);
    return s;
}

}  // namespace

Image Scale(const Image& src, int scale) {
    Image out(src.width * scale, src.height * scale);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) out.at(x, y) = src.at(x / scale, y / scale);
    return out;
}

Image ContactSheet(const std::vector<const Image*>& pictures, int scale) {
    const int margin = 8, maxWidth = 1400;
    // Shelf packing in the given order.
    struct Place {
        const Image* img;
        int x, y;
    };
    std::vector<Place> places;
    int x = margin, y = margin, shelf = 0, width = 0;
    for (const Image* img : pictures) {
        int w = img->width * scale, h = img->height * scale;
        if (x + w + margin > maxWidth && x > margin) {
            x = margin;
            y += shelf + margin;
            shelf = 0;
        }
        places.push_back({img, x, y});
        x += w + margin;
        width = std::max(width, x);
        shelf = std::max(shelf, h);
    }
    Image sheet(width, y + shelf + margin, Rgb{40, 40, 48});
    for (const Place& p : places)
        for (int v = 0; v < p.img->height * scale; ++v)
            for (int u = 0; u < p.img->width * scale; ++u) {
                Rgb c = p.img->at(u / scale, v / scale);
                if (c == kMagenta) c = ((u / 4 + v / 4) % 2) ? Rgb{96, 96, 104} : Rgb{120, 120, 128};
                sheet.at(p.x + u, p.y + v) = c;
            }
    return sheet;
}

Image ScreenMockup(const PictureBook& book, int scale) {
    Image both(330, 120, Rgb{40, 40, 48});
    Image t = Title(book), p = Play(book);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x) {
            both.at(x, y) = t.at(x, y);
            both.at(170 + x, y) = p.at(x, y);
        }
    return Scale(both, scale);
}

}  // namespace assetgen
