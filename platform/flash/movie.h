#pragma once
// The movie: a stage, a frame rate and a length, embedded pictures, layers
// with keyframed properties, and actions that run when a frame is entered.
// A plain value; docs/movie-format.md describes its file form.
#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace flash {

// Bounds of a movie, checked by the reader, the writer and the compiler.
inline constexpr int kMaxStageSize = 4096;
inline constexpr int kMaxFps = 120;
inline constexpr std::uint32_t kMaxFrames = 25u * 60 * 60 * 4;  // four hours at 25 fps
inline constexpr std::size_t kMaxAssets = 256;
inline constexpr std::size_t kMaxLayers = 1024;
inline constexpr std::size_t kMaxActions = 100000;
inline constexpr std::size_t kMaxStringBytes = 4096;
inline constexpr std::size_t kMaxMovieBytes = 256u * 1024 * 1024;
inline constexpr float kMaxCoordinate = 1e6f;

// How a property moves from one key to the next; the ease of the earlier key
// of the pair applies.
enum class Ease : std::uint8_t { Linear = 0, In = 1, Out = 2, InOut = 3, Hold = 4 };

enum class Property : std::uint8_t {
    X = 0,  // stage position of the layer's anchor
    Y,
    ScaleX,  // 1 = the layer's box at its own size
    ScaleY,
    Rotation,  // degrees, clockwise on screen
    Alpha,     // 0 (invisible) to 1 (opaque)
    ClipLeft,  // stage rectangle outside which the layer is cut off
    ClipTop,
    ClipRight,
    ClipBottom,
};
inline constexpr std::size_t kPropertyCount = 10;

struct Key {
    std::uint32_t frame = 0;
    float value = 0;
    Ease ease = Ease::Linear;
    friend bool operator==(const Key&, const Key&) = default;
};

// Keys in strictly increasing frame order. Before the first key the first
// value holds, after the last the last.
struct Track {
    std::vector<Key> keys;
    bool Empty() const { return keys.empty(); }
    double ValueAt(double frame, double fallback) const;
    friend bool operator==(const Track&, const Track&) = default;
};

// The value of a property when its track is empty. The clip defaults to the
// whole stage.
double DefaultValue(Property property, int stage_width, int stage_height);

enum class LayerKind : std::uint8_t { Image = 1, Rect = 2, Text = 3 };
enum class ImageSource : std::uint8_t { Asset = 1, File = 2 };
// How a picture fills its layer's box: stretched, fitted inside with its
// aspect kept and centred, or covering the box with its aspect kept (cut).
enum class Fit : std::uint8_t { Stretch = 0, Contain = 1, Cover = 2 };
enum class Fill : std::uint8_t { Solid = 0, Vertical = 1, Horizontal = 2, Radial = 3 };
enum class Align : std::uint8_t { Left = 0, Center = 1, Right = 2 };
// Fixed text, the value of a variable, or a text file of the movie's folder
// (its first line, after the "name=" prefix).
enum class TextSource : std::uint8_t { Fixed = 1, Variable = 2, File = 3 };

enum TextStyle : std::uint8_t {
    kTextBold = 1,
    kTextItalic = 2,
    kTextUnderline = 4,
    // Styled by the host's lyric variables (alignment, colour, weight,
    // slant, underline, size, position).
    kTextLyric = 8,
};

// Colours are 0xAABBGGRR: red in the low byte, opacity in the top byte
// (0xFF opaque).
using Rgba = std::uint32_t;

struct Layer {
    std::string name;
    LayerKind kind = LayerKind::Rect;
    // Frames on which the layer is drawn, inclusive.
    std::uint32_t first_frame = 0;
    std::uint32_t last_frame = std::numeric_limits<std::uint32_t>::max();
    // The layer's box in stage units, and the point of it (fractions of the
    // box, 0..1) that the x and y properties place and that it turns about.
    float width = 0;
    float height = 0;
    float anchor_x = 0;
    float anchor_y = 0;

    // Image.
    ImageSource image_source = ImageSource::Asset;
    std::uint16_t asset = 0;
    std::string file;  // a plain file name in the movie's folder
    Fit fit = Fit::Stretch;

    // Rectangle: one colour, or a gradient from color to color2 (top to
    // bottom, left to right, or centre to edge).
    Fill fill = Fill::Solid;
    Rgba color = 0xFFFFFFFF;
    Rgba color2 = 0xFF000000;

    // Text (also uses color): one line, laid out in the box by align and
    // centred vertically in it.
    TextSource text_source = TextSource::Fixed;
    std::string text;  // the text, the variable name or the file name
    std::string font;
    float font_size = 12;  // pixel height on the stage
    Align align = Align::Left;
    std::uint8_t style = 0;  // TextStyle bits
    Rgba shadow = 0;         // drop shadow colour; alpha 0 for none

    std::array<Track, kPropertyCount> tracks;

    const Track& track(Property p) const { return tracks[static_cast<std::size_t>(p)]; }
    Track& track(Property p) { return tracks[static_cast<std::size_t>(p)]; }
    bool HasClip() const;
    bool VisibleOn(std::uint32_t frame) const { return frame >= first_frame && frame <= last_frame; }
    friend bool operator==(const Layer&, const Layer&) = default;
};

enum class AssetKind : std::uint8_t { Jpeg = 1, Png = 2 };
struct Asset {
    AssetKind kind = AssetKind::Png;
    std::vector<std::uint8_t> data;
    friend bool operator==(const Asset&, const Asset&) = default;
};

enum class ActionKind : std::uint8_t {
    FSCommand = 1,    // raise the host's command event
    LoadPoint = 2,    // read the movie's picture and text files again
    Stop = 3,         // stop playing
    GotoAndPlay = 4,  // jump to target and play
};
struct Action {
    std::uint32_t frame = 0;
    ActionKind kind = ActionKind::FSCommand;
    std::string command;
    std::string args;
    std::uint32_t target = 0;
    friend bool operator==(const Action&, const Action&) = default;
};

struct Movie {
    int width = 352;
    int height = 288;
    int fps = 25;
    std::uint32_t frame_count = 1;
    Rgba background = 0xFF000000;
    std::vector<Asset> assets;
    std::vector<Layer> layers;    // bottom first
    std::vector<Action> actions;  // ordered by frame; order within a frame kept
    friend bool operator==(const Movie&, const Movie&) = default;
};

// A file name that a movie may read: one plain name, no folder part, no "..".
bool IsPlainFileName(const std::string& name);

// The photo-slot requests of an effect template as its segment table: one
// row per "tupian=N" request, ordered by frame, with the frame at which its
// segment ends (the next request's frame, or the last frame).
struct Segment {
    std::uint32_t start_frame = 0;
    std::uint32_t end_frame = 0;
    int photos = 0;
};
std::vector<Segment> SegmentsOf(const Movie& movie);

}  // namespace flash
