// Our own BMP reader: Windows headers of 40, 52, 56, 108 and 124 bytes, OS/2
// headers of 12 and 16..64 bytes; 1, 2, 4, 8 bits with a palette (uncompressed,
// RLE8, RLE4), 16 and 32 bits (default layout or bit fields), 24 bits; bottom-up
// and top-down. Anything inconsistent is refused rather than guessed at.
#include <cstring>

#include "media/video/ImageDecoder.h"

namespace media {
namespace {

uint32_t U16(const uint8_t* p) { return static_cast<uint32_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}
int32_t S32(const uint8_t* p) { return static_cast<int32_t>(U32(p)); }

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

// One colour channel given as a bit mask.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;  // mask >> shift

    // False for a mask whose bits are not contiguous.
    bool Set(uint32_t m) {
        mask = m;
        if (!m) return true;
        shift = 0;
        while (!((m >> shift) & 1)) ++shift;
        max = m >> shift;
        return (max & (max + 1)) == 0;
    }
    // The channel's value scaled to 0..255 (rounded).
    uint32_t Get(uint32_t pixel) const {
        if (!mask) return 0;
        const uint64_t v = (pixel & mask) >> shift;
        return static_cast<uint32_t>((v * 255 + max / 2) / max);
    }
};

struct Header {
    int64_t width = 0;
    int64_t height = 0;  // positive: bottom-up
    bool topDown = false;
    uint32_t bits = 0;
    uint32_t compression = kRgb;
    uint32_t imageSize = 0;
    uint32_t coloursUsed = 0;
    uint32_t masks[4] = {0, 0, 0, 0};
    bool hasMasks = false;
    size_t paletteOffset = 0;
    int paletteEntryBytes = 4;
};

class BmpReader {
public:
    BmpReader(const uint8_t* data, size_t size) : m_d(data), m_n(size) {}

    DecodeResult Read(DecodedImage& out) {
        Header h;
        if (!ReadHeader(h)) return DecodeResult::Failed;
        if (!ImageSizeAcceptable(h.width, h.height)) {
            return h.width > 0 && h.height > 0 ? DecodeResult::TooLarge : DecodeResult::Failed;
        }
        if (!ReadPalette(h)) return DecodeResult::Failed;
        out.width = static_cast<int>(h.width);
        out.height = static_cast<int>(h.height);
        out.argb.assign(static_cast<size_t>(h.width * h.height), m_palette.empty() ? 0xFF000000u : m_palette[0]);
        bool ok = false;
        if (h.compression == kRle8 || h.compression == kRle4) ok = ReadRle(h, out);
        else if (h.bits <= 8) ok = ReadIndexed(h, out);
        else ok = ReadDirect(h, out);
        if (!ok) out = DecodedImage();
        return ok ? DecodeResult::Ok : DecodeResult::Failed;
    }

private:
    bool ReadHeader(Header& h) {
        if (m_n < 26 || m_d[0] != 'B' || m_d[1] != 'M') return false;
        // A file shorter than its header says is damaged.
        if (U32(m_d + 2) > m_n) return false;
        m_offBits = U32(m_d + 10);
        const uint32_t hs = U32(m_d + 14);
        if (hs > m_n - 14) return false;
        const uint8_t* p = m_d + 14;
        if (hs == 12) {  // OS/2 1.x core header
            h.width = U16(p + 4);
            h.height = static_cast<int16_t>(U16(p + 6));
            if (U16(p + 8) != 1) return false;
            h.bits = U16(p + 10);
            h.paletteEntryBytes = 3;
        } else if (hs == 16 || hs == 40 || hs == 52 || hs == 56 || hs == 64 || hs == 108 || hs == 124) {
            const bool os2 = hs == 16 || hs == 64;
            h.width = S32(p + 4);
            h.height = S32(p + 8);
            if (U16(p + 12) != 1) return false;
            h.bits = U16(p + 14);
            if (hs >= 40) {
                h.compression = U32(p + 16);
                h.imageSize = U32(p + 20);
                const uint32_t xDensity = U32(p + 24), yDensity = U32(p + 28);
                // Over a million pixels per metre (25400 dpi) is no real density.
                if (xDensity > 1000000 || yDensity > 1000000) return false;
                h.coloursUsed = U32(p + 32);
            }
            if (os2 && h.compression > 2) return false;  // OS/2 Huffman and RLE24
            if (hs >= 52) {
                for (int i = 0; i < (hs >= 56 ? 4 : 3); ++i) h.masks[i] = U32(p + 40 + 4 * i);
                h.hasMasks = true;
            }
        } else {
            return false;
        }
        if (h.height < 0) {
            h.height = -h.height;
            h.topDown = true;
        }
        if (h.width <= 0 || h.height <= 0) return false;
        h.paletteOffset = 14 + hs;
        if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
            if (h.bits != 16 && h.bits != 32) return false;
            const int count = h.compression == kAlphaBitFields ? 4 : 3;
            if (!h.hasMasks) {  // masks follow a 40-byte header
                if (h.paletteOffset + 4 * count > m_n) return false;
                for (int i = 0; i < count; ++i) h.masks[i] = U32(m_d + h.paletteOffset + 4 * i);
                h.paletteOffset += 4 * count;
                h.hasMasks = true;
            }
        } else if (h.compression == kRle8) {
            if (h.bits != 8 || h.topDown) return false;
        } else if (h.compression == kRle4) {
            if (h.bits != 4 || h.topDown) return false;
        } else if (h.compression != kRgb) {
            return false;
        }
        if (h.bits != 1 && h.bits != 2 && h.bits != 4 && h.bits != 8 && h.bits != 16 && h.bits != 24 && h.bits != 32)
            return false;
        if (m_offBits >= m_n || m_offBits < h.paletteOffset) return false;
        // A declared pixel-data size must fit in the file.
        if (h.imageSize > m_n - m_offBits) return false;
        return true;
    }

