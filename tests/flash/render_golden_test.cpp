// Frames of the effect templates and a turning three-picture movie, rendered
// at production sizes and compared with checksums recorded from a trusted
// build of the renderer: any change to sampling, blending, fitting or layer
// order shows up here.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "data/shipped_templates.h"
#include "platform/core/application.h"
#include "platform/flash/movie_file.h"
#include "platform/flash/movie_source.h"
#include "platform/flash/pixel_rows.h"
#include "platform/flash/player.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/image_io.h"

namespace {

namespace fs = std::filesystem;

// Three photos over each other, zooming, turning and fading, with a clip.
const char* kThreePictures = R"(movie 352 288 fps 25 frames 100 background #102030
layer a image file "tupian1.png" fit cover anchor center
  key 0 x 176 y 144 scale 1.1
  key 99 scale 1.3
layer b image file "tupian2.png" fit cover box 300 240 anchor center
  key 0 x 176 y 144 rot -8 alpha 0.7
  key 99 rot 8
layer c image file "tupian3.png" fit contain box 200 160 anchor center
  key 0 x 120 y 120 rot 5 alpha 0.8 clip 20 20 330 260
  key 99 x 240 y 160 rot -5
at 0 load
)";

class RenderGolden : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        fs::create_directories(Dir());
        for (int i = 1; i <= 15; ++i) {
            // Sharp detail and smooth ramps, so both bilinear weights and
            // level choice matter; sizes differ so that fitting does too.
            const int w = 400 + 16 * i, h = 300 + 8 * (i % 5);
            TBitmap photo(w, h);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    photo.ScanLine(y)[x] =
                        gfx::RGB((x * 255 / w + i * 40) & 255, y * 255 / h, ((x ^ y) * (i + 1)) & 255);
            const auto bytes = gfx::EncodePng(photo);
            std::ofstream(Dir() / ("tupian" + std::to_string(i) + ".png"), std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
        }
        auto three = flash::WriteMovie(flash::CompileMovieSource(kThreePictures, Dir(), "three"));
        std::ofstream(Dir() / "three.swf", std::ios::binary)
            .write(reinterpret_cast<const char*>(three.data()), static_cast<std::streamsize>(three.size()));
        for (const shipped::EffectTemplate& t : shipped::kEffectTemplates) {
            const std::string name(t.movie);
            // The templates ask for JPEG names; the same PNG content serves.
            std::ifstream in(fs::path(VELMORA_DATA_OUT) / "template-movies" / (std::string(name) + ".swf"),
                             std::ios::binary);
            std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            std::ofstream(Dir() / (std::string(name) + ".swf"), std::ios::binary)
                .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        }
        for (int i = 1; i <= 15; ++i)
            fs::copy_file(Dir() / ("tupian" + std::to_string(i) + ".png"),
                          Dir() / ("tupian" + std::to_string(i) + ".jpg"),
                          fs::copy_options::overwrite_existing);
    }
    static void TearDownTestSuite() { fs::remove_all(Dir()); }
    static fs::path Dir() { return fs::temp_directory_path() / "velmora_flash_render_golden"; }

    core::TestApplication app;
};

std::uint64_t Checksum(const TBitmap& b)
{
    std::uint64_t h = 1469598103934665603ull;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            std::uint32_t p = b.ScanLine(y)[x] & 0x00FFFFFFu;
            for (int k = 0; k < 3; ++k) {
                h ^= (p >> (8 * k)) & 0xFF;
                h *= 1099511628211ull;
            }
        }
    return h;
}

TEST_F(RenderGolden, FramesMatchTheRecordedRenderer)
{
    struct Case {
        const char* movie;
        int frame, width, height;
        std::uint64_t checksum;
    };
    const Case cases[] = {
        {"kenburns", 0, 704, 576, 0x9643594c029809aull},
        {"kenburns", 35, 704, 576, 0x30b3633ceee67067ull},
        {"kenburns", 95, 704, 576, 0xb460e67fe08ad56dull},
        {"kenburns", 35, 1408, 1152, 0xbf650c1e5fc8539cull},
        {"kenburns", 150, 720, 576, 0x4852c4dcae601091ull},
        {"cards", 30, 704, 576, 0x2b80eeb8b3da10edull},
        {"cards", 160, 1408, 1152, 0x172f902a929a5959ull},
        {"filmstrip", 30, 704, 576, 0x3518899dfadb2182ull},
        {"filmstrip", 250, 704, 480, 0xdf5b720691693762ull},
        {"three", 50, 704, 576, 0x5e6a751adf0a4f30ull},
        {"three", 99, 1408, 1152, 0x5b85281a7ce9d901ull},
        {"three", 20, 333, 277, 0x63d6b311e59ca792ull},
    };
    // Each frame is drawn after the one before it and then again, so that
    // layers kept from the last frame are laid over changing ones and then
    // make up the whole frame; on every pixel path.
    for (const bool plain : {false, true}) {
        flash::UsePlainPixelRows(plain);
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.movie << " frame " << c.frame << " at " << c.width << "x"
                                            << c.height << " on the " << flash::PixelRowsPath() << " path");
            flash::Player player;
            ASSERT_TRUE(player.Load(Dir() / (std::string(c.movie) + ".swf"))) << player.LoadError();
            player.Stop();
            player.SetVariable("LRC_geci", "Moon 月亮");
            for (int f = 1; f < c.frame; ++f) player.SetFrameNum(f);
            TBitmap before(c.width, c.height, clFuchsia);
            player.Render(before, TRect(0, 0, c.width, c.height));
            if (c.frame > 0) player.SetFrameNum(c.frame);
            for (const char* pass : {"after the frame before", "again"}) {
                SCOPED_TRACE(pass);
                TBitmap target(c.width, c.height, clFuchsia);
                player.Render(target, TRect(0, 0, c.width, c.height));
                if (const char* dump = std::getenv("VELMORA_GOLDEN_DUMP")) {  // to look at the frames
                    const auto png = gfx::EncodePng(target);
                    std::ofstream(fs::path(dump) / (std::string(c.movie) + std::to_string(c.frame) + "_" +
                                                    std::to_string(c.width) + ".png"),
                                  std::ios::binary)
                        .write(reinterpret_cast<const char*>(png.data()),
                               static_cast<std::streamsize>(png.size()));
                }
                EXPECT_EQ(Checksum(target), c.checksum) << "0x" << std::hex << Checksum(target);
            }
        }
    }
    flash::UsePlainPixelRows(false);
}

}  // namespace
