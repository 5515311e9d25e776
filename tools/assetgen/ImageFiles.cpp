#include "ImageFiles.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace assetgen {

namespace {

void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xffff);
  Put16(b, v >> 16);
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return s;
}

}  // namespace

void WriteBmp(const Image& image, const std::string& path) {
  const uint32_t stride = (uint32_t(image.width) * 3 + 3) & ~3u;
  const uint32_t dataSize = stride * uint32_t(image.height);
  std::vector<uint8_t> b;
  b.reserve(54 + dataSize);
  b.push_back('B');
  b.push_back('M');
  Put32(b, 54 + dataSize);  // file size
  Put32(b, 0);              // reserved
  Put32(b, 54);             // pixel data offset
  Put32(b, 40);             // BITMAPINFOHEADER
  Put32(b, uint32_t(image.width));
  Put32(b, uint32_t(image.height));  // positive: bottom-up
  Put16(b, 1);                       // planes
  Put16(b, 24);                      // bits per pixel
  Put32(b, 0);                       // BI_RGB
  Put32(b, dataSize);
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, 0);
  Put32(b, 0);
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const Rgb& p = image.at(x, y);
      b.push_back(p.b);
      b.push_back(p.g);
      b.push_back(p.r);
    }
    for (uint32_t pad = uint32_t(image.width) * 3; pad < stride; ++pad) b.push_back(0);
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

namespace {

// Writes 8-bit RGB (channels 3) or RGBA (channels 4, magenta fully transparent).
void WritePngChannels(const Image& image, int channels, const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot write " + path);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    throw std::runtime_error("libpng: out of memory");
  }
  const size_t stride = size_t(image.width) * size_t(channels);
  std::vector<uint8_t> rows(stride * size_t(image.height));
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      const Rgb& p = image.at(x, y);
      uint8_t* d = &rows[size_t(y) * stride + size_t(x) * size_t(channels)];
      const bool clear = channels == 4 && p == kMagenta;
      d[0] = clear ? 0 : p.r;
      d[1] = clear ? 0 : p.g;
      d[2] = clear ? 0 : p.b;
      if (channels == 4) d[3] = clear ? 0 : 255;
    }
  std::vector<png_bytep> rowPointers(size_t(image.height));
  for (int y = 0; y < image.height; ++y) rowPointers[size_t(y)] = &rows[size_t(y) * stride];
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    throw std::runtime_error("libpng failed writing " + path);
  }
  png_init_io(png, f);
  png_set_compression_level(png, 9);
  png_set_IHDR(png, info, png_uint_32(image.width), png_uint_32(image.height), 8,
               channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_rows(png, info, rowPointers.data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  if (std::fclose(f) != 0) throw std::runtime_error("cannot write " + path);
}

}  // namespace

void WritePng(const Image& image, const std::string& path) { WritePngChannels(image, 3, path); }

void WritePngWithAlpha(const Image& image, const std::string& path) { WritePngChannels(image, 4, path); }

void WritePicture(const Image& image, const std::string& path) {
  std::string p = Lower(path);
  if (p.size() > 4 && p.substr(p.size() - 4) == ".png")
    WritePng(image, path);
  else
    WriteBmp(image, path);
}

}  // namespace assetgen
