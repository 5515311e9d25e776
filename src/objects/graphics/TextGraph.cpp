#include "objects/graphics/TextGraph.h"

#include "objects/graphics/GraphicTexts.h"
#include "objects/graphics/SharedTextColour.h"
#include "media/Media.h"

void CTextGraph::Release() {
    for (std::string& line : m_lines) std::string().swap(line);
}

void CTextGraph::Draw(int x, int y, bool, int alpha, int r, int g, int b) {
    BeginGraphicDraw(alpha, r, g, b);
    SetDefaultFontSize(m_lineHeight);
    SetDefaultFontFace(TextGraphFontFace(), -1);
    // The tint colours the text as well as the brightness; the last text colour is shared.
    const uint32_t colour = MakeColor(r, g, b);
    KeepTextColour(colour);
    for (int i = 0; i < static_cast<int>(m_lines.size()); ++i) {
        const int64_t lineY = int64_t{y} + int64_t{m_lineHeight} * i;
        if (lineY > INT32_MAX || lineY < INT32_MIN) break;
        DrawTextAt(x, static_cast<int>(lineY), m_lines[i].c_str(), colour, 0);
    }
}

void CTextGraph::Advance() {}

void CTextGraph::SetText(const std::string& text) {
    for (std::string& line : m_lines) line.clear();
    size_t line = 0;
    size_t start = 0;
    while (line < m_lines.size()) {
        const size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            m_lines[line] = text.substr(start);
            break;
        }
        m_lines[line] = text.substr(start, end - start);
        ++line;
        start = end + 1;
    }
}
