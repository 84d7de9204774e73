#pragma once
// Draws one frame of a movie into a bitmap at any size. Rendering is a pure
// function of the movie, the frame, the variables and the pictures read at
// the last load point. Text rasters, and the colours of layers that stay the
// same from one frame to the next, are kept between calls.
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/flash/compositor.h"
#include "platform/flash/movie.h"
#include "platform/flash/movie_files.h"
#include "platform/flash/picture.h"
#include "platform/gfx/types.h"

class TBitmap;

namespace flash {

struct Scene {
    const Movie* movie = nullptr;
    const std::vector<PicturePtr>* assets = nullptr;  // decoded, by asset index
    const MovieFiles* files = nullptr;
    const std::map<std::string, std::string>* variables = nullptr;
};

// The lyric style as the host's variables give it, over a layer's own.
struct TextLook {
    std::string font;
    float size = 12;  // stage units
    Rgba color = 0xFFFFFFFF;
    Align align = Align::Left;
    std::uint8_t style = 0;
    bool placed = false;  // x and y come from the variables
    double x = 0, y = 0;  // stage units
};
TextLook LookOf(const Layer& layer, const Movie& movie, const std::map<std::string, std::string>& variables);

// Text as coverage rasters, kept while the same text is drawn again.
class TextRasters {
public:
    struct Key {
        std::string text, font;
        int pixels;
        std::uint8_t style;
        Rgba color;
        // Wrapped: lines at most `wrap` pixels wide, as many as `height`
        // pixels hold, each aligned by `align`; what does not fit is cut.
        // 0: one line as wide as the text.
        int wrap = 0, height = 0;
        Align align = Align::Left;
        auto operator<=>(const Key&) const = default;
    };
    // Null when the text draws nothing.
    PicturePtr Get(const Key& key);

private:
    std::map<Key, PicturePtr> cache_;
};

class Renderer {
public:
    // Paints the frame with the stage scaled into dest (target pixels);
    // only pixels inside clip and inside the target change.
    void Render(const Scene& scene, std::uint32_t frame, TBitmap& target, const TRect& dest,
                const TRect& clip);

    // A layer drawn the same way on two frames in a row is drawn once into
    // colours and laid over the frames after that while it stays the same.
    struct StillLayer {
        const Movie* movie = nullptr;
        PicturePtr picture;  // kept, so that its address stays its own
        TRect area;
        DrawOp op;
        bool drawn = false;
        bool seen = false;
        OpRaster raster;
        std::uint64_t serial = 0;  // names these colours once drawn; never reused
    };

    // The stage background with the still layers at the bottom of the
    // frame drawn over it, copied in at the start of each frame while
    // those layers stay.
    struct Plate {
        std::vector<std::uint64_t> key;  // target, area, background, the layers' serials
        std::size_t ops = 0;             // operations it holds, from the bottom
        std::vector<std::uint32_t> pixels;
    };

private:
    TextRasters text_rasters_;
    std::map<std::size_t, StillLayer> still_;  // by layer index
    std::uint64_t serials_ = 0;
    Plate plate_;
};

}  // namespace flash
