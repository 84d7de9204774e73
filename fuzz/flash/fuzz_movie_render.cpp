// A movie from arbitrary bytes, when the reader accepts it, is drawn at a
// few frames with variables set: any transform, gradient or text the format
// allows must render without a fault.
#include <cstdint>
#include <map>
#include <span>

#include "platform/flash/movie_file.h"
#include "platform/flash/renderer.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/font.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    flash::Movie movie;
    try {
        movie = flash::ReadMovie(std::span(data, size));
    } catch (const flash::MovieError&) {
        return 0;
    }
    // The built-in box font keeps font lookup (and its caches) out of the runs.
    for (flash::Layer& layer : movie.layers)
        if (!layer.font.empty()) layer.font = gfx::kTestFontName;
    // Embedded pictures are not decoded here (their decoders have their own
    // fuzz targets); a small made-up picture stands in for each.
    TBitmap stand_in(5, 3, 0x336699);
    std::vector<flash::PicturePtr> assets(movie.assets.size(), flash::MakePicture(stand_in));
    flash::MovieFiles files;
    files.pictures["tupian1.jpg"] = flash::MakePicture(stand_in);
    files.texts["txt_1.txt"] = "txt";
    std::map<std::string, std::string> variables = {
        {"LRC_geci", "AB"}, {"LRC_gecidaxiao", "40"}, {"LRC_x", "-3"}, {"LRC_y", "1e9"}};
    flash::Renderer renderer;
    flash::Scene scene{&movie, &assets, &files, &variables};
    TBitmap target(48, 40);
    for (std::uint32_t frame : {0u, movie.frame_count / 2, movie.frame_count - 1}) {
        renderer.Render(scene, frame, target, TRect(-5, 3, 40, 60), target.BoundsRect());
    }
    return 0;
}
