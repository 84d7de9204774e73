// TfrmMain: the modal production form, "正在制作...". The main window hands
// it the album (SetProject), the output path and the frame target, enables
// Timer1 and Timer2 and shows it modally; the form then sets the job up,
// builds the encoder's input lists, runs the conversion with the frame
// producer answering every frame, and closes itself. Outcome() tells how
// the job ended.
#pragma once
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/flash/picture_ahead.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form.h"
#include "production/album_project.h"
#include "production/completion.h"
#include "production/encoder_binding.h"
#include "production/failure_messages.h"
#include "production/frame_file.h"
#include "production/frame_producer.h"
#include "production/pending_output.h"
#include "production/progress_log.h"
#include "production/render_worker.h"

class TButton;
class TEdit;
class TLabel;
class TListBox;
class TPanel;
class TShockwaveFlash;
class TTimer;
class TkivButton;
class TkivCheckBox;
class TkivForm;
class TkivProgressBar;

class TfrmMain : public TForm, private production::FrameProducerHost, private production::EncoderClient {
public:
    explicit TfrmMain(TComponent* AOwner = nullptr);
    ~TfrmMain() override;

    // --- the hand-over ------------------------------------------------------
    // The album to produce; set before ShowModal.
    void SetProject(const production::AlbumProject& project);
    // The album with what production changed (the movie copies and the
    // lyric song), to be taken back after ShowModal.
    const production::AlbumProject& Project() const { return project_; }
    // How the last job ended: the completion form only for a completed one.
    production::CompletionOutcome Outcome() const;

    // --- controls ---------------------------------------------------------------
    TkivForm* kivForm1;                // the skinned panel: "正在制作..."
    TkivProgressBar* kivProgressBar1;  // frames produced; Max = the frame target
    TkivProgressBar* kivProgressBar2;  // busy bar
    TkivButton* kivButton1;            // "停止制作"
    TShockwaveFlash* ShockwaveFlash1;  // the effect template movie
    TShockwaveFlash* ShockwaveFlash2;  // the ending-title movie
    TEdit* LRC_text;                   // hidden: the "mm:ss" key of the lyric line drawn last
    // Hidden: frames rendered of the current song; the frame producer counts
    // it on and reads it for the lyric key and the switch to the next song.
    TEdit* edit3;
    TTimer* Timer1;  // busy bar, 1 ms
    TTimer* Timer2;  // job set-up, 1 ms, one-shot
    TTimer* Timer3;  // lists and conversion, 1000 ms, one-shot
    // The hidden conversion panel: the job's inputs and outputs, filled by
    // the set-up and read by the conversion.
    TPanel* GroupBox1;
    TListBox* ListBox1;             // video inputs: the frame-file entries, one per frame
    TListBox* ListBox2;             // audio inputs: the opening's sound, then the songs
    TLabel* Label1;                 // "导入视频"
    TLabel* Label2;                 // "导入音频"
    TLabel* Label3;                 // "输出视频"
    TLabel* Label4;                 // "输出音频"
    TEdit* edVideoIn;               // a video input typed by hand
    TEdit* edAudioIn;               // an audio input typed by hand
    TEdit* edVideoOut;              // the output file
    TEdit* edAudioOut;              // a separate audio output; empty: none
    TkivCheckBox* chkKeepDuration;  // "Keep original duration", on
    TListBox* lstProgress;          // the status log, capped
    TButton* btnBrowseVideoIn;      // "打开": adds video inputs
    TButton* btnBrowseAudioIn;      // "打开": adds audio inputs
    TButton* btnBrowseVideoOut;     // "输出": chooses the output file
    TButton* btnBrowseAudioOut;     // "输出": chooses the audio output
    TButton* btnStart;              // "Start": runs the conversion
    TButton* btnStop;               // "Stop": aborts it
    TOpenDialog* OpenDialog1;       // video inputs
    TOpenDialog* OpenDialog2;       // audio inputs, several at once

