// A block of up to ten lines of Shift-JIS text.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "objects/graphics/Graphic.h"

class CTextGraph : public CGraphic {
public:
    CTextGraph() = default;

    void Release() override;
    void Draw(int x, int y, bool turn, int alpha, int r, int g, int b) override;
    void Advance() override;
    // Splits the text at line feeds into at most ten lines.
    void SetText(const std::string& text);

    std::array<std::string, 10> m_lines;
    int32_t m_lineHeight = 22;
};
