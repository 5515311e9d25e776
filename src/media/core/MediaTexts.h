// The media layer's log messages (Shift-JIS, defined in MediaTexts.cpp).
#pragma once

namespace media::texts {

extern const char kChangeWindowMode[];
extern const char kNo24BitColour[];
extern const char kInstanceCheck[];
extern const char kInstanceRunning[];
extern const char kInstanceNotRunning[];
extern const char kFramePeriod[];  // %d: period in ms
extern const char kFrameTrial[];   // %02d trial number, %d ms
extern const char kFramePeriodUnknown[];
extern const char kDivideFailed[];
extern const char kImageDeleted[];            // %s: file name
extern const char kImageMissing[];            // %s: path
extern const char kImageLoadFailed[];         // %s: path (single image)
extern const char kImageLoadFailedDivided[];  // %s: path (cut into cells)
extern const char kImageMemoryFailed[];       // %s: path
extern const char kWindowFailed[];

}  // namespace media::texts
