#include "shotmatch/WindowCompare.h"

#include <algorithm>
#include <set>

namespace shotmatch {

namespace {

bool SameAtScreenPrecision(uint32_t a, uint32_t b) { return ((a ^ b) & 0xF8FCF8) == 0; }

// The screenshot magnified into the window: the colour due at each window pixel.
class Magnified {
public:
    Magnified(const WindowPicture& window, const media::DecodedImage& shot)
        : m_shot(shot),
          m_scale(std::min(window.width / shot.width, window.height / shot.height)),
          m_left((window.width - m_scale * shot.width) / 2),
          m_top((window.height - m_scale * shot.height) / 2) {}
    bool Fits() const { return m_scale >= 1; }
    uint32_t At(int x, int y) const {
        const int sx = (x - m_left) / m_scale, sy = (y - m_top) / m_scale;
        const bool inside = x >= m_left && y >= m_top && sx < m_shot.width && sy < m_shot.height;
        return inside
                   ? m_shot
                         .argb[static_cast<size_t>(sy) * static_cast<size_t>(m_shot.width) + static_cast<size_t>(sx)]
                   : 0;
    }

private:
    const media::DecodedImage& m_shot;
    int m_scale, m_left, m_top;
};

uint32_t Pixel(const WindowPicture& window, int x, int y) {
    return window.rgb[static_cast<size_t>(y) * static_cast<size_t>(window.width) + static_cast<size_t>(x)] & 0xFFFFFF;
}

}  // namespace

long Differences(const WindowPicture& window, const media::DecodedImage& shot) {
    const Magnified due(window, shot);
    if (!due.Fits()) return static_cast<long>(window.rgb.size());
    long differences = 0;
    for (int y = 0; y < window.height; ++y)
        for (int x = 0; x < window.width; ++x)
            if (!SameAtScreenPrecision(Pixel(window, x, y), due.At(x, y))) ++differences;
    return differences;
}

std::string PanelProblem(const WindowPicture& window, const media::DecodedImage& shot, std::string& found) {
    const Magnified due(window, shot);
    if (!due.Fits()) return "the window is smaller than the screenshot";
    int left = window.width, top = window.height, right = -1, bottom = -1;  // what differs, inclusive
    for (int y = 0; y < window.height; ++y)
        for (int x = 0; x < window.width; ++x)
            if (!SameAtScreenPrecision(Pixel(window, x, y), due.At(x, y))) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    if (right < 0) return "the window shows the screenshot alone, no panel";
    found = "a panel of " + std::to_string(right - left + 1) + " x " + std::to_string(bottom - top + 1) + " at " +
            std::to_string(left) + ", " + std::to_string(top);
    if (std::abs(left + right + 1 - window.width) > 1 || std::abs(top + bottom + 1 - window.height) > 1)
        return found + ": not centred in the window of " + std::to_string(window.width) + " x " +
               std::to_string(window.height);
    const uint32_t box = Pixel(window, left, top);
    std::set<uint32_t> colours;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
            const uint32_t colour = Pixel(window, x, y);
            const bool edge = x == left || x == right || y == top || y == bottom;
            if (edge && colour != box) return found + ": its edges are not all of one colour";
            colours.insert(colour);
        }
    if (colours.size() != 2)
        return found + ": it holds " + std::to_string(colours.size()) + " colours, not a box and its text";
    return {};
}

}  // namespace shotmatch
