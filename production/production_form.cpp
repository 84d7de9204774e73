#include "production/production_form.h"

#include <filesystem>
#include <system_error>

#include "platform/core/application.h"
#include "platform/core/memory.h"
#include "platform/core/timer.h"
#include "platform/flash/movie_files.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/gfx/image_io.h"
#include "platform/ui/button.h"
#include "platform/ui/edit.h"
#include "platform/ui/label.h"
#include "platform/ui/listbox.h"
#include "platform/ui/panel.h"
#include "production/album_job.h"
#include "production/quality_form.h"
#include "platform/ui/form_building.h"
#include "production/input_lists.h"
#include "production/lyric_style.h"
#include "production/production_settings.h"
#include "production/song_files.h"
#include "skin/kiv_button.h"
#include "skin/kiv_check_box.h"
#include "skin/kiv_form.h"
#include "skin/kiv_progress_bar.h"

TfrmMain* frmMain = nullptr;

namespace fs = std::filesystem;
using ui::Place;

namespace {

constexpr int kClientWidth = 506;
constexpr int kClientHeight = 203;
// The movies lie right of the visible client area; they are only painted
// into bitmaps.
constexpr int kMovieLeft = kClientWidth + 40;
constexpr int kJpegQuality = 90;
constexpr std::size_t kPhotosAhead = 3;

}  // namespace

TfrmMain::TfrmMain(TComponent* AOwner) : TForm(AOwner)
{
    SetName("frmMain");
    SetCaption("正在制作...");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(kClientWidth, kClientHeight);
    CreateControls();
    // The form shows progress; painting it for every frame would cost as
    // much as a frame.
    SetMinPaintInterval(40);
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnCloseQuery = [this](TObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); };
}

TfrmMain::~TfrmMain()
{
    if (frmMain == this) frmMain = nullptr;
}

