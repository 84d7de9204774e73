#pragma once
// Parsed LRC tables shown in list controls: the main window's lyric tables
// (LoadLrcLyrics) and the lyric dialog's, which the import fills with its
// own numbered lines and scratch lists and the main window's lyric index.
#include "app/lrc.h"

class TListBox;
class TListView;

namespace app {

struct LyricTableControls {
    TListView* lines;           // numbered lyric lines: "1", "2", ... with the line
    TListView* index;           // the lyric index: tag, text
    TListBox* open_positions;   // "[" positions of the last lyric line
    TListBox* close_positions;  // "]" positions of the same line
    TListBox* tag_lines;        // tag lines, then identification tags
};

void ClearLyricTables(const LyricTableControls& controls);
// Clears the controls, then fills them from the tables.
void ShowLyricTables(const LrcTables& tables, const LyricTableControls& controls);

}  // namespace app
