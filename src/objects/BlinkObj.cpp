#include "objects/BlinkObj.h"

CBlinkObj::CBlinkObj() = default;  // the blink fields start at their defaults

void CBlinkObj::Reset() {
    CGraObj::Reset();
    m_blinkHigh = 255.0f;
    m_blinkLow = 0.0f;
    m_blinkValue = 0.0f;
    m_blinkStep = 0.0f;
}

void CBlinkObj::Update() {
    CGraObj::Update();

    m_blinkValue += m_blinkStep;
    if (m_blinkValue > m_blinkHigh || m_blinkValue < m_blinkLow) {
        if (m_blinkMode == 1) {
            // Saw-tooth: a rising run restarts from the low bound, a falling one from the high.
            m_blinkValue = m_blinkValue >= m_blinkHigh ? m_blinkLow : m_blinkHigh;
        } else {
            // Bounce: undo this step and run the other way from now on.
            m_blinkStep = -m_blinkStep;
            m_blinkValue += m_blinkStep;
        }
    }
    // The blink owns the opacity.
    m_alpha.value = m_blinkValue;
    m_alpha.target = m_blinkValue;
    m_alpha.step = 0.0;
}
