#include "objects/graphics/AnimeGraph.h"

#include "media/Media.h"

void CAnimeGraph::Release() {
    // The frame images belong to the image store's file cache; only the list goes.
    std::vector<int32_t>().swap(m_frames);
    m_frame = 0;
}

void CAnimeGraph::Draw(int x, int y, bool turn, int alpha, int r, int g, int b) {
    if (m_frame >= m_frames.size()) {  // no frames: nothing to show
        BeginGraphicDraw(alpha, r, g, b);
        return;
    }
    DrawImageBlended(x, y, m_frames[m_frame], turn, DrawShade{alpha, r, g, b});
}

void CAnimeGraph::Advance() {
    if (m_frames.empty()) {
        m_frame = 0;
        return;
    }
    ++m_frame;
    if (m_frame >= m_frames.size()) m_frame = 0;
}

void CAnimeGraph::AddFrame(int handle) { m_frames.push_back(handle); }
