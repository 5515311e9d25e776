// A window dump set against a screenshot of the replay tool magnified into it
// (the picture at its largest whole multiple, centred on black), colours
// compared at the screen's precision (5, 6 and 5 bits); and the help panel
// the window may show above the picture.
#pragma once

#include <string>

#include "media/video/ImageDecoder.h"
#include "shotmatch/XwdFile.h"

namespace shotmatch {

// Window pixels that differ from the screenshot magnified into it.
long Differences(const WindowPicture& window, const media::DecodedImage& shot);

// Whether the window shows the screenshot with the help panel above it: every
// pixel that differs lies in one rectangle centred in the window, which is the
// panel's opaque box (its edges all of one colour) holding text in one other
// colour and nothing else. "" when it does, else what is wrong; `found` describes the panel.
std::string PanelProblem(const WindowPicture& window, const media::DecodedImage& shot, std::string& found);

}  // namespace shotmatch
