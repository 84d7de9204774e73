// The converter handle and the conversion run.
#pragma once

#include <atomic>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "mcl/mcl.h"
#include "mcl/presets.h"

struct MclList {
    std::vector<std::string> names;
};

// One answer of a source callback.
struct MclSource {
    std::optional<std::string> name;
    double seconds = 0;  // the application's length of the entry, 0: none
};

struct MclConverter {
    MclSourceFunc videoSource = nullptr;
    MclSourceFunc audioSource = nullptr;
    MclVideoFunc videoFunc = nullptr;
    MclAudioFunc audioFunc = nullptr;
    MclProgressFunc progress = nullptr;
    MclErrorFunc error = nullptr;

    std::optional<mcl::OutputSettings> preset;
    bool keepDuration = true;
    std::string videoFileName, audioFileName;

    std::atomic<bool> aborted{false};
    std::atomic<bool> running{false};
    std::atomic<int64_t> framesDone{0}, samplesDone{0};
    std::chrono::steady_clock::time_point started{};
    std::atomic<double> finalElapsed{0};
};

namespace mcl {

// Runs one conversion on the calling thread; returns the error code.
int32_t Convert(MclConverter& converter);

double ElapsedSeconds(const MclConverter& converter);

}  // namespace mcl
