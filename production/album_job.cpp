#include "production/album_job.h"

#include "production/sync_mode.h"

namespace production {

ProductionJob JobFromProject(const AlbumProject& project, int templateFrames, int endingFrames)
{
    ProductionJob job;
    job.syncMode = ParseSyncMode(project.SyncMode).value_or(SyncMode::MusicFollowsTemplate);
    job.templateFrames = templateFrames;
    job.photoFrames = project.PhotoFrames;
    job.musicSeconds = project.MusicSeconds;
    job.openingFile = project.OpeningFile;
    job.openingFrames = project.OpeningFile.empty() ? 0 : project.OpeningFrames;
    job.hasEnding = !project.EndingFile.empty();
    job.endingFrames = job.hasEnding ? endingFrames : 0;
    for (const AlbumMusicRow& row : project.Music) job.music.push_back({row.path, row.seconds});
    job.lyricFileCount = project.LyricFileCount;
    job.slotsPerFill = project.SlotsPerFill;
    return job;
}

bool IsEmptyJob(const AlbumProject& project, int templateFrames)
{
    return IsEmptyJob(JobFromProject(project, templateFrames, 0));
}

}  // namespace production
