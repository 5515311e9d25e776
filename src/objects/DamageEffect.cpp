#include "objects/DamageEffect.h"

#include <cstdint>

CDamageEffect::CDamageEffect() : CDamageEffect(true) {}

CDamageEffect::CDamageEffect(bool loadDigits) {
    if (loadDigits) m_number.LoadDigits();
    m_number.SetRange(0, 9999);
}

CDamageEffect::~CDamageEffect() { m_number.Release(); }

void CDamageEffect::Start(int x, int y) {
    m_x = x;
    m_y = y;
    m_life = 60;
    m_number.SetPos(x, y);
    m_number.m_alpha = Tween{0.0, 0.0, 0.0};  // invisible until the owner fades it in
}

void CDamageEffect::Draw() { m_number.Draw(); }

void CDamageEffect::Update() {
    if (m_life > INT32_MIN) m_life -= 1;
    m_number.Update();
    if (m_life >= 0) m_number.MoveBy(0.0, -0.5);
    if (m_life == 20) m_number.m_alpha.MoveTo(20, 0.0);  // fade over the last 20 updates
}
