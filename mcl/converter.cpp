#include "mcl/converter.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "mcl/audio_feed.h"
#include "mcl/audio_input.h"
#include "mcl/encode_pipeline.h"
#include "mcl/last_error.h"
#include "mcl/mapped_bitmap.h"
#include "mcl/output_file.h"
#include "mcl/probe.h"
#include "mcl/video_input.h"

namespace mcl {
namespace {

int64_t CeilDiv(int64_t a, int64_t b) { return (a + b - 1) / b; }

// Asks a source callback for entries 0, 1, 2, ... once each, in order.
class SourceWalker {
public:
    explicit SourceWalker(MclSourceFunc func) : func_(func) { finished_ = !func; }
    std::optional<std::string> Get(int32_t index)
    {
        const MclSource* entry = Entry(index);
        return entry ? entry->name : std::nullopt;
    }
    // Nothing past the list's end.
    const MclSource* Entry(int32_t index)
    {
        while (!finished_ && int32_t(entries_.size()) <= index) {
            MclSource source;
            func_(&source, int32_t(entries_.size()));
            if (source.name)
                entries_.push_back(std::move(source));
            else
                finished_ = true;
        }
        if (index >= 0 && index < int32_t(entries_.size())) return &entries_[size_t(index)];
        return nullptr;
    }

private:
    MclSourceFunc func_;
    std::vector<MclSource> entries_;
    bool finished_ = false;
};

struct VideoEntry {
    int32_t index = 0;
    std::string path;
    bool image = false;
    std::unique_ptr<MediaVideoReader> media;
    int64_t taken = 0, frames = 0;
};

class Run {
public:
    explicit Run(MclConverter& c) : c_(c), videoSources_(c.videoSource), audioSources_(c.audioSource) {}
    int32_t Execute();

private:
    void Progress(int32_t code, int64_t frame, int64_t sample)
    {
        if (c_.progress) c_.progress(&c_, code, frame, sample);
    }
    // Sets the error and asks the application what to do.
    int32_t InputError(int32_t code, std::string text, ErrorEntry entry, std::string file)
    {
        SetLastInputError(code, std::move(text), entry, std::move(file));
        int32_t action = MCL_ACTION_ABORT;
        if (c_.error) c_.error(&c_, code, &action);
        if (action != MCL_ACTION_SKIP && action != MCL_ACTION_CONTINUE) action = MCL_ACTION_ABORT;
        if (action == MCL_ACTION_ABORT) stopped_ = true;
        return action;
    }
    // A failure of the run itself, not of an input: it ends the run.
    bool Fail(const Status& status)
    {
        SetLastError(status.code, status.text, status.systemCode, status.file);
        stopped_ = true;
        return false;
    }
    void PickOutputSize(int* width, int* height);
    bool EnsureVideoEntry();
    Frame TakePicture(std::string* error);
    void NextVideoEntry()
    {
        entry_.reset();
        ++videoIndex_;
    }
    int64_t OutputFrameStart(int64_t timelineFrame) const;
    int64_t AudioTarget(int64_t timelineFrame, int64_t rate) const;
    bool FeedAudio(int64_t target);
    void FlushAudio(int64_t target);

    MclConverter& c_;
    SourceWalker videoSources_, audioSources_;
    OutputSettings settings_;
    OutputFile output_;
    std::unique_ptr<EncodePipeline> pipeline_;
    ImageReader images_;
    MappedBitmap mapped_;
    std::unique_ptr<VideoEntry> entry_;
    int32_t videoIndex_ = 0;
    bool stopped_ = false;  // ended by an error

