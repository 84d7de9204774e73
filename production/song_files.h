// The songs of a job as files: which files can be songs, and what the user
// is told about a song that cannot be produced, naming its file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace production {

// Only a regular file is a song: a pipe, a device or a folder under a song's
// name would be read for ever.
bool IsSongFile(const std::string& path);

// A song that is not a regular file, refused before the job.
std::string NotASongFileText(const std::string& path);
// The first of the songs that is there but is no song file (a missing one
// is the encoder's to tell), in NotASongFileText's words; empty when none.
std::string SongFilesProblem(const std::vector<std::string>& songs);

// An encoder's input error of a song (code MCL_ERROR_INPUT_OPEN or
// MCL_ERROR_INPUT_DECODE): it cannot be read, or it is damaged or ends well
// before the length the music list measured.
std::string SongErrorText(int32_t code, const std::string& path);

}  // namespace production
