#pragma once
// The album project as the main window holds it while the program runs:
// nothing of it is saved. Every album, title and production form reads and
// writes these values through its view of the main window. Strings are
// UTF-8; empty means unset.
// The settings that production reads are the AlbumSettings base; the rest
// is the main window's own.
#include <string>
#include <vector>

#include "production/album_settings.h"

namespace app {

struct ProjectState : production::AlbumSettings {
    std::string SystemDir;  // without a trailing separator
    std::string TemplateFile;
    std::string TemplateState;        // holds the import's marker while a valid template is loaded
    std::string TemplateMovie = "1";  // "zhzp/zhzp" + TemplateMovie + ".swf" is in the effect pane
    // The measured length of each row of the music list, in its order
    // (0 for a file whose length could not be found); MusicSeconds is
    // their sum.
    std::vector<double> MusicRowSeconds;
    int MusicIndex = 0;
    int PageCount = 0;
    int PhotoPageIndex = 0;
    int PhotoCursor = 0;          // photo last copied into a slot; 0: none yet
    std::string SlotCount = "1";  // N of the last "tupian=" + N served
    int SelectedSlot = 1;
    int DeleteIndex = 0;
    std::string TimeHours, TimeMinutes, TimeSeconds;                 // FramesToTimeText
    std::string MusicTimeHours, MusicTimeMinutes, MusicTimeSeconds;  // SecondsToTimeText
    int EndingMovie = 1;
    std::string BrowserMovie = "zpjj1";

    // The defaults that every start-up sets (after the leftovers are gone).
    void SetStartupDefaults();
    // The lyric style back to its defaults.
    void SetLyricStyleDefaults();
};

}  // namespace app
