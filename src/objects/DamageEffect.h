// A damage number that rises for 60 frames and fades out over the last 20.
#pragma once

#include "objects/BaseEffect.h"
#include "objects/NumObj.h"

class CDamageEffect : public CBaseEffect {
public:
    CDamageEffect();
    // Without its digit pictures (they come with a kept state put back).
    explicit CDamageEffect(bool loadDigits);
    ~CDamageEffect() override;

    void Start(int x, int y) override;
    void Draw() override;
    void Update() override;

    CNumObj m_number;
};
