#include "objects/graphics/PictGraph.h"

#include "media/Media.h"

// The image belongs to the image store's file cache.
void CPictGraph::Release() {}

void CPictGraph::Draw(int x, int y, bool turn, int alpha, int r, int g, int b) {
    DrawImageBlended(x, y, m_image, turn, DrawShade{alpha, r, g, b});
}

void CPictGraph::Advance() {}
