#include "app/project_state.h"

#include "app/sync_mode.h"

namespace app {

void ProjectState::SetStartupDefaults()
{
    TemplateFile.clear();
    BrowserMovie = "zpjj1";
    TemplateMovie = "1";
    PhotoPageIndex = 0;
    SlotCount = "1";
    SelectedSlot = 1;
    SyncMode = std::string(kSyncMusicFollowsTemplate);
    TvSystem = "PAL";
    OpeningFile.clear();
    OpeningFrames = 0;
    EndingFile.clear();
    EndingMovie = 1;
    ProduceTemplateMovie = 1;
    ProduceEndingMovie = 1;
}

void ProjectState::SetLyricStyleDefaults()
{
    LrcAlign = "center";
    LrcColor = "0xFFFFFF";
    LrcBold = "false";
    LrcItalic = "false";
    LrcUnderline = "false";
    LrcSize = "12";
    LrcX = "5";
    LrcY = "250";
}

}  // namespace app
