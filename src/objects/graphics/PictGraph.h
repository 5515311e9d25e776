// One picture.
#pragma once

#include <cstdint>

#include "objects/graphics/Graphic.h"

class CPictGraph : public CGraphic {
public:
    explicit CPictGraph(int32_t image) : m_image(image) {}

    void Release() override;
    void Draw(int x, int y, bool turn, int alpha, int r, int g, int b) override;
    void Advance() override;

    int32_t m_image;  // shared; owned by the image store's file cache
};