    bool ReadPalette(const Header& h) {
        if (h.bits > 8) return true;
        const uint32_t maxEntries = 1u << h.bits;
        uint32_t count = h.coloursUsed ? h.coloursUsed : maxEntries;
        if (count > maxEntries) return false;
        const size_t room = (m_offBits - h.paletteOffset) / static_cast<size_t>(h.paletteEntryBytes);
        if (h.coloursUsed == 0 && room < count && h.paletteEntryBytes == 3) count = static_cast<uint32_t>(room);
        if (room < count || count == 0) return false;
        m_palette.resize(count);
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* e = m_d + h.paletteOffset + static_cast<size_t>(i) * h.paletteEntryBytes;
            m_palette[i] = 0xFF000000u | static_cast<uint32_t>(e[2]) << 16 | static_cast<uint32_t>(e[1]) << 8 | e[0];
        }
        return true;
    }

    uint32_t* Row(const Header& h, DecodedImage& out, int64_t fileRow) {
        const int64_t y = h.topDown ? fileRow : h.height - 1 - fileRow;
        return out.argb.data() + static_cast<size_t>(y * h.width);
    }

    bool ReadIndexed(const Header& h, DecodedImage& out) {
        const size_t stride = static_cast<size_t>((h.width * h.bits + 31) / 32 * 4);
        if (stride * static_cast<size_t>(h.height) > m_n - m_offBits) return false;
        const uint32_t perByte = 8 / h.bits, mask = (1u << h.bits) - 1;
        for (int64_t r = 0; r < h.height; ++r) {
            const uint8_t* src = m_d + m_offBits + static_cast<size_t>(r) * stride;
            uint32_t* dst = Row(h, out, r);
            for (int64_t x = 0; x < h.width; ++x) {
                const uint32_t byte = src[x / perByte];
                const uint32_t shift = 8 - h.bits * (static_cast<uint32_t>(x % perByte) + 1);
                const uint32_t index = (byte >> shift) & mask;
                if (index >= m_palette.size()) return false;
                dst[x] = m_palette[index];
            }
        }
        return true;
    }

    bool ReadDirect(const Header& h, DecodedImage& out) {
        const size_t stride = static_cast<size_t>((h.width * h.bits + 31) / 32 * 4);
        if (stride * static_cast<size_t>(h.height) > m_n - m_offBits) return false;
        Channel r, g, b, a;
        bool alpha = false;
        if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
            const uint32_t limit = h.bits == 16 ? 0xFFFFu : 0xFFFFFFFFu;
            if (!h.masks[0] || !h.masks[1] || !h.masks[2]) return false;
            for (int i = 0; i < 4; ++i)
                if (h.masks[i] & ~limit) return false;
            if ((h.masks[0] & h.masks[1]) || (h.masks[0] & h.masks[2]) || (h.masks[1] & h.masks[2])) return false;
            if (!r.Set(h.masks[0]) || !g.Set(h.masks[1]) || !b.Set(h.masks[2])) return false;
            if (h.compression == kAlphaBitFields && h.masks[3]) {
                if (!a.Set(h.masks[3])) return false;
                alpha = true;
            }
        } else if (h.bits == 16) {
            r.Set(0x7C00);
            g.Set(0x03E0);
            b.Set(0x001F);
        } else if (h.bits == 32) {
            r.Set(0xFF0000);
            g.Set(0x00FF00);
            b.Set(0x0000FF);
        }
        for (int64_t row = 0; row < h.height; ++row) {
            const uint8_t* src = m_d + m_offBits + static_cast<size_t>(row) * stride;
            uint32_t* dst = Row(h, out, row);
            for (int64_t x = 0; x < h.width; ++x) {
                if (h.bits == 24) {
                    const uint8_t* s = src + x * 3;
                    dst[x] =
                        0xFF000000u | static_cast<uint32_t>(s[2]) << 16 | static_cast<uint32_t>(s[1]) << 8 | s[0];
                    continue;
                }
                const uint32_t v = h.bits == 16 ? U16(src + x * 2) : U32(src + x * 4);
                const uint32_t av = alpha ? a.Get(v) : 0xFF;
                dst[x] = av << 24 | r.Get(v) << 16 | g.Get(v) << 8 | b.Get(v);
            }
        }
        return true;
    }

    // RLE8 / RLE4: runs, absolute runs, end of line, end of picture, deltas.
    bool ReadRle(const Header& h, DecodedImage& out) {
        const bool four = h.compression == kRle4;
        size_t pos = m_offBits;
        const size_t end = h.imageSize ? m_offBits + h.imageSize : m_n;
        int64_t x = 0, row = 0;
        auto put = [&](uint32_t index) {
            if (index >= m_palette.size() || x >= h.width || row >= h.height) return false;
            Row(h, out, row)[x++] = m_palette[index];
            return true;
        };
        while (true) {
            if (pos + 2 > end) return false;
            const uint32_t count = m_d[pos], value = m_d[pos + 1];
            pos += 2;
            if (count > 0) {
                for (uint32_t i = 0; i < count; ++i) {
                    const uint32_t index = four ? ((i & 1) ? value & 0xF : value >> 4) : value;
                    if (!put(index)) return false;
                }
            } else if (value == 0) {
                x = 0;
                ++row;
            } else if (value == 1) {
                return true;
            } else if (value == 2) {
                if (pos + 2 > end) return false;
                x += m_d[pos];
                row += m_d[pos + 1];
                pos += 2;
                if (x > h.width || row > h.height) return false;
            } else {
                const size_t bytes = four ? (value + 1) / 2 : value;
                if (pos + bytes > end) return false;
                for (uint32_t i = 0; i < value; ++i) {
                    const uint8_t byte = m_d[pos + (four ? i / 2 : i)];
                    const uint32_t index = four ? ((i & 1) ? byte & 0xF : byte >> 4) : byte;
                    if (!put(index)) return false;
                }
                pos += (bytes + 1) & ~size_t{1};
            }
        }
    }

    const uint8_t* m_d;
    size_t m_n;
    size_t m_offBits = 0;
    std::vector<uint32_t> m_palette;
};

}  // namespace

DecodeResult DecodeBmp(const uint8_t* data, size_t size, DecodedImage& out) {
    return BmpReader(data, size).Read(out);
}

DecodeResult DecodeImage(const uint8_t* data, size_t size, DecodedImage& out) {
    static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size >= 8 && std::memcmp(data, kPng, 8) == 0) return DecodePng(data, size, out);
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return DecodeJpeg(data, size, out);
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') return DecodeBmp(data, size, out);
    return DecodeResult::Failed;
}

}  // namespace media
