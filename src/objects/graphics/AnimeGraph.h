// An animation strip: frames shown in turn, looping.
#pragma once

#include <cstdint>
#include <vector>

#include "objects/graphics/Graphic.h"

class CAnimeGraph : public CGraphic {
public:
    CAnimeGraph() = default;

    void Release() override;
    void Draw(int x, int y, bool turn, int alpha, int r, int g, int b) override;
    void Advance() override;
    void AddFrame(int handle);

    std::vector<int32_t> m_frames;
    uint32_t m_frame = 0;
};
