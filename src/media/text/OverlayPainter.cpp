#include "media/text/OverlayPainter.h"

#include <algorithm>

#include "media/text/FontFinder.h"

namespace media {

namespace {

constexpr uint32_t kBoxColour = 0xFF101830;  // dark blue, opaque: the window copies it without blending
constexpr uint32_t kTextColour = 0xFFFFFFFF;

int RunWidth(const TextRun& run) {
    int64_t right = 0;
    for (const TextMask& mask : run.masks) right = std::max(right, mask.left + mask.width);
    return static_cast<int>(right);
}

}  // namespace

Font* OverlayPainter::FontOfSize(int pixelSize) {
    if (m_font && m_fontSize == pixelSize) return m_font.get();
    m_font.reset();
    m_fontSize = pixelSize;
    // The game's face: the 8-pixel one at the smallest size, its larger one above.
    if (const auto file = FindFontFile({"MS Gothic", pixelSize, 0, false, FontCharSet::ShiftJis}))
        m_font = Font::Open(*file, pixelSize);
    return m_font.get();
}

const OverlayPicture& OverlayPainter::Paint(const std::vector<std::string>& lines, int pixelSize) {
    Font* font = lines.empty() ? nullptr : FontOfSize(pixelSize);
    if (!font) {
        Fill(0, 0);
        return m_picture;
    }
    const int pad = std::max(2, pixelSize / 2), pitch = pixelSize + pixelSize / 4;
    int width = 0;
    for (const std::string& line : lines) width = std::max(width, RunWidth(*font->RunOf(line)));
    Fill(width + 2 * pad, static_cast<int>(lines.size()) * pitch - (pitch - pixelSize) + 2 * pad);
    for (size_t i = 0; i < lines.size(); ++i)
        for (const TextMask& mask : font->RunOf(lines[i])->masks) Blit(mask, pad, pad + static_cast<int>(i) * pitch);
    return m_picture;
}

void OverlayPainter::Fill(int width, int height) {
    m_picture.width = width;
    m_picture.height = height;
    m_picture.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), kBoxColour);
}

void OverlayPainter::Blit(const TextMask& mask, int x, int y) {
    const int64_t left = x + mask.left;
    for (int row = 0; row < mask.height && y + row < m_picture.height; ++row)
        for (int column = 0; column < mask.width; ++column) {
            const int64_t px = left + column;
            if (px < 0 || px >= m_picture.width || !mask.bytes[static_cast<size_t>(row * mask.pitch + column)])
                continue;
            m_picture.pixels[static_cast<size_t>((y + row) * m_picture.width + px)] = kTextColour;
        }
}

}  // namespace media
