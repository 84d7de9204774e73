#include "platform/flash/movie_file.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace flash {

namespace {

// Sequential little-endian reads that never pass the end of their span.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}

    std::size_t Offset() const { return pos_; }
    std::size_t Remaining() const { return data_.size() - pos_; }

    [[noreturn]] void Fail(const std::string& what) const
    {
        throw MovieError("damaged movie file (at byte " + std::to_string(pos_) + "): " + what);
    }
    std::span<const std::uint8_t> Bytes(std::size_t n, const char* what)
    {
        if (n > Remaining()) Fail(std::string("truncated ") + what);
        auto out = data_.subspan(pos_, n);
        pos_ += n;
        return out;
    }
    std::uint8_t U8(const char* what) { return Bytes(1, what)[0]; }
    std::uint16_t U16(const char* what)
    {
        auto b = Bytes(2, what);
        return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    }
    std::uint32_t U32(const char* what)
    {
        auto b = Bytes(4, what);
        return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
               (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    }
    float F32(const char* what, float lo, float hi)
    {
        float v = std::bit_cast<float>(U32(what));
        if (!std::isfinite(v) || v < lo || v > hi) Fail(std::string("value out of range: ") + what);
        return v;
    }
    std::string String(const char* what)
    {
        std::uint16_t n = U16(what);
        if (n > kMaxStringBytes) Fail(std::string("text too long: ") + what);
        auto b = Bytes(n, what);
        std::string s(b.begin(), b.end());
        if (!ValidUtf8(s)) Fail(std::string("text is not UTF-8: ") + what);
        return s;
    }

private:
    static bool ValidUtf8(const std::string& s)
    {
        std::size_t i = 0;
        while (i < s.size()) {
            unsigned char c = static_cast<unsigned char>(s[i]);
            int extra;
            std::uint32_t cp;
            if (c == 0) return false;
            if (c < 0x80) {
                ++i;
                continue;
            }
            if ((c & 0xE0) == 0xC0) {
                extra = 1;
                cp = c & 0x1F;
            } else if ((c & 0xF0) == 0xE0) {
                extra = 2;
                cp = c & 0x0F;
            } else if ((c & 0xF8) == 0xF0) {
                extra = 3;
                cp = c & 0x07;
            } else
                return false;
            if (i + extra >= s.size()) return false;
            for (int k = 1; k <= extra; ++k) {
                unsigned char d = static_cast<unsigned char>(s[i + k]);
                if ((d & 0xC0) != 0x80) return false;
                cp = (cp << 6) | (d & 0x3F);
            }
            if ((extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800) ||
                (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
                return false;
            i += extra + 1;
        }
        return true;
    }

    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

class Writer {
public:
    void U8(std::uint8_t v) { out_.push_back(v); }
    void U16(std::uint16_t v)
    {
        out_.push_back(static_cast<std::uint8_t>(v));
        out_.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void U32(std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i) out_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void F32(float v) { U32(std::bit_cast<std::uint32_t>(v)); }
    void String(const std::string& s)
    {
        if (s.size() > kMaxStringBytes) throw MovieError("text too long for a movie: " + s.substr(0, 40));
        U16(static_cast<std::uint16_t>(s.size()));
        out_.insert(out_.end(), s.begin(), s.end());
    }
    void Raw(const void* p, std::size_t n)
    {
        auto b = static_cast<const std::uint8_t*>(p);
        out_.insert(out_.end(), b, b + n);
    }
    void PatchU32(std::size_t at, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i) out_[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    std::vector<std::uint8_t>& Data() { return out_; }

private:
    std::vector<std::uint8_t> out_;
};

constexpr float kMaxScale = 1000.0f;
constexpr float kMaxRotation = 100000.0f;

void ReadTrack(Reader& in, Track& track, Property property, const Movie& movie)
{
    std::uint32_t count = in.U32("key count");
    if (count == 0 || count > movie.frame_count) in.Fail("bad key count");
    // Each key takes 9 bytes: refuse counts the file cannot hold before allocating.
    if (count > in.Remaining() / 9) in.Fail("truncated keys");
    track.keys.resize(count);
    float lo = -kMaxCoordinate, hi = kMaxCoordinate;
    if (property == Property::ScaleX || property == Property::ScaleY) {
        lo = -kMaxScale;
        hi = kMaxScale;
    }
    if (property == Property::Rotation) {
        lo = -kMaxRotation;
        hi = kMaxRotation;
    }
    if (property == Property::Alpha) {
        lo = 0;
        hi = 1;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        Key& key = track.keys[i];
        key.frame = in.U32("key frame");
        if (key.frame >= movie.frame_count) in.Fail("key beyond the last frame");
        if (i > 0 && key.frame <= track.keys[i - 1].frame) in.Fail("keys out of order");
        key.value = in.F32("key value", lo, hi);
        std::uint8_t ease = in.U8("key ease");
        if (ease > static_cast<std::uint8_t>(Ease::Hold)) in.Fail("unknown ease");
        key.ease = static_cast<Ease>(ease);
    }
}

Layer ReadLayer(Reader& in, const Movie& movie)
{
    Layer layer;
    layer.name = in.String("layer name");
    std::uint8_t kind = in.U8("layer kind");
    if (kind < 1 || kind > 3) in.Fail("unknown layer kind");
    layer.kind = static_cast<LayerKind>(kind);
    layer.first_frame = in.U32("layer first frame");
    layer.last_frame = in.U32("layer last frame");
    if (layer.first_frame > layer.last_frame || layer.last_frame >= movie.frame_count)
        in.Fail("bad frame range of layer '" + layer.name + "'");
    layer.width = in.F32("layer width", 0, kMaxCoordinate);
    layer.height = in.F32("layer height", 0, kMaxCoordinate);
    layer.anchor_x = in.F32("layer anchor", -100, 100);
    layer.anchor_y = in.F32("layer anchor", -100, 100);
    switch (layer.kind) {
    case LayerKind::Image: {
        std::uint8_t source = in.U8("image source");
        if (source == static_cast<std::uint8_t>(ImageSource::Asset)) {
            layer.image_source = ImageSource::Asset;
            layer.asset = in.U16("asset index");
            if (layer.asset >= movie.assets.size()) in.Fail("image names a missing asset");
        } else if (source == static_cast<std::uint8_t>(ImageSource::File)) {
            layer.image_source = ImageSource::File;
            layer.file = in.String("image file");
            if (!IsPlainFileName(layer.file)) in.Fail("image file outside the movie's folder");
        } else {
            in.Fail("unknown image source");
        }
        std::uint8_t fit = in.U8("image fit");
        if (fit > static_cast<std::uint8_t>(Fit::Cover)) in.Fail("unknown image fit");
        layer.fit = static_cast<Fit>(fit);
        break;
    }
    case LayerKind::Rect: {
        std::uint8_t fill = in.U8("fill");
        if (fill > static_cast<std::uint8_t>(Fill::Radial)) in.Fail("unknown fill");
        layer.fill = static_cast<Fill>(fill);
        layer.color = in.U32("colour");
        layer.color2 = in.U32("colour");
        break;
    }
    case LayerKind::Text: {
        std::uint8_t source = in.U8("text source");
        if (source < 1 || source > 3) in.Fail("unknown text source");
        layer.text_source = static_cast<TextSource>(source);
        layer.text = in.String("text");
        if (layer.text_source != TextSource::Fixed && layer.text.empty())
            in.Fail("text layer without a variable or file name");
        if (layer.text_source == TextSource::File && !IsPlainFileName(layer.text))
            in.Fail("text file outside the movie's folder");
        layer.font = in.String("font name");
        layer.font_size = in.F32("font size", 1, 2000);
        layer.color = in.U32("text colour");
        std::uint8_t align = in.U8("alignment");
        if (align > static_cast<std::uint8_t>(Align::Right)) in.Fail("unknown alignment");
        layer.align = static_cast<Align>(align);
        layer.style = in.U8("text style");
        if (layer.style & ~0x0F) in.Fail("unknown text style");
        layer.shadow = in.U32("shadow colour");
        break;
    }
    }
    std::uint16_t mask = in.U16("track mask");
    if (mask >> kPropertyCount) in.Fail("unknown property");
    for (std::size_t p = 0; p < kPropertyCount; ++p) {
        if (mask & (1u << p)) ReadTrack(in, layer.tracks[p], static_cast<Property>(p), movie);
    }
    return layer;
}

}  // namespace

bool LooksLikeMovie(std::span<const std::uint8_t> data)
{
    return data.size() >= 4 && std::memcmp(data.data(), kMovieMagic, 4) == 0;
}

Movie ReadMovie(std::span<const std::uint8_t> data)
{
    if (!LooksLikeMovie(data)) throw MovieError("not a movie file (unknown signature)");
    if (data.size() < kMovieHeaderSize + 4) throw MovieError("damaged movie file: too short");
    Reader header(data);
    header.Bytes(4, "signature");
    std::uint16_t version = header.U16("version");
    if (version != kMovieVersion)
        throw MovieError("movie file of an unsupported version (" + std::to_string(version) + ")");
    if (header.U16("header size") != kMovieHeaderSize) header.Fail("bad header size");
    std::uint32_t length = header.U32("movie length");
    if (length < kMovieHeaderSize + 4 || length > kMaxMovieBytes) header.Fail("bad movie length");
    if (length > data.size())
        throw MovieError("damaged movie file: truncated (" + std::to_string(data.size()) + " of " +
                         std::to_string(length) + " bytes)");
    // Everything below reads inside the movie's own length only.
    std::span<const std::uint8_t> body = data.first(length);
    if (std::memcmp(body.data() + length - 4, kMovieEndMark, 4) != 0) header.Fail("end mark missing");

    Movie movie;
    movie.width = header.U16("stage width");
    movie.height = header.U16("stage height");
    movie.fps = header.U16("frame rate");
    if (movie.width < 1 || movie.width > kMaxStageSize || movie.height < 1 || movie.height > kMaxStageSize)
        header.Fail("bad stage size");
    if (movie.fps < 1 || movie.fps > kMaxFps) header.Fail("bad frame rate");
    if (header.U16("flags") != 0) header.Fail("unknown flags");
    movie.frame_count = header.U32("frame count");
    if (movie.frame_count < 1 || movie.frame_count > kMaxFrames) header.Fail("bad frame count");
    movie.background = header.U32("background");
    std::uint16_t asset_count = header.U16("asset count");
    std::uint16_t layer_count = header.U16("layer count");
    std::uint32_t action_count = header.U32("action count");
    header.U32("reserved");
    if (asset_count > kMaxAssets) header.Fail("too many assets");
    if (layer_count > kMaxLayers) header.Fail("too many layers");
    if (action_count > kMaxActions) header.Fail("too many actions");

    Reader in(body.first(length - 4));
    in.Bytes(kMovieHeaderSize, "header");
    movie.assets.reserve(asset_count);
    for (std::uint16_t i = 0; i < asset_count; ++i) {
        Asset asset;
        std::uint8_t kind = in.U8("asset kind");
        if (kind != 1 && kind != 2) in.Fail("unknown asset kind");
        asset.kind = static_cast<AssetKind>(kind);
        std::uint32_t size = in.U32("asset size");
        if (size == 0) in.Fail("empty asset");
        auto bytes = in.Bytes(size, "asset");
        asset.data.assign(bytes.begin(), bytes.end());
        movie.assets.push_back(std::move(asset));
    }
    movie.layers.reserve(layer_count);
    for (std::uint16_t i = 0; i < layer_count; ++i) movie.layers.push_back(ReadLayer(in, movie));
    if (action_count > in.Remaining() / 5) in.Fail("truncated actions");
    movie.actions.reserve(action_count);
    for (std::uint32_t i = 0; i < action_count; ++i) {
        Action action;
        action.frame = in.U32("action frame");
        if (action.frame >= movie.frame_count) in.Fail("action beyond the last frame");
        if (i > 0 && action.frame < movie.actions.back().frame) in.Fail("actions out of order");
        std::uint8_t kind = in.U8("action kind");
        if (kind < 1 || kind > 4) in.Fail("unknown action");
        action.kind = static_cast<ActionKind>(kind);
        if (action.kind == ActionKind::FSCommand) {
            action.command = in.String("command");
            action.args = in.String("command arguments");
            if (action.command.empty()) in.Fail("empty command");
        } else if (action.kind == ActionKind::GotoAndPlay) {
            action.target = in.U32("jump target");
            if (action.target >= movie.frame_count) in.Fail("jump beyond the last frame");
        }
        movie.actions.push_back(std::move(action));
    }
    if (in.Remaining() != 0) in.Fail("unexpected bytes before the end mark");
    return movie;
}

std::vector<std::uint8_t> WriteMovie(const Movie& movie)
{
    if (movie.assets.size() > kMaxAssets || movie.layers.size() > kMaxLayers ||
        movie.actions.size() > kMaxActions)
        throw MovieError("movie has too many assets, layers or actions");
    Writer out;
    out.Raw(kMovieMagic, 4);
    out.U16(kMovieVersion);
    out.U16(kMovieHeaderSize);
    out.U32(0);  // length, patched below
    out.U16(static_cast<std::uint16_t>(movie.width));
    out.U16(static_cast<std::uint16_t>(movie.height));
    out.U16(static_cast<std::uint16_t>(movie.fps));
    out.U16(0);
    out.U32(movie.frame_count);
    out.U32(movie.background);
    out.U16(static_cast<std::uint16_t>(movie.assets.size()));
    out.U16(static_cast<std::uint16_t>(movie.layers.size()));
    out.U32(static_cast<std::uint32_t>(movie.actions.size()));
    out.U32(0);
    for (const Asset& asset : movie.assets) {
        out.U8(static_cast<std::uint8_t>(asset.kind));
        out.U32(static_cast<std::uint32_t>(asset.data.size()));
        out.Raw(asset.data.data(), asset.data.size());
    }
    for (const Layer& layer : movie.layers) {
        out.String(layer.name);
        out.U8(static_cast<std::uint8_t>(layer.kind));
        out.U32(layer.first_frame);
        out.U32(std::min(layer.last_frame, movie.frame_count - 1));
        out.F32(layer.width);
        out.F32(layer.height);
        out.F32(layer.anchor_x);
        out.F32(layer.anchor_y);
        switch (layer.kind) {
        case LayerKind::Image:
            out.U8(static_cast<std::uint8_t>(layer.image_source));
            if (layer.image_source == ImageSource::Asset)
                out.U16(layer.asset);
            else
                out.String(layer.file);
            out.U8(static_cast<std::uint8_t>(layer.fit));
            break;
        case LayerKind::Rect:
            out.U8(static_cast<std::uint8_t>(layer.fill));
            out.U32(layer.color);
            out.U32(layer.color2);
            break;
        case LayerKind::Text:
            out.U8(static_cast<std::uint8_t>(layer.text_source));
            out.String(layer.text);
            out.String(layer.font);
            out.F32(layer.font_size);
            out.U32(layer.color);
            out.U8(static_cast<std::uint8_t>(layer.align));
            out.U8(layer.style);
            out.U32(layer.shadow);
            break;
        }
        std::uint16_t mask = 0;
        for (std::size_t p = 0; p < kPropertyCount; ++p)
            if (!layer.tracks[p].Empty()) mask |= static_cast<std::uint16_t>(1u << p);
        out.U16(mask);
        for (const Track& track : layer.tracks) {
            if (track.Empty()) continue;
            out.U32(static_cast<std::uint32_t>(track.keys.size()));
            for (const Key& key : track.keys) {
                out.U32(key.frame);
                out.F32(key.value);
                out.U8(static_cast<std::uint8_t>(key.ease));
            }
        }
    }
    for (const Action& action : movie.actions) {
        out.U32(action.frame);
        out.U8(static_cast<std::uint8_t>(action.kind));
        if (action.kind == ActionKind::FSCommand) {
            out.String(action.command);
            out.String(action.args);
        } else if (action.kind == ActionKind::GotoAndPlay) {
            out.U32(action.target);
        }
    }
    out.Raw(kMovieEndMark, 4);
    if (out.Data().size() > kMaxMovieBytes) throw MovieError("movie too large");
    out.PatchU32(8, static_cast<std::uint32_t>(out.Data().size()));
    // What is written must read back: the reader's checks are the format's rules.
    ReadMovie(out.Data());
    return std::move(out.Data());
}

}  // namespace flash
