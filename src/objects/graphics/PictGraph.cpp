#include "objects/graphics/PictGraph.h"

#include "media/Media.h"

// The image belongs to the image store's file cache.
void CPictGraph::Release() {}

void CPictGraph::Draw(int x, int y, bool turn, int alpha, int r, int g, int b) {
    BeginGraphicDraw(alpha, r, g, b);
    if (turn) {
        DrawImageMirrored(x, y, m_image, 1);
    } else {
        DrawImage(x, y, m_image, 1);
    }
}

void CPictGraph::Advance() {}