void TfrmMain::CreateControls()
{
    kivForm1 = Place<TkivForm>(this, this, "kivForm1", 0, 0, kClientWidth, kClientHeight);
    kivForm1->SetCaption("正在制作...");
    kivForm1->UseProgramSkin();
    kivForm1->SetTitleBarButtons({kivClose});

    kivProgressBar1 = Place<TkivProgressBar>(this, kivForm1, "kivProgressBar1", 20, 56, 466, 24);
    kivProgressBar1->SetShowCaption(true);
    kivProgressBar2 = Place<TkivProgressBar>(this, kivForm1, "kivProgressBar2", 20, 100, 466, 14);
    kivButton1 = Place<TkivButton>(this, kivForm1, "kivButton1", 208, 150, 90, 25);
    kivButton1->SetCaption("停止制作");
    kivButton1->OnClick = [this](TObject* Sender) { kivButton1Click(Sender); };

    ShockwaveFlash1 = Place<TShockwaveFlash>(this, kivForm1, "ShockwaveFlash1", kMovieLeft, 0, 352, 288);
    ShockwaveFlash1->Player().OnPictureFile = [this](const fs::path& file, flash::PictureCover cover) {
        flash::PicturePtr picture;
        if (photos_ahead_on_) {
            picture = photos_ahead_.Take(file, cover);
            if (!picture) picture = photos_ahead_.Decode(file, cover);
        } else {
            try {
                picture = flash::ReadPictureFile(file, cover);
            } catch (const std::exception&) {
                // told below, as for a missing file
            }
        }
        NotePicture(file, picture != nullptr);
        return picture;
    };
    ShockwaveFlash1->OnFSCommand = [this](TObject* Sender, const std::string& command,
                                          const std::string& args) {
        ShockwaveFlash1FSCommand(Sender, command, args);
    };
    ShockwaveFlash2 = Place<TShockwaveFlash>(this, kivForm1, "ShockwaveFlash2", kMovieLeft, 300, 352, 288);

    LRC_text = Place<TEdit>(this, kivForm1, "LRC_text", 0, 0, 80, 21);
    LRC_text->SetVisible(false);
    edit3 = Place<TEdit>(this, kivForm1, "edit3", 0, 0, 80, 21);
    edit3->SetText("-1");
    edit3->SetVisible(false);

    Timer1 = ui::MakeTimer(this, "Timer1", 1);
    Timer1->OnTimer = [this](TObject* Sender) { Timer1Timer(Sender); };
    Timer2 = ui::MakeTimer(this, "Timer2", 1);
    Timer2->OnTimer = [this](TObject* Sender) { Timer2Timer(Sender); };
    Timer3 = ui::MakeTimer(this, "Timer3", 1000);
    Timer3->OnTimer = [this](TObject* Sender) { Timer3Timer(Sender); };

    // The hidden panel: the job's lists, names and log.
    GroupBox1 = Place<TPanel>(this, kivForm1, "GroupBox1", 0, kClientHeight + 20, 500, 400);
    GroupBox1->SetVisible(false);
    ListBox1 = Place<TListBox>(this, GroupBox1, "ListBox1", 8, 8, 230, 100);
    ListBox2 = Place<TListBox>(this, GroupBox1, "ListBox2", 258, 8, 230, 100);
    auto labelled_edit = [this](const char* label_name, const char* caption, const char* name, int top,
                                TLabel*& label) {
        label = Place<TLabel>(this, GroupBox1, label_name, 8, top + 3, 60, 13);
        label->SetCaption(caption);
        return Place<TEdit>(this, GroupBox1, name, 72, top, 300, 21);
    };
    edVideoIn = labelled_edit("Label1", "导入视频", "edVideoIn", 116, Label1);
    edAudioIn = labelled_edit("Label2", "导入音频", "edAudioIn", 140, Label2);
    edVideoOut = labelled_edit("Label3", "输出视频", "edVideoOut", 164, Label3);
    edAudioOut = labelled_edit("Label4", "输出音频", "edAudioOut", 188, Label4);
    auto button = [this](const char* name, const char* caption, int left, int top) {
        auto* b = Place<TButton>(this, GroupBox1, name, left, top, 60, 21);
        b->SetCaption(caption);
        return b;
    };
    btnBrowseVideoIn = button("btnBrowseVideoIn", "打开", 380, 116);
    btnBrowseAudioIn = button("btnBrowseAudioIn", "打开", 380, 140);
    btnBrowseVideoOut = button("btnBrowseVideoOut", "输出", 380, 164);
    btnBrowseAudioOut = button("btnBrowseAudioOut", "输出", 380, 188);
    chkKeepDuration = Place<TkivCheckBox>(this, GroupBox1, "chkKeepDuration", 8, 216, 200, 20);
    chkKeepDuration->SetCaption("Keep original duration");
    chkKeepDuration->SetChecked(true);
    btnStart = button("btnStart", "Start", 300, 216);
    btnStop = button("btnStop", "Stop", 380, 216);
    lstProgress = Place<TListBox>(this, GroupBox1, "lstProgress", 8, 244, 480, 148);

    btnBrowseVideoIn->OnClick = [this](TObject* Sender) { btnBrowseVideoInClick(Sender); };
    btnBrowseAudioIn->OnClick = [this](TObject* Sender) { btnBrowseAudioInClick(Sender); };
    btnBrowseVideoOut->OnClick = [this](TObject* Sender) { btnBrowseVideoOutClick(Sender); };
    btnBrowseAudioOut->OnClick = [this](TObject* Sender) { btnBrowseAudioOutClick(Sender); };
    btnStart->OnClick = [this](TObject* Sender) { btnStartClick(Sender); };
    btnStop->OnClick = [this](TObject* Sender) { btnStopClick(Sender); };

    OpenDialog1 = new TOpenDialog(this);
    OpenDialog1->SetName("OpenDialog1");
    OpenDialog2 = new TOpenDialog(this);
    OpenDialog2->SetName("OpenDialog2");
    OpenDialog2->SetOptions(OpenDialog2->Options() | ofAllowMultiSelect);
}

// --- the hand-over ------------------------------------------------------------------

void TfrmMain::SetProject(const production::AlbumProject& project)
{
    project_ = project;
    producer_.reset();
    run_result_.reset();
    stopped_by_user_ = false;
    job_active_ = false;
    setup_error_.clear();
    output_.reset();
    failure_.reset();
    left_behind_.reset();
    slot_photos_.clear();
    output_kept_ = false;
    frames_written_ = 0;
}

production::CompletionOutcome TfrmMain::Outcome() const
{
    return production::DecideCompletion(JobEndSoFar());
}

