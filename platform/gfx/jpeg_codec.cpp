#include "platform/gfx/internal/jpeg_codec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

namespace gfx::internal {
namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char text[JMSG_LENGTH_MAX];
    bool wholeData;  // a warning of missing or corrupt data ends the decode
};

void ErrorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->text);
    std::longjmp(err->jump, 1);
}

// The warnings after which part of the picture is made up (grey or
// smeared) rather than read from the file.
bool DataLost(int code)
{
    switch (code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
    case JWRN_BOGUS_PROGRESSION: return true;
    default: return false;
    }
}

// Warnings (such as a file that ends early) are not fatal unless the whole
// data is asked for: the picture is then shown with what could be read.
void EmitMessage(j_common_ptr cinfo, int level)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (level != -1 || !err->wholeData || !DataLost(err->pub.msg_code)) return;
    (*cinfo->err->format_message)(cinfo, err->text);
    std::longjmp(err->jump, 1);
}

void CopyMessage(const ErrorManager& err, JpegMessage* msg)
{
    std::snprintf(msg->text, sizeof msg->text, "%s", err.text);
}

void InitErrors(ErrorManager& err)
{
    std::memset(&err, 0, sizeof err);
    jpeg_std_error(&err.pub);
    err.pub.error_exit = ErrorExit;
    err.pub.emit_message = EmitMessage;
}

}  // namespace

int JpegReadSize(const unsigned char* data, std::size_t size, int* width, int* height, JpegMessage* msg)
{
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    InitErrors(err);
    cinfo.err = &err.pub;
    if (setjmp(err.jump)) {
        CopyMessage(err, msg);
        jpeg_destroy_decompress(&cinfo);
        return 1;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    *width = static_cast<int>(cinfo.image_width);
    *height = static_cast<int>(cinfo.image_height);
    jpeg_destroy_decompress(&cinfo);
    return 0;
}

int JpegDecode(const unsigned char* data, std::size_t size, int scaleDenom, bool wholeData, JpegAllocFn alloc,
               void* ctx, JpegMessage* msg)
{
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    InitErrors(err);
    err.wholeData = wholeData;
    cinfo.err = &err.pub;
    unsigned char* volatile cmykRow = nullptr;
    if (setjmp(err.jump)) {
        CopyMessage(err, msg);
        std::free(cmykRow);
        jpeg_destroy_decompress(&cinfo);
        return 1;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBX;
    cinfo.scale_num = 1;
    cinfo.scale_denom = static_cast<unsigned>(scaleDenom);
    jpeg_calc_output_dimensions(&cinfo);
    const int w = static_cast<int>(cinfo.output_width), h = static_cast<int>(cinfo.output_height);
    std::uint32_t* pixels = alloc(ctx, w, h);
    if (!pixels) {
        std::snprintf(msg->text, sizeof msg->text, "picture of %d x %d refused", w, h);
        jpeg_destroy_decompress(&cinfo);
        return 2;
    }
    if (cmyk) {
        cmykRow = static_cast<unsigned char*>(std::malloc(static_cast<std::size_t>(w) * 4));
        if (!cmykRow) {
            std::snprintf(msg->text, sizeof msg->text, "out of memory");
            jpeg_destroy_decompress(&cinfo);
            return 3;
        }
    }
    // Adobe's CMYK pictures store the inks inverted.
    const bool inverted = cinfo.saw_Adobe_marker;
    jpeg_start_decompress(&cinfo);
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = static_cast<int>(cinfo.output_scanline);
        std::uint32_t* row = pixels + static_cast<std::size_t>(y) * w;
        JSAMPROW target = cmyk ? cmykRow : reinterpret_cast<JSAMPROW>(row);
        if (jpeg_read_scanlines(&cinfo, &target, 1) != 1) break;
        if (cmyk) {
            for (int x = 0; x < w; ++x) {
                int c = cmykRow[4 * x], m = cmykRow[4 * x + 1], yy = cmykRow[4 * x + 2],
                    k = cmykRow[4 * x + 3];
                if (!inverted) {
                    c = 255 - c;
                    m = 255 - m;
                    yy = 255 - yy;
                    k = 255 - k;
                }
                const std::uint32_t r = static_cast<std::uint32_t>(c * k / 255);
                const std::uint32_t g = static_cast<std::uint32_t>(m * k / 255);
                const std::uint32_t b = static_cast<std::uint32_t>(yy * k / 255);
                row[x] = r | (g << 8) | (b << 16);
            }
        } else {
            for (int x = 0; x < w; ++x) row[x] &= 0x00FFFFFFu;
        }
    }
    jpeg_finish_decompress(&cinfo);
    std::free(cmykRow);
    cmykRow = nullptr;
    jpeg_destroy_decompress(&cinfo);
    return 0;
}

int JpegEncode(const std::uint32_t* pixels, int width, int height, int quality, unsigned char** out,
               unsigned long* outSize, JpegMessage* msg)
{
    jpeg_compress_struct cinfo;
    ErrorManager err;
    InitErrors(err);
    cinfo.err = &err.pub;
    *out = nullptr;
    *outSize = 0;
    if (setjmp(err.jump)) {
        CopyMessage(err, msg);
        jpeg_destroy_compress(&cinfo);
        return 1;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, out, outSize);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_EXT_RGBX;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(
            const_cast<std::uint32_t*>(pixels + static_cast<std::size_t>(cinfo.next_scanline) * width));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return 0;
}

}  // namespace gfx::internal
