#include "objects/TextMessageMng.h"

#include "app/input/KeyConfig.h"
#include "objects/GraObj.h"

CTextMessageMng::CTextMessageMng() : m_pages(new CGraObj) { CTextMessageMng::Reset(); }

CTextMessageMng::~CTextMessageMng() { CTextMessageMng::Release(); }

void CTextMessageMng::Release() {
    Reset();
    if (m_pages != nullptr) {
        m_pages->Release();
        delete m_pages;
        m_pages = nullptr;
    }
}

void CTextMessageMng::Reset() {
    m_x = 0;
    m_y = 0;
    if (m_pages != nullptr) m_pages->Reset();
    m_keys = nullptr;
    m_lineHeight = 8;
    if (m_pages != nullptr) m_pages->ClearGraphics();
    m_page = 0;
    m_pageCount = 0;
}

void CTextMessageMng::Draw() {
    if (m_pages != nullptr) m_pages->DrawAt(m_x, m_y);
}

void CTextMessageMng::Update() {
    if (m_pages != nullptr) m_pages->Update();

    // Buttons 4 (decide) and 5 (cancel) turn the page when pressed this frame; one turn at most.
    bool turn = false;
    if (m_keys != nullptr && m_keys->keys.size() > 4 && GetButtonState(*m_keys, 4) == kButtonPressed) {
        turn = true;
    } else if (m_keys != nullptr && m_keys->keys.size() > 5 && GetButtonState(*m_keys, 5) == kButtonPressed) {
        turn = true;
    }
    if (!turn) return;

    if (m_page < UINT32_MAX) ++m_page;
    if (m_pages != nullptr && !m_pages->m_graphics.empty()) {
        const uint32_t last = static_cast<uint32_t>(m_pages->m_graphics.size() - 1);
        m_pages->m_current = m_page < last ? m_page : last;  // the last page stays on screen
        m_pages->m_frameCount = 0;
    }
}

void CTextMessageMng::DrawAt(int x, int y) {
    if (m_pages != nullptr) m_pages->DrawAt(x, y);
}

void CTextMessageMng::SetPos(int x, int y) {
    m_x = x;
    m_y = y;
}

void CTextMessageMng::SetMessages(const std::vector<std::string>& pages) {
    if (m_pages == nullptr) return;  // released
    m_pages->ClearGraphics();
    for (const std::string& page : pages) m_pages->AddText(page.c_str(), m_lineHeight);
    m_pageCount = static_cast<uint32_t>(pages.size());
    m_page = 0;
}