    AudioFormat audio_;
    AudioFifo fifo_;
    std::unique_ptr<AudioFeed> feed_;
    int32_t audioIndex_ = 0;  // the audio list's place, as the feed last told it
    bool audioFinished_ = false;
    int64_t pushed_ = 0;
};

// Keeps a damaged or giant first picture from making a giant output.
void LimitSize(int* width, int* height)
{
    const int limit = 4096;
    if (*width <= limit && *height <= limit) return;
    const double scale = double(limit) / std::max(*width, *height);
    *width = std::max(2, int(*width * scale));
    *height = std::max(2, int(*height * scale));
}

void Run::PickOutputSize(int* width, int* height)
{
    // the size of the first picture entry, else of the first video
    *width = 352;
    *height = 288;
    bool haveVideoSize = false;
    for (int32_t i = 0; i < 64; ++i) {
        std::optional<std::string> name = videoSources_.Get(i);
        if (!name) break;
        std::string error;
        EntryInfo info;
        if (HasImageExtension(*name))
            info.kind = EntryKind::Image;
        else
            info = ProbeEntry(*name);
        if (info.kind == EntryKind::Image) {
            if (Frame picture = images_.Read(*name, &error)) {
                *width = picture->width;
                *height = picture->height;
                return;
            }
        } else if (info.kind == EntryKind::Media && info.hasVideo && !haveVideoSize && info.width > 0 &&
                   info.height > 0) {
            *width = info.width;
            *height = info.height;
            haveVideoSize = true;
        }
    }
}

bool Run::EnsureVideoEntry()
{
    while (!entry_) {
        std::optional<std::string> name = videoSources_.Get(videoIndex_);
        if (!name) return false;
        auto entry = std::make_unique<VideoEntry>();
        entry->index = videoIndex_;
        entry->path = *name;
        EntryInfo info;
        if (HasImageExtension(*name))
            info.kind = EntryKind::Image;
        else
            info = ProbeEntry(*name);
        std::string error;
        if (info.kind == EntryKind::Image) {
            entry->image = true;
            entry->frames = 1;
        } else if (info.kind == EntryKind::Media && info.hasVideo) {
            entry->media = std::make_unique<MediaVideoReader>();
            if (entry->media->Open(*name, &error)) {
                entry->frames = MediaFrames(info.duration);
            } else {
                entry->media.reset();
            }
        } else {
            error = info.kind == EntryKind::Unreadable ? "Cannot open \"" + *name + "\""
                                                       : "\"" + *name + "\" holds no video stream";
        }
        if (!entry->image && !entry->media) {
            // an unreadable media file has no known length: continuing leaves it out too
            if (InputError(MCL_ERROR_INPUT_OPEN, error, {false, videoIndex_}, *name) == MCL_ACTION_ABORT)
                return false;
            ++videoIndex_;
            continue;
        }
        if (entry->frames <= 0) {
            ++videoIndex_;
            continue;
        }
        entry_ = std::move(entry);
    }
    return true;
}

Frame Run::TakePicture(std::string* error)
{
    if (entry_->image) {
        // A plain bitmap is converted straight from its mapping, here, before
        // the application writes the file again.
        if (std::optional<RgbPicture> rgb = mapped_.Map(entry_->path);
            rgb && ConvertsFast(*rgb, output_.Width(), output_.Height())) {
            if (Frame picture = pipeline_->Pictures().Get(); picture && ConvertToYuv420(*rgb, picture.get()))
                return picture;
        }
        return images_.Read(entry_->path, error);
    }
    Frame picture = entry_->media->FrameAt(entry_->taken, error);
    if (!picture && error->empty()) *error = "\"" + entry_->path + "\" cannot be decoded";
    return picture;
}

int64_t Run::OutputFrameStart(int64_t timelineFrame) const
{
    if (!c_.keepDuration) return timelineFrame;
    const AVRational rate = settings_.frameRate;
    return CeilDiv(timelineFrame * rate.num, 25LL * rate.den);
}

// The samples at rate that belong to the first timelineFrame frames.
int64_t SamplesAt(int64_t timelineFrame, int64_t rate, bool keepDuration, AVRational fps)
{
    if (keepDuration) return timelineFrame * rate / 25;
    return timelineFrame * fps.den * rate / fps.num;
}

int64_t Run::AudioTarget(int64_t timelineFrame, int64_t rate) const
{
    return SamplesAt(timelineFrame, rate, c_.keepDuration, settings_.frameRate);
}

bool Run::FeedAudio(int64_t target)
{
    // the feed has made this frame's samples, stopping at whatever only
    // this thread may do, in the order in which it met them
    for (bool frameDone = false; !frameDone;) {
        AudioFeed::Event event = feed_->Next();
        switch (event.kind) {
        case AudioFeed::Event::Kind::Samples: {
            const int n = event.samples->nb_samples;
            if (av_audio_fifo_write(fifo_.get(), reinterpret_cast<void**>(event.samples->data), n) != n)
                return Fail({MCL_ERROR_ENCODER, "Out of memory for the sound"});
            break;
        }
        case AudioFeed::Event::Kind::Name: {
            const MclSource* entry = audioSources_.Entry(event.index);
            feed_->AnswerName(entry ? entry->name : std::nullopt, entry ? entry->seconds : 0);
            break;
        }
        case AudioFeed::Event::Kind::InputError: {
            std::string file = event.status.file;
            if (file.empty()) file = audioSources_.Get(event.index).value_or(std::string());
            const int32_t action = InputError(event.status.code, std::move(event.status.text),
                                              {true, event.index}, std::move(file));
            feed_->AnswerAction(action);
            if (action == MCL_ACTION_ABORT) return false;
            break;
        }
        case AudioFeed::Event::Kind::Failure: return Fail(event.status);
        case AudioFeed::Event::Kind::FrameEnd:
            audioIndex_ = event.index;
            audioFinished_ = event.finished;
            frameDone = true;
            break;
        }
    }
    while (pushed_ + audio_.frameSize <= target) {
        Frame frame = NewFrame();
        frame->format = audio_.sampleFormat;
        frame->sample_rate = audio_.sampleRate;
        av_channel_layout_default(&frame->ch_layout, 2);
        frame->nb_samples = audio_.frameSize;
        if (av_frame_get_buffer(frame.get(), 0) < 0 ||
            av_audio_fifo_read(fifo_.get(), reinterpret_cast<void**>(frame->data), audio_.frameSize) !=
                audio_.frameSize)
            return Fail({MCL_ERROR_ENCODER, "Out of memory for the sound"});
        frame->pts = pushed_;
        pushed_ += audio_.frameSize;
        pipeline_->PushAudio(std::move(frame));
    }
    return true;
}

void Run::FlushAudio(int64_t target)
{
    // a run ended by an input error may lack more than one frame of sound
    while (pushed_ < target) {
        const int64_t rest = target - pushed_;
        const int take = int(std::min<int64_t>(rest, audio_.frameSize));
        Frame frame = NewFrame();
        frame->format = audio_.sampleFormat;
        frame->sample_rate = audio_.sampleRate;
        av_channel_layout_default(&frame->ch_layout, 2);
        frame->nb_samples = audio_.smallLastFrame ? take : audio_.frameSize;
        if (av_frame_get_buffer(frame.get(), 0) < 0) {
            Fail({MCL_ERROR_ENCODER, "Out of memory for the sound"});
            return;
        }
        av_samples_set_silence(frame->data, 0, frame->nb_samples, 2, audio_.sampleFormat);
        // after an early end the buffer may hold less: the rest stays silent
        if (av_audio_fifo_read(fifo_.get(), reinterpret_cast<void**>(frame->data), take) < 0) {
            Fail({MCL_ERROR_ENCODER, "The sound cannot be buffered"});
            return;
        }
        frame->pts = pushed_;
        pushed_ += frame->nb_samples;
        pipeline_->PushAudio(std::move(frame));
    }
}

int32_t Run::Execute()
{
    const std::string path = !c_.videoFileName.empty() ? c_.videoFileName : c_.audioFileName;
    if (path.empty()) {
        SetLastError(MCL_ERROR_ARGUMENT, "No output file name");
        return MCL_ERROR_ARGUMENT;
    }
    settings_ = c_.preset ? *c_.preset : DefaultSettings();
    Progress(MCL_PROGRESS_PREPARING, 0, 0);

    int width = settings_.width, height = settings_.height;
    if (width <= 0 || height <= 0) {
        PickOutputSize(&width, &height);
        LimitSize(&width, &height);
    } else if (!settings_.sizes.empty()) {
        // A picture the format allows as it is is not scaled.
        int pictureWidth = 0, pictureHeight = 0;
        PickOutputSize(&pictureWidth, &pictureHeight);
        const PictureSize size = OutputSizeFor(settings_, pictureWidth, pictureHeight);
        settings_.width = width = size.width;
        settings_.height = height = size.height;
    }
    if (Status s = output_.Open(settings_, path, width, height); !s.ok()) {
        SetLastError(s.code, s.text, s.systemCode, s.file);
        Progress(MCL_PROGRESS_DONE, 0, 0);
        return s.code;
    }
    audio_ = output_.Audio();
    fifo_.reset(av_audio_fifo_alloc(audio_.sampleFormat, 2, audio_.frameSize * 4));
    if (!fifo_) {
        SetLastError(MCL_ERROR_ENCODER, "Out of memory for the sound");
        Progress(MCL_PROGRESS_DONE, 0, 0);
        return MCL_ERROR_ENCODER;
    }
    pipeline_ = std::make_unique<EncodePipeline>(output_);
    // about a second of sound ready ahead
    feed_ = std::make_unique<AudioFeed>(
        audio_,
        [rate = audio_.sampleRate, keep = bool(c_.keepDuration), fps = settings_.frameRate](int64_t frame) {
            return SamplesAt(frame, rate, keep, fps);
        },
        audio_.sampleRate);

    int64_t frame = 0;
    Frame last;
    while (!c_.aborted && !stopped_ && !pipeline_->Failed()) {
        if (!EnsureVideoEntry()) break;
        if (c_.videoFunc) c_.videoFunc(&c_, frame, entry_->index);
        Frame picture;
        while (!picture) {
            std::string error;
            picture = TakePicture(&error);
            if (picture) break;
            int32_t action = InputError(MCL_ERROR_INPUT_DECODE, error, {false, entry_->index}, entry_->path);
            if (action == MCL_ACTION_ABORT) break;
            if (action == MCL_ACTION_CONTINUE) {
                if (last) {
                    picture = RefFrame(last.get());
                } else {
                    picture = NewFrame();  // nothing to repeat yet: black
                    picture->format = AV_PIX_FMT_YUV420P;
                    picture->width = output_.Width();
                    picture->height = output_.Height();
                    if (av_frame_get_buffer(picture.get(), 0) < 0) {
                        picture.reset();
                        Fail({MCL_ERROR_ENCODER, "Out of memory for the picture"});
                        break;
                    }
                    std::memset(picture->data[0], 16, size_t(picture->linesize[0]) * size_t(picture->height));
                    std::memset(picture->data[1], 128,
                                size_t(picture->linesize[1]) * size_t(picture->height / 2));
                    std::memset(picture->data[2], 128,
                                size_t(picture->linesize[2]) * size_t(picture->height / 2));
                }
                break;
            }
            // skip: this timeline frame comes from the next entry
            NextVideoEntry();
            if (!EnsureVideoEntry()) break;
        }
        if (!picture) break;
        if (++entry_->taken >= entry_->frames) NextVideoEntry();
        last = RefFrame(picture.get());
        int64_t first = OutputFrameStart(frame);
        int64_t count = OutputFrameStart(frame + 1) - first;
        pipeline_->PushVideo(std::move(picture), first, count);
        ++frame;

        int64_t samples = AudioTarget(frame, 44100);
        if (c_.audioFunc) c_.audioFunc(&c_, AudioTarget(frame - 1, 44100), audioFinished_ ? -1 : audioIndex_);
        if (!FeedAudio(AudioTarget(frame, audio_.sampleRate))) break;
        c_.framesDone = frame;
        c_.samplesDone = samples;
        Progress(MCL_PROGRESS_FRAME, frame, samples);
    }
    feed_.reset();
    FlushAudio(AudioTarget(frame, audio_.sampleRate));
    Status s = pipeline_->Finish();
    if (!s.ok()) SetLastError(s.code, s.text, s.systemCode, s.file);
    Progress(MCL_PROGRESS_DONE, frame, AudioTarget(frame, 44100));
    if (!s.ok()) return s.code;
    if (stopped_) return LastErrorCode();
    // input errors that the application chose to skip or continue over are
    // not the run's error
    ClearLastError();
    return MCL_OK;
}

}  // namespace

double ElapsedSeconds(const MclConverter& c)
{
    if (!c.running) return c.finalElapsed;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - c.started).count();
}

int32_t Convert(MclConverter& c)
{
    ClearLastError();
    c.framesDone = 0;
    c.samplesDone = 0;
    c.started = std::chrono::steady_clock::now();
    c.running = true;
    int32_t result;
    {
        Run run(c);
        result = run.Execute();
    }
    c.finalElapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - c.started).count();
    c.running = false;
    return result;
}

}  // namespace mcl
