// F12: the picture on show saved as PNG into the player's screenshot folder
// (PlayerPrefs), twice: at the screen's own size and at the whole multiple the
// window shows it at, as "anagura-YYYYMMDD-HHMMSS.png" and
// "anagura-YYYYMMDD-HHMMSS-xN.png" after the local time. A name already taken
// gets "-2", "-3", ... before the scale. One log line names the files, or says
// why none was written. Nothing happens without a screenshot folder.
#pragma once

#include <ctime>
#include <string>

namespace media {

void SaveScreenshot();

// "<folder>/anagura-YYYYMMDD-HHMMSS" for `time`, with "-2", "-3", ... added
// until no file of that stem (".png") exists in the folder.
std::string FreeScreenshotStem(const std::string& folder, const std::tm& time);

}  // namespace media
