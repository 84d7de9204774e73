// The encoder's input lists of a job: the video names and the audio names,
// in the order the encoder reads them.
#pragma once

#include <string>
#include <vector>

#include "production/job_plan.h"

namespace production {

struct InputLists {
    std::vector<std::string> video;
    std::vector<std::string> audio;
    // The length of each audio name as the music list measured it; 0 for
    // the opening title, whose own length counts.
    std::vector<double> audioSeconds;
};

// Frame-file entries of the video list: the producer's calls and the margin.
int64_t FrameFileEntries(const ProductionJob& job);

// Video: the opening title when there is one, then the frame file once for
// every call the producer will take. Audio: the opening title, then every
// music file in list order.
InputLists BuildInputLists(const ProductionJob& job, const std::string& frameFile);

}  // namespace production
