#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "platform/gfx/gfx.h"
#include "tests/gfx/made_jpeg.h"

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using gfx::ImageError;

namespace {

// A BMP file assembled field by field, so tests can break any of them.
struct BmpFields {
    int width = 2, height = 2;  // negative height: top-down
    int bpp = 24;
    std::uint32_t compression = 0;
    std::uint32_t headerSize = 40;
    std::vector<std::uint32_t> masks;    // after a 40-byte header, or inside a larger one
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB entries
    std::uint32_t colorsUsed = 0;
    Bytes pixels;  // raw rows, padded by the caller
    long offsetAdjust = 0;
};

void Put32(Bytes& b, std::size_t at, std::uint32_t v)
{
    if (b.size() < at + 4) b.resize(at + 4);
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Put16(Bytes& b, std::size_t at, std::uint16_t v)
{
    if (b.size() < at + 2) b.resize(at + 2);
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

Bytes MakeBmp(const BmpFields& s)
{
    Bytes b(14 + s.headerSize, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 14, s.headerSize);
    Put32(b, 18, static_cast<std::uint32_t>(s.width));
    Put32(b, 22, static_cast<std::uint32_t>(s.height));
    Put16(b, 26, 1);
    Put16(b, 28, static_cast<std::uint16_t>(s.bpp));
    Put32(b, 30, s.compression);
    Put32(b, 46, s.colorsUsed);
    if (s.headerSize > 40)
        for (std::size_t i = 0; i < s.masks.size(); ++i) Put32(b, 54 + 4 * i, s.masks[i]);
    else
        for (std::uint32_t m : s.masks) Put32(b, b.size(), m);
    for (std::uint32_t c : s.palette) Put32(b, b.size(), c);
    const std::size_t off = b.size();
    Put32(b, 10, static_cast<std::uint32_t>(static_cast<long>(off) + s.offsetAdjust));
    b.insert(b.end(), s.pixels.begin(), s.pixels.end());
    Put32(b, 2, static_cast<std::uint32_t>(b.size()));
    return b;
}

TBitmap RandomBitmap(int w, int h, unsigned seed)
{
    std::mt19937 rng(seed);
    TBitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.ScanLine(y)[x] = rng() & 0x00FFFFFFu;
    return b;
}

bool SamePixels(const TBitmap& a, const TBitmap& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    return std::equal(a.Pixels(), a.Pixels() + a.Width() * a.Height(), b.Pixels());
}

class TempDir {
public:
    TempDir()
    {
        char tmpl[] = "/tmp/velmora-gfx-XXXXXX";
        path_ = mkdtemp(tmpl);
    }
    ~TempDir() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

}  // namespace

TEST(Bmp, RoundTripsAt24BitsForOddWidths)
{
    for (int w : {1, 2, 3, 5, 17}) {
        const TBitmap src = RandomBitmap(w, 3, w);
        const Bytes file = gfx::EncodeBmp(src);
        EXPECT_EQ(file[28], 24);
        EXPECT_TRUE(SamePixels(gfx::DecodeBmp(file), src)) << w;
    }
}

TEST(Bmp, ReadsEveryDepthAndOrientation)
{
    struct Case {
        const char* name;
        BmpFields fields;
    };
    // Each picture is 2x2: top row red, green; bottom row blue, white.
    const TColor want[2][2] = {{clRed, clLime}, {clBlue, clWhite}};
    std::vector<Case> cases;
    {
        BmpFields s;  // 24 bits bottom-up: rows stored bottom first, BGR, padded to 4
        s.pixels = {0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0};
        cases.push_back({"24 bottom-up", s});
        s.height = -2;
        s.pixels = {0, 0, 0xFF, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0};
        cases.push_back({"24 top-down", s});
    }
    {
        BmpFields s;
        s.bpp = 32;
        s.pixels = {0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0};
        cases.push_back({"32 rgb", s});
        s.compression = 3;
        s.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};  // RGBX byte order
        s.pixels = {0, 0, 0xFF, 0, 0xFF, 0xFF, 0xFF, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0};
        cases.push_back({"32 bitfields", s});
    }
    {
        BmpFields s;
        s.bpp = 16;  // 5-5-5
        auto px = [](int r, int g, int b) { return static_cast<std::uint16_t>((r << 10) | (g << 5) | b); };
        auto row = [&](std::uint16_t a, std::uint16_t b) {
            return Bytes{static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(a >> 8),
                         static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(b >> 8)};
        };
        Bytes bottom = row(px(0, 0, 31), px(31, 31, 31)), top = row(px(31, 0, 0), px(0, 31, 0));
        s.pixels = bottom;
        s.pixels.insert(s.pixels.end(), top.begin(), top.end());
        cases.push_back({"16 555", s});
        s.compression = 3;
        s.headerSize = 108;  // V4 header with the 5-6-5 masks inside
        s.masks = {0xF800, 0x07E0, 0x001F, 0};
        auto p565 = [](int r, int g, int b) { return static_cast<std::uint16_t>((r << 11) | (g << 5) | b); };
        bottom = row(p565(0, 0, 31), p565(31, 63, 31));
        top = row(p565(31, 0, 0), p565(0, 63, 0));
        s.pixels = bottom;
        s.pixels.insert(s.pixels.end(), top.begin(), top.end());
        cases.push_back({"16 565 v4", s});
    }
    {
        BmpFields s;
        s.bpp = 8;
        s.palette = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
        s.colorsUsed = 4;
        s.pixels = {2, 3, 0, 0, 0, 1, 0, 0};
        cases.push_back({"8 palette", s});
        s.bpp = 4;
        s.pixels = {0x23, 0, 0, 0, 0x01, 0, 0, 0};
        cases.push_back({"4 palette", s});
        s.bpp = 1;
        s.palette = {0xFF0000, 0x00FF00};
        s.colorsUsed = 2;
        s.width = 2;
        s.pixels = {0x40, 0, 0, 0, 0x40, 0, 0, 0};  // bit 7 = x 0
        cases.push_back({"1 palette", s});
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TBitmap b = gfx::DecodeBmp(MakeBmp(c.fields));
        ASSERT_EQ(b.Width(), 2);
        ASSERT_EQ(b.Height(), 2);
        if (std::string(c.name) == "1 palette") {
            EXPECT_EQ(b.Pixel(0, 0), clRed);
            EXPECT_EQ(b.Pixel(1, 0), clLime);
            continue;
        }
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x) EXPECT_EQ(b.Pixel(x, y), want[y][x]) << x << "," << y;
    }
}

TEST(Bmp, MalformedFilesAreRejectedWithATypedError)
{
    BmpFields good;
    good.pixels.assign(16, 0);
    ASSERT_NO_THROW(gfx::DecodeBmp(MakeBmp(good)));
    struct Case {
        const char* name;
        Bytes data;
    };
    std::vector<Case> cases;
    auto with = [&](const char* name, auto change) {
        BmpFields s = good;
        change(s);
        cases.push_back({name, MakeBmp(s)});
    };
    cases.push_back({"empty", {}});
    cases.push_back({"signature only", {'B', 'M'}});
    {
        Bytes b = MakeBmp(good);
        b.resize(30);
        cases.push_back({"header cut", b});
        b = MakeBmp(good);
        b.resize(b.size() - 5);
        cases.push_back({"pixels cut", b});
    }
    with("zero width", [](BmpFields& s) { s.width = 0; });
    with("zero height", [](BmpFields& s) { s.height = 0; });
    with("negative width", [](BmpFields& s) { s.width = -2; });
    with("huge", [](BmpFields& s) {
        s.width = 100000;
        s.height = 100000;
    });
    with("most negative height", [](BmpFields& s) { s.height = INT32_MIN; });
    with("7 bits", [](BmpFields& s) { s.bpp = 7; });
    with("zero bits", [](BmpFields& s) { s.bpp = 0; });
    with("rle8", [](BmpFields& s) {
        s.bpp = 8;
        s.compression = 1;
    });
    with("bitfields at 24 bits", [](BmpFields& s) {
        s.compression = 3;
        s.masks = {0xFF, 0xFF00, 0xFF0000};
    });
    with("odd header size", [](BmpFields& s) { s.headerSize = 41; });
    with("offset past the end", [](BmpFields& s) { s.offsetAdjust = 1000; });
    with("offset inside the header", [](BmpFields& s) { s.offsetAdjust = -30; });
    with("palette larger than 256", [](BmpFields& s) {
        s.bpp = 8;
        s.colorsUsed = 100000;
    });
    with("palette cut", [](BmpFields& s) {
        s.bpp = 8;
        s.colorsUsed = 200;
        s.pixels.clear();
    });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(gfx::DecodeBmp(c.data), ImageError);
    }
}

