#include "production/job_plan.h"

#include <algorithm>

#include "mcl/mcl_timebase.h"

namespace production {

int64_t TemplateFrameTarget(const ProductionJob& job)
{
    switch (job.syncMode) {
    case SyncMode::MusicFollowsTemplate: return int64_t{job.templateFrames} - 1;
    case SyncMode::MusicFollowsPhotos: return job.photoFrames;
    case SyncMode::PhotosFollowMusic: return MclSecondsToFrames(job.musicSeconds);
    }
    return 0;
}

int64_t EndingRenderedFrames(const ProductionJob& job)
{
    if (!job.hasEnding || job.endingFrames < 2) return 0;
    return int64_t{job.endingFrames} - 1;
}

int64_t JobFrameTarget(const ProductionJob& job)
{
    return std::max<int64_t>(TemplateFrameTarget(job), 0) + EndingRenderedFrames(job);
}

bool IsEmptyJob(const ProductionJob& job) { return TemplateFrameTarget(job) <= 0; }

int64_t TemplateStageCalls(const ProductionJob& job)
{
    // The producer renders at least one frame before its first end test.
    const int64_t rendered = std::max<int64_t>(TemplateFrameTarget(job), 1);
    const int64_t passFrames = job.templateFrames;
    if (!LoopsTemplate(job.syncMode) || passFrames < 2) return rendered;
    // A restart follows every whole pass that more frames come after.
    return rendered + kHoldFrames * ((rendered - 1) / passFrames);
}

int64_t EndingStageCalls(const ProductionJob& job)
{
    const int64_t rendered = EndingRenderedFrames(job);
    return rendered > 0 ? kHoldFrames + rendered : 0;
}

int64_t ProducerCallCount(const ProductionJob& job)
{
    return TemplateStageCalls(job) + EndingStageCalls(job);
}

int64_t JobOutputFrames(const ProductionJob& job)
{
    const int64_t opening = job.openingFile.empty() ? 0 : std::max<int64_t>(job.openingFrames, 0);
    return opening + ProducerCallCount(job);
}

}  // namespace production
