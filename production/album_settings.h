#pragma once
// The album's settings that the main window keeps and production reads:
// one type, held by the main window's project state and by the album
// project handed to production, so that the hand-over copies it whole.
// Names are the main window's; strings are UTF-8, empty means unset.
#include <string>

#include "production/lyric_style.h"

namespace production {

struct AlbumSettings {
    std::string WorkDir;  // always ending in "/"
    std::string SyncMode = "yinyuesuimobanchangdu";
    std::string TvSystem = "PAL";
    std::string OutputFormat;   // a key of kOutputFormats (production/output_formats.h)
    int PhotoFrames = 0;        // the album's frames when the music follows the photos
    double MusicSeconds = 0.0;  // the music list's whole length
    std::string OpeningFile;
    int OpeningFrames = 0;
    std::string EndingFile;
    LyricStyle LrcStyle;  // the lyric line's style

    // Changed by production; the main window takes them back.
    int ProduceTemplateMovie = 1;  // the template movie copy production loaded last
    int ProduceEndingMovie = 1;    // the ending movie copy production loaded last
    int LrcSongIndex = 0;          // the song whose lyrics were reached
};

}  // namespace production
