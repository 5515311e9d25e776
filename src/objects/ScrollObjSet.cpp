#include "objects/ScrollObjSet.h"

#include <iterator>

CScrollObjSet::CScrollObjSet() { CScrollObjSet::Reset(); }

void CScrollObjSet::Release() { Reset(); }

void CScrollObjSet::Reset() {
    CObjSet::Reset();
    m_sizes.clear();
    m_scrollX = 0.0f;
    m_scrollY = 0.0f;
    m_wrapW = 0;
    m_wrapH = 0;
}

void CScrollObjSet::Update() {
    auto size = m_sizes.begin();
    for (ObjOffset& o : m_offsets) {
        ObjSize s;
        if (size != m_sizes.end()) s = *size++;

        o.x += m_scrollX;
        o.y += m_scrollY;

        // A wrap replaces the offset outright; zero drift counts as rightwards/downwards.
        if (m_scrollX < 0.0f) {
            if (static_cast<float>(s.w) + o.x < 0.0f) o.x = static_cast<float>(m_wrapW);
        } else if (o.x >= static_cast<float>(m_wrapW)) {
            o.x = -static_cast<float>(s.w);
        }
        if (m_scrollY < 0.0f) {
            if (static_cast<float>(s.h) + o.y < 0.0f) o.y = static_cast<float>(m_wrapH);
        } else if (o.y >= static_cast<float>(m_wrapH)) {
            o.y = -static_cast<float>(s.h);
        }
    }
}

void CScrollObjSet::Add(CBaseObj* child, float offX, float offY) {
    CObjSet::Add(child, offX, offY);
    m_sizes.push_back(ObjSize{0, 0});
}

void CScrollObjSet::Remove(unsigned index) {
    CObjSet::Remove(index);
    if (index < m_sizes.size()) m_sizes.erase(std::next(m_sizes.begin(), index));
}

void CScrollObjSet::AddSized(CBaseObj* child, float offX, float offY, int w, int h) {
    CObjSet::Add(child, offX, offY);
    m_sizes.push_back(ObjSize{w, h});
}
