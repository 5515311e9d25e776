// The application frame's Shift-JIS strings (defined in AppTexts.cpp).
#pragma once

namespace app::texts {

// The default font face: full-width "ＭＳ", an ASCII space, "ゴシック".
extern const char kDefaultFontFace[];

}  // namespace app::texts
