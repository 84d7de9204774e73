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
    constexpr uint64_t kFileSize = tf::kTrailerSize + 1000000;
    const app::TemplateCheck check = app::ReadTemplateTrailer(trailer, kFileSize);
    if (!check.Valid()) return 0;
    const app::TemplateDescription& d = *check.description;
    if (d.movie_length == 0 || d.movie_offset + d.movie_length > kFileSize - tf::kTrailerSize) std::abort();
    if (d.segments.empty() || d.segments.size() > 100) std::abort();
    if (d.segments.front().photo_count < 1 || d.segments.front().photo_count > 15) std::abort();
    if (const auto rewritten = app::WriteTemplateTrailer(d)) {
        const app::TemplateCheck again = app::ReadTemplateTrailer(*rewritten, kFileSize);
        if (!again.Valid() || !(*again.description == d)) std::abort();
    }
    return 0;
}
