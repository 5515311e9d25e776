#include "objects/MoveObj.h"

#include "objects/graphics/Truncate.h"

void CMoveObj::SetPos(int x, int y) {
    m_x = x;
    m_posX = x;
    m_y = y;
    m_posY = y;
}

void CMoveObj::MoveBy(double dx, double dy) {
    m_posX += dx;
    m_posY += dy;
    m_x = TruncToInt(m_posX);
    m_y = TruncToInt(m_posY);
}
