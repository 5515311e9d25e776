#include "objects/graphics/GraphicTexts.h"

const char* TextGraphFontFace() { return "MS ゴシック"; }
