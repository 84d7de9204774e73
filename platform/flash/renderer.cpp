#include "platform/flash/renderer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <numbers>

#include "platform/flash/compositor.h"
#include "platform/flash/render_pool.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"

namespace flash {

namespace {

// The lyric variables place and size text on a stage of this size.
constexpr double kLyricStageWidth = 352;
constexpr double kLyricStageHeight = 288;

const std::string* Find(const std::map<std::string, std::string>& variables, const char* name)
{
    auto it = variables.find(name);
    return it == variables.end() ? nullptr : &it->second;
}

bool ParseNumber(const std::string& text, double& out)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    while (begin < end && *begin == ' ') ++begin;
    while (end > begin && end[-1] == ' ') --end;
    auto [ptr, error] = std::from_chars(begin, end, out);
    return error == std::errc() && ptr == end && std::isfinite(out);
}

void ApplyFlag(const std::string* value, std::uint8_t bit, std::uint8_t& style)
{
    if (!value) return;
    if (*value == "true")
        style |= bit;
    else if (*value == "false")
        style &= static_cast<std::uint8_t>(~bit);
}

std::uint32_t PremultipliedOf(Rgba c)
{
    std::uint32_t a = c >> 24;
    auto ch = [&](int shift) { return (((c >> shift) & 0xFF) * a + 127) / 255; };
    return ch(0) | ch(8) << 8 | ch(16) << 16 | a << 24;
}

Rgba Mix(Rgba c1, Rgba c2, int t)
{  // t 0..255
    auto ch = [&](int shift) {
        int a = static_cast<int>((c1 >> shift) & 0xFF), b = static_cast<int>((c2 >> shift) & 0xFF);
        return static_cast<std::uint32_t>((a * (255 - t) + b * t + 127) / 255);
    };
    return ch(0) | ch(8) << 8 | ch(16) << 16 | ch(24) << 24;
}

// Box units of a layer -> stage, at a frame.
struct LayerPose {
    gfx::Affine box_to_stage;
    double alpha = 1;
    bool clipped = false;
    double clip_left = 0, clip_top = 0, clip_right = 0, clip_bottom = 0;
};

LayerPose PoseOf(const Layer& layer, const Movie& movie, std::uint32_t frame, const TextLook* look)
{
    auto value = [&](Property p) {
        return layer.track(p).ValueAt(frame, DefaultValue(p, movie.width, movie.height));
    };
    LayerPose pose;
    double x = value(Property::X), y = value(Property::Y);
    double ax = layer.anchor_x * layer.width, ay = layer.anchor_y * layer.height;
    if (look && look->placed) {
        // The host places the box's top-left corner.
        x = look->x;
        y = look->y;
        ax = ay = 0;
    }
    double radians = value(Property::Rotation) * std::numbers::pi / 180;
    double c = std::cos(radians), s = std::sin(radians);
    gfx::Affine rotate{c, s, -s, c, 0, 0};  // clockwise on screen (y down)
    pose.box_to_stage = gfx::Affine::Translate(x, y) * rotate *
                        gfx::Affine::Scale(value(Property::ScaleX), value(Property::ScaleY)) *
                        gfx::Affine::Translate(-ax, -ay);
    pose.alpha = std::clamp(value(Property::Alpha), 0.0, 1.0);
    if (layer.HasClip()) {
        pose.clipped = true;
        pose.clip_left = value(Property::ClipLeft);
        pose.clip_top = value(Property::ClipTop);
        pose.clip_right = value(Property::ClipRight);
        pose.clip_bottom = value(Property::ClipBottom);
    }
    return pose;
}

int ToPixel(double v) { return static_cast<int>(std::lround(std::clamp(v, -1e8, 1e8))); }

double Length(double a, double b) { return std::hypot(a, b); }

}  // namespace

