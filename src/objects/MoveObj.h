// A graphic object with an exact (fractional) position.
#pragma once

#include "objects/GraObj.h"

class CMoveObj : public CGraObj {
public:
    CMoveObj() = default;

    void SetPos(int x, int y) override;
    virtual void MoveBy(double dx, double dy);

    double m_posX = 0.0;
    double m_posY = 0.0;
};
