#include "production/encoder_binding.h"

#include <memory>
#include <vector>

#include "production/conversion_texts.h"
#include "production/format_preset.h"
#include "production/song_files.h"

namespace production {
namespace {

// The library's callbacks carry no context of ours; they all run on the
// thread inside Run, so the session in progress there is theirs.
thread_local EncoderSession* t_session = nullptr;

EncoderError LastEncoderError()
{
    return {MclGetError(), MclGetErrorSystemCode(), MclGetErrorFile(), MclGetErrorStr()};
}

}  // namespace

struct EncoderCallbacks {
    // An entry of the list, however long its name: a name longer than the
    // buffer gets a bigger one.
    static std::string EntryName(const MclList* list, int32_t index)
    {
        std::vector<char> name(264);
        while (!MclListGetName(list, index, name.data(), name.size())) name.resize(name.size() * 2);
        return name.data();
    }
    static void AnswerSource(MclList* list, MclSource* source, int32_t index)
    {
        // The list ends only where its entries end.
        if (index < 0 || index >= MclListCount(list)) {
            MclSourceFinished(source);
            return;
        }
        MclSourceSetFile(source, EntryName(list, index).c_str());
    }
    static void VideoSource(MclSource* source, int32_t index)
    {
        if (t_session) AnswerSource(t_session->videoList_, source, index);
    }
    static void AudioSource(MclSource* source, int32_t index)
    {
        if (!t_session) return;
        AnswerSource(t_session->audioList_, source, index);
        const std::vector<double>& seconds = t_session->audioSeconds_;
        if (index >= 0 && static_cast<size_t>(index) < seconds.size())
            MclSourceSetLength(source, seconds[static_cast<size_t>(index)]);
    }
    static void Video(MclConverter*, int64_t frame, int32_t entry)
    {
        if (t_session) t_session->client_.VideoFrame(frame, entry);
    }
    static void Audio(MclConverter*, int64_t, int32_t) {}
    static void Progress(MclConverter* converter, int32_t code, int64_t frame, int64_t sample)
    {
        EncoderSession* s = t_session;
        if (!s) return;
        std::string time;
        switch (ProgressTimeFor(code)) {
        case ProgressTime::Elapsed: time = s->TimeText(MclGetElapsedTime(converter)); break;
        case ProgressTime::Remaining:
            time = s->TimeText(MclGetRemainingTime(converter, s->videoFrameTotal_, s->audioSampleTotal_));
            break;
        case ProgressTime::None: break;
        }
        s->client_.Log(ProgressLine(code, frame, sample, time));
        s->client_.Progress(code, frame, sample);
    }
    static void Error(MclConverter*, int32_t code, int32_t* action)
    {
        *action = MCL_ACTION_CONTINUE;
        EncoderSession* s = t_session;
        if (!s) return;
        s->client_.InputError(LastEncoderError());
        const std::string line = EncoderErrorLine(code, MclGetErrorStr());
        int32_t audio = 0;
        const int32_t entry = MclGetErrorEntry(&audio);
        if (!audio || entry < 0 || static_cast<std::size_t>(entry) < s->firstSong_ ||
            entry >= MclListCount(s->audioList_)) {
            s->client_.LogError(line);
            return;
        }
        // A song's error in the songs' words; the encoder's own stays in the log.
        s->client_.Log(line);
        s->client_.LogError(SongErrorText(code, EntryName(s->audioList_, entry)));
    }
};

std::string EncoderSession::TimeText(double seconds) const
{
    auto buffer = std::make_unique<char[]>(16);
    MclMakeTimeStr(seconds, buffer.get(), 16);
    return buffer.get();
}

EncoderRunResult EncoderSession::Run(const EncoderJob& job)
{
    EncoderRunResult result;
    EncoderSession* outer = t_session;
    t_session = this;

    converter_ = MclCreate();
    MclAssignVideoSource(converter_, &EncoderCallbacks::VideoSource);
    MclAssignVideoFunc(converter_, &EncoderCallbacks::Video);
    MclAssignAudioSource(converter_, &EncoderCallbacks::AudioSource);
    MclAssignAudioFunc(converter_, &EncoderCallbacks::Audio);
    MclAssignProgress(converter_, &EncoderCallbacks::Progress);
    MclAssignError(converter_, &EncoderCallbacks::Error);
    videoList_ = MclListCreate();
    audioList_ = MclListCreate();
    audioSeconds_ = job.audioSeconds;
    firstSong_ = job.firstSong;

    for (const std::string& name : job.videoNames) {
        MclListAdd(videoList_, name.c_str());
        client_.PumpMessages();
    }
    for (const std::string& name : job.audioNames) {
        MclListAdd(audioList_, name.c_str());
        client_.PumpMessages();
    }
    videoFrameTotal_ = MclListGetFrameCount(videoList_);
    audioSampleTotal_ = MclListGetSampleCount(audioList_);
    result.videoFrameTotal = videoFrameTotal_;
    result.audioSampleTotal = audioSampleTotal_;
    client_.Log(TotalFramesLine(videoFrameTotal_));
    client_.Log(TotalSamplesLine(audioSampleTotal_));

    if (auto preset = FormatPresetFor(job.outputFormat, job.tvSystem))
        MclSetFormatPreset(converter_, preset->kind, preset->tvSystem);
    MclVideoSetKeepDuration(converter_, job.keepDuration ? -1 : 0);
    MclVideoSetFileName(converter_, job.videoOut.c_str());
    MclAudioSetFileName(converter_, job.audioOut.c_str());

    if (client_.Cancelled()) {
        result.cancelled = true;
        client_.Log(std::string(kConversionCancelled));
    } else if (videoFrameTotal_ > 0 || audioSampleTotal_ > 0) {
        client_.Log(std::string(kStartingConversion));
        MclConvert(converter_);
        result.converted = true;
        result.failure = LastEncoderError();
        result.error = result.failure.code;
        if (result.error != 0) {
            result.errorText = result.failure.text;
            client_.LogError(EncoderErrorLine(result.error, result.errorText));
        }
        client_.Log(std::string(kConversionEnded));
    } else {
        client_.Log(std::string(kNothingToConvert));
    }

    MclListFree(videoList_);
    MclListFree(audioList_);
    MclFree(converter_);
    videoList_ = audioList_ = nullptr;
    converter_ = nullptr;
    t_session = outer;
    return result;
}

void EncoderSession::Abort()
{
    if (converter_) MclAbort(converter_);
}

}  // namespace production
