// The fast colour conversion against the scaler's output, and the plain
// bitmaps that the mapped reader takes (and the ones it leaves to the decoder).
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

extern "C" {
#include <libswscale/swscale.h>
}

#include "mcl/mapped_bitmap.h"
#include "mcl/picture_convert.h"
#include "tests/mcl/media_support.h"

namespace {

using mcl::Frame;

// Random pixels (the worst case for rounding) or smooth ramps.
std::vector<uint8_t> Pixels(int width, int height, bool noise, unsigned seed)
{
    std::vector<uint8_t> pixels(size_t(width) * size_t(height) * 4);
    std::minstd_rand random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 4; ++c) {
                uint8_t& p = pixels[(size_t(y) * size_t(width) + size_t(x)) * 4 + size_t(c)];
                p = noise ? uint8_t(random()) : uint8_t((x * (c + 1) + y * (3 - c)) & 255);
            }
    return pixels;
}

Frame Yuv(int width, int height)
{
    Frame f = mcl::NewFrame();
    f->format = AV_PIX_FMT_YUV420P;
    f->width = width;
    f->height = height;
    EXPECT_GE(av_frame_get_buffer(f.get(), 0), 0);
    return f;
}

// The scaler's conversion with the filter of the same meaning: the mean of
// each 2 x 2 (or 4 x 4) block.
Frame Scaled(const mcl::RgbPicture& in, int width, int height)
{
    SwsContext* sws = sws_getContext(in.width, in.height, in.format, width, height, AV_PIX_FMT_YUV420P,
                                     SWS_AREA | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
    Frame out = Yuv(width, height);
    const uint8_t* src[4] = {in.data};
    const int stride[4] = {int(in.stride)};
    sws_scale(sws, src, stride, 0, in.height, out->data, out->linesize);
    sws_freeContext(sws);
    return out;
}

int LargestDifference(const AVFrame* a, const AVFrame* b)
{
    int largest = 0;
    for (int plane = 0; plane < 3; ++plane) {
        const int w = plane ? a->width / 2 : a->width, h = plane ? a->height / 2 : a->height;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                largest = std::max(largest, std::abs(int(a->data[plane][y * a->linesize[plane] + x]) -
                                                     int(b->data[plane][y * b->linesize[plane] + x])));
    }
    return largest;
}

TEST(MclPictureConvert, MatchesTheScalerWithinOneStep)
{
    struct Case {
        AVPixelFormat format;
        int fromWidth, fromHeight, width, height;
        bool noise;
    };
    const Case cases[] = {
        {AV_PIX_FMT_RGB0, 64, 48, 64, 48, true},   {AV_PIX_FMT_RGB0, 704, 576, 704, 576, false},
        {AV_PIX_FMT_BGR0, 66, 34, 66, 34, true},   {AV_PIX_FMT_BGRA, 64, 48, 64, 48, true},
        {AV_PIX_FMT_0RGB, 64, 48, 64, 48, true},   {AV_PIX_FMT_0BGR, 64, 48, 64, 48, true},
        {AV_PIX_FMT_RGB0, 128, 96, 64, 48, true},  {AV_PIX_FMT_RGB0, 1408, 1152, 704, 576, false},
        {AV_PIX_FMT_BGR0, 132, 68, 66, 34, true},  {AV_PIX_FMT_ARGB, 128, 96, 64, 48, true},
        {AV_PIX_FMT_ABGR, 128, 96, 64, 48, false},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> pixels = Pixels(c.fromWidth, c.fromHeight, c.noise, unsigned(c.fromWidth));
        const mcl::RgbPicture in{pixels.data(), c.fromWidth * 4, c.fromWidth, c.fromHeight, c.format};
        ASSERT_TRUE(mcl::ConvertsFast(in, c.width, c.height));
        Frame ours = Yuv(c.width, c.height);
        ASSERT_TRUE(mcl::ConvertToYuv420(in, ours.get()));
        Frame theirs = Scaled(in, c.width, c.height);
        EXPECT_LE(LargestDifference(ours.get(), theirs.get()), 1)
            << av_get_pix_fmt_name(c.format) << " " << c.fromWidth << "x" << c.fromHeight << " to " << c.width
            << "x" << c.height;
    }
}

TEST(MclPictureConvert, BottomUpRowsComeOutTopFirst)
{
    std::vector<uint8_t> pixels = Pixels(32, 16, true, 7);
    const mcl::RgbPicture topDown{pixels.data(), 32 * 4, 32, 16, AV_PIX_FMT_BGR0};
    // the same picture held bottom row first
    std::vector<uint8_t> flipped(pixels.size());
    for (int y = 0; y < 16; ++y) std::copy_n(&pixels[size_t(y) * 128], 128, &flipped[size_t(15 - y) * 128]);
    const mcl::RgbPicture bottomUp{flipped.data() + 15 * 128, -128, 32, 16, AV_PIX_FMT_BGR0};
    Frame a = Yuv(32, 16), b = Yuv(32, 16);
    ASSERT_TRUE(mcl::ConvertToYuv420(topDown, a.get()));
    ASSERT_TRUE(mcl::ConvertToYuv420(bottomUp, b.get()));
    EXPECT_EQ(LargestDifference(a.get(), b.get()), 0);
}

TEST(MclPictureConvert, OtherSizesAndFormatsAreLeftToTheScaler)
{
    std::vector<uint8_t> pixels(200 * 200 * 4);
    struct Case {
        int fromWidth, fromHeight, width, height;
        AVPixelFormat format;
    };
    const Case cases[] = {
        {100, 100, 50, 60, AV_PIX_FMT_RGB0},     // not exactly half
        {100, 100, 80, 80, AV_PIX_FMT_RGB0},     // another scale
        {65, 48, 65, 48, AV_PIX_FMT_RGB0},       // odd width
        {64, 47, 64, 47, AV_PIX_FMT_RGB0},       // odd height
        {64, 48, 64, 48, AV_PIX_FMT_RGB24},      // 24-bit
        {64, 48, 64, 48, AV_PIX_FMT_YUV420P},    // not RGB
        {128, 96, 64, 48, AV_PIX_FMT_RGBA64LE},  // not 32-bit
    };
    for (const Case& c : cases) {
        const mcl::RgbPicture in{pixels.data(), c.fromWidth * 4, c.fromWidth, c.fromHeight, c.format};
        EXPECT_FALSE(mcl::ConvertsFast(in, c.width, c.height)) << c.fromWidth << "x" << c.fromHeight;
        Frame out = Yuv(c.width & ~1, c.height & ~1);
        EXPECT_FALSE(mcl::ConvertToYuv420(in, out.get()));
    }
}

TEST(MclPictureConvert, PoolFramesAreLaidOutAsFreshOnesAndReused)
{
    mcl::PicturePool pool(704, 576);
    Frame fresh = Yuv(704, 576);
    Frame first = pool.Get();
    ASSERT_TRUE(first);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(first->linesize[i], fresh->linesize[i]);
    const uint8_t* memory = first->data[0];
    first.reset();
    Frame again = pool.Get();
    EXPECT_EQ(again->data[0], memory);
}

// The bytes of a BMP file: a header of headerSize, then the pixels.
std::vector<uint8_t> BmpFile(int width, int height, uint32_t compression, std::vector<uint32_t> masks,
                             uint32_t headerSize = 40, int bits = 32, int missing = 0)
{
    const size_t offset = 14 + headerSize + (headerSize == 40 ? masks.size() * 4 : 0);
    std::vector<uint8_t> file(offset + size_t(width) * size_t(std::abs(height)) * 4 - size_t(missing), 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) file[at + size_t(i)] = uint8_t(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(10, uint32_t(offset));
    put32(14, headerSize);
    put32(18, uint32_t(width));
    put32(22, uint32_t(height));
    file[26] = 1;
    file[28] = uint8_t(bits);
    put32(30, compression);
    for (size_t i = 0; i < masks.size(); ++i) put32(54 + 4 * i, masks[i]);
    return file;
}

TEST(MclMappedBitmap, PlainBitmapsAreFoundAndOthersLeftToTheDecoder)
{
    const std::vector<uint32_t> rgb = {0xFF, 0xFF00, 0xFF0000};  // the frame file's
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        AVPixelFormat format;  // NONE: not taken
        std::ptrdiff_t stride;
    };
    const Case cases[] = {
        {"frame file", BmpFile(8, -4, 3, rgb), AV_PIX_FMT_RGB0, 32},
        {"bottom-up", BmpFile(8, 4, 3, rgb), AV_PIX_FMT_RGB0, -32},
        {"plain 32-bit", BmpFile(8, 4, 0, {}), AV_PIX_FMT_BGR0, -32},
        {"blue first", BmpFile(8, -4, 3, {0xFF0000, 0xFF00, 0xFF}), AV_PIX_FMT_BGR0, 32},
        {"alpha first", BmpFile(8, -4, 3, {0xFF00, 0xFF0000, 0xFF000000}), AV_PIX_FMT_0RGB, 32},
        {"v5 header", BmpFile(8, -4, 3, {0xFF, 0xFF00, 0xFF0000}, 124), AV_PIX_FMT_RGB0, 32},
        {"565 masks", BmpFile(8, -4, 3, {0xF800, 0x07E0, 0x001F}), AV_PIX_FMT_NONE, 0},
        {"green twice", BmpFile(8, -4, 3, {0xFF00, 0xFF00, 0xFF}), AV_PIX_FMT_NONE, 0},
        {"24-bit", BmpFile(8, -4, 0, {}, 40, 24), AV_PIX_FMT_NONE, 0},
        {"run-length", BmpFile(8, -4, 1, {}), AV_PIX_FMT_NONE, 0},
        {"cut short", BmpFile(8, -4, 3, rgb, 40, 32, 1), AV_PIX_FMT_NONE, 0},
        {"no width", BmpFile(0, -4, 3, rgb), AV_PIX_FMT_NONE, 0},
        {"small header", BmpFile(8, -4, 3, rgb, 12), AV_PIX_FMT_NONE, 0},
    };
    for (const Case& c : cases) {
        const std::optional<mcl::PlainBitmap> bitmap = mcl::ParsePlainBitmap(c.file.data(), c.file.size());
        if (c.format == AV_PIX_FMT_NONE) {
            EXPECT_FALSE(bitmap) << c.what;
            continue;
        }
        ASSERT_TRUE(bitmap) << c.what;
        EXPECT_EQ(bitmap->format, c.format) << c.what;
        EXPECT_EQ(bitmap->stride, c.stride) << c.what;
        EXPECT_EQ(bitmap->width, 8);
        EXPECT_EQ(bitmap->height, 4);
        // the top row's start, and the last byte of the pixels inside the file
        const std::ptrdiff_t bottom = std::ptrdiff_t(bitmap->offset) + 3 * bitmap->stride;
        EXPECT_LE(size_t(std::max<std::ptrdiff_t>(std::ptrdiff_t(bitmap->offset), bottom)) + 32,
                  c.file.size());
    }
    const std::vector<uint8_t> tiny = {'B', 'M', 0, 0};
    EXPECT_FALSE(mcl::ParsePlainBitmap(tiny.data(), tiny.size()));
}

void Save(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

TEST(MclMappedBitmap, FollowsTheFileRewrittenReplacedOrRemoved)
{
    mcltest::TempDir dir;
    const auto path = dir / "lswj.bmp";
    std::vector<uint8_t> file = BmpFile(8, -4, 3, {0xFF, 0xFF00, 0xFF0000});
    const size_t pixels = file.size() - 8 * 4 * 4;
    file[pixels] = 11;
    Save(path, file);
    mcl::MappedBitmap mapped;
    std::optional<mcl::RgbPicture> picture = mapped.Map(path.string());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->data[0], 11);

    // written in place, as the frame file is
    {
        FILE* f = std::fopen(path.c_str(), "r+b");
        std::fseek(f, long(pixels), SEEK_SET);
        std::fputc(22, f);
        std::fclose(f);
    }
    picture = mapped.Map(path.string());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->data[0], 22);

    // replaced by a bigger picture under the same name
    std::vector<uint8_t> bigger = BmpFile(16, -8, 3, {0xFF, 0xFF00, 0xFF0000});
    bigger[bigger.size() - 16 * 8 * 4] = 33;
    Save(dir / "new.bmp", bigger);
    std::filesystem::rename(dir / "new.bmp", path);
    picture = mapped.Map(path.string());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 16);
    EXPECT_EQ(picture->data[0], 33);

    // cut short: no longer a whole bitmap
    std::filesystem::resize_file(path, bigger.size() - 1);
    EXPECT_FALSE(mapped.Map(path.string()));
    std::filesystem::remove(path);
    EXPECT_FALSE(mapped.Map(path.string()));
    EXPECT_FALSE(mapped.Map((dir / "missing.bmp").string()));
    EXPECT_FALSE(mapped.Map(dir.path().string()));  // a folder
}

}  // namespace