production::JobEnd TfrmMain::JobEndSoFar() const
{
    production::JobEnd end;
    end.stoppedByUser = stopped_by_user_;
    end.producerFinished = producer_ && producer_->Finished();
    end.encoderErrorCode = run_result_ ? run_result_->error : 0;
    end.errorLogged = log_.HasError();
    end.errorText = log_.LastError();
    end.framesWritten = frames_written_;
    end.outputKept = output_kept_;
    if (failure_) end.failureText = production::FailureText(*failure_);
    if (left_behind_) {
        if (!end.failureText.empty()) end.failureText += " ";
        end.failureText += production::FailureText(*left_behind_);
    }
    return end;
}

void TfrmMain::SettleOutput()
{
    if (!output_) return;
    output_kept_ = false;
    std::optional<production::Failure> failure;
    if (production::KeepsOutput(JobEndSoFar())) {
        failure = output_->Keep();
        output_kept_ = !failure;
    } else {
        output_->Discard();
    }
    if (failure) FailJob(*failure);
    // Told after why the file wasn't kept.
    if (output_->LeftBehind()) {
        left_behind_ = output_->LeftBehind();
        LogError(production::FailureText(*left_behind_));
    }
    output_.reset();
}

void TfrmMain::FailJob(const production::Failure& failure)
{
    if (failure_) return;
    failure_ = failure;
    LogError(production::FailureText(failure));
    if (producer_) producer_->Cancel();
    if (Converting()) AbortEncoder();
}

void TfrmMain::NotePicture(const fs::path& file, bool read)
{
    if (read) return;
    const auto slot = slot_photos_.find(file);
    if (slot != slot_photos_.end())
        FailJob(production::Failure(production::FailureKind::PhotoUnreadable, PhotoName(slot->second)));
}

std::string TfrmMain::PhotoName(int photo) const
{
    const auto index = static_cast<std::size_t>(photo - 1);
    if (photo >= 1 && index < project_.Photos.size() && !project_.Photos[index].empty())
        return project_.Photos[index];
    return PhotoFile(photo);
}

production::InputRole TfrmMain::RoleOf(const std::string& input) const
{
    if (input.empty()) return production::InputRole::Other;
    if (!project_.OpeningFile.empty() && input == project_.OpeningFile) return production::InputRole::Opening;
    for (const production::AlbumMusicRow& song : project_.Music)
        if (song.path == input) return production::InputRole::Song;
    return production::InputRole::Other;
}

std::string TfrmMain::FrameFile() const { return project_.WorkDir + "zhzp/lswj.bmp"; }

// --- form and timers -------------------------------------------------------------------

void TfrmMain::FormShow(TObject*)
{
    SetBounds(Left(), Top(), kClientWidth + 16, kClientHeight + 20);
    EnableJobControls(true);
}

void TfrmMain::FormCloseQuery(TObject*, bool& CanClose)
{
    StopJob();
    CanClose = true;
}

void TfrmMain::Timer1Timer(TObject*)
{
    kivProgressBar2->SetPosition(kivProgressBar2->Position() + 1);
    if (kivProgressBar2->Position() >= 100) kivProgressBar2->SetPosition(0);
}

