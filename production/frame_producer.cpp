#include "production/frame_producer.h"

#include <utility>

#include "production/photo_slots.h"

namespace production {

FrameProducer::FrameProducer(ProductionJob job, FrameProducerHost& host)
    : job_(std::move(job)),
      host_(host),
      templateTarget_(TemplateFrameTarget(job_)),
      jobTarget_(JobFrameTarget(job_)),
      stage_(job_.openingFile.empty() ? Stage::Template : Stage::Opening)
{
    std::vector<double> seconds;
    seconds.reserve(job_.music.size());
    for (const MusicTrack& track : job_.music) seconds.push_back(track.seconds);
    songEnds_ = SongEndFrames(seconds);
}

void FrameProducer::JobSetup()
{
    lrcSongIndex_ = 0;
    if (LyricsShown()) lyrics_ = host_.LoadLrcLyrics(0);
    for (int i = 0; i < job_.slotsPerFill; ++i) NextPhoto();
    ForeseePhotos(job_.slotsPerFill);
}

bool FrameProducer::LyricsShown() const { return !job_.music.empty() && job_.lyricFileCount > 0; }

void FrameProducer::NoteProgress(int code, int64_t frame)
{
    // A report may skip the exact count, so the test is "at or past".
    if (code == 3 && frame >= job_.openingFrames) BeginTemplateStage();
}

void FrameProducer::BeginTemplateStage()
{
    if (stage_ == Stage::Opening) stage_ = Stage::Template;
}

void FrameProducer::Cancel() { cancelled_ = true; }

void FrameProducer::VideoFrameProc()
{
    // While the opening title plays the encoder takes its frames, not ours.
    if (cancelled_ || stage_ == Stage::Finished || stage_ == Stage::Opening) return;
    ++calls_;
    if (stage_ == Stage::Template) {
        TemplateStep();
    } else {
        EndingStep();
    }
    EndTests();
}

void FrameProducer::TemplateStep()
{
    if (LyricsShown()) AdvanceLyrics();
    PreCopyPhotos();
    ++mainHold_;
    if (mainHold_ <= kHoldFrames) return;  // the encoder takes the last frame again
    ++produceFrame_;
    if (produceFrame_ >= job_.templateFrames) produceFrame_ = 0;
    templateFrame_ = produceFrame_;
    host_.SetTemplateFrame(produceFrame_);
    ++position_;
    host_.PaintTemplateFrame();
    lastShownFrame_ = produceFrame_;
}

void FrameProducer::PreCopyPhotos()
{
    // Five frames before the movie's end, the slots get the photos that the
    // next pass's first frame shows: once for each time that frame is shown.
    if (lastShownFrame_ != job_.templateFrames - 5 || preCopiedAt_ == position_) return;
    preCopiedAt_ = position_;
    for (int slot = 1; slot <= job_.slotsPerFill; ++slot) {
        host_.CopyPhotoToSlot(NextPhoto(), slot);
    }
    ForeseePhotos(job_.slotsPerFill);
}

void FrameProducer::EndingStep()
{
    ++endingHold_;
    if (endingHold_ <= kHoldFrames) return;  // the template's last frame stays
    ++produceFrame_;
    host_.SetEndingFrame(produceFrame_);
    ++position_;
    host_.PaintEndingFrame();
}

void FrameProducer::EndTests()
{
    if (stage_ == Stage::Template) {
        // The end comes before the restart, so that the template stays on the
        // last frame shown for the ending title's picture.
        if (position_ >= templateTarget_) {
            EndTemplateStage();
        } else if (LoopsTemplate(job_.syncMode) && job_.templateFrames >= 2 &&
                   templateFrame_ == job_.templateFrames - 1) {
            mainHold_ = 0;
            templateFrame_ = 0;
            host_.SetTemplateFrame(0);
        }
    }
    if (stage_ == Stage::Ending && position_ >= jobTarget_) Finish();
}

void FrameProducer::EndTemplateStage()
{
    if (!job_.hasEnding) {
        Finish();
        return;
    }
    stage_ = Stage::Ending;
    endingBegun_ = true;
    produceFrame_ = -1;
    endingHold_ = 0;
    PrepareEndingTitle();
    host_.SetLyricLine("");
}

void FrameProducer::Finish()
{
    stage_ = Stage::Finished;
    host_.AbortEncoder();
}

void FrameProducer::AdvanceLyrics()
{
    ++songLyricFrame_;
    ++musicFrame_;
    // The lyric time of a song's frame k is the time of k + 1 frames.
    lrcText_ = LyricTimeText(songLyricFrame_ + 1);
    if (const LyricRow* row = FindLyricLine(lyrics_, lrcText_)) host_.SetLyricLine(row->text);

    // Song end: at the song's exact cumulative length in frames. After the
    // last song its lyrics stay and no further end is tested.
    const std::size_t before = lrcSongIndex_;
    while (lrcSongIndex_ < songEnds_.size() && musicFrame_ + 1 >= songEnds_[lrcSongIndex_]) {
        ++lrcSongIndex_;
    }
    if (lrcSongIndex_ == before || lrcSongIndex_ >= songEnds_.size()) return;
    songLyricFrame_ = -1;
    if (lrcSongIndex_ < job_.lyricFileCount) {
        lyrics_ = host_.LoadLrcLyrics(lrcSongIndex_);
    } else {
        lyrics_.clear();
    }
    // A song without lyrics of its own doesn't keep the last one's line.
    if (lyrics_.empty()) host_.SetLyricLine("");
}

void FrameProducer::PrepareEndingTitle()
{
    // The template stands on the last frame shown: the end test comes before
    // the restart (EndTests).
    host_.SaveEndingTitlePicture();
    host_.ReloadEndingMovie();
}

int FrameProducer::FollowingPhoto(int photo) { return host_.PhotoExists(photo + 1) ? photo + 1 : 1; }

int FrameProducer::NextPhoto()
{
    producePhotoCursor_ = FollowingPhoto(producePhotoCursor_);
    return producePhotoCursor_;
}

void FrameProducer::ForeseePhotos(int count)
{
    // The next fill is taken to ask for as many photos as this one.
    std::vector<int> photos;
    int photo = producePhotoCursor_;
    for (int i = 0; i < count; ++i) photos.push_back(photo = FollowingPhoto(photo));
    host_.ForeseePhotos(photos);
}

void FrameProducer::PhotoSlotRequest(std::string_view command)
{
    const std::optional<int> count = ParseSlotRequest(command);
    if (!count || templateFrame_ == 0) return;
    host_.DeleteSlotPictures();
    for (int slot = 1; slot <= *count; ++slot) {
        const int photo = NextPhoto();
        if (templateFrame_ != 0) host_.CopyPhotoToSlot(photo, slot);
    }
    ForeseePhotos(*count);
}

}  // namespace production
