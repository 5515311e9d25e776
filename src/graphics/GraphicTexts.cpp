#include "graphics/GraphicTexts.h"

const char* TextGraphFontFace() { return "MS ゴシック"; }
