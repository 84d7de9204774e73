#include "platform/flash/movie.h"

#include <algorithm>
#include <charconv>

namespace flash {

namespace {

double Shape(Ease ease, double t)
{
    switch (ease) {
    case Ease::Linear: return t;
    case Ease::In: return t * t;
    case Ease::Out: return 1 - (1 - t) * (1 - t);
    case Ease::InOut: return t < 0.5 ? 2 * t * t : 1 - 2 * (1 - t) * (1 - t);
    case Ease::Hold: return 0;
    }
    return t;
}

}  // namespace

double Track::ValueAt(double frame, double fallback) const
{
    if (keys.empty()) return fallback;
    if (frame <= keys.front().frame) return keys.front().value;
    if (frame >= keys.back().frame) return keys.back().value;
    // The first key after the frame.
    auto next =
        std::upper_bound(keys.begin(), keys.end(), frame, [](double f, const Key& k) { return f < k.frame; });
    const Key& b = *next;
    const Key& a = *(next - 1);
    double t = (frame - a.frame) / static_cast<double>(b.frame - a.frame);
    return a.value + (b.value - a.value) * Shape(a.ease, t);
}

double DefaultValue(Property property, int stage_width, int stage_height)
{
    switch (property) {
    case Property::ScaleX:
    case Property::ScaleY:
    case Property::Alpha: return 1;
    case Property::ClipRight: return stage_width;
    case Property::ClipBottom: return stage_height;
    default: return 0;
    }
}

bool Layer::HasClip() const
{
    return !track(Property::ClipLeft).Empty() || !track(Property::ClipTop).Empty() ||
           !track(Property::ClipRight).Empty() || !track(Property::ClipBottom).Empty();
}

bool IsPlainFileName(const std::string& name)
{
    if (name.empty() || name.size() > 255 || name == "." || name == "..") return false;
    for (unsigned char c : name) {
        if (c < 0x20 || c == '/' || c == '\\' || c == ':') return false;
    }
    return name.find("..") == std::string::npos;
}

std::vector<Segment> SegmentsOf(const Movie& movie)
{
    std::vector<Segment> segments;
    constexpr std::string_view prefix = "tupian=";
    for (const Action& action : movie.actions) {
        if (action.kind != ActionKind::FSCommand) continue;
        std::string_view command = action.command;
        if (command.substr(0, prefix.size()) != prefix) continue;
        std::string_view digits = command.substr(prefix.size());
        if (digits.empty() || digits[0] == '0') continue;  // the host ignores leading zeros
        int photos = 0;
        auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), photos);
        if (error != std::errc() || end != digits.data() + digits.size() || photos < 1 || photos > 15)
            continue;
        segments.push_back({action.frame, 0, photos});
    }
    for (std::size_t i = 0; i < segments.size(); ++i) {
        segments[i].end_frame = i + 1 < segments.size() ? segments[i + 1].start_frame : movie.frame_count - 1;
    }
    return segments;
}

}  // namespace flash