TextLook LookOf(const Layer& layer, const Movie& movie, const std::map<std::string, std::string>& variables)
{
    TextLook look;
    look.font = layer.font;
    look.size = layer.font_size;
    look.color = layer.color;
    look.align = layer.align;
    look.style = layer.style;
    if (!(layer.style & kTextLyric)) return look;

    const double to_stage_x = movie.width / kLyricStageWidth;
    const double to_stage_y = movie.height / kLyricStageHeight;
    if (const std::string* v = Find(variables, "LRC_ju_zuozhongyou")) {
        if (*v == "left")
            look.align = Align::Left;
        else if (*v == "center")
            look.align = Align::Center;
        else if (*v == "right")
            look.align = Align::Right;
    }
    if (const std::string* v = Find(variables, "LRC_geciyanse")) {
        if (v->size() == 8 && ((*v)[0] == '0') && ((*v)[1] == 'x' || (*v)[1] == 'X')) {
            std::uint32_t rgb = 0;
            auto [ptr, error] = std::from_chars(v->data() + 2, v->data() + 8, rgb, 16);
            if (error == std::errc() && ptr == v->data() + 8) {
                look.color =
                    (look.color & 0xFF000000u) | ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
            }
        }
    }
    ApplyFlag(Find(variables, "LRC_biaozhuen_cuti"), kTextBold, look.style);
    ApplyFlag(Find(variables, "LRC_xieti"), kTextItalic, look.style);
    ApplyFlag(Find(variables, "LRC_xiahuaxian"), kTextUnderline, look.style);
    double number;
    if (const std::string* v = Find(variables, "LRC_gecidaxiao"); v && ParseNumber(*v, number))
        look.size = static_cast<float>(std::clamp(number, 3.0, 80.0) * to_stage_y);
    const std::string* vx = Find(variables, "LRC_x");
    const std::string* vy = Find(variables, "LRC_y");
    double x, y;
    if (vx && vy && ParseNumber(*vx, x) && ParseNumber(*vy, y)) {
        look.placed = true;
        look.x = std::clamp(x, -1e5, 1e5) * to_stage_x;
        look.y = std::clamp(y, -1e5, 1e5) * to_stage_y;
    }
    return look;
}

PicturePtr TextRasters::Get(const Key& key)
{
    auto it = cache_.find(key);
    if (it != cache_.end()) return it->second;
    if (cache_.size() > 64) cache_.clear();

    TFont font;
    font.SetName(key.font);
    font.SetHeight(-key.pixels);
    TFontStyles styles = 0;
    if (key.style & kTextBold) styles |= fsBold;
    if (key.style & kTextItalic) styles |= fsItalic;
    if (key.style & kTextUnderline) styles |= fsUnderline;
    font.SetStyle(styles);
    font.SetColor(clWhite);
    TSize extent = gfx::TextExtent(font, key.text);
    // Wrapped, the cell is the box's width and the lines that fit in it.
    const unsigned flags = DT_WORDBREAK | DT_NOPREFIX |
                           (key.align == Align::Center  ? DT_CENTER
                            : key.align == Align::Right ? DT_RIGHT
                                                        : DT_LEFT);
    if (key.wrap > 0 && extent.cy > 0) {
        TBitmap probe(1, 1);
        probe.Canvas().Font().Assign(font);
        TRect laid{0, 0, key.wrap, 0};
        probe.Canvas().DrawText(key.text, laid, flags | DT_CALCRECT);
        const int lines = std::clamp(laid.Height() / extent.cy, 1, std::max(1, key.height / extent.cy));
        extent = {key.wrap, lines * extent.cy};
    }
    PicturePtr picture;
    if (extent.cx > 0 && extent.cy > 0) {
        // A margin for slanted and bold glyphs that reach past their cell.
        int margin = key.pixels / 4 + 2;
        int width = std::min(extent.cx + 2 * margin, 8192), height = std::min(extent.cy + 2 * margin, 1024);
        TBitmap mask(width, height, clBlack);
        TCanvas& canvas = mask.Canvas();
        canvas.Font().Assign(font);
        canvas.Brush().SetStyle(bsClear);
        if (key.wrap > 0) {
            TRect cell{margin, margin, margin + extent.cx, margin + extent.cy};
            canvas.DrawText(key.text, cell, flags);
        } else {
            canvas.TextOut(margin, margin, key.text);
        }
        std::vector<std::uint8_t> coverage(static_cast<std::size_t>(width) * height);
        const std::uint32_t* px = mask.Pixels();
        for (std::size_t i = 0; i < coverage.size(); ++i) {
            std::uint32_t p = px[i];
            coverage[i] = static_cast<std::uint8_t>(std::max({p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF}));
        }
        picture = MakeMaskPicture(coverage, width, height, key.color);
    }
    cache_[key] = picture;
    return picture;
}

