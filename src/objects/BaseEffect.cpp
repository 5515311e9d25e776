#include "objects/BaseEffect.h"

void CBaseEffect::Start(int x, int y) {
    m_x = x;
    m_y = y;
}

void CBaseEffect::Draw() {}

void CBaseEffect::Update() {}
