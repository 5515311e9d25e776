// The smallest drawable thing. Graphics have no position; the graphic object
// that shows them passes position, mirroring, opacity and tint on every draw.
// Only the image store makes and destroys graphics.
#pragma once

class CGraphic {
public:
    CGraphic() = default;
    virtual ~CGraphic() = default;

    virtual void Release();
    virtual void Draw(int x, int y, bool turn, int alpha, int r, int g, int b);
    virtual void Advance();
};

// Common start of every draw: blend mode 1 with alpha as opacity, brightness r, g, b.
void BeginGraphicDraw(int alpha, int r, int g, int b);