void TfrmMain::Timer2Timer(TObject*)
{
    // A new job: nothing of the last one's state or lists is left.
    Timer2->SetEnabled(false);
    producer_.reset();
    foreseen_.clear();
    photos_ahead_.Clear();
    run_result_.reset();
    stopped_by_user_ = false;
    setup_error_.clear();
    job_active_ = true;
    output_.reset();
    failure_.reset();
    left_behind_.reset();
    output_kept_ = false;
    frames_written_ = 0;
    edit3->SetText("-1");
    // The stop stays usable from the first moment: a stop before the
    // conversion ends the job without a file.
    kivButton1->SetEnabled(true);
    ListBox1->Clear();
    ListBox2->Clear();
    audio_names_.clear();
    audio_seconds_.clear();
    ClearProgressLog();

    // The picture quality gives the template movie's size.
    if (Form17) {
        if (auto size = production::PictureSizeForQuality(Form17->Edit1->Text())) {
            ShockwaveFlash1->SetBounds(ShockwaveFlash1->Left(), ShockwaveFlash1->Top(), size->width,
                                       size->height);
            ShockwaveFlash1->Hide();
            ShockwaveFlash1->Show();
        }
    }

    // The slots hold photos 1 to N from the hand-over, in turn over the
    // photo list.
    slot_photos_.clear();
    const int photos = static_cast<int>(project_.Photos.size());
    for (int slot = 1; photos > 0 && slot <= project_.SlotsPerFill; ++slot)
        slot_photos_[SlotFile(slot)] = (slot - 1) % photos + 1;

    // The template movie, by the two-copy rule; stopped, the producer steps it.
    LoadMovieCopy(*ShockwaveFlash1, project_.ProduceTemplateMovie, "zhzp", "zhzp");

    // The lyric style, as the main window's preview showed it.
    for (const auto& [name, value] : LyricStyleVariables(project_.LrcStyle))
        ShockwaveFlash1->SetVariable(name, value);
    ShockwaveFlash1->SetVariable("LRC_geci", "");

    // The ending movie, at the job's picture size so that it isn't
    // scaled up from the small stage by the encoder.
    int endingFrames = 0;
    if (!project_.EndingFile.empty()) {
        ShockwaveFlash2->SetBounds(ShockwaveFlash2->Left(), ShockwaveFlash2->Top(), ShockwaveFlash1->Width(),
                                   ShockwaveFlash1->Height());
        LoadMovieCopy(*ShockwaveFlash2, project_.ProduceEndingMovie, "pwwjj", "pwwj");
        endingFrames = ShockwaveFlash2->TotalFrames();
    }

    // The movies are only ever painted into the frame bitmap, also from the
    // render-ahead thread: the window itself never paints them.
    ShockwaveFlash1->SetVisible(false);
    ShockwaveFlash2->SetVisible(false);

    const int templateFrames = ShockwaveFlash1->TotalFrames();
    if (templateFrames <= 0) {
        FailSetUp("模板文件无法读取: " + ShockwaveFlash1->LoadError());
        return;
    }
    // Only regular files are songs: the encoder would read a pipe or a
    // device under a song's name for ever, before the stop could work.
    std::vector<std::string> songs;
    for (const production::AlbumMusicRow& row : project_.Music) songs.push_back(row.path);
    if (const std::string problem = production::SongFilesProblem(songs); !problem.empty()) {
        FailSetUp(problem);
        return;
    }

    // The first song's lyrics, and the photo cursor past the photos that
    // the hand-over put into the slots.
    project_.LrcSongIndex = 0;
    job_ = production::JobFromProject(project_, templateFrames, endingFrames);
    producer_ =
        std::make_unique<production::FrameProducer>(job_, static_cast<production::FrameProducerHost&>(*this));
    producer_->JobSetup();

    // The lists and the conversion follow from their own timer, so that
    // the form is drawn and the stop can be pressed meanwhile.
    Timer3->SetEnabled(true);
}

void TfrmMain::FailSetUp(const std::string& error)
{
    setup_error_ = error;
    log_.LogError(setup_error_);
    lstProgress->Items().Add(setup_error_);
    job_active_ = false;
    Close();
}

void TfrmMain::Timer3Timer(TObject*)
{
    Timer3->SetEnabled(false);
    if (!producer_) return;

    // A slot's photo that couldn't be read at the set-up ends the job here.
    if (failure_) {
        FinishJob();
        return;
    }

    // The video file goes under a temporary name until the job has
    // ended well; a name the file system refuses ends the job here.
    output_.emplace(edVideoOut->Text());
    if (std::optional<production::Failure> failure = output_->Create()) {
        output_.reset();
        FailJob(*failure);
        FinishJob();
        return;
    }

    // The template's first frame is in the frame file before the encoder
    // opens it.
    ShockwaveFlash1->SetFrameNum(0);
    PaintFlashToFile(*ShockwaveFlash1, FrameFile());

    // The input lists; a stop meanwhile cancels the job here.
    const production::InputLists lists = production::BuildInputLists(job_, FrameFile());
    audio_names_ = lists.audio;
    audio_seconds_ = lists.audioSeconds;
    for (const std::string& name : lists.video) {
        if (stopped_by_user_) break;
        ListBox1->Items().Add(name);
        Pump();
    }
    for (const std::string& name : lists.audio) {
        if (stopped_by_user_) break;
        ListBox2->Items().Add(name);
        Pump();
    }

    // The conversion; it returns when the encoder has finished.
    if (!stopped_by_user_) btnStartClick(this);
    FinishJob();
}

