// Ending-title templates and their text files from outside: reading must
// never crash, and an accepted block must describe a movie inside the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/ending_template.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string trailer = bytes;
    trailer.resize(app::kEndingTrailerSize, '\0');
    constexpr uint64_t kFileSize = app::kEndingTrailerSize + 50000;
    const app::EndingCheck check = app::ReadEndingTrailer(trailer, kFileSize);
    if (check.Valid()) {
        const app::EndingTemplate& ending = *check.ending;
        if (ending.movie_offset >= kFileSize - app::kEndingTrailerSize) std::abort();
        if (ending.movie_offset + ending.movie_length != kFileSize) std::abort();
        if (ending.play_frame < 0 || ending.StillFrameIndex() < 0) std::abort();
    }
    // The same bytes as an ending text file; what the editor shows writes
    // back to a file that shows the same again.
    const std::string saved = app::ParseEndingText(app::FormatEndingText(1, app::ParseEndingText(bytes)));
    if (app::ParseEndingText(app::FormatEndingText(1, saved)) != saved) std::abort();
    return 0;
}