TEST(Jpeg, WriteThenReadKeepsSizeAndColours)
{
    // Flat blocks survive compression within a small tolerance.
    TBitmap src(64, 48);
    const TColor blocks[] = {clRed, clLime, clBlue, clWhite, gfx::RGB(40, 120, 200), clBlack};
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) src.ScanLine(y)[x] = blocks[(y / 24) * 3 + x / 22 % 3];
    const Bytes file = gfx::EncodeJpeg(src);
    EXPECT_EQ(gfx::DetectImageFormat(file), gfx::ImageFormat::Jpeg);
    EXPECT_EQ(gfx::JpegSize(file), TSize(64, 48));
    const TBitmap back = gfx::DecodeJpeg(file);
    ASSERT_EQ(back.Width(), 64);
    ASSERT_EQ(back.Height(), 48);
    EXPECT_FALSE(back.HasAlpha());
    for (const TPoint p :
         {TPoint{10, 10}, TPoint{32, 10}, TPoint{54, 10}, TPoint{10, 36}, TPoint{32, 36}, TPoint{54, 36}}) {
        const TColor a = src.Pixel(p.X, p.Y), b = back.Pixel(p.X, p.Y);
        EXPECT_EQ(b >> 24, 0u);
        EXPECT_NEAR(gfx::GetRValue(a), gfx::GetRValue(b), 12) << p.X << "," << p.Y;
        EXPECT_NEAR(gfx::GetGValue(a), gfx::GetGValue(b), 12) << p.X << "," << p.Y;
        EXPECT_NEAR(gfx::GetBValue(a), gfx::GetBValue(b), 12) << p.X << "," << p.Y;
    }
}

