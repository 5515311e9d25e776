// A filled box, coloured by the tint.
#pragma once

#include <cstdint>

#include "objects/graphics/Graphic.h"

class CBoxGraph : public CGraphic {
public:
    CBoxGraph(int32_t width, int32_t height) : m_width(width), m_height(height) {}

    void Release() override;
    void Draw(int x, int y, bool turn, int alpha, int r, int g, int b) override;
    void Advance() override;

    int32_t m_width;
    int32_t m_height;
};
