#include "objects/BaseObj.h"

void CBaseObj::Release() {}

void CBaseObj::Reset() {
    m_x = 0;
    m_y = 0;
}

void CBaseObj::Draw() {}

void CBaseObj::Update() {}

void CBaseObj::DrawAt(int, int) {}

void CBaseObj::SetPos(int x, int y) {
    m_x = x;
    m_y = y;
}
