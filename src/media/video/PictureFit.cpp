#include "media/video/PictureFit.h"

#include <algorithm>
#include <cmath>

namespace media {

PictureFit FitPicture(int windowWidth, int windowHeight, int pictureWidth, int pictureHeight) {
    PictureFit fit;
    if (pictureWidth > 0 && pictureHeight > 0)
        fit.scale = std::max(1, std::min(windowWidth / pictureWidth, windowHeight / pictureHeight));
    fit.width = pictureWidth * fit.scale;
    fit.height = pictureHeight * fit.scale;
    fit.x = (windowWidth - fit.width) / 2;
    fit.y = (windowHeight - fit.height) / 2;
    return fit;
}

int WindowSide(int screenSide, double scale) {
    const double side = std::floor(screenSide * scale + 0.5);
    return side < 1.0 ? 1 : static_cast<int>(side);
}

}  // namespace media
