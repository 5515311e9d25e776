// UTF-8 to Shift-JIS conversion for the game tests.
#include "GameTestSupport.h"

#include <iconv.h>

namespace gametest {

std::string ToShiftJis(const std::string& utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return {};
    std::string out(utf8.size() * 2 + 8, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* dst = out.data();
    size_t outLeft = out.size();
    const size_t rc = iconv(cd, &in, &inLeft, &dst, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1)) return {};
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace gametest

#include <png.h>

#include <cstdio>

#include "media/video/PngFile.h"

namespace gametest {

bool WritePng(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels) {
    return media::WritePng(path, pixels, width, height);
}

bool ReadPng(const std::string& path, int& width, int& height, std::vector<uint32_t>& pixels) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = (uint32_t{rgb[3 * i]} << 16) | (uint32_t{rgb[3 * i + 1]} << 8) | rgb[3 * i + 2];
    }
    return true;
}

}  // namespace gametest