namespace {

// What one call to Render draws: where the stage lands, which target pixels
// may change, and the operations gathered from the layers.
constexpr std::size_t kNoLayer = static_cast<std::size_t>(-1);

struct FramePlan {
    TRect dest, area;
    double kx = 1, ky = 1;  // target pixels per stage unit
    gfx::Affine stage_to_target;
    std::vector<DrawOp> ops;
    std::vector<PicturePtr> rasters;  // text the operations draw, kept alive with them
    // Per operation: the image or box layer it draws (kNoLayer for text)
    // and the picture it samples.
    std::vector<std::size_t> layer_of;
    std::vector<PicturePtr> picture_of;
    // Per operation: the serial of the still layer's colours it lays over
    // (0 when it draws anew).
    std::vector<std::uint64_t> serial_of;
};

// The layer's clip box, in target pixels, within the area being drawn.
void ClipOp(DrawOp& op, const LayerPose& pose, const TRect& dest, const TRect& area, double kx, double ky)
{
    op.x0 = area.Left;
    op.y0 = area.Top;
    op.x1 = area.Right;
    op.y1 = area.Bottom;
    if (pose.clipped) {
        op.x0 = std::max(op.x0, ToPixel(dest.Left + pose.clip_left * kx));
        op.y0 = std::max(op.y0, ToPixel(dest.Top + pose.clip_top * ky));
        op.x1 = std::min(op.x1, ToPixel(dest.Left + pose.clip_right * kx));
        op.y1 = std::min(op.y1, ToPixel(dest.Top + pose.clip_bottom * ky));
    }
}

// The picture an image layer shows, if it is loaded.
PicturePtr PictureOf(const Layer& layer, const Scene& scene)
{
    if (layer.image_source == ImageSource::Asset) {
        if (scene.assets && layer.asset < scene.assets->size()) return (*scene.assets)[layer.asset];
        return nullptr;
    }
    if (!scene.files) return nullptr;
    auto it = scene.files->pictures.find(layer.file);
    return it == scene.files->pictures.end() ? nullptr : it->second;
}

// The text a text layer shows (empty when its source gives none).
std::string TextOf(const Layer& layer, const Scene& scene,
                   const std::map<std::string, std::string>& variables)
{
    if (layer.text_source == TextSource::Fixed) return layer.text;
    if (layer.text_source == TextSource::Variable) {
        const std::string* v = Find(variables, layer.text.c_str());
        return v ? *v : std::string();
    }
    if (!scene.files) return {};
    auto it = scene.files->texts.find(layer.text);
    return it == scene.files->texts.end() ? std::string() : it->second;
}

// Premultiplied colours along a gradient box's fill.
std::vector<std::uint32_t> MakeRamp(const Layer& layer, DrawOp::Gradient gradient)
{
    std::vector<std::uint32_t> ramp;
    if (gradient == DrawOp::Gradient::Solid) {
        ramp = {PremultipliedOf(layer.color)};
    } else if (gradient == DrawOp::Gradient::Radial) {
        ramp.resize(1024);
        for (int i = 0; i < 1024; ++i) {
            int t = static_cast<int>(std::lround(std::sqrt(i / 1023.0) * 255));
            ramp[i] = PremultipliedOf(Mix(layer.color, layer.color2, t));
        }
    } else {
        ramp.resize(256);
        for (int t = 0; t < 256; ++t) ramp[t] = PremultipliedOf(Mix(layer.color, layer.color2, t));
    }
    return ramp;
}

// The same, kept per thread for the colours drawn lately: a frame draws
// the same gradients as the one before.
const std::vector<std::uint32_t>& RampOf(const Layer& layer, DrawOp::Gradient gradient)
{
    using Key = std::tuple<Rgba, Rgba, DrawOp::Gradient>;
    thread_local std::map<Key, std::vector<std::uint32_t>> ramps;
    const Key key{layer.color, gradient == DrawOp::Gradient::Solid ? 0 : layer.color2, gradient};
    auto it = ramps.find(key);
    if (it != ramps.end()) return it->second;
    if (ramps.size() >= 64) ramps.clear();
    return ramps.emplace(key, MakeRamp(layer, gradient)).first->second;
}

DrawOp::Gradient GradientOf(Fill fill)
{
    switch (fill) {
    case Fill::Solid: return DrawOp::Gradient::Solid;
    case Fill::Vertical: return DrawOp::Gradient::Vertical;
    case Fill::Horizontal: return DrawOp::Gradient::Horizontal;
    default: return DrawOp::Gradient::Radial;
    }
}

void AddPicture(FramePlan& plan, const PictureLevel& level, const double src[4], const double box[4],
                const gfx::Affine& box_to_target, const LayerPose& pose)
{
    if (src[2] <= 0 || src[3] <= 0 || box[2] <= 0 || box[3] <= 0) return;
    gfx::Affine level_to_target = box_to_target * gfx::Affine::Translate(box[0], box[1]) *
                                  gfx::Affine::Scale(box[2] / src[2], box[3] / src[3]) *
                                  gfx::Affine::Translate(-src[0], -src[1]);
    auto inverse = level_to_target.Inverse();
    if (!inverse) return;
    DrawOp op;
    op.kind = DrawOp::Kind::Picture;
    op.level = &level;
    op.u0 = static_cast<float>(src[0]);
    op.v0 = static_cast<float>(src[1]);
    op.u1 = static_cast<float>(src[0] + src[2]);
    op.v1 = static_cast<float>(src[1] + src[3]);
    op.target_to_source = *inverse;
    op.opacity = static_cast<int>(std::lround(pose.alpha * 256));
    ClipOp(op, pose, plan.dest, plan.area, plan.kx, plan.ky);
    plan.ops.push_back(std::move(op));
}

void AddImage(FramePlan& plan, const Layer& layer, const Picture& picture, const gfx::Affine& box_to_target,
              double px_x, double px_y, const LayerPose& pose)
{
    const double pw = picture.Width(), ph = picture.Height();
    const double bw = layer.width, bh = layer.height;
    double box[4] = {0, 0, bw, bh};
    double src[4] = {0, 0, pw, ph};
    // Fitting keeps the picture's aspect in target pixels.
    const double bw_px = bw * px_x, bh_px = bh * px_y;
    if (layer.fit == Fit::Contain && bw_px > 0 && bh_px > 0) {
        double scale = std::min(bw_px / pw, bh_px / ph);
        double cw = pw * scale / px_x, ch = ph * scale / px_y;
        box[0] = (bw - cw) / 2;
        box[1] = (bh - ch) / 2;
        box[2] = cw;
        box[3] = ch;
    } else if (layer.fit == Fit::Cover && bw_px > 0 && bh_px > 0) {
        double scale = std::max(bw_px / pw, bh_px / ph);
        double vw = bw_px / scale, vh = bh_px / scale;
        src[0] = (pw - vw) / 2;
        src[1] = (ph - vh) / 2;
        src[2] = vw;
        src[3] = vh;
    }
    const double target_per_source = std::min(box[2] * px_x / src[2], box[3] * px_y / src[3]);
    const PictureLevel& level = picture.LevelFor(target_per_source);
    const double fx = static_cast<double>(level.width) / pw;
    const double fy = static_cast<double>(level.height) / ph;
    double level_src[4] = {src[0] * fx, src[1] * fy, src[2] * fx, src[3] * fy};
    AddPicture(plan, level, level_src, box, box_to_target, pose);
}

void AddRect(FramePlan& plan, const Layer& layer, const gfx::Affine& box_to_target, const LayerPose& pose)
{
    auto inverse = box_to_target.Inverse();
    if (!inverse || layer.width <= 0 || layer.height <= 0) return;
    DrawOp op;
    op.kind = DrawOp::Kind::Fill;
    op.u1 = layer.width;
    op.v1 = layer.height;
    op.target_to_source = *inverse;
    op.opacity = static_cast<int>(std::lround(pose.alpha * 256));
    op.gradient = GradientOf(layer.fill);
    op.ramp = RampOf(layer, op.gradient);
    ClipOp(op, pose, plan.dest, plan.area, plan.kx, plan.ky);
    plan.ops.push_back(std::move(op));
}

// The share of a text's own size below which it is wrapped rather than
// shrunk further: smaller, a long ending line could no longer be read.
constexpr double kReadableTextShare = 0.6;

// The raster size, from `pixels` down, at which `text` is at most `width`
// raster pixels wide.
int PixelsToFit(TextRasters& rasters, const std::string& text, const TextLook& look, int pixels, double width)
{
    for (int attempt = 0; attempt < 4 && pixels > 1; ++attempt) {
        PicturePtr raster = rasters.Get({text, look.font, pixels, look.style, look.color});
        if (!raster) break;
        const double cell = raster->levels[0].width - 2 * (pixels / 4 + 2);
        if (cell <= width + 0.5) break;
        pixels = std::max(1, static_cast<int>(pixels * width / cell));
    }
    return pixels;
}

void AddText(FramePlan& plan, TextRasters& rasters, const Layer& layer, const std::string& text,
             const TextLook& look, const gfx::Affine& box_to_target, double px_x, double px_y,
             const LayerPose& pose)
{
    if (text.empty() || look.font.empty()) return;
    // Rasterise at the size the text has in the target, so it stays sharp.
    const double px = std::sqrt(px_x * px_y);
    const int sized = std::clamp(static_cast<int>(std::lround(look.size * px)), 1, 512);
    const double unit = look.size / sized;  // box units per raster pixel
    // A text wider than its box shrinks to fit, but no further than still
    // reads well; then it wraps inside the box. The lyric line keeps its
    // chosen size.
    const bool fits_box = !(layer.style & kTextLyric) && layer.width > 0;
    int pixels = fits_box ? PixelsToFit(rasters, text, look, sized, layer.width / unit) : sized;
    int wrap = 0, wrap_height = 0;
    const int readable = std::max(1, static_cast<int>(std::lround(sized * kReadableTextShare)));
    if (fits_box && pixels < readable) {
        pixels = readable;
        wrap = std::max(1, static_cast<int>(layer.width / unit));
        wrap_height = std::max(1, static_cast<int>(layer.height / unit));
    }
    auto draw = [&](Rgba colour, double dx, double dy) {
        PicturePtr raster =
            rasters.Get({text, look.font, pixels, look.style, colour, wrap, wrap_height, look.align});
        if (!raster) return;
        const PictureLevel& level = raster->levels[0];
        // The raster has a margin of pixels / 4 + 2 round the text cell.
        const int margin = pixels / 4 + 2;
        const double cell_w = (level.width - 2 * margin) * unit;
        const double cell_h = (level.height - 2 * margin) * unit;
        double left;
        if (look.align == Align::Left)
            left = 0;
        else if (look.align == Align::Center)
            left = (layer.width - cell_w) / 2;
        else
            left = layer.width - cell_w;
        const double top = (layer.height - cell_h) / 2;
        double src[4] = {0, 0, static_cast<double>(level.width), static_cast<double>(level.height)};
        double box[4] = {left - margin * unit + dx, top - margin * unit + dy, level.width * unit,
                         level.height * unit};
        AddPicture(plan, level, src, box, box_to_target, pose);
        plan.rasters.push_back(std::move(raster));
    };
    if ((layer.shadow >> 24) != 0) {
        double d = std::max(1.0, look.size / 14.0);
        draw(layer.shadow, d, d);
    }
    draw(look.color, 0, 0);
}

void AddLayer(FramePlan& plan, TextRasters& rasters, const Scene& scene, std::size_t index,
              std::uint32_t frame, const std::map<std::string, std::string>& variables)
{
    const Layer& layer = scene.movie->layers[index];
    const Movie& movie = *scene.movie;
    const bool is_text = layer.kind == LayerKind::Text;
    TextLook look;
    if (is_text) look = LookOf(layer, movie, variables);
    LayerPose pose = PoseOf(layer, movie, frame, is_text ? &look : nullptr);
    if (pose.alpha <= 0) return;
    const gfx::Affine box_to_target = plan.stage_to_target * pose.box_to_stage;
    // Target pixels per box unit along the box's two sides.
    const double px_x = Length(box_to_target.a, box_to_target.b);
    const double px_y = Length(box_to_target.c, box_to_target.d);
    if (px_x <= 1e-9 || px_y <= 1e-9) return;

    switch (layer.kind) {
    case LayerKind::Image: {
        PicturePtr picture = PictureOf(layer, scene);
        if (picture && !picture->levels.empty()) {
            AddImage(plan, layer, *picture, box_to_target, px_x, px_y, pose);
            plan.picture_of.resize(plan.ops.size(), picture);
        }
        break;
    }
    case LayerKind::Rect: AddRect(plan, layer, box_to_target, pose); break;
    case LayerKind::Text:
        AddText(plan, rasters, layer, TextOf(layer, scene, variables), look, box_to_target, px_x, px_y, pose);
        break;
    }
    plan.layer_of.resize(plan.ops.size(), layer.kind == LayerKind::Text ? kNoLayer : index);
    plan.picture_of.resize(plan.ops.size());
}

bool SameOp(const DrawOp& a, const DrawOp& b)
{
    const gfx::Affine &m = a.target_to_source, &n = b.target_to_source;
    return a.kind == b.kind && a.level == b.level && a.u0 == b.u0 && a.v0 == b.v0 && a.u1 == b.u1 &&
           a.v1 == b.v1 && m.a == n.a && m.b == n.b && m.c == n.c && m.d == n.d && m.tx == n.tx &&
           m.ty == n.ty && a.opacity == b.opacity && a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 &&
           a.y1 == b.y1 && a.gradient == b.gradient && a.ramp == b.ramp;
}

// Colours kept for still layers, at most this many bytes in all.
constexpr std::size_t kStillBudget = 64u << 20;

// Swaps the operations of layers that stay as they were on the last frame
// for their colours, drawn once; notes each one's serial in plan.serial_of.
void UseStillLayers(FramePlan& plan, const Movie& movie, int stride,
                    std::map<std::size_t, Renderer::StillLayer>& still, std::uint64_t& serials)
{
    plan.serial_of.assign(plan.ops.size(), 0);
    for (auto& [index, layer] : still) layer.seen = false;
    std::size_t bytes = 0;
    for (const auto& [index, layer] : still) bytes += layer.raster.pixels.size() * sizeof(std::uint32_t);
    for (std::size_t i = 0; i < plan.ops.size(); ++i) {
        if (plan.layer_of[i] == kNoLayer) continue;
        DrawOp& op = plan.ops[i];
        Renderer::StillLayer& entry = still[plan.layer_of[i]];
        entry.seen = true;
        if (entry.movie != &movie || entry.picture != plan.picture_of[i] || entry.area != plan.area ||
            !SameOp(entry.op, op)) {
            bytes -= entry.raster.pixels.size() * sizeof(std::uint32_t);
            entry = {&movie, plan.picture_of[i], plan.area, op, false, true, {}};
            continue;
        }
        const int rows = op.y1 - op.y0;
        const std::size_t need = static_cast<std::size_t>(rows) * stride;
        if (!entry.drawn) {
            if (rows <= 0 || bytes + need * sizeof(std::uint32_t) > kStillBudget) continue;
            OpRaster& raster = entry.raster;
            raster.top = op.y0;
            raster.stride = stride;
            raster.pixels.assign(need, 0);
            raster.spans.assign(static_cast<std::size_t>(rows), {0, 0});
            raster.opaque.assign(static_cast<std::size_t>(rows), {0, 0});
            const int parts = need >= 160000 ? std::min(rows, ParallelWidth() * 2) : 1;
            RunParallel(parts, [&](int part) {
                RasteriseRows(op, raster, op.y0 + rows * part / parts, op.y0 + rows * (part + 1) / parts);
            });
            entry.drawn = true;
            entry.serial = ++serials;
            bytes += need * sizeof(std::uint32_t);
        }
        plan.serial_of[i] = entry.serial;
        DrawOp drawn;
        drawn.kind = DrawOp::Kind::Raster;
        drawn.x0 = op.x0;
        drawn.y0 = op.y0;
        drawn.x1 = op.x1;
        drawn.y1 = op.y1;
        drawn.opacity = op.opacity;
        drawn.raster = &entry.raster;
        op = std::move(drawn);
    }
    std::erase_if(still, [](const auto& entry) { return !entry.second.seen; });
}

// Runs job on bands of the area's rows, spread over the cores when the
// area is large.
void ForBands(const TRect& area, const std::function<void(int y0, int y1)>& job)
{
    const int rows = area.Height();
    const int parts =
        static_cast<std::int64_t>(area.Width()) * rows >= 160000 ? std::min(rows, ParallelWidth() * 2) : 1;
    RunParallel(parts,
                [&](int part) { job(area.Top + rows * part / parts, area.Top + rows * (part + 1) / parts); });
}

// Paints the area: the stage background, or the plate when it holds the
// bottom operations, then the operations over it, then the top byte the
// target expects.
void PaintArea(const FramePlan& plan, Rgba stage_background, TBitmap& target, Renderer::Plate& plate)
{
    const std::uint32_t background = PremultipliedOf(stage_background);
    const int stride = target.Width();
    std::uint32_t* pixels = target.Pixels();
    const TRect& area = plan.area;
    RowFrame row_frame;
    row_frame.left = area.Left;
    row_frame.right = area.Right;
    row_frame.background = background;

    // The bottom operations laying over still colours make the plate, when
    // the background does not depend on what the target held.
    std::size_t still = 0;
    if ((background >> 24) == 0xFF)
        while (still < plan.ops.size() && plan.serial_of[still] != 0) ++still;
    if (still == 0) {
        plate = {};
    } else {
        std::vector<std::uint64_t> key = {static_cast<std::uint64_t>(target.Width()),
                                          static_cast<std::uint64_t>(target.Height()),
                                          static_cast<std::uint64_t>(area.Left),
                                          static_cast<std::uint64_t>(area.Top),
                                          static_cast<std::uint64_t>(area.Right),
                                          static_cast<std::uint64_t>(area.Bottom),
                                          background};
        key.insert(key.end(), plan.serial_of.begin(),
                   plan.serial_of.begin() + static_cast<std::ptrdiff_t>(still));
        if (key != plate.key) {
            plate.key = std::move(key);
            plate.ops = still;
            plate.pixels.assign(static_cast<std::size_t>(stride) * target.Height(), 0);
            std::vector<PreparedOp> bottom = PrepareOps(plan.ops, 0);
            std::erase_if(bottom, [&](const PreparedOp& p) { return p.op >= plan.ops.data() + still; });
            ForBands(area, [&](int y0, int y1) {
                Composite(bottom, row_frame, plate.pixels.data(), stride, y0, y1);
            });
        }
        row_frame.base = plate.pixels.data();
    }
    row_frame.set_top = true;
    row_frame.top_byte = target.HasAlpha() ? 0xFF000000u : 0;
    const std::size_t first = row_frame.base ? plate.ops : 0;
    const std::vector<PreparedOp> ops = PrepareOps(plan.ops, first);
    ForBands(area, [&](int y0, int y1) { Composite(ops, row_frame, pixels, stride, y0, y1); });
}

}  // namespace

