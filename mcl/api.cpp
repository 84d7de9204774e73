// The C interface.
#include <cmath>
#include <cstring>
#include <map>

#include "mcl/converter.h"
#include "mcl/last_error.h"
#include "mcl/mcl.h"
#include "mcl/probe.h"
#include "mcl/time_text.h"

namespace {

bool CopyText(const std::string& text, char* buffer, size_t size)
{
    if (!buffer || size == 0) return false;
    size_t n = std::min(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return n == text.size();
}

// The probed facts of each distinct name, gathered once per count.
struct EntryFacts {
    bool image = false;
    bool hasVideo = false;
    double duration = 0;
};

std::map<std::string, EntryFacts> ProbeList(const MclList* list)
{
    std::map<std::string, EntryFacts> facts;
    for (const std::string& name : list->names) {
        if (facts.count(name)) continue;
        EntryFacts f;
        if (mcl::HasImageExtension(name)) {
            f.image = true;
        } else {
            mcl::EntryInfo info = mcl::ProbeEntry(name);
            f.image = info.kind == mcl::EntryKind::Image;
            f.hasVideo = info.hasVideo;
            f.duration = info.duration;
        }
        facts.emplace(name, f);
    }
    return facts;
}

}  // namespace

extern "C" {

MclConverter* MclCreate(void) { return new MclConverter(); }
void MclFree(MclConverter* converter) { delete converter; }

void MclAssignVideoSource(MclConverter* c, MclSourceFunc func)
{
    if (c) c->videoSource = func;
}
void MclAssignVideoFunc(MclConverter* c, MclVideoFunc func)
{
    if (c) c->videoFunc = func;
}
void MclAssignAudioSource(MclConverter* c, MclSourceFunc func)
{
    if (c) c->audioSource = func;
}
void MclAssignAudioFunc(MclConverter* c, MclAudioFunc func)
{
    if (c) c->audioFunc = func;
}
void MclAssignProgress(MclConverter* c, MclProgressFunc func)
{
    if (c) c->progress = func;
}
void MclAssignError(MclConverter* c, MclErrorFunc func)
{
    if (c) c->error = func;
}

MclList* MclListCreate(void) { return new MclList(); }
void MclListFree(MclList* list) { delete list; }

int MclListAdd(MclList* list, const char* name)
{
    if (!list || !name) return 0;
    list->names.emplace_back(name);
    return 1;
}

int32_t MclListCount(const MclList* list) { return list ? int32_t(list->names.size()) : 0; }

int MclListGetName(const MclList* list, int32_t index, char* buffer, size_t size)
{
    if (!list || index < 0 || size_t(index) >= list->names.size()) {
        if (buffer && size) buffer[0] = '\0';
        return 0;
    }
    return CopyText(list->names[size_t(index)], buffer, size) ? 1 : 0;
}

int64_t MclListGetFrameCount(const MclList* list)
{
    if (!list) return 0;
    auto facts = ProbeList(list);
    int64_t frames = 0;
    for (const std::string& name : list->names) {
        const EntryFacts& f = facts[name];
        if (f.image)
            frames += 1;
        else if (f.hasVideo)
            frames += mcl::MediaFrames(f.duration);
    }
    return frames;
}

int64_t MclListGetSampleCount(const MclList* list)
{
    if (!list) return 0;
    auto facts = ProbeList(list);
    int64_t samples = 0;
    for (const std::string& name : list->names) {
        const EntryFacts& f = facts[name];
        if (f.image) continue;
        if (f.hasVideo)
            samples += mcl::MediaFrames(f.duration) * 44100 / 25;
        else
            samples += llround(f.duration * 44100);
    }
    return samples;
}

int MclSetFormatPreset(MclConverter* c, int32_t kind, int32_t tv)
{
    if (!c) return 0;
    auto settings = mcl::PresetSettings(kind, tv);
    if (!settings) return 0;
    c->preset = *settings;
    return 1;
}

void MclVideoSetKeepDuration(MclConverter* c, int32_t flag)
{
    if (c) c->keepDuration = flag != 0;
}
void MclVideoSetFileName(MclConverter* c, const char* name)
{
    if (c) c->videoFileName = name ? name : "";
}
void MclAudioSetFileName(MclConverter* c, const char* name)
{
    if (c) c->audioFileName = name ? name : "";
}

int32_t MclConvert(MclConverter* c)
{
    if (!c) {
        mcl::SetLastError(MCL_ERROR_ARGUMENT, "No converter");
        return MCL_ERROR_ARGUMENT;
    }
    if (c->running) {
        mcl::SetLastError(MCL_ERROR_ARGUMENT, "The converter is already running");
        return MCL_ERROR_ARGUMENT;
    }
    return mcl::Convert(*c);
}

void MclAbort(MclConverter* c)
{
    if (c) c->aborted = true;
}

int32_t MclGetError(void) { return mcl::LastErrorCode(); }
const char* MclGetErrorStr(void) { return mcl::LastErrorText(); }
int32_t MclGetErrorSystemCode(void) { return mcl::LastErrorSystemCode(); }
const char* MclGetErrorFile(void) { return mcl::LastErrorFile(); }
int32_t MclGetErrorEntry(int32_t* audio)
{
    const mcl::ErrorEntry entry = mcl::LastErrorEntry();
    if (audio) *audio = entry.audio ? 1 : 0;
    return entry.index;
}

void MclSourceSetFile(MclSource* source, const char* name)
{
    if (source && name) source->name = name;
}
void MclSourceSetLength(MclSource* source, double seconds)
{
    if (source) source->seconds = std::isfinite(seconds) && seconds > 0 ? seconds : 0;
}
void MclSourceFinished(MclSource* source)
{
    if (source) source->name.reset();
}

double MclGetElapsedTime(const MclConverter* c) { return c ? mcl::ElapsedSeconds(*c) : 0; }

double MclGetRemainingTime(const MclConverter* c, int64_t totalFrames, int64_t totalSamples)
{
    if (!c) return 0;
    return mcl::EstimateRemaining(mcl::ElapsedSeconds(*c), c->framesDone, totalFrames, c->samplesDone,
                                  totalSamples);
}

double MclEstimateRemaining(double elapsed, int64_t frames, int64_t totalFrames, int64_t samples,
                            int64_t totalSamples)
{
    return mcl::EstimateRemaining(elapsed, frames, totalFrames, samples, totalSamples);
}

int MclMakeTimeStr(double seconds, char* buffer, size_t size)
{
    return CopyText(mcl::TimeText(seconds), buffer, size) ? 1 : 0;
}

double MclProbeDuration(const char* path) { return path ? mcl::ProbeDuration(path) : 0; }

}  // extern "C"