    // --- handlers -----------------------------------------------------------------
    void FormShow(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void Timer1Timer(TObject* Sender);
    void Timer2Timer(TObject* Sender);
    void Timer3Timer(TObject* Sender);
    void kivButton1Click(TObject* Sender);
    void btnStartClick(TObject* Sender);
    void btnStopClick(TObject* Sender);
    void btnBrowseVideoInClick(TObject* Sender);
    void btnBrowseAudioInClick(TObject* Sender);
    void btnBrowseVideoOutClick(TObject* Sender);
    void btnBrowseAudioOutClick(TObject* Sender);
    void ShockwaveFlash1FSCommand(TObject* Sender, const std::string& command, const std::string& args);

    void EnableJobControls(bool enabled);
    // The conversion run and its log.
    void RunConversion();
    void AbortConversion();
    void LogProgress(const std::string& line);
    void ClearProgressLog();
    std::string BrowseSaveFile(const std::string& path);

    // The full path of the frame file, WorkDir + "zhzp/lswj.bmp".
    std::string FrameFile() const;
    // The job's frame producer, from the set-up on (nullptr before).
    const production::FrameProducer* Producer() const { return producer_.get(); }
    const production::ProgressLog& Log() const { return log_; }
    bool Converting() const { return session_.Running(); }
    // Render-ahead (on by default): each video callback also takes the next
    // call's step and renders its picture on another thread while the
    // encoder works; the next callback only writes it out. The frames are
    // the same either way.
    void SetRenderAhead(bool on) { render_ahead_ = on; }
    // Photos ahead (on by default): the photos the next slot fill will copy
    // are decoded on another thread meanwhile, and the template movie's load
    // point takes them instead of decoding its slot pictures itself.
    void SetPhotosAhead(bool on) { photos_ahead_on_ = on; }

private:
    void CreateControls();
    // A job the set-up refuses: the error is its outcome, and the form closes.
    void FailSetUp(const std::string& error);
    // The stop of "停止制作" and of the close: timers, movies, encoder.
    void StopJob();
    // Handles the waiting messages; a close asked for meanwhile stops the job.
    void Pump();
    // After the convert call, or instead of it: the frame file goes, the
    // video file is kept or removed, and the form closes.
    void FinishJob();
    // Renames the video file into place when the job is worth keeping,
    // else removes it.
    void SettleOutput();
    production::JobEnd JobEndSoFar() const;
    // The job's first failure: logged, and the job stops at the next frame.
    void FailJob(const production::Failure& failure);
    // A picture the template movie asked for at a load point, and whether
    // it could be read: a slot's photo that can't be read fails the job.
    void NotePicture(const std::filesystem::path& file, bool read);
    // The photo as the user knows it: the file imported, or the work
    // folder's picture when the project names none.
    std::string PhotoName(int photo) const;
    production::InputRole RoleOf(const std::string& input) const;
    void DeleteFrameFile();
    void PaintFlashToFile(TShockwaveFlash& movie, const std::string& file);
    // A frame of the producer: written at once, or rendered ahead.
    void ProduceFrame(TShockwaveFlash& movie);
    // Waits for the picture being rendered ahead; before anything else
    // touches the movies.
    void JoinRender();
    bool CanStepAhead() const;
    void MirrorLyricState();
    // A reload by the two-copy rule: the other copy of the movie, stopped.
    void LoadMovieCopy(TShockwaveFlash& movie, int& copy, const char* folder, const char* stem);

    // FrameProducerHost.
    void SetTemplateFrame(int frame) override;
    void PaintTemplateFrame() override;
    void SetLyricLine(const std::string& text) override;
    void SetEndingFrame(int frame) override;
    void PaintEndingFrame() override;
    void SaveEndingTitlePicture() override;
    void ReloadEndingMovie() override;
    bool PhotoExists(int photo) override;
    void CopyPhotoToSlot(int photo, int slot) override;
    void DeleteSlotPictures() override;
    void ForeseePhotos(const std::vector<int>& photos) override;
    // Hands the photos foreseen to the decoding ahead.
    void GuessPhotos();
    std::string PhotoFile(int photo) const;
    std::string SlotFile(int slot) const;
    production::LyricIndex LoadLrcLyrics(std::size_t song) override;
    void AbortEncoder() override;

    // EncoderClient.
    void VideoFrame(int64_t frame, int32_t entry) override;
    void Progress(int code, int64_t frame, int64_t sample) override;
    void Log(const std::string& line) override;
    void LogError(const std::string& line) override;
    void InputError(const production::EncoderError& error) override;
    void PumpMessages() override;
    bool Cancelled() const override { return stopped_by_user_; }

    production::AlbumProject project_;
    std::unique_ptr<production::FrameProducer> producer_;
    production::EncoderSession session_{*this};
    production::ProgressLog log_;
    std::optional<production::EncoderRunResult> run_result_;
    production::ProductionJob job_;
    // The audio list as the set-up built it, with the songs' measured lengths.
    std::vector<std::string> audio_names_;
    std::vector<double> audio_seconds_;
    bool stopped_by_user_ = false;
    bool job_active_ = false;  // from the set-up until the convert call returns
    std::string setup_error_;  // a template movie that can't be loaded
    // The video file under its temporary name, from the start of the job
    // until it is kept or removed.
    std::optional<production::PendingOutput> output_;
    std::optional<production::Failure> failure_;      // the first failure of the job
    std::optional<production::Failure> left_behind_;  // a hidden file that stayed
    // The photo each slot picture was copied from, while it is there.
    std::map<std::filesystem::path, int> slot_photos_;
    bool output_kept_ = false;
    int64_t frames_written_ = 0;  // frames the encoder reported done
    TBitmap frame_bitmap_;        // reused for every rendered frame
    production::FrameFileWriter frame_writer_;
    // Render-ahead state.
    bool render_ahead_ = true;
    bool stepping_ahead_ = false;  // inside the step taken for the next call
    bool stepped_ahead_ = false;   // the next call's step is taken
    bool frame_pending_ = false;   // its picture goes into the frame file
    // Two pictures rendered ahead in turn: one is written out while the
    // next renders into the other.
    TBitmap ahead_[2];
    int ahead_index_ = 0;              // the one being rendered (or last rendered)
    bool abort_pending_ = false;       // the encoder stops once that is written
    production::RenderWorker render_;  // renders the picture ahead
    // Photos-ahead state: the photos foreseen and not yet guessed.
    bool photos_ahead_on_ = true;
    std::vector<int> foreseen_;
    flash::PictureAhead photos_ahead_;
};

extern TfrmMain* frmMain;
