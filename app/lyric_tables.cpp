#include "app/lyric_tables.h"

#include "platform/ui/listbox.h"
#include "platform/ui/listview.h"

namespace app {

void ClearLyricTables(const LyricTableControls& controls)
{
    controls.lines->Items().Clear();
    controls.index->Items().Clear();
    controls.tag_lines->Items().Clear();
    controls.open_positions->Items().Clear();
    controls.close_positions->Items().Clear();
}

void ShowLyricTables(const LrcTables& tables, const LyricTableControls& controls)
{
    ClearLyricTables(controls);
    TListItems& lines = controls.lines->Items();
    lines.BeginUpdate();
    for (size_t i = 0; i < tables.lines.size(); ++i) {
        TListItem* row = lines.Add();
        row->SetCaption(std::to_string(i + 1));
        row->SubItems().Add(tables.lines[i]);
    }
    lines.EndUpdate();
    TListItems& index = controls.index->Items();
    index.BeginUpdate();
    for (const LrcRow& lyric : tables.index) {
        TListItem* row = index.Add();
        row->SetCaption(lyric.caption);
        row->SubItems().Add(lyric.text);
    }
    index.EndUpdate();
    TStrings& tags = controls.tag_lines->Items();
    tags.BeginUpdate();
    for (const std::string& line : tables.tag_lines) tags.Add(line);
    tags.EndUpdate();
    for (int position : tables.open_positions) controls.open_positions->Items().Add(std::to_string(position));
    for (int position : tables.close_positions)
        controls.close_positions->Items().Add(std::to_string(position));
}

}  // namespace app
