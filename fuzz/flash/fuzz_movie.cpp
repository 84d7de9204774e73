// The movie reader on arbitrary bytes: it either refuses them with a
// MovieError or gives a movie that evaluates and writes back unchanged.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/flash/movie_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    flash::Movie movie;
    try {
        movie = flash::ReadMovie(std::span(data, size));
    } catch (const flash::MovieError&) {
        return 0;
    }
    for (const flash::Layer& layer : movie.layers) {
        for (std::size_t p = 0; p < flash::kPropertyCount; ++p) {
            for (std::uint32_t f : {0u, movie.frame_count / 2, movie.frame_count - 1})
                (void)layer.tracks[p].ValueAt(f, 0);
        }
    }
    (void)flash::SegmentsOf(movie);
    if (flash::ReadMovie(flash::WriteMovie(movie)) != movie) std::abort();
    return 0;
}
