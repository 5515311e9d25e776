#include "objects/ObjSet.h"

#include <iterator>

#include "objects/graphics/Truncate.h"

CObjSet::CObjSet() { CObjSet::Reset(); }

void CObjSet::Release() { Reset(); }

void CObjSet::Reset() {
    m_x = 0;
    m_y = 0;
    m_children.clear();  // members belong to their owner
    m_offsets.clear();
}

void CObjSet::Draw() { CObjSet::DrawAt(m_x, m_y); }

void CObjSet::Update() {}

void CObjSet::DrawAt(int x, int y) {
    auto child = m_children.begin();
    auto offset = m_offsets.begin();
    for (; child != m_children.end() && offset != m_offsets.end(); ++child, ++offset) {
        if (*child == nullptr) continue;
        // Offsets are truncated first; the base position is added afterwards.
        (*child)->DrawAt(TruncToInt(offset->x) + x, TruncToInt(offset->y) + y);
    }
}

void CObjSet::SetPos(int x, int y) {
    m_x = x;
    m_y = y;
}

void CObjSet::Add(CBaseObj* child, float offX, float offY) {
    m_children.push_back(child);
    m_offsets.push_back(ObjOffset{offX, offY});
}

void CObjSet::Remove(unsigned index) {
    if (index >= m_children.size()) return;
    m_children.erase(std::next(m_children.begin(), index));
    if (index < m_offsets.size()) m_offsets.erase(std::next(m_offsets.begin(), index));
}

void CObjSet::SetOffset(unsigned index, float offX, float offY) {
    if (index >= m_offsets.size()) return;
    *std::next(m_offsets.begin(), index) = ObjOffset{offX, offY};
}

void CObjSet::SetChild(CBaseObj* child, unsigned index) {
    if (index >= m_children.size()) return;
    *std::next(m_children.begin(), index) = child;
}
