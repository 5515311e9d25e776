#include "objects/graphics/BoxGraph.h"

#include <cstdint>

#include "media/Media.h"

void CBoxGraph::Release() {}

void CBoxGraph::Draw(int x, int y, bool turn, int alpha, int r, int g, int b) {
    BeginGraphicDraw(alpha, r, g, b);
    // White, so that the draw brightness alone gives the box its colour.
    const uint32_t colour = MakeColor(255, 255, 255);
    const int64_t x2 = turn ? int64_t{x} - m_width : int64_t{x} + m_width;
    const int64_t y2 = int64_t{y} + m_height;
    auto clamp = [](int64_t v) {
        if (v > INT32_MAX) return INT32_MAX;
        if (v < INT32_MIN) return INT32_MIN;
        return static_cast<int32_t>(v);
    };
    DrawRect(x, y, clamp(x2), clamp(y2), colour, 1);
}

void CBoxGraph::Advance() {}
