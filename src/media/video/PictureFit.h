// Where the screen's picture goes in a window: at the largest whole multiple
// of its size that fits (at least 1), centred; the rest of the window is black.
#pragma once

namespace media {

struct PictureFit {
    int scale = 1;
    int x = 0, y = 0;           // top-left corner in the window (negative when the window is smaller)
    int width = 0, height = 0;  // picture size x scale
};

PictureFit FitPicture(int windowWidth, int windowHeight, int pictureWidth, int pictureHeight);

// A window side for a screen side at a window scale: rounded to the nearest pixel, at least 1.
int WindowSide(int screenSide, double scale);

}  // namespace media
