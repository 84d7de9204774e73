// What production reads and writes of the album project. The main window
// holds the project; at the hand-over it fills one AlbumProject and gives it
// to the production form, and after the form closes it takes back the
// values production changed (the movie copies and the lyric song). The
// production form is modal, so the project cannot change in between.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "production/lyric_timeline.h"

namespace production {

// One row of the main window's music list.
struct AlbumMusicRow {
    std::string path;        // SubItems[0]
    std::string lengthText;  // SubItems[1], "mm:ss" as the media player gave it
    double seconds = 0.0;    // the measured length
};

struct AlbumProject {
    // Project variables, under the main window's names (UTF-8; WorkDir ends
    // in "/").
    std::string WorkDir;
    std::string SyncMode = "yinyuesuimobanchangdu";
    std::string TvSystem = "PAL";
    std::string OutputFormat;
    int PhotoFrames = 0;
    double MusicSeconds = 0.0;
    std::string OpeningFile;
    int OpeningFrames = 0;
    std::string EndingFile;
    std::string LrcAlign = "center";
    std::string LrcColor = "0xFFFFFF";
    std::string LrcBold = "false";
    std::string LrcItalic = "false";
    std::string LrcUnderline = "false";
    std::string LrcSize = "12";
    std::string LrcX = "5";
    std::string LrcY = "250";

    // Written by production; the main window takes them back.
    int ProduceTemplateMovie = 1;
    int ProduceEndingMovie = 1;
    int LrcSongIndex = 0;

    // The main window's lists.
    std::vector<AlbumMusicRow> Music;  // kivListView2
    std::size_t LyricFileCount = 0;    // rows of kivListView5
    int SlotsPerFill = 0;              // ListBox3 row 0

    // LoadLrcLyrics of music row `song`: its lyric index, empty when the row
    // has no lyric file or the file can't be read.
    std::function<LyricIndex(std::size_t song)> LoadLyrics;
};

}  // namespace production
