#include "objects/graphics/Graphic.h"

#include "media/Media.h"

void CGraphic::Release() {}

void CGraphic::Draw(int, int, bool, int, int, int, int) {}

void CGraphic::Advance() {}

void BeginGraphicDraw(int alpha, int r, int g, int b) {
    SetBlendMode(kBlendAlpha, alpha);
    SetDrawBrightness(r, g, b);
}