TEST(Jpeg, ScaledDecodeRoundsUp)
{
    const Bytes file = gfx::EncodeJpeg(RandomBitmap(101, 37, 7));
    for (int d : {1, 2, 4, 8}) {
        const TBitmap b = gfx::DecodeJpeg(file, d);
        EXPECT_EQ(b.Width(), (101 + d - 1) / d) << d;
        EXPECT_EQ(b.Height(), (37 + d - 1) / d) << d;
    }
    EXPECT_THROW(gfx::DecodeJpeg(file, 3), std::invalid_argument);
    EXPECT_EQ(gfx::JpegScaleFor({4000, 3000}, 160, 120), 8);
    EXPECT_EQ(gfx::JpegScaleFor({4000, 3000}, 800, 600), 4);
    EXPECT_EQ(gfx::JpegScaleFor({300, 200}, 160, 120), 1);
}

TEST(Jpeg, CorruptDataThrowsAndTruncatedDataStillDecodes)
{
    const Bytes good = gfx::EncodeJpeg(RandomBitmap(32, 32, 3));
    const std::vector<std::pair<const char*, Bytes>> bad = {
        {"empty", {}},
        {"soi only", {0xFF, 0xD8}},
        {"header cut", Bytes(good.begin(), good.begin() + 40)},
        {"garbage", Bytes{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x02, 0x12, 0x34, 0x56}},
    };
    for (const auto& [name, data] : bad) {
        SCOPED_TRACE(name);
        EXPECT_THROW(gfx::DecodeJpeg(data), ImageError);
    }
    // A file cut short in its picture data shows what could be read.
    const Bytes cut(good.begin(), good.begin() + static_cast<long>(good.size() * 3 / 4));
    const TBitmap b = gfx::DecodeJpeg(cut);
    EXPECT_EQ(b.Width(), 32);
}

