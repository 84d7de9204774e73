#pragma once
// Renders an effect movie frame by frame as a host would play it: each
// "tupian=N" request copies the next N photos (wrapping to the first after
// the last) into the slots "tupian1.jpg".."tupianN.jpg" beside the movie.
#include <filesystem>
#include <vector>

namespace template_pack {

inline constexpr int kPreviewWidth = 352;
inline constexpr int kPreviewHeight = 288;

// Writes the preview AVI of the movie file with the given photos. Throws
// PackError. scratch_folder is created and removed again.
void RenderMoviePreview(const std::filesystem::path& movie_file,
                        const std::vector<std::filesystem::path>& photos, const std::filesystem::path& output,
                        const std::filesystem::path& scratch_folder);

// Writes the video of an ending-title template: the ending movie played
// through once as a VCD MPEG, with `picture` as the album's last picture
// ("pwtp.jpg") and the default text in both text files. Throws PackError.
void RenderEndingPreview(const std::filesystem::path& movie_file, const std::filesystem::path& picture,
                         const std::filesystem::path& output, const std::filesystem::path& scratch_folder);

}  // namespace template_pack
