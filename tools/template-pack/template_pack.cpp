#include "tools/template-pack/template_pack.h"

#include <span>

#include "app/template_trailer.h"
#include "platform/flash/movie_file.h"

namespace template_pack {

app::SegmentTable SegmentTableOf(const flash::Movie& movie)
{
    if (movie.frame_count < kMinTemplateFrames)
        throw PackError("the movie has " + std::to_string(movie.frame_count) +
                        " frames; a template needs at least " + std::to_string(kMinTemplateFrames));
    const std::vector<flash::Segment> segments = flash::SegmentsOf(movie);
    if (segments.empty()) throw PackError("the movie asks for no photos (no \"tupian=N\" command)");
    if (segments.front().start_frame != 0)
        throw PackError("the movie's first photo request is on frame " +
                        std::to_string(segments.front().start_frame) + ", not on frame 0");
    if (segments.size() > app::kMaxTemplateSegments)
        throw PackError("the movie has " + std::to_string(segments.size()) + " segments; at most " +
                        std::to_string(app::kMaxTemplateSegments) + " fit a template");
    app::SegmentTable table;
    for (const flash::Segment& s : segments)
        table.push_back({static_cast<int64_t>(s.start_frame), static_cast<int64_t>(s.end_frame),
                         static_cast<int64_t>(s.photos)});
    return table;
}

std::string PackTemplate(std::string_view video, std::string_view movie_file)
{
    if (video.empty()) throw PackError("the preview video is empty");
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(movie_file.data()), movie_file.size());
    flash::Movie movie;
    try {
        movie = flash::ReadMovie(bytes);
    } catch (const flash::MovieError& e) {
        throw PackError(std::string("the movie does not read: ") + e.what());
    }
    const app::SegmentTable table = SegmentTableOf(movie);
    auto file = app::MakeTemplateFile(video, movie_file, table);
    if (!file) throw PackError("the template would not read back as valid");
    return *file;
}

}  // namespace template_pack
