// Placeholder until the font renderer lands: fonts draw nothing.
#include "media/FontSystem.h"

#include "media/Media.h"

namespace media {
void StartFonts() {}
void EndFonts() {}
}  // namespace media

int SetDefaultFontSize(int) { return 0; }
int SetDefaultFontThickness(int) { return 0; }
int SetDefaultFontFace(const char*, int) { return 0; }
int DrawTextAt(int, int, const char*, uint32_t, uint32_t) { return 0; }
