#include "objects/GraphicTexts.h"

const char* TextGraphFontFace() { return "MS ゴシック"; }
