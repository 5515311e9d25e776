// Characters of the dungeon map: movement modes and their per-frame steps.
#include "game/world/GameChar.h"

#include "game/rules/state/GameData.h"
#include "media/Media.h"
#include "objects/graphics/Truncate.h"

namespace {

// The hole mouth: where characters go into and come out of the hole.
constexpr int kHoleX = 72;
constexpr int kHoleY = 40;
// The walking band of wandering characters (top-left corners).
constexpr int kBandLeft = 0;
constexpr int kBandRight = 144;
constexpr int kBandTop = 40;
constexpr int kBandBottom = 52;

// A random spot of the walking band; x is drawn before y.
void RandomSpot(int32_t& x, int32_t& y) {
    x = GetRandom(143);
    y = GetRandom(12) + 40;
}

const char* SheetOf(int colour) {
    switch (colour) {
        case 1: return "CharB.bmp";
        case 2: return "CharR.bmp";
        case 3: return "CharG.bmp";
        default: return "CharY.bmp";
    }
}

}  // namespace

CGameChar::CGameChar() { CGameChar::Reset(); }

CGameChar::~CGameChar() {
    delete stats;
    stats = nullptr;
}

void CGameChar::Reset() {
    CGraObj::Reset();
    mode = kCharHidden;
    visible = false;
    colour = 0;
    moveCounter = 0;
    moveWait = 0;
    targetX = 0;
    targetY = 0;
    velX = velY = flyX = flyY = 0.0;
    delete stats;
    stats = nullptr;
}

void CGameChar::Draw() {
    if (visible) CGraObj::Draw();
}

void CGameChar::SetMode(int newMode) {
    visible = true;
    if (newMode < kCharHidden || newMode > kCharWalkLeftSlow) newMode = kCharHidden;
    mode = newMode;
    switch (newMode) {
        case kCharHidden: visible = false; break;
        case kCharWander:
            moveWait = GetRandom(7);
            m_frameWait = static_cast<uint32_t>(moveWait + 10);
            break;
        case kCharGoDown:
            targetX = kHoleX;
            targetY = kHoleY;
            moveWait = 0;
            break;
        case kCharComeUp:
            m_x = kHoleX;
            m_y = kHoleY;
            RandomSpot(targetX, targetY);
            moveWait = 0;
            break;
        case kCharAppear: RandomSpot(m_x, m_y); break;
        case kCharStand:
            SetTurn(false);
            m_frameWait = 8;
            break;
        case kCharWalkLeft:
        case kCharWalkRight: moveWait = 1; break;
        case kCharFlyLeft:
        case kCharFlyRight: {
            moveWait = 1;
            flyX = m_x;
            flyY = m_y;
            const int n = GetRandom(30) + 10;
            velX = n / 10;
            if (newMode == kCharFlyLeft) velX = -velX;
            const int m = GetRandom(30) + 10;
            velY = -(m / 10);
            break;
        }
        case kCharWalkLeftSlow: moveWait = 2; break;
        default: break;
    }
}

void CGameChar::Update() {
    CGraObj::Update();
    moveCounter += 1;
    if (moveCounter < moveWait) return;
    moveCounter = 0;

    if (mode == kCharGoDown || mode == kCharComeUp) {
        if (m_y != targetY) {
            m_y += (targetY > m_y) ? 1 : -1;
        } else if (targetX >= m_x) {
            m_x += 1;
            SetTurn(false);
        } else {
            m_x -= 1;
            SetTurn(true);
        }
    }

    switch (mode) {
        case kCharWander: {
            const int r = GetRandom(100);
            if (r < 80) {
                const int r2 = GetRandom(100) + (m_turn ? 35 : -35);
                if (r2 < 50) {
                    m_x += 1;
                    SetTurn(false);
                } else {
                    m_x -= 1;
                    SetTurn(true);
                }
            } else if (r < 90) {
                m_y += 1;
            } else {
                m_y -= 1;
            }
            moveWait = GetRandom(7);
            m_frameWait = static_cast<uint32_t>(moveWait + 10);
            if (m_x < kBandLeft) m_x = kBandLeft;
            if (m_x > kBandRight) m_x = kBandRight;
            if (m_y < kBandTop) m_y = kBandTop;
            if (m_y > kBandBottom) m_y = kBandBottom;
            break;
        }
        case kCharGoDown:
            if (m_x == targetX && m_y == targetY) {
                visible = false;
                mode = kCharHidden;
            }
            break;
        case kCharComeUp:
            if (m_x != targetX || m_y != targetY) break;
            [[fallthrough]];
        case kCharAppear:
            visible = true;
            moveWait = GetRandom(7);
            mode = kCharWander;
            m_frameWait = static_cast<uint32_t>(moveWait + 10);
            break;
        case kCharWalkLeft:
        case kCharWalkLeftSlow: m_x -= 1; break;
        case kCharWalkRight: m_x += 1; break;
        case kCharFlyLeft:
        case kCharFlyRight:
            velY += 0.1;
            flyX += velX;
            flyY += velY;
            // Flight positions keep growing while a beaten character falls off
            // the screen; the shown position saturates instead of overflowing.
            m_x = TruncToInt(flyX);
            m_y = TruncToInt(flyY);
            break;
        default: break;
    }
}

void SetupUnitGraphics(CGameChar& c, int colour) {
    c.ClearGraphics();
    if (colour < 0 || colour > 3) colour = 0;
    const char* sheet = SheetOf(colour);
    for (int r = 0; r < 16; r += 4) c.AddCells(sheet, 4, 4, -1, r, r + 3);
    c.m_frameWait = 15;
    c.colour = colour;
}
