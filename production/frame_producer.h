// The frame producer: what the frame file holds for each frame the encoder
// asks for. It steps the template movie (then the ending movie) one frame a
// call, keeps the lyric line and the photo slots up to date, holds the
// picture after each restart, and aborts the encoder at the job's end.
//
// It drives the form's controls only through FrameProducerHost, so that the
// same logic runs against the real movies or against fakes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "production/job_plan.h"
#include "production/lyric_timeline.h"

namespace production {

class FrameProducerHost {
public:
    virtual ~FrameProducerHost() = default;

    // The effect template movie.
    virtual void SetTemplateFrame(int frame) = 0;
    // Paints the template movie as it stands into the frame file.
    virtual void PaintTemplateFrame() = 0;
    // The lyric variable "LRC_geci" of the template movie.
    virtual void SetLyricLine(const std::string& text) = 0;

    // The ending-title movie.
    virtual void SetEndingFrame(int frame) = 0;
    virtual void PaintEndingFrame() = 0;
    // Paints the template movie as it stands into "pwwjj\pwtp.bmp" and
    // converts it to "pwwjj\pwtp.jpg".
    virtual void SaveEndingTitlePicture() = 0;
    // Loads the other copy of the ending movie and stops it.
    virtual void ReloadEndingMovie() = 0;

    // Imported photo k (from 1) exists.
    virtual bool PhotoExists(int photo) = 0;
    // Copies photo k over slot i, overwriting; failures are not reported.
    virtual void CopyPhotoToSlot(int photo, int slot) = 0;
    // Deletes every slot picture of the template.
    virtual void DeleteSlotPictures() = 0;
    // The photos the next slot fill will copy, in order: worth preparing.
    virtual void ForeseePhotos(const std::vector<int>& photos) { (void)photos; }

    // Parses the lyric file of music row `song`; empty when it has none.
    virtual LyricIndex LoadLrcLyrics(std::size_t song) = 0;

    // Aborts the running conversion; the frame just rendered is still taken.
    virtual void AbortEncoder() = 0;
};

class FrameProducer {
public:
    enum class Stage { Opening, Template, Ending, Finished };

    // The job's template and ending frame counts are those of the movies as
    // loaded by the set-up.
    FrameProducer(ProductionJob job, FrameProducerHost& host);

    // The producer's part of the job set-up: the first song's lyrics, and the
    // photo cursor moved past the photos the hand-over put into the slots.
    void JobSetup();

    // The template stage begins at once without an opening title, otherwise
    // at the first progress report (code 3) at or past the opening's frames.
    void NoteProgress(int code, int64_t frame);
    void BeginTemplateStage();

    // The encoder's video callback: one call per output frame.
    void VideoFrameProc();

    // The template movie's photo request ("tupian=" + N). At frame 0 the
    // slots already hold the right photos: nothing is served, the cursor
    // stays.
    void PhotoSlotRequest(std::string_view command);

    // A stop by the user: later calls render nothing.
    void Cancel();

    Stage CurrentStage() const { return stage_; }
    // "kaishi" of the template and ending stages: begun, and not undone by
    // the end of the job.
    bool MainStage() const { return stage_ != Stage::Opening; }
    bool EndingStage() const { return stage_ == Stage::Ending || endingBegun_; }
    // The job reached its end and the encoder was aborted.
    bool Finished() const { return stage_ == Stage::Finished; }
    bool Cancelled() const { return cancelled_; }

    // Frames rendered so far: the position of the frames-produced bar.
    int64_t Position() const { return position_; }
    // Calls taken by the template and ending stages (ProducerCallCount).
    int64_t Calls() const { return calls_; }
    int ProduceFrame() const { return produceFrame_; }
    int MainHold() const { return mainHold_; }
    int EndingHold() const { return endingHold_; }
    int ProducePhotoCursor() const { return producePhotoCursor_; }
    int TemplateFrameNum() const { return templateFrame_; }
    std::size_t LrcSongIndex() const { return lrcSongIndex_; }
    const std::string& LrcText() const { return lrcText_; }
    // The current song's lyric frame counter (-1 before its first step).
    int64_t SongLyricFrame() const { return songLyricFrame_; }

private:
    bool LyricsShown() const;
    void TemplateStep();
    void EndingStep();
    void EndTests();
    void EndTemplateStage();
    void Finish();
    void AdvanceLyrics();
    void PrepareEndingTitle();
    void PreCopyPhotos();
    int NextPhoto();
    // The photo the cursor moves to from `photo`.
    int FollowingPhoto(int photo);
    // Tells the host the `count` photos that follow the cursor.
    void ForeseePhotos(int count);

    ProductionJob job_;
    FrameProducerHost& host_;
    int64_t templateTarget_;
    int64_t jobTarget_;
    std::vector<int64_t> songEnds_;

    Stage stage_;
    bool endingBegun_ = false;
    bool cancelled_ = false;
    int64_t calls_ = 0;
    int64_t position_ = 0;
    int produceFrame_ = -1;
    int mainHold_ = kHoldFrames + 1;  // so that the first call renders
    int endingHold_ = 0;
    int producePhotoCursor_ = 0;
    int templateFrame_ = 0;     // the template movie's frame as last set
    int lastShownFrame_ = -1;   // the template frame last painted
    int64_t preCopiedAt_ = -1;  // position of the last pre-copy

    // Lyrics: the song whose lyrics are loaded, its lyric frame counter (-1
    // before its first step) and the steps since the music began.
    LyricIndex lyrics_;
    std::size_t lrcSongIndex_ = 0;
    int64_t songLyricFrame_ = -1;
    int64_t musicFrame_ = -1;
    std::string lrcText_;
};

}  // namespace production
