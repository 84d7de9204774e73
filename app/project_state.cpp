#include "app/project_state.h"

namespace app {

// The start-up values are the members' own initial values (project_state.h),
// so that the two can't drift apart.
void ProjectState::SetStartupDefaults()
{
    const ProjectState initial;
    TemplateFile = initial.TemplateFile;
    BrowserMovie = initial.BrowserMovie;
    TemplateMovie = initial.TemplateMovie;
    PhotoPageIndex = initial.PhotoPageIndex;
    SlotCount = initial.SlotCount;
    SelectedSlot = initial.SelectedSlot;
    SyncMode = initial.SyncMode;
    TvSystem = initial.TvSystem;
    OpeningFile = initial.OpeningFile;
    OpeningFrames = initial.OpeningFrames;
    EndingFile = initial.EndingFile;
    EndingMovie = initial.EndingMovie;
    ProduceTemplateMovie = initial.ProduceTemplateMovie;
    ProduceEndingMovie = initial.ProduceEndingMovie;
}

void ProjectState::SetLyricStyleDefaults() { LrcStyle = {}; }

}  // namespace app
