#pragma once
// Packing an effect template file: the preview video, the effect movie and
// the trailer whose segment table is read off the movie's photo requests.
#include <stdexcept>
#include <string>
#include <string_view>

#include "app/segment_table.h"
#include "app/template_format.h"
#include "platform/flash/movie.h"

namespace template_pack {

// A movie or a video that cannot make a template; what() says why.
class PackError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The template import refuses movies shorter than this.
inline constexpr std::uint32_t kMinTemplateFrames = app::template_format::kMinMovieFrames;

// The segment table of an effect movie: one row per "tupian=N" request, in
// frame order, holding its start frame (the column nobody reads), the frame
// at which it ends (the next request, or the last frame) and N. Throws
// PackError when the movie cannot be a template: too short, no request, the
// first request not on frame 0, or more segments than a template holds.
app::SegmentTable SegmentTableOf(const flash::Movie& movie);

// The whole template file for a preview video and the movie's file bytes.
// Throws PackError for a movie that does not read or cannot be a template.
std::string PackTemplate(std::string_view video, std::string_view movie_file);

// The whole ending-title template file: the video, the ending movie from
// the end of the video on, and the 1000-byte trailer naming the frame the
// titles dialog starts its preview on (t_p) and the frame after the one it
// rests on (z_s). Throws PackError for a movie that does not read or
// frames outside it.
std::string PackEndingTemplate(std::string_view video, std::string_view movie_file, int play_frame,
                               int still_frame);

}  // namespace template_pack
