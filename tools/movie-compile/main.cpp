// movie-compile SOURCE OUTPUT: compiles a readable movie source into a movie
// file. Errors name the source line and leave no output file behind.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>

#include "platform/flash/movie_file.h"
#include "platform/flash/movie_source.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: movie-compile SOURCE OUTPUT\n");
        return 2;
    }
    std::filesystem::path output = argv[2];
    try {
        flash::Movie movie = flash::CompileMovieFile(argv[1]);
        std::vector<std::uint8_t> bytes = flash::WriteMovie(movie);
        if (output.has_parent_path()) std::filesystem::create_directories(output.parent_path());
        std::filesystem::path temporary = output;
        temporary += ".part";
        {
            std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
            file.write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
            if (!file.flush()) throw flash::MovieError("cannot write " + temporary.string());
        }
        std::filesystem::rename(temporary, output);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "movie-compile: %s\n", error.what());
        return 1;
    }
    return 0;
}