TEST(Jpeg, DataCutShortOrLyingIsRefusedWhenTheWholeDataIsAsked)
{
    const Bytes good = gfx::EncodeJpeg(RandomBitmap(320, 240, 5));
    struct Case {
        const char* name;
        Bytes data;
    };
    const std::vector<Case> damaged = {
        {"cut at 10 %", gfx_test::CutAt(good, 10)},
        {"cut at 50 %", gfx_test::CutAt(good, 50)},
        {"cut at 90 %", gfx_test::CutAt(good, 90)},
        {"8192 x 8192 claimed over 320 x 240", gfx_test::ClaimSize(good, 8192, 8192)},
    };
    for (const Case& c : damaged) {
        SCOPED_TRACE(c.name);
        for (int scale : {1, 8}) {
            if (scale == 1 && gfx::JpegSize(c.data).cx > 320) continue;  // only a big grey picture to show
            try {
                gfx::DecodeJpeg(c.data, scale, gfx::DamagedData::Refused);
                ADD_FAILURE() << "decoded at 1/" << scale;
            } catch (const ImageError& e) {
                EXPECT_EQ(e.kind(), ImageError::Kind::Corrupt);
            }
            // Viewers show what could be read.
            EXPECT_FALSE(gfx::DecodeJpeg(c.data, scale).Empty());
        }
    }
    EXPECT_EQ(gfx::DecodeJpeg(good, 1, gfx::DamagedData::Refused).Width(), 320);
}

