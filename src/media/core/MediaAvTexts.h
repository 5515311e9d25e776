// Shift-JIS texts of the font and sound parts of the media layer: log lines and
// the built-in face name. Defined in MediaAvTexts.cpp.
#pragma once

namespace media::texts {

// The built-in face used when no face is set.
extern const char* const kBuiltInFace;
// Font creation failures.
extern const char* const kFontLimitExceeded;  // "%d": the font limit
extern const char* const kNamedFontFailed;
extern const char* const kDefaultFontFailed;
extern const char* const kFontCacheMemoryFailed;
extern const char* const kCharCacheMemoryFailed;
// Buffered sound load failures ("%s": the path).
extern const char* const kSoundLoadFailedDecode;
extern const char* const kSoundLoadFailedBuffers;

}  // namespace media::texts