void TfrmMain::FinishJob()
{
    // The frame file goes only now: the encoder reads it until the convert
    // call returns.
    JoinRender();
    stepped_ahead_ = frame_pending_ = abort_pending_ = false;
    job_active_ = false;
    foreseen_.clear();
    photos_ahead_.Clear();
    DeleteFrameFile();
    SettleOutput();
    // The next job loads its movies again and paints at its own size:
    // nothing of this job's pictures stays with the form.
    ShockwaveFlash1->Player().Unload();
    ShockwaveFlash2->Player().Unload();
    frame_bitmap_ = TBitmap();
    ahead_[0] = TBitmap();
    ahead_[1] = TBitmap();
    // A job frees hundreds of megabytes of pictures and encoder buffers;
    // kept resident they would add to the next job's peak.
    core::ReleaseFreeMemory();
    project_.LrcSongIndex = static_cast<int>(producer_->LrcSongIndex());
    // However the conversion ended, the form closes: the outcome tells.
    Timer1->SetEnabled(false);
    Close();
}

// --- stopping ------------------------------------------------------------------------------

void TfrmMain::kivButton1Click(TObject*)
{
    StopJob();
    Close();
}

void TfrmMain::StopJob()
{
    // A stop before the job's end is the user's, also before the lists are
    // built or the conversion has begun.
    const bool pending = job_active_ || Timer2->Enabled() || Timer3->Enabled();
    if (pending && !(producer_ && producer_->Finished())) {
        stopped_by_user_ = true;
        if (producer_) producer_->Cancel();
    }
    // Stopped before the start: the job ends here, not after a conversion.
    if (Timer3->Enabled()) job_active_ = false;
    Timer1->SetEnabled(false);
    Timer2->SetEnabled(false);
    Timer3->SetEnabled(false);
    ShockwaveFlash1->Stop();
    ShockwaveFlash2->Stop();
    if (stepping_ahead_) {
        // The picture of the step being taken is still handed over, as it
        // would be when the stop came inside that step's own call.
        abort_pending_ = true;
    } else if (Converting()) {
        AbortConversion();
    } else if (!job_active_) {
        DeleteFrameFile();
    }
}

void TfrmMain::DeleteFrameFile()
{
    if (project_.WorkDir.empty()) return;
    frame_writer_.Close();
    std::error_code ec;
    fs::remove(FrameFile(), ec);
}

// --- the photo slots --------------------------------------------------------------------------

void TfrmMain::ShockwaveFlash1FSCommand(TObject*, const std::string& command, const std::string&)
{
    if (producer_) producer_->PhotoSlotRequest(command);
}

std::string TfrmMain::PhotoFile(int photo) const
{
    return project_.WorkDir + "zpyjj/zpyjj" + std::to_string(photo) + ".jpg";
}

std::string TfrmMain::SlotFile(int slot) const
{
    return project_.WorkDir + "zhzp/tupian" + std::to_string(slot) + ".jpg";
}

bool TfrmMain::PhotoExists(int photo)
{
    // The photo list says which photos there are; one of them missing from
    // the work folder is an error, not the list's end.
    if (!project_.Photos.empty()) return photo >= 1 && photo <= static_cast<int>(project_.Photos.size());
    std::error_code ec;
    return fs::exists(PhotoFile(photo), ec);
}

void TfrmMain::CopyPhotoToSlot(int photo, int slot)
{
    std::error_code ec;
    fs::copy_file(PhotoFile(photo), SlotFile(slot), fs::copy_options::overwrite_existing, ec);
    if (!ec) {
        slot_photos_[SlotFile(slot)] = photo;
        photos_ahead_.NoteCopy(PhotoFile(photo), SlotFile(slot));
    } else if (!project_.Photos.empty()) {
        FailJob(production::Failure(production::FailureKind::PhotoUnreadable, PhotoName(photo)));
    }
    Pump();
}

void TfrmMain::ForeseePhotos(const std::vector<int>& photos)
{
    if (!photos_ahead_on_) return;
    foreseen_ = photos;
    // Held ahead at most: a fill of the shipped templates.
    if (foreseen_.size() > kPhotosAhead) foreseen_.resize(kPhotosAhead);
}

