// Fixed texts of the graphic primitives (Shift-JIS).
#pragma once

// Face of every text block.
const char* TextGraphFontFace();
