#include "tools/template-pack/template_pack.h"

#include <span>

#include "app/ending_template.h"
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

std::string PackEndingTemplate(std::string_view video, std::string_view movie_file, int play_frame,
                               int still_frame)
{
    if (video.empty()) throw PackError("the video is empty");
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(movie_file.data()), movie_file.size());
    flash::Movie movie;
    try {
        movie = flash::ReadMovie(bytes);
    } catch (const flash::MovieError& e) {
        throw PackError(std::string("the movie does not read: ") + e.what());
    }
    const auto frames = static_cast<int>(movie.frame_count);
    if (play_frame < 0 || play_frame >= frames)
        throw PackError("the play frame " + std::to_string(play_frame) + " is not a frame of the movie");
    // The dialog rests on z_s - 1.
    if (still_frame < 1 || still_frame > frames)
        throw PackError("the still frame " + std::to_string(still_frame) +
                        " does not name a frame of the movie");
    const std::optional<std::string> trailer = app::WriteEndingTrailer(play_frame, still_frame, video.size());
    if (!trailer) throw PackError("the settings block does not fit");
    std::string file;
    file.reserve(video.size() + movie_file.size() + trailer->size());
    file.append(video).append(movie_file).append(*trailer);
    // What the titles dialog will read back.
    const app::EndingCheck check = app::ReadEndingTrailer(*trailer, file.size());
    if (!check.Valid() || check.ending->movie_offset != video.size())
        throw PackError("the ending template would not read back as valid");
    return file;
}

}  // namespace template_pack
