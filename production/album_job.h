// The production job of an album as the main window hands it over, and the
// check that refuses a job with nothing to produce.
#pragma once

#include <string_view>

#include "production/album_project.h"
#include "production/job_plan.h"

namespace production {

// The caption and text of the refusal of an empty job.
inline constexpr std::string_view kEmptyJobCaption = "无法制作";
inline constexpr std::string_view kEmptyJobText = "相册长度为0, 没有可以制作的画面.";

// The job of the project, with the frame counts of the template and ending
// movies as loaded (the ending's counts only with an ending title). An
// unknown sync mode is taken as one pass of the template.
ProductionJob JobFromProject(const AlbumProject& project, int templateFrames, int endingFrames);

// A job whose frame target is 0 frames: "zhaopiansuiyinyue" without music,
// PhotoFrames 0, or a template of one frame. The hand-over refuses it with
// kEmptyJobCaption / kEmptyJobText before the production form opens.
bool IsEmptyJob(const AlbumProject& project, int templateFrames);

}  // namespace production
