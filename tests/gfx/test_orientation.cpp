// The EXIF orientation: reading the tag from JPEG bytes and files, the
// eight turns and mirrors, and the JPEG decoder showing photos upright.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/gfx/exif_orientation.h"
#include "platform/gfx/image_io.h"
#include "platform/gfx/orientation.h"
#include "tests/gfx/exif_jpeg.h"

namespace {

namespace fs = std::filesystem;
using gfx_test::Bytes;

const Bytes& PlainJpeg()
{
    static const Bytes jpeg = gfx::EncodeJpeg(gfx_test::Quadrants(64, 32));
    return jpeg;
}

TEST(ExifOrientation, ReadsEveryValueInBothByteOrders)
{
    for (bool big_endian : {false, true})
        for (std::uint16_t value = 1; value <= 8; ++value) {
            const Bytes jpeg = gfx_test::WithSegments(
                PlainJpeg(), gfx_test::ExifSegment(gfx_test::OrientationTiff(big_endian, value)));
            EXPECT_EQ(gfx::JpegOrientation(jpeg), value) << (big_endian ? "MM " : "II ") << value;
        }
    // The tag among others, after a JFIF-like segment and another APP1.
    const Bytes tiff =
        gfx_test::ExifTiff(true, {{0x010F, 2, 4, 0x41424300}, {0x0110, 2, 4, 0}, {0x0112, 3, 1, 6}});
    const Bytes xmp = gfx_test::Segment(0xE1, Bytes{'h', 't', 't', 'p', ':', '/', '/', 0});
    Bytes segments = gfx_test::Segment(0xE0, Bytes{'J', 'F', 'I', 'F', 0, 1, 1});
    segments.insert(segments.end(), xmp.begin(), xmp.end());
    const Bytes exif = gfx_test::ExifSegment(tiff);
    segments.insert(segments.end(), exif.begin(), exif.end());
    EXPECT_EQ(gfx::JpegOrientation(gfx_test::WithSegments(PlainJpeg(), segments)), 6);
}

TEST(ExifOrientation, DamagedOrMissingTagReadsAsStored)
{
    const Bytes good_tiff = gfx_test::OrientationTiff(false, 6);
    auto with_tiff = [](const Bytes& tiff) {
        return gfx_test::WithSegments(PlainJpeg(), gfx_test::ExifSegment(tiff));
    };
    auto damaged = [&](auto change) {
        Bytes tiff = good_tiff;
        change(tiff);
        return with_tiff(tiff);
    };
    const Bytes good = with_tiff(good_tiff);
    ASSERT_EQ(gfx::JpegOrientation(good), 6);
    const std::size_t exif_start = 2 + 4;  // after the start marker and the segment head
    const struct {
        const char* name;
        Bytes data;
    } cases[] = {
        {"no segment", PlainJpeg()},
        {"empty", {}},
        {"not a JPEG", Bytes{'B', 'M', 0, 0, 0, 0}},
        {"value 0", with_tiff(gfx_test::OrientationTiff(false, 0))},
        {"value 9", with_tiff(gfx_test::OrientationTiff(true, 9))},
        {"value 0x0600", with_tiff(gfx_test::OrientationTiff(true, 0x0600))},
        {"long type", with_tiff(gfx_test::ExifTiff(false, {{0x0112, 4, 1, 6}}))},
        {"no values", with_tiff(gfx_test::ExifTiff(false, {{0x0112, 3, 0, 6}}))},
        {"no entries", with_tiff(gfx_test::ExifTiff(false, {}))},
        {"other tags only", with_tiff(gfx_test::ExifTiff(false, {{0x0110, 3, 1, 6}}))},
        {"byte order mark", damaged([](Bytes& t) { t[0] = 'X'; })},
        {"mixed byte order mark", damaged([](Bytes& t) { t[1] = 'M'; })},
        {"not 42", damaged([](Bytes& t) { t[2] = 43; })},
        {"directory past the end", damaged([](Bytes& t) { t[4] = 0xF0; })},
        {"directory offset huge", damaged([](Bytes& t) { t[7] = 0xFF; })},
        {"entry count past the end", damaged([](Bytes& t) { t[8] = 0xFF; })},
        {"entry cut", damaged([](Bytes& t) { t.resize(8 + 2 + 9); })},
        {"tiff header cut", damaged([](Bytes& t) { t.resize(5); })},
        {"signature",
         [&] {
             Bytes b = good;
             b[exif_start + 4] = 'X';
             return b;
         }()},
        {"segment length past the end",
         [&] {
             Bytes b(good.begin(), good.begin() + 30);
             return b;
         }()},
        {"segment length 0",
         [&] {
             Bytes b = good;
             b[4] = 0, b[5] = 0;
             return b;
         }()},
        {"marker garbage",
         [&] {
             Bytes b = good;
             b[2] = 0x12;
             return b;
         }()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(gfx::JpegOrientation(c.data), 1) << c.name;
        if (c.data.size() > 100) {
            EXPECT_EQ(gfx::JpegSize(c.data), TSize(64, 32)) << c.name;
        }
    }
    // A tag in the picture data, after the scan starts, is no orientation.
    Bytes late = PlainJpeg();
    const Bytes exif = gfx_test::ExifSegment(good_tiff);
    late.insert(late.end() - 2, exif.begin(), exif.end());
    EXPECT_EQ(gfx::JpegOrientation(late), 1);
}

TEST(ExifOrientation, ReadsTheHeadOfAFile)
{
    const fs::path dir = fs::temp_directory_path() / ("velmora_exif_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const Bytes jpeg =
        gfx_test::WithSegments(PlainJpeg(), gfx_test::ExifSegment(gfx_test::OrientationTiff(true, 8)));
    gfx::WriteFileBytes(dir / "photo.jpg", jpeg);
    EXPECT_EQ(gfx::JpegOrientation(dir / "photo.jpg"), 8);
    EXPECT_EQ(gfx::JpegOrientation(dir / "missing.jpg"), 1);
    fs::remove_all(dir);
}

// The bitmap as one letter a pixel, rows top first.
std::vector<std::string> Letters(const TBitmap& b)
{
    std::vector<std::string> rows;
    for (int y = 0; y < b.Height(); ++y) {
        std::string row;
        for (int x = 0; x < b.Width(); ++x) row += static_cast<char>(b.Pixel(x, y));
        rows.push_back(row);
    }
    return rows;
}

TEST(Orientation, EightTurnsAndMirrorsPixelByPixel)
{
    TBitmap stored(3, 2);
    const char* letters = "abcdef";
    for (int i = 0; i < 6; ++i) stored.SetPixel(i % 3, i / 3, static_cast<TColor>(letters[i]));
    using Rows = std::vector<std::string>;
    const struct {
        int orientation;
        Rows shown;
    } cases[] = {
        {1, {"abc", "def"}},     {2, {"cba", "fed"}},     {3, {"fed", "cba"}},     {4, {"def", "abc"}},
        {5, {"ad", "be", "cf"}}, {6, {"da", "eb", "fc"}}, {7, {"fc", "eb", "da"}}, {8, {"cf", "be", "ad"}},
        {0, {"abc", "def"}},     {9, {"abc", "def"}},     {-1, {"abc", "def"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Letters(gfx::ApplyOrientation(stored, c.orientation)), c.shown) << c.orientation;
        const TSize size = gfx::OrientedSize({3, 2}, c.orientation);
        EXPECT_EQ(size, TSize(static_cast<int>(c.shown[0].size()), static_cast<int>(c.shown.size())))
            << c.orientation;
    }
    EXPECT_TRUE(gfx::ApplyOrientation(TBitmap(), 6).Empty());
}

// What each orientation shows at the corners (top left, top right, bottom
// left, bottom right) of a picture stored as red, lime / blue, yellow.
struct Shown {
    int orientation;
    const char* corners;
};
constexpr Shown kShown[] = {{1, "RGBY"}, {2, "GRYB"}, {3, "YBGR"}, {4, "BYRG"},
                            {5, "RBGY"}, {6, "BRYG"}, {7, "YGBR"}, {8, "GYRB"}};

TEST(Orientation, DecodedPhotosShowTheCornersWhereTheCameraMeantThem)
{
    for (const Shown& s : kShown) {
        // Odd values little-endian, even ones big-endian: both orders decode.
        const Bytes jpeg = gfx_test::WithSegments(
            PlainJpeg(),
            gfx_test::ExifSegment(gfx_test::OrientationTiff(s.orientation % 2 == 0, s.orientation)));
        const TSize upright = s.orientation >= 5 ? TSize(32, 64) : TSize(64, 32);
        EXPECT_EQ(gfx::JpegSize(jpeg), upright) << s.orientation;
        for (int scale : {1, 2}) {
            const TBitmap shown = gfx::DecodeJpeg(jpeg, scale);
            EXPECT_EQ(TSize(shown.Width(), shown.Height()), TSize(upright.cx / scale, upright.cy / scale))
                << s.orientation << " at 1/" << scale;
            EXPECT_EQ(gfx_test::Corners(shown), s.corners) << s.orientation << " at 1/" << scale;
        }
        EXPECT_EQ(gfx_test::Corners(gfx::DecodeImage(jpeg)), s.corners) << s.orientation;
    }
    // A damaged tag: shown as stored.
    Bytes damaged = gfx_test::OrientationTiff(false, 6);
    damaged[0] = 'X';
    EXPECT_EQ(gfx_test::Corners(
                  gfx::DecodeJpeg(gfx_test::WithSegments(PlainJpeg(), gfx_test::ExifSegment(damaged)))),
              "RGBY");
}

}  // namespace
