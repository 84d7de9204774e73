// What production reads and writes of the album project. The main window
// holds the project; at the hand-over it fills one AlbumProject (its
// settings whole, then the lists) and gives it to the production form, and
// after the form closes it takes back the values production changed (the
// movie copies and the lyric song). The production form is modal, so the
// project cannot change in between.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "production/album_settings.h"
#include "production/lyric_timeline.h"

namespace production {

// One row of the main window's music list.
struct AlbumMusicRow {
    std::string path;        // SubItems[0]
    std::string lengthText;  // SubItems[1], "mm:ss" as the media player gave it
    double seconds = 0.0;    // the measured length
};

// The settings and the main window's lists as production reads them.
struct AlbumProject : AlbumSettings {
    // The main window's lists.
    // kivListView1: each photo's own file as imported, in the order of the
    // work folder's pictures; empty when the caller names none.
    std::vector<std::string> Photos;
    std::vector<AlbumMusicRow> Music;  // kivListView2
    std::size_t LyricFileCount = 0;    // rows of kivListView5
    int SlotsPerFill = 0;              // ListBox3 row 0

    // LoadLrcLyrics of music row `song`: its lyric index, empty when the row
    // has no lyric file or the file can't be read.
    std::function<LyricIndex(std::size_t song)> LoadLyrics;
};

}  // namespace production