void Renderer::Render(const Scene& scene, std::uint32_t frame, TBitmap& target, const TRect& dest,
                      const TRect& clip)
{
    const Movie& movie = *scene.movie;
    FramePlan plan;
    plan.dest = dest;
    plan.area = dest.Intersect(clip).Intersect(target.BoundsRect());
    if (plan.area.IsEmpty() || dest.IsEmpty()) return;
    frame = std::min(frame, movie.frame_count - 1);

    plan.kx = static_cast<double>(dest.Width()) / movie.width;
    plan.ky = static_cast<double>(dest.Height()) / movie.height;
    plan.stage_to_target = gfx::Affine::Translate(dest.Left, dest.Top) * gfx::Affine::Scale(plan.kx, plan.ky);
    static const std::map<std::string, std::string> kNoVariables;
    const auto& variables = scene.variables ? *scene.variables : kNoVariables;

    plan.ops.reserve(movie.layers.size() + 4);
    for (std::size_t i = 0; i < movie.layers.size(); ++i)
        if (movie.layers[i].VisibleOn(frame)) AddLayer(plan, text_rasters_, scene, i, frame, variables);
    UseStillLayers(plan, movie, target.Width(), still_, serials_);
    PaintArea(plan, movie.background, target, plate_);
}

}  // namespace flash
