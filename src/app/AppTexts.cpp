// Compiled with a CP932 execution character set: the bytes below are Shift-JIS.
#include "app/AppTexts.h"

namespace app::texts {

extern const char kDefaultFontFace[] = "ＭＳ ゴシック";

}  // namespace app::texts
