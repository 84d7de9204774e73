// Effect template trailers from outside: the validation must never crash,
// and what it accepts must be consistent and survive a write and re-read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/template_format.h"
#include "app/template_trailer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    namespace tf = app::template_format;
    std::string trailer(reinterpret_cast<const char*>(data), size);
    trailer.resize(tf::kTrailerSize, '\0');
    // A roomy file, and one whose movie space is as small as the input, so
    // that the slice checks meet both sides of their bounds.
    for (const uint64_t file_size : {tf::kTrailerSize + 1000000, tf::kTrailerSize + size}) {
        const app::TemplateCheck check = app::ReadTemplateTrailer(trailer, file_size);
        if (!check.Valid()) continue;
        const app::TemplateDescription& d = *check.description;
        if (d.movie_length == 0 || d.movie_offset + d.movie_length > file_size - tf::kTrailerSize)
            std::abort();
        if (d.segments.empty() || d.segments.size() > 100) std::abort();
        if (d.segments.front().photo_count < 1 || d.segments.front().photo_count > 15) std::abort();
        if (const auto rewritten = app::WriteTemplateTrailer(d)) {
            const app::TemplateCheck again = app::ReadTemplateTrailer(*rewritten, file_size);
            if (!again.Valid() || !(*again.description == d)) std::abort();
        }
    }
    return 0;
}