void TfrmMain::GuessPhotos()
{
    if (foreseen_.empty()) return;
    const flash::Movie* movie = ShockwaveFlash1->Player().GetMovie();
    if (!movie) return;
    std::vector<fs::path> files;
    for (int photo : foreseen_) files.emplace_back(PhotoFile(photo));
    foreseen_.clear();
    photos_ahead_.Guess(files, flash::PictureCoverFor(*movie));
}

void TfrmMain::DeleteSlotPictures()
{
    photos_ahead_.ForgetCopies();
    slot_photos_.clear();
    std::error_code ec;
    std::vector<fs::path> pictures;
    for (fs::directory_iterator it(project_.WorkDir + "zhzp", ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().extension() == ".jpg") pictures.push_back(it->path());
    }
    for (const fs::path& picture : pictures) {
        fs::remove(picture, ec);
        Pump();
    }
}

// --- the frame producer's movies ---------------------------------------------------------------

void TfrmMain::LoadMovieCopy(TShockwaveFlash& movie, int& copy, const char* folder, const char* stem)
{
    copy = production::NextMovieCopy(copy);
    movie.SetMovie(project_.WorkDir + folder + "/" + stem + std::to_string(copy) + ".swf");
    movie.Stop();
}

void TfrmMain::JoinRender() { render_.Wait(); }

void TfrmMain::ProduceFrame(TShockwaveFlash& movie)
{
    if (!stepping_ahead_) {
        PaintFlashToFile(movie, FrameFile());
        return;
    }
    TBitmap* target = &ahead_[ahead_index_];
    if (target->Width() != movie.Width() || target->Height() != movie.Height())
        target->SetSize(movie.Width(), movie.Height());
    flash::Player* player = &movie.Player();
    frame_pending_ = true;
    if (!player->Loaded()) {
        target->Fill(clBlack);
        return;
    }
    // Nothing changes the movie until JoinRender: every step, paint and
    // reload of the movies waits for it first.
    render_.Start([player, target] { player->Render(*target, target->BoundsRect()); });
    Pump();
}

void TfrmMain::PaintFlashToFile(TShockwaveFlash& movie, const std::string& file)
{
    JoinRender();
    if (frame_bitmap_.Width() != movie.Width() || frame_bitmap_.Height() != movie.Height())
        frame_bitmap_.SetSize(movie.Width(), movie.Height());
    // The movie's own painting straight into the reused bitmap: what
    // PaintTo gives, without a fresh bitmap and two copies a frame.
    if (movie.Player().Loaded()) {
        movie.Player().Render(frame_bitmap_, frame_bitmap_.BoundsRect());
    } else {
        frame_bitmap_.Fill(clBlack);
    }
    Pump();
    // A failed write leaves the previous picture for the encoder; a file it
    // can't read reaches the log as its error.
    frame_writer_.Write(frame_bitmap_, file);
}

void TfrmMain::SetTemplateFrame(int frame)
{
    JoinRender();
    ShockwaveFlash1->SetFrameNum(frame);
    // After the frame's load point, so that the set decoded ahead never
    // lies beside two sets of the movie.
    GuessPhotos();
}

void TfrmMain::PaintTemplateFrame()
{
    kivProgressBar1->SetPosition(static_cast<int>(producer_->Position()));
    ProduceFrame(*ShockwaveFlash1);
}

void TfrmMain::SetLyricLine(const std::string& text)
{
    JoinRender();
    ShockwaveFlash1->SetVariable("LRC_geci", text);
}

void TfrmMain::MirrorLyricState()
{
    // The lyric time and the song's frame counter in the hidden edits.
    if (LRC_text->Text() != producer_->LrcText()) LRC_text->SetText(producer_->LrcText());
    edit3->SetText(std::to_string(producer_->SongLyricFrame()));
}

void TfrmMain::SetEndingFrame(int frame)
{
    JoinRender();
    ShockwaveFlash2->SetFrameNum(frame);
}

void TfrmMain::PaintEndingFrame()
{
    kivProgressBar1->SetPosition(static_cast<int>(producer_->Position()));
    ProduceFrame(*ShockwaveFlash2);
}

