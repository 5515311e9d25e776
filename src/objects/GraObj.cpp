#include "objects/GraObj.h"

#include <cstddef>
#include <cstdint>

#include "objects/graphics/AnimeGraph.h"
#include "objects/graphics/BoxGraph.h"
#include "objects/graphics/Graphic.h"
#include "objects/graphics/PictGraph.h"
#include "objects/graphics/TextGraph.h"
#include "objects/graphics/Truncate.h"
#include "resources/ImageStore.h"

CGraObj::CGraObj() : m_store(ImageStore::Instance()) { CGraObj::Reset(); }

void CGraObj::Release() {
    Reset();  // gives every graphic back to the store
    std::vector<CGraphic*>().swap(m_graphics);
    m_store = nullptr;
}

void CGraObj::Reset() {
    m_x = 0;
    m_y = 0;
    ClearGraphics();
    m_frameCount = 0;
    m_frameWait = 1;
    m_alpha = Tween{255.0, 255.0, 0.0};
    for (Tween& t : m_bright) t = Tween{255.0, 255.0, 0.0};
    m_turn = false;
    m_current = 0;
}

void CGraObj::Draw() { CGraObj::DrawAt(m_x, m_y); }

void CGraObj::Update() {
    // Most objects rest: their four tweens are checked at once.
    if ((m_alpha.Unrest() | m_bright[0].Unrest() | m_bright[1].Unrest() | m_bright[2].Unrest()) != 0) {
        m_alpha.Step();
        for (Tween& t : m_bright) t.Step();
    }

    ++m_frameCount;
    if (m_frameCount > m_frameWait) {
        if (m_current < m_graphics.size()) m_graphics[m_current]->Advance();
        m_frameCount = 0;
    }
}

void CGraObj::DrawAt(int x, int y) {
    if (m_current >= m_graphics.size()) return;
    m_graphics[m_current]->Draw(x, y, m_turn, TruncToInt(m_alpha.value), TruncToInt(m_bright[0].value),
                                TruncToInt(m_bright[1].value), TruncToInt(m_bright[2].value));
}

void CGraObj::SetPos(int x, int y) {
    m_x = x;
    m_y = y;
}

bool CGraObj::IsSettled() {
    return m_alpha.step == 0.0 && m_bright[0].step == 0.0 && m_bright[1].step == 0.0 && m_bright[2].step == 0.0;
}

void CGraObj::SetTurn(bool turn) { m_turn = turn; }

void CGraObj::AddPicture(const char* name) {
    if (m_store == nullptr) return;
    if (CGraphic* g = m_store->CreatePicture(name)) m_graphics.push_back(g);
}

void CGraObj::AddCells(const char* name, int cols, int rows, int index, int first, int last) {
    if (m_store == nullptr) return;
    if (cols < 0) cols = 0;
    if (rows < 0) rows = 0;
    if (first < 0 || last < 0) {
        // The whole sheet. An empty sheet gives an empty range (clamped by the store).
        const int64_t count = int64_t{cols} * rows;
        first = 0;
        last = count > 0 ? static_cast<int>(count > INT32_MAX ? INT32_MAX : count - 1) : 0;
    }
    CGraphic* g = m_store->CreateCells(name, static_cast<unsigned>(cols), static_cast<unsigned>(rows),
                                       static_cast<unsigned>(first), static_cast<unsigned>(last));
    if (g == nullptr) return;
    if (index >= 0 && static_cast<size_t>(index) < m_graphics.size()) {
        // The replaced graphic is shown by nobody else: give it back at once.
        m_store->ReleaseGraphic(m_graphics[index]);
        m_graphics[index] = g;
    } else {
        m_graphics.push_back(g);
    }
}

void CGraObj::AddText(const char* text, int lineHeight) {
    if (m_store == nullptr) return;
    const unsigned height = lineHeight > 0 ? static_cast<unsigned>(lineHeight) : 0u;
    if (CGraphic* g = m_store->CreateText(text, height)) m_graphics.push_back(g);
}

void CGraObj::AddBox(int height) {
    if (m_store == nullptr) return;
    if (CGraphic* g = m_store->CreateBox(height)) m_graphics.push_back(g);
}

void CGraObj::ClearGraphics() {
    if (m_store != nullptr) {
        for (CGraphic* g : m_graphics) m_store->ReleaseGraphic(g);
    }
    m_graphics.clear();
}
