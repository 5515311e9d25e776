// JPEG through libjpeg. Errors leave libjpeg by longjmp back into Decode(),
// which owns no object with a destructor; the pixels live in the caller's record.
#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include "media/video/ImageDecoder.h"

namespace media {
namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void ErrorExit(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1); }
void Quiet(j_common_ptr, int) {}

struct Job {
    jpeg_decompress_struct info;
    ErrorManager error;
    DecodeResult result;
};

void Decode(Job* job, const uint8_t* data, size_t size, DecodedImage* out) {
    job->info.err = jpeg_std_error(&job->error.base);
    job->error.base.error_exit = ErrorExit;
    job->error.base.emit_message = Quiet;
    job->result = DecodeResult::Failed;
    if (setjmp(job->error.jump)) {
        jpeg_destroy_decompress(&job->info);
        return;
    }
    jpeg_create_decompress(&job->info);
    jpeg_mem_src(&job->info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&job->info, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&job->info);
        return;
    }
    if (!ImageSizeAcceptable(job->info.image_width, job->info.image_height)) {
        jpeg_destroy_decompress(&job->info);
        job->result = DecodeResult::TooLarge;
        return;
    }
    job->info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&job->info);
    const int width = static_cast<int>(job->info.output_width);
    const int height = static_cast<int>(job->info.output_height);
    if (job->info.output_components != 3) {
        jpeg_destroy_decompress(&job->info);
        return;
    }
    out->width = width;
    out->height = height;
    out->argb.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    JSAMPARRAY row = (*job->info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&job->info), JPOOL_IMAGE,
                                                    static_cast<JDIMENSION>(width) * 3, 1);
    while (job->info.output_scanline < job->info.output_height) {
        const size_t y = job->info.output_scanline;
        if (jpeg_read_scanlines(&job->info, row, 1) != 1) break;
        uint32_t* dst = out->argb.data() + y * static_cast<size_t>(width);
        const JSAMPLE* s = row[0];
        for (int x = 0; x < width; ++x, s += 3)
            dst[x] = 0xFF000000u | static_cast<uint32_t>(s[0]) << 16 | static_cast<uint32_t>(s[1]) << 8 | s[2];
    }
    jpeg_finish_decompress(&job->info);
    jpeg_destroy_decompress(&job->info);
    job->result = DecodeResult::Ok;
}

}  // namespace

DecodeResult DecodeJpeg(const uint8_t* data, size_t size, DecodedImage& out) {
    Job job{};
    Decode(&job, data, size, &out);
    if (job.result != DecodeResult::Ok) out = DecodedImage();
    return job.result;
}

}  // namespace media