void TfrmMain::SaveEndingTitlePicture()
{
    JoinRender();
    // The template's last frame shown, beside the ending movie.
    TBitmap picture(ShockwaveFlash1->Width(), ShockwaveFlash1->Height());
    ShockwaveFlash1->PaintTo(picture, 0, 0);
    Pump();
    try {
        gfx::SaveBmp(picture, project_.WorkDir + "pwwjj/pwtp.bmp");
        gfx::SaveJpeg(picture, project_.WorkDir + "pwwjj/pwtp.jpg", kJpegQuality);
    } catch (const std::exception&) {
        // Nothing of production reads these two files again.
    }
}

void TfrmMain::ReloadEndingMovie()
{
    if (project_.EndingFile.empty()) return;
    JoinRender();
    LoadMovieCopy(*ShockwaveFlash2, project_.ProduceEndingMovie, "pwwjj", "pwwj");
}

production::LyricIndex TfrmMain::LoadLrcLyrics(std::size_t song)
{
    project_.LrcSongIndex = static_cast<int>(song);
    return project_.LoadLyrics ? project_.LoadLyrics(song) : production::LyricIndex{};
}

void TfrmMain::AbortEncoder()
{
    // The end found while stepping ahead: the encoder stops once the last
    // picture is handed over.
    if (stepping_ahead_) {
        abort_pending_ = true;
    } else {
        AbortConversion();
    }
}

// --- the conversion run ------------------------------------------------------------------------

void TfrmMain::btnStartClick(TObject*) { RunConversion(); }

void TfrmMain::btnStopClick(TObject*) { AbortConversion(); }

void TfrmMain::EnableJobControls(bool enabled)
{
    for (TControl* control : std::initializer_list<TControl*>{
             edVideoIn, edAudioIn, edVideoOut, edAudioOut, btnBrowseVideoIn, btnBrowseAudioIn,
             btnBrowseVideoOut, btnBrowseAudioOut, btnStart, chkKeepDuration})
        control->SetEnabled(enabled);
    btnStop->SetEnabled(!enabled);
}

void TfrmMain::RunConversion()
{
    EnableJobControls(false);
    ClearProgressLog();
    production::EncoderJob job;
    job.videoNames = ListBox1->Items().Items();
    job.audioNames = ListBox2->Items().Items();
    job.firstSong = project_.OpeningFile.empty() ? 0 : 1;
    // The songs' lengths go with the names the set-up listed.
    for (std::size_t i = 0; i < job.audioNames.size(); ++i)
        job.audioSeconds.push_back(
            i < audio_names_.size() && audio_names_[i] == job.audioNames[i] ? audio_seconds_[i] : 0.0);
    // The job's video file is written under its temporary name.
    job.videoOut = output_ ? output_->WritePath() : edVideoOut->Text();
    job.audioOut = output_ ? output_->WritePath() : edAudioOut->Text();
    job.outputFormat = project_.OutputFormat;
    job.tvSystem = project_.TvSystem;
    job.keepDuration = chkKeepDuration->Checked();
    Screen().SetCursor(crHourGlass);
    try {
        run_result_ = session_.Run(job);
    } catch (...) {
        Screen().SetCursor(crDefault);
        EnableJobControls(true);
        throw;
    }
    Screen().SetCursor(crDefault);
    EnableJobControls(true);
    const production::EncoderError& error = run_result_->failure;
    if (auto failure = production::EncoderFailure(error.code, error.systemCode, error.file,
                                                  RoleOf(error.file), error.text, edVideoOut->Text());
        failure && !failure_) {
        failure_ = failure;
    }
}

void TfrmMain::InputError(const production::EncoderError& error)
{
    if (failure_) return;
    failure_ = production::EncoderFailure(error.code, error.systemCode, error.file, RoleOf(error.file),
                                          error.text, edVideoOut->Text());
}

void TfrmMain::AbortConversion() { session_.Abort(); }

bool TfrmMain::CanStepAhead() const
{
    using Stage = production::FrameProducer::Stage;
    const Stage stage = producer_->CurrentStage();
    return render_ahead_ && !producer_->Cancelled() && !abort_pending_ && Converting() &&
           (stage == Stage::Template || stage == Stage::Ending);
}