TEST(Jpeg, OneSizeLimitAtEveryScaleAndBigPicturesDecodeReduced)
{
    struct Case {
        const char* name;
        int width, height;
        TSize atFull, atEighth;  // 0 x 0: refused as too large
    };
    const std::vector<Case> cases = {
        {"within the decoded limit", 4000, 3000, {4000, 3000}, {500, 375}},
        {"panorama past a decoded side", 16500, 1500, {8250, 750}, {2063, 188}},
        {"panorama", 20000, 3000, {10000, 1500}, {2500, 375}},
        {"108 million pixels", 12000, 9000, {6000, 4500}, {1500, 1125}},
        {"too many pixels", 30000, 30000, {}, {}},
        {"too long a side", 40000, 1000, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Refused pictures are never decoded: their header is enough.
        const bool refused = c.atFull.cx == 0;
        const Bytes file = refused ? gfx_test::ClaimSize(gfx_test::GreyJpeg(16, 16), c.width, c.height)
                                   : gfx_test::GreyJpeg(c.width, c.height);
        if (refused) {
            EXPECT_THROW(gfx::CheckPictureSize({c.width, c.height}, gfx::ImageFormat::Jpeg), ImageError);
            for (int scale : {1, 8}) {
                try {
                    gfx::DecodeJpeg(file, scale);
                    ADD_FAILURE() << "decoded at 1/" << scale;
                } catch (const ImageError& e) {
                    EXPECT_EQ(e.kind(), ImageError::Kind::TooLarge);
                    EXPECT_NE(std::string(e.what()).find("32768"), std::string::npos) << e.what();
                }
            }
            EXPECT_THROW(gfx::JpegSize(file), ImageError);
            continue;
        }
        EXPECT_EQ(gfx::JpegSize(file), TSize(c.width, c.height));
        const TBitmap full = gfx::DecodeJpeg(file, 1, gfx::DamagedData::Refused);
        EXPECT_EQ(TSize(full.Width(), full.Height()), c.atFull);
        const TBitmap eighth = gfx::DecodeJpeg(file, 8, gfx::DamagedData::Refused);
        EXPECT_EQ(TSize(eighth.Width(), eighth.Height()), c.atEighth);
    }
    // BMP and PNG decode whole: their limit is the decoded one.
    EXPECT_NO_THROW(gfx::CheckPictureSize({16384, 4096}, gfx::ImageFormat::Png));
    EXPECT_THROW(gfx::CheckPictureSize({16500, 1500}, gfx::ImageFormat::Png), ImageError);
    EXPECT_THROW(gfx::CheckPictureSize({16500, 1500}, gfx::ImageFormat::Bmp), ImageError);
}

TEST(Png, RoundTripsWithAndWithoutAlpha)
{
    const TBitmap plain = RandomBitmap(9, 4, 11);
    const TBitmap back = gfx::DecodePng(gfx::EncodePng(plain));
    EXPECT_FALSE(back.HasAlpha());
    EXPECT_TRUE(SamePixels(back, plain));
    TBitmap layer = RandomBitmap(5, 5, 12);
    layer.SetHasAlpha(true);
    for (int i = 0; i < 25; ++i) layer.Pixels()[i] |= static_cast<std::uint32_t>(i * 10) << 24;
    const TBitmap back2 = gfx::DecodePng(gfx::EncodePng(layer));
    EXPECT_TRUE(back2.HasAlpha());
    EXPECT_TRUE(SamePixels(back2, layer));
    EXPECT_THROW(gfx::DecodePng(Bytes{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0}), ImageError);
}

TEST(ImageFiles, SaveLoadByContentAndErrors)
{
    TempDir dir;
    const TBitmap src = RandomBitmap(6, 5, 21);
    gfx::SaveBmp(src, dir.path() / "a.bmp");
    gfx::SavePng(src, dir.path() / "a.png");
    gfx::SaveJpeg(src, dir.path() / "a.jpg");
    EXPECT_TRUE(SamePixels(gfx::LoadImage(dir.path() / "a.bmp"), src));
    EXPECT_TRUE(SamePixels(gfx::LoadImage(dir.path() / "a.png"), src));
    EXPECT_EQ(gfx::LoadImage(dir.path() / "a.jpg").Width(), 6);
    TBitmap viaMember;
    viaMember.LoadFromFile(dir.path() / "a.png");
    EXPECT_TRUE(SamePixels(viaMember, src));
    viaMember.SaveToFile(dir.path() / "b.bmp");
    EXPECT_TRUE(SamePixels(gfx::LoadBmp(dir.path() / "b.bmp"), src));
    // Replacing an existing file leaves no temporary beside it.
    gfx::SaveBmp(src, dir.path() / "a.bmp");
    EXPECT_FALSE(fs::exists(dir.path() / "a.bmp.part"));

    try {
        gfx::LoadImage(dir.path() / "missing.bmp");
        FAIL();
    } catch (const ImageError& e) {
        EXPECT_EQ(e.kind(), ImageError::Kind::Io);
    }
    gfx::WriteFileBytes(dir.path() / "text.bmp", Bytes{'h', 'e', 'l', 'l', 'o'});
    try {
        gfx::LoadImage(dir.path() / "text.bmp");
        FAIL();
    } catch (const ImageError& e) {
        EXPECT_EQ(e.kind(), ImageError::Kind::Unsupported);
        EXPECT_NE(std::string(e.what()).find("text.bmp"), std::string::npos);
    }
    EXPECT_THROW(gfx::SaveBmp(src, dir.path() / "no" / "such" / "dir.bmp"), ImageError);
}