void TfrmMain::VideoFrame(int64_t, int32_t entry)
{
    kivButton1->SetEnabled(true);
    if (!producer_) return;
    // With an opening title the template stage begins with the first
    // frame-file entry, exactly where the encoder leaves the opening.
    if (!project_.OpeningFile.empty() && entry >= 1) producer_->BeginTemplateStage();
    const TBitmap* ready = nullptr;  // this call's picture, rendered ahead
    if (stepped_ahead_) {
        // This call's step was taken by the last call.
        stepped_ahead_ = false;
        JoinRender();
        if (frame_pending_) {
            frame_pending_ = false;
            ready = &ahead_[ahead_index_];
            ahead_index_ = 1 - ahead_index_;
        }
        if (abort_pending_) {
            abort_pending_ = false;
            if (ready) frame_writer_.Write(*ready, FrameFile());
            AbortConversion();
            return;
        }
    } else {
        producer_->VideoFrameProc();
        MirrorLyricState();
    }
    // The next call's step now, so that its picture renders (into the other
    // bitmap) while this one is written and the encoder takes it.
    if (CanStepAhead()) {
        stepping_ahead_ = true;
        producer_->VideoFrameProc();
        stepping_ahead_ = false;
        MirrorLyricState();
        stepped_ahead_ = true;
    }
    if (ready) frame_writer_.Write(*ready, FrameFile());
}

void TfrmMain::Progress(int code, int64_t frame, int64_t)
{
    if (code == MCL_PROGRESS_FRAME) frames_written_ = frame;
    // The lists are handed over; the conversion itself begins.
    if (code == 1) Screen().SetCursor(crDefault);
}

void TfrmMain::Log(const std::string& line) { LogProgress(line); }

void TfrmMain::LogError(const std::string& line)
{
    log_.LogError(line);
    if (lstProgress->Count() >= static_cast<int>(production::ProgressLog::kMaxLines))
        lstProgress->Items().Delete(0);
    lstProgress->Items().Add(line);
    lstProgress->SetTopIndex(lstProgress->Count() - 1);
    Pump();
}

void TfrmMain::PumpMessages() { Pump(); }

void TfrmMain::Pump()
{
    App().ProcessMessages();
    // A close of the modal form (its close button, the window manager) only
    // sets its modal result, which the modal loop reads when the convert
    // call has returned: asked for while the job runs, it stops the job
    // here, as "停止制作" would.
    if (ModalResult() != mrNone && job_active_ && !stopped_by_user_ && !(producer_ && producer_->Finished()))
        StopJob();
}

void TfrmMain::LogProgress(const std::string& line)
{
    log_.LogProgress(line);
    if (lstProgress->Count() >= static_cast<int>(production::ProgressLog::kMaxLines))
        lstProgress->Items().Delete(0);
    lstProgress->Items().Add(line);
    lstProgress->SetTopIndex(lstProgress->Count() - 1);
    Pump();
}

void TfrmMain::ClearProgressLog()
{
    // The set-up's own error stays for the outcome.
    if (!setup_error_.empty()) return;
    log_.ClearProgressLog();
    lstProgress->Clear();
}

// --- the hidden panel's test controls ------------------------------------------------------------

void TfrmMain::btnBrowseVideoInClick(TObject*)
{
    if (OpenDialog1->Execute()) ListBox1->Items().AddStrings(OpenDialog1->Files());
}

void TfrmMain::btnBrowseAudioInClick(TObject*)
{
    if (OpenDialog2->Execute()) ListBox2->Items().AddStrings(OpenDialog2->Files());
}

void TfrmMain::btnBrowseVideoOutClick(TObject*) { edVideoOut->SetText(BrowseSaveFile(edVideoOut->Text())); }

void TfrmMain::btnBrowseAudioOutClick(TObject*) { edAudioOut->SetText(BrowseSaveFile(edAudioOut->Text())); }

std::string TfrmMain::BrowseSaveFile(const std::string& path)
{
    TSaveDialog dialog;
    dialog.SetTitle("Save");
    dialog.SetFilter("*.*");
    dialog.SetDefaultExt("");
    dialog.SetFileName("");
    const std::string folder = fs::path(path).parent_path().string();
    dialog.SetInitialDir(folder.empty() ? "/" : folder);
    dialog.SetOptions(ofOverwritePrompt | ofHideReadOnly | ofNoChangeDir | ofPathMustExist);
    return dialog.Execute() ? dialog.FileName() : path;
}
