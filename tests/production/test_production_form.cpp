// The production form on the headless back end with a virtual clock, run
// by the main window's hand-over, producing with the real libmcl.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <csignal>
#include <functional>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "mcl/mcl.h"
#include "platform/core/application.h"
#include "platform/core/timer.h"
#include "platform/flash/movie_file.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/image_io.h"
#include "platform/ui/button.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/edit.h"
#include "platform/ui/listbox.h"
#include "production/album_job.h"
#include "production/frame_file.h"
#include "production/completion_form.h"
#include "production/quality_form.h"
#include "production/tv_system_form.h"
#include "production/production_form.h"
#include "production/hand_over.h"
#include "production/input_lists.h"
#include "production/pending_output.h"
#include "skin/kiv_button.h"
#include "skin/kiv_progress_bar.h"
#include "skin/kiv_radio_button.h"
#include "tests/mcl/media_support.h"
#include "tests/production/hostile_files.h"

namespace {

namespace fs = std::filesystem;

void WriteMovie(const fs::path& path, const flash::Movie& movie)
{
    const std::vector<std::uint8_t> bytes = flash::WriteMovie(movie);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// A template: the first slot's photo under a bar that moves one step a
// frame, the lyric line on top, and a request for one photo at `requestAt`,
// read at once when `loads`.
flash::Movie TemplateMovie(std::uint32_t frames, std::uint32_t requestAt, bool loads = false)
{
    flash::Movie movie;
    movie.frame_count = frames;
    flash::Layer photo;
    photo.kind = flash::LayerKind::Image;
    photo.image_source = flash::ImageSource::File;
    photo.file = "tupian1.jpg";
    photo.width = 352;
    photo.height = 288;
    movie.layers.push_back(photo);
    flash::Layer bar;
    bar.kind = flash::LayerKind::Rect;
    bar.color = 0xFF20C0FF;
    bar.width = 24;
    bar.height = 288;
    bar.track(flash::Property::X).keys = {{0, 0}, {frames > 1 ? frames - 1 : 1, 328}};
    movie.layers.push_back(bar);
    flash::Layer lyric;
    lyric.kind = flash::LayerKind::Text;
    lyric.text_source = flash::TextSource::Variable;
    lyric.text = "LRC_geci";
    lyric.width = 352;
    lyric.height = 30;
    lyric.style = flash::kTextLyric;
    movie.layers.push_back(lyric);
    movie.actions.push_back({requestAt, flash::ActionKind::FSCommand, "tupian=1", "", 0});
    if (loads) movie.actions.push_back({requestAt, flash::ActionKind::LoadPoint, "", "", 0});
    return movie;
}

flash::Movie EndingMovie(std::uint32_t frames)
{
    flash::Movie movie;
    movie.frame_count = frames;
    movie.background = 0xFF402010;
    return movie;
}

class ProductionForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        work = dir.path() / "work";
        for (const char* sub : {"zpyjj", "zhzp", "pwwjj"}) fs::create_directories(work / sub);
        const TColor colours[] = {clRed, clGreen, clBlue};
        for (int k = 1; k <= 3; ++k)
            gfx::SaveJpeg(TBitmap(64, 48, colours[k - 1]),
                          work / "zpyjj" / ("zpyjj" + std::to_string(k) + ".jpg"));
        SetTemplate(76, 30);
        SetEnding(6);
        Form17 = CreateForm<TForm17>();
        frmMain = CreateForm<TfrmMain>();
        project.WorkDir = work.string() + "/";
        project.OutputFormat = "AVI";
        project.SlotsPerFill = 1;
        output = (dir / "album.avi").string();
    }

    void SetTemplate(std::uint32_t frames, std::uint32_t requestAt, bool loads = false)
    {
        for (const char* copy : {"zhzp1.swf", "zhzp2.swf"})
            WriteMovie(work / "zhzp" / copy, TemplateMovie(frames, requestAt, loads));
    }
    void SetEnding(std::uint32_t frames)
    {
        for (const char* copy : {"pwwj1.swf", "pwwj2.swf"})
            WriteMovie(work / "pwwjj" / copy, EndingMovie(frames));
    }

    // The main window's hand-over, with a frame target above every job's.
    void Produce() { production::RunProductionForm({output, 1000, project}); }

    // Frames of the output as the media player measures it.
    double ProbedFrames() const { return MclProbeDuration(output.c_str()) / 0.04; }

    core::TestApplication app_;
    mcltest::TempDir dir;
    fs::path work;
    production::AlbumProject project;
    std::string output;
};

// Files of a folder left by a job under its temporary name.
std::vector<std::string> PartFiles(const fs::path& folder)
{
    std::vector<std::string> parts;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().extension() == ".part") parts.push_back(it->path().filename().string());
    return parts;
}

bool SaysNoFile(const production::CompletionOutcome& outcome)
{
    return outcome.text.find("没有生成视频文件") != std::string::npos;
}

// The text holds no English: nothing but the names given has a Latin letter.
bool OnlyChineseBesides(std::string text, std::vector<std::string> names)
{
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    for (const std::string& name : names)
        for (std::size_t at; !name.empty() && (at = text.find(name)) != std::string::npos;)
            text.erase(at, name.size());
    return std::none_of(text.begin(), text.end(),
                        [](char c) { return std::isalpha(static_cast<unsigned char>(c)); });
}

bool Holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(ProductionForm, EachFormatProducesTheJobsFramesAndCompletes)
{
    // One pass of a 76-frame template: 75 frames, 3 s.
    for (const char* format : {"AVI", "VCD", "SVCD", "DVD", "MP4"}) {
        SCOPED_TRACE(format);
        project.OutputFormat = format;
        output = (dir / (std::string("album-") + format + ".out")).string();
        Produce();
        EXPECT_FALSE(frmMain->Visible());
        const production::CompletionOutcome outcome = frmMain->Outcome();
        EXPECT_TRUE(outcome.ShowsCompletionForm()) << outcome.text;
        EXPECT_EQ(outcome.caption, "制作完成");
        EXPECT_EQ(frmMain->Producer()->Position(), 75);
        EXPECT_NEAR(ProbedFrames(), 75.0, 1.0);
        EXPECT_FALSE(fs::exists(frmMain->FrameFile())) << "the frame file goes after the convert call";
        EXPECT_FALSE(frmMain->Timer1->Enabled());
        EXPECT_TRUE(frmMain->kivButton1->Enabled());
        // Nothing of the job's pictures stays with the form.
        EXPECT_FALSE(frmMain->ShockwaveFlash1->Player().Loaded());
        EXPECT_FALSE(frmMain->ShockwaveFlash2->Player().Loaded());
    }
    // Five jobs: each took the other copy of the template movie.
    EXPECT_EQ(frmMain->Project().ProduceTemplateMovie, 2);
    EXPECT_EQ(frmMain->Log().Lines().front(),
              "Total frames:  " + std::to_string(75 + production::kVideoListMargin));
}

TEST_F(ProductionForm, RestartsAndEndingAtTheJobsPictureSize)
{
    // Photo sync over a 10-frame template with an ending of 6 frames, at
    // the middle quality.
    SetTemplate(10, 3);
    project.SyncMode = "yinyuesuizhaopian";
    project.PhotoFrames = 25;
    project.EndingFile = "ending";
    Form17->kivRadioButton2->SetChecked(true);
    Produce();

    const production::ProductionJob job = production::JobFromProject(project, 10, 6);
    EXPECT_TRUE(frmMain->Outcome().ShowsCompletionForm()) << frmMain->Outcome().text;
    EXPECT_EQ(frmMain->Producer()->Position(), 25 + 5);
    EXPECT_EQ(frmMain->ListBox1->Count(), production::FrameFileEntries(job));
    // 25 rendered, 2 restarts of 5 holds, 5 holds and 5 frames of the ending.
    EXPECT_EQ(production::ProducerCallCount(job), 25 + 10 + 5 + 5);
    EXPECT_NEAR(ProbedFrames(), 45.0, 1.0);
    EXPECT_EQ(frmMain->ShockwaveFlash1->Width(), 704);
    EXPECT_EQ(frmMain->ShockwaveFlash2->Width(), 704) << "the ending is rendered at the job's size";
    const mcltest::StreamFacts facts = mcltest::ReadBack(output);
    EXPECT_EQ(facts.width, 704);
    EXPECT_EQ(facts.height, 576);
    // The template's last frame, beside the ending movie.
    EXPECT_TRUE(fs::exists(work / "pwwjj" / "pwtp.jpg"));
    EXPECT_EQ(gfx::LoadImage(work / "pwwjj" / "pwtp.jpg").Width(), 704);
    EXPECT_EQ(frmMain->Project().ProduceEndingMovie, 1) << "loaded by the set-up, reloaded for the ending";
    // The slot request at frame 3 of each pass, and the pre-copy at frame 5.
    EXPECT_TRUE(fs::exists(work / "zhzp" / "tupian1.jpg"));
    EXPECT_GT(frmMain->Producer()->ProducePhotoCursor(), 1);
}

TEST_F(ProductionForm, RenderingAheadGivesTheSameFramesAsRenderingInTurn)
{
    // Restarts with their holds, slot requests, lyrics and an ending.
    SetTemplate(12, 4);
    project.SyncMode = "yinyuesuizhaopian";
    project.PhotoFrames = 40;
    project.EndingFile = "ending";
    mcltest::MakeTone(dir / "one.wav", 1.0);
    mcltest::MakeTone(dir / "two.wav", 2.0);
    project.Music = {{(dir / "one.wav").string(), "00:01", 1.0}, {(dir / "two.wav").string(), "00:02", 2.0}};
    project.LyricFileCount = 2;
    project.LoadLyrics = [](std::size_t song) {
        return production::LyricIndex{{"00:00", song == 0 ? "AAAA" : "BBBB"}, {"00:01", "CCCC"}};
    };
    std::vector<std::vector<mcltest::Rgb>> runs;
    for (bool ahead : {false, true}) {
        SCOPED_TRACE(ahead);
        fs::remove(work / "zhzp" / "tupian1.jpg");
        frmMain->SetRenderAhead(ahead);
        output = (dir / (ahead ? "ahead.avi" : "in-turn.avi")).string();
        Produce();
        EXPECT_TRUE(frmMain->Outcome().ShowsCompletionForm()) << frmMain->Outcome().text;
        runs.push_back(mcltest::ReadBack(output, true).frameColours);
    }
    ASSERT_EQ(runs[0].size(), runs[1].size());
    const production::ProductionJob job = production::JobFromProject(project, 12, 6);
    EXPECT_EQ(static_cast<int64_t>(runs[0].size()), production::ProducerCallCount(job));
    for (std::size_t i = 0; i < runs[0].size(); ++i) {
        EXPECT_EQ(runs[0][i].r, runs[1][i].r) << "frame " << i;
        EXPECT_EQ(runs[0][i].g, runs[1][i].g) << "frame " << i;
        EXPECT_EQ(runs[0][i].b, runs[1][i].b) << "frame " << i;
    }
}

TEST_F(ProductionForm, PhotosDecodedAheadGiveTheSameFramesAsPhotosDecodedAtTheLoadPoint)
{
    // A request read at once in every pass, and the pre-copy for the next
    // pass: the three photos come round in turn.
    SetTemplate(12, 4, true);
    project.SyncMode = "yinyuesuizhaopian";
    project.PhotoFrames = 60;
    std::vector<std::vector<mcltest::Rgb>> runs;
    for (bool ahead : {false, true}) {
        SCOPED_TRACE(ahead);
        fs::copy_file(work / "zpyjj" / "zpyjj1.jpg", work / "zhzp" / "tupian1.jpg",
                      fs::copy_options::overwrite_existing);
        frmMain->SetPhotosAhead(ahead);
        output = (dir / (ahead ? "ahead.avi" : "in-place.avi")).string();
        Produce();
        EXPECT_TRUE(frmMain->Outcome().ShowsCompletionForm()) << frmMain->Outcome().text;
        runs.push_back(mcltest::ReadBack(output, true).frameColours);
    }
    ASSERT_EQ(runs[0].size(), runs[1].size());
    int changes = 0;
    for (std::size_t i = 0; i < runs[0].size(); ++i) {
        EXPECT_EQ(runs[0][i].r, runs[1][i].r) << "frame " << i;
        EXPECT_EQ(runs[0][i].g, runs[1][i].g) << "frame " << i;
        EXPECT_EQ(runs[0][i].b, runs[1][i].b) << "frame " << i;
        if (i > 0 &&
            std::abs(runs[1][i].r - runs[1][i - 1].r) + std::abs(runs[1][i].b - runs[1][i - 1].b) > 60)
            ++changes;
    }
    EXPECT_GE(changes, 4) << "the photo shown changes at the load points";
}

TEST_F(ProductionForm, OpeningTitleLeadsBothListsAndTheOutput)
{
    mcltest::MakeVideo(dir / "opening.avi", 1.0, 25, true);
    project.OpeningFile = (dir / "opening.avi").string();
    project.OpeningFrames = 25;
    SetTemplate(26, 20);
    Produce();
    EXPECT_TRUE(frmMain->Outcome().ShowsCompletionForm()) << frmMain->Outcome().text;
    EXPECT_EQ(frmMain->ListBox1->Items()[0], project.OpeningFile);
    EXPECT_EQ(frmMain->ListBox2->Items()[0], project.OpeningFile);
    EXPECT_EQ(frmMain->Producer()->Position(), 25);
    EXPECT_NEAR(ProbedFrames(), 50.0, 1.0);
}

TEST_F(ProductionForm, LyricsFollowTheSongsAndTheIndexIsTakenBack)
{
    mcltest::MakeTone(dir / "one.wav", 1.0);
    mcltest::MakeTone(dir / "two.wav", 1.0);
    project.SyncMode = "zhaopiansuiyinyue";
    project.MusicSeconds = 2.0;
    project.Music = {{(dir / "one.wav").string(), "00:01", 1.0}, {(dir / "two.wav").string(), "00:01", 1.0}};
    project.LyricFileCount = 2;
    std::vector<std::size_t> loads;
    project.LoadLyrics = [&](std::size_t song) {
        loads.push_back(song);
        return production::LyricIndex{{"00:00.10", song == 0 ? "first" : "second"}};
    };
    Produce();
    EXPECT_TRUE(frmMain->Outcome().ShowsCompletionForm()) << frmMain->Outcome().text;
    EXPECT_EQ(loads, (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(frmMain->Project().LrcSongIndex, 2) << "past the last song";
    EXPECT_EQ(frmMain->ShockwaveFlash1->GetVariable("LRC_geci"), "second");
    // The second song's last frame: its 25th, at 00:01.
    EXPECT_EQ(frmMain->LRC_text->Text(), "00:01");
    EXPECT_EQ(frmMain->edit3->Text(), "24");
    EXPECT_EQ(frmMain->ListBox2->Count(), 2);
    EXPECT_NEAR(ProbedFrames(), 50.0, 1.0);
}

// A song cut short after the music list measured it, or no regular file
// under its name, fails the job with a message that names it; the album is
// never called finished, and the form never hangs on reading the song.
TEST_F(ProductionForm, ASongCutShortOrNoFileFailsTheJobWithItsMessage)
{
    enum class Harm { None, CutInHalf, Fifo, LinkToADevice };
    struct Case {
        const char* name;
        const char* file;
        Harm harm;
        const char* says;  // "": completed
    };
    const Case cases[] = {
        {"whole wav", "song.wav", Harm::None, ""},
        {"wav cut in half", "song.wav", Harm::CutInHalf, "音乐文件已损坏或不完整"},
        {"mp3 without its length cut in half", "song.mp3", Harm::CutInHalf, "音乐文件已损坏或不完整"},
        {"a pipe", "song.mp3", Harm::Fifo, "音乐文件不是普通文件"},
        {"a link to a device", "song.mp3", Harm::LinkToADevice, "音乐文件不是普通文件"},
    };
    project.SyncMode = "zhaopiansuiyinyue";
    project.MusicSeconds = 3.0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path song = dir / c.file;
        fs::remove(song);
        ASSERT_TRUE(
            mcltest::RunFfmpeg("-f lavfi -i sine=frequency=440:sample_rate=44100:duration=3 -ac 2 "
                               "-write_xing 0 \"" +
                               song.string() + "\""));
        // measured whole, as the music list did at the import
        project.Music = {{song.string(), "00:03", MclProbeDuration(song.c_str())}};
        switch (c.harm) {
        case Harm::None: break;
        case Harm::CutInHalf: fs::resize_file(song, fs::file_size(song) / 2); break;
        case Harm::Fifo:
            fs::remove(song);
            ASSERT_EQ(mkfifo(song.c_str(), 0600), 0);
            break;
        case Harm::LinkToADevice:
            fs::remove(song);
            fs::create_symlink("/dev/urandom", song);
            break;
        }
        output = (dir / (std::string(c.name) + ".avi")).string();
        Produce();
        const production::CompletionOutcome outcome = frmMain->Outcome();
        EXPECT_FALSE(frmMain->Visible());
        if (*c.says == '\0') {
            EXPECT_TRUE(outcome.ShowsCompletionForm()) << outcome.text;
            EXPECT_NEAR(ProbedFrames(), 75.0, 1.0);
            continue;
        }
        EXPECT_EQ(outcome.kind, production::CompletionKind::EncoderError);
        EXPECT_NE(outcome.caption, "制作完成");
        EXPECT_NE(outcome.text.find(c.says), std::string::npos) << outcome.text;
        EXPECT_NE(outcome.text.find(song.string()), std::string::npos) << outcome.text;
        EXPECT_FALSE(fs::exists(output));
    }
}

TEST_F(ProductionForm, StopInsideTheFrameCallbackKeepsTheFrameJustRendered)
{
    // The user presses "停止制作" while the movie's slot request at frame 30
    // runs inside the video callback.
    auto serve = frmMain->ShockwaveFlash1->OnFSCommand;
    frmMain->ShockwaveFlash1->OnFSCommand = [&](TObject* sender, const std::string& command,
                                                const std::string& args) {
        serve(sender, command, args);
        if (frmMain->Converting() && frmMain->ShockwaveFlash1->FrameNum() == 30) frmMain->kivButton1->Click();
    };
    Produce();
    const production::CompletionOutcome outcome = frmMain->Outcome();
    EXPECT_EQ(outcome.kind, production::CompletionKind::StoppedByUser);
    EXPECT_FALSE(outcome.ShowsCompletionForm());
    EXPECT_EQ(frmMain->Producer()->Position(), 31);
    EXPECT_NEAR(ProbedFrames(), 31.0, 1.0);
    EXPECT_FALSE(fs::exists(frmMain->FrameFile()));
    EXPECT_FALSE(frmMain->Visible());
}

TEST_F(ProductionForm, ClosingTheFormDuringTheConversionStopsItThere)
{
    // The form's close button (and the window manager's close) only ask the
    // modal form to close; asked for at frame 30, the job stops there as
    // "停止制作" stops it, and does not run on to its end.
    auto serve = frmMain->ShockwaveFlash1->OnFSCommand;
    frmMain->ShockwaveFlash1->OnFSCommand = [&](TObject* sender, const std::string& command,
                                                const std::string& args) {
        serve(sender, command, args);
        if (frmMain->Converting() && frmMain->ShockwaveFlash1->FrameNum() == 30)
            App().PostMessage([&] { frmMain->Close(); });
    };
    Produce();
    const production::CompletionOutcome outcome = frmMain->Outcome();
    EXPECT_EQ(outcome.kind, production::CompletionKind::StoppedByUser) << outcome.text;
    EXPECT_FALSE(outcome.ShowsCompletionForm());
    EXPECT_LT(frmMain->Producer()->Position(), 40);
    EXPECT_TRUE(fs::exists(output));
    EXPECT_LT(ProbedFrames(), 40.0);
    EXPECT_FALSE(frmMain->Visible());
}

TEST_F(ProductionForm, StopWhileTheListsAreBuiltCancelsBeforeTheConversion)
{
    frmMain->ListBox1->Items().OnChange = [&](TObject*) {
        if (frmMain->ListBox1->Count() == 10) frmMain->kivButton1->Click();
    };
    Produce();
    EXPECT_EQ(frmMain->Outcome().kind, production::CompletionKind::StoppedByUser);
    EXPECT_FALSE(frmMain->Converting());
    EXPECT_EQ(frmMain->Producer()->Calls(), 0);
    EXPECT_FALSE(fs::exists(output)) << "nothing was converted";
    EXPECT_TRUE(SaysNoFile(frmMain->Outcome())) << frmMain->Outcome().text;
    EXPECT_TRUE(PartFiles(dir.path()).empty());
    EXPECT_FALSE(fs::exists(frmMain->FrameFile()));
}

TEST_F(ProductionForm, StopBeforeTheStartEndsTheJobAtOnce)
{
    // The user closes the form in the second between the set-up and the start.
    frmMain->Timer3->OnTimer = [&](TObject*) { FAIL() << "the start ran after the stop"; };
    auto setUp = frmMain->Timer2->OnTimer;
    frmMain->Timer2->OnTimer = [&](TObject* sender) {
        setUp(sender);
        EXPECT_TRUE(frmMain->kivButton1->Enabled()) << "the stop can be pressed from the start";
        App().PostMessage([&] { frmMain->kivButton1->Click(); });
    };
    Produce();
    EXPECT_EQ(frmMain->Outcome().kind, production::CompletionKind::StoppedByUser);
    EXPECT_TRUE(SaysNoFile(frmMain->Outcome())) << frmMain->Outcome().text;
    EXPECT_FALSE(frmMain->Visible());
    EXPECT_FALSE(frmMain->Timer3->Enabled());
    EXPECT_FALSE(fs::exists(output));
}

TEST_F(ProductionForm, EncoderErrorsAndABadOutputPathEndWithTheirMessage)
{
    // An opening title that can't be read: the encoder goes on without it
    // and the log holds its error.
    std::ofstream(dir / "opening.mpg") << "not a video";
    project.OpeningFile = (dir / "opening.mpg").string();
    project.OpeningFrames = 25;
    Produce();
    production::CompletionOutcome outcome = frmMain->Outcome();
    EXPECT_EQ(outcome.kind, production::CompletionKind::EncoderError);
    EXPECT_FALSE(outcome.ShowsCompletionForm());
    EXPECT_EQ(outcome.text, "制作失败: 片头视频无法读取: " + project.OpeningFile + ". 没有生成视频文件.");
    EXPECT_FALSE(frmMain->Visible());

    // An output folder that doesn't exist.
    project.OpeningFile.clear();
    output = (dir / "missing" / "album.avi").string();
    Produce();
    outcome = frmMain->Outcome();
    EXPECT_EQ(outcome.kind, production::CompletionKind::EncoderError);
    EXPECT_NE(outcome.text, "");
    EXPECT_NE(outcome.caption, "制作完成");
    EXPECT_FALSE(frmMain->Visible());

    // A template movie that can't be loaded never reaches the encoder.
    std::ofstream(work / "zhzp" / "zhzp1.swf") << "broken";
    std::ofstream(work / "zhzp" / "zhzp2.swf") << "broken";
    output = (dir / "unmade.avi").string();
    Produce();
    outcome = frmMain->Outcome();
    EXPECT_EQ(outcome.kind, production::CompletionKind::EncoderError);
    EXPECT_FALSE(fs::exists(output));
}

TEST_F(ProductionForm, TheVideoFileAppearsUnderItsNameOnlyWhenItIsWorthKeeping)
{
    const fs::path out = dir / "输出";
    fs::create_directories(out);
    struct Trial {
        const char* name;
        std::function<void()> atFrame30;  // inside the conversion
        bool kept;
        production::CompletionKind kind;
    };
    const Trial trials[] = {
        {"completed", {}, true, production::CompletionKind::Completed},
        {"stopped", [&] { frmMain->kivButton1->Click(); }, true, production::CompletionKind::StoppedByUser},
        {"output folder removed", [&] { fs::remove_all(out); }, false,
         production::CompletionKind::EncoderError},
    };
    int n = 0;
    for (const Trial& trial : trials) {
        SCOPED_TRACE(trial.name);
        fs::create_directories(out);
        output = (out / ("相册" + std::to_string(++n) + ".avi")).string();
        bool seenDuringJob = false;
        auto serve = frmMain->ShockwaveFlash1->OnFSCommand;
        frmMain->ShockwaveFlash1->OnFSCommand = [&](TObject* sender, const std::string& command,
                                                    const std::string& args) {
            serve(sender, command, args);
            if (frmMain->Converting() && frmMain->ShockwaveFlash1->FrameNum() == 30) {
                seenDuringJob = fs::exists(output);
                if (trial.atFrame30) trial.atFrame30();
            }
        };
        Produce();
        frmMain->ShockwaveFlash1->OnFSCommand = serve;
        const production::CompletionOutcome outcome = frmMain->Outcome();
        EXPECT_EQ(outcome.kind, trial.kind) << outcome.text;
        EXPECT_FALSE(seenDuringJob) << "the final name is taken only at the end";
        EXPECT_EQ(fs::exists(output), trial.kept);
        EXPECT_EQ(SaysNoFile(outcome), !trial.kept) << outcome.text;
        EXPECT_TRUE(PartFiles(out).empty());
        if (trial.kept) {
            EXPECT_NEAR(ProbedFrames(), trial.atFrame30 ? 31.0 : 75.0, 1.0);
        }
    }
}

TEST_F(ProductionForm, AWriteErrorFailsTheJobAndLeavesNoFile)
{
    // A file-size limit stands in for a full disk: the output's writes
    // fail part-way, the frame file's don't.
    project.SyncMode = "yinyuesuizhaopian";
    project.PhotoFrames = 2000;
    const fs::path out = dir / "full";
    fs::create_directories(out);
    output = (out / "album.avi").string();
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit limited = before;
    limited.rlim_cur = 1 << 20;
    setrlimit(RLIMIT_FSIZE, &limited);
    Produce();
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previous);

    const production::CompletionOutcome outcome = frmMain->Outcome();
    EXPECT_EQ(outcome.kind, production::CompletionKind::EncoderError) << outcome.text;
    EXPECT_EQ(outcome.text,
              "制作失败: 视频文件无法写入: " + output + " (文件太大, 文件系统不接受). 没有生成视频文件.");
    EXPECT_LT(frmMain->Producer()->Position(), 2000);
    EXPECT_FALSE(fs::exists(output));
    EXPECT_TRUE(PartFiles(out).empty());
}

TEST_F(ProductionForm, AKilledJobLeavesNothingUnderTheFinalName)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto serve = frmMain->ShockwaveFlash1->OnFSCommand;
    frmMain->ShockwaveFlash1->OnFSCommand = [&](TObject* sender, const std::string& command,
                                                const std::string& args) {
        serve(sender, command, args);
        if (frmMain->Converting() && frmMain->ShockwaveFlash1->FrameNum() == 30) std::raise(SIGKILL);
    };
    EXPECT_EXIT(Produce(), ::testing::KilledBySignal(SIGKILL), "");
    EXPECT_FALSE(fs::exists(output)) << "a retry with the same name isn't refused";
}

TEST_F(ProductionForm, LongAndChineseNamesReachTheEncoderOrAreRefusedFirst)
{
    // 93 Chinese characters, 279 bytes, in the folder names of the music
    // and of the output, and 80 (240 bytes) in the output's own name.
    std::string longName;
    for (int i = 0; i < 93; ++i) longName += "音";
    const fs::path deep = dir / longName.substr(0, 240) / longName.substr(0, 39 * 3);
    fs::create_directories(deep);
    mcltest::MakeTone(deep / "歌.wav", 3.0);
    project.Music = {{(deep / "歌.wav").string(), "00:03", 3.0}};
    output = (deep / (longName.substr(0, 240) + ".avi")).string();
    ASSERT_GT(project.Music[0].path.size(), 264u);
    Produce();
    production::CompletionOutcome outcome = frmMain->Outcome();
    EXPECT_TRUE(outcome.ShowsCompletionForm()) << outcome.text;
    const mcltest::StreamFacts facts = mcltest::ReadBack(output);
    EXPECT_NEAR(facts.audioSeconds, 3.0, 0.1) << "the music is in the album";
    EXPECT_GT(mcltest::FirstLoudSecond(output), -1.0);

    // A name longer than the folder takes: refused before the conversion.
    output = (deep / (longName + ".avi")).string();
    EXPECT_FALSE(production::OutputNameProblem(output).empty());
    Produce();
    outcome = frmMain->Outcome();
    EXPECT_EQ(outcome.kind, production::CompletionKind::EncoderError);
    EXPECT_TRUE(SaysNoFile(outcome)) << outcome.text;
    EXPECT_EQ(frmMain->Producer()->Calls(), 0);
    EXPECT_TRUE(PartFiles(deep).empty());
}

TEST_F(ProductionForm, ALinkPlantedAtTheTemporaryNameIsNeverFollowed)
{
    const fs::path victim = dir / "victim.txt";
    std::ofstream(victim) << "keep me";
    fs::create_symlink(victim, dir / ".album.avi.part");
    Produce();
    const production::CompletionOutcome outcome = frmMain->Outcome();
    EXPECT_TRUE(outcome.ShowsCompletionForm()) << outcome.text;
    std::ifstream in(victim);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "keep me");
    EXPECT_NEAR(ProbedFrames(), 75.0, 1.0) << "the whole album under its name";
    EXPECT_TRUE(fs::is_symlink(dir / ".album.avi.part"));
}

TEST_F(ProductionForm, TwoJobsOnOneNameGiveOneWholeAlbumAndOneHonestFailure)
{
    // Two castoras, two work folders: red photos in the first, blue in the
    // second, which runs to its end while the first is at frame 30, where
    // the slot's photo is read.
    SetTemplate(76, 30, true);
    const fs::path work2 = dir.path() / "work2";
    for (const char* sub : {"zpyjj", "zhzp", "pwwjj"}) fs::create_directories(work2 / sub);
    for (const fs::path& folder : {work, work2})
        for (int k = 1; k <= 3; ++k)
            gfx::SaveJpeg(TBitmap(64, 48, folder == work ? clRed : clBlue),
                          folder / "zpyjj" / ("zpyjj" + std::to_string(k) + ".jpg"));
    for (const char* copy : {"zhzp1.swf", "zhzp2.swf"})
        fs::copy_file(work / "zhzp" / copy, work2 / "zhzp" / copy);
    production::AlbumProject second = project;
    second.WorkDir = work2.string() + "/";
    TfrmMain* first = frmMain;
    TfrmMain* other = CreateForm<TfrmMain>();
    std::optional<production::CompletionOutcome> secondOutcome;
    auto serve = first->ShockwaveFlash1->OnFSCommand;
    first->ShockwaveFlash1->OnFSCommand = [&](TObject* sender, const std::string& command,
                                              const std::string& args) {
        serve(sender, command, args);
        if (secondOutcome || !first->Converting() || first->ShockwaveFlash1->FrameNum() != 30) return;
        frmMain = other;
        secondOutcome = production::RunProductionForm({output, 1000, second}).outcome;
        frmMain = first;
    };
    Produce();
    ASSERT_TRUE(secondOutcome);
    EXPECT_TRUE(secondOutcome->ShowsCompletionForm()) << secondOutcome->text;
    const production::CompletionOutcome outcome = first->Outcome();
    EXPECT_EQ(outcome.kind, production::CompletionKind::EncoderError) << outcome.text;
    EXPECT_EQ(outcome.text, "制作失败: 文件已存在! 不能完成操作: " + output + ". 没有生成视频文件.");
    // The file under the name is the second job's whole album.
    const mcltest::StreamFacts facts = mcltest::ReadBack(output, true);
    EXPECT_EQ(facts.decodeErrors, 0);
    ASSERT_NEAR(static_cast<double>(facts.frameColours.size()), 75.0, 1.0);
    int red = 0;
    for (std::size_t i = 32; i < facts.frameColours.size(); ++i)
        red += facts.frameColours[i].r > facts.frameColours[i].b;
    EXPECT_EQ(red, 0) << "none of the first job's pictures";
    EXPECT_TRUE(PartFiles(dir.path()).empty());
}

TEST_F(ProductionForm, APhotoThatCannotBeReadFailsTheJobNamingIt)
{
    // Photo sync over a 12-frame template whose request at frame 4 reads
    // the slot at once; the five-frame pre-copy serves the next pass.
    SetTemplate(12, 4, true);
    project.SyncMode = "yinyuesuizhaopian";
    project.PhotoFrames = 60;
    project.Photos = {"/home/用户/照片/海边.jpg", "/home/用户/照片/山.jpg", "/home/用户/照片/城.jpg"};
    enum class Harm { NotAJpeg, Deleted, Empty };
    struct Trial {
        const char* name;
        int photo;
        Harm harm;
        bool ahead;
        int64_t atMost;  // frames rendered when the job stops
    };
    const Trial trials[] = {
        {"second photo not a JPEG", 2, Harm::NotAJpeg, true, 5},
        {"second photo not a JPEG, decoded in place", 2, Harm::NotAJpeg, false, 5},
        {"second photo deleted", 2, Harm::Deleted, true, 5},
        {"third photo empty, asked for by the third pass", 3, Harm::Empty, true, 29},
        {"first photo not a JPEG, in the slot from the hand-over", 1, Harm::NotAJpeg, true, 0},
    };
    int n = 0;
    for (const Trial& trial : trials) {
        SCOPED_TRACE(trial.name);
        const TColor colours[] = {clRed, clGreen, clBlue};
        for (int k = 1; k <= 3; ++k)
            gfx::SaveJpeg(TBitmap(64, 48, colours[k - 1]),
                          work / "zpyjj" / ("zpyjj" + std::to_string(k) + ".jpg"));
        const fs::path photo = work / "zpyjj" / ("zpyjj" + std::to_string(trial.photo) + ".jpg");
        switch (trial.harm) {
        case Harm::NotAJpeg: std::ofstream(photo, std::ios::trunc) << "GIF89a, not a photo"; break;
        case Harm::Deleted: fs::remove(photo); break;
        case Harm::Empty: std::ofstream(photo, std::ios::trunc).flush(); break;
        }
        // The hand-over's fill: slot 1 holds photo 1.
        std::error_code error;
        fs::copy_file(work / "zpyjj" / "zpyjj1.jpg", work / "zhzp" / "tupian1.jpg",
                      fs::copy_options::overwrite_existing, error);
        frmMain->SetPhotosAhead(trial.ahead);
        output = (dir / ("photo" + std::to_string(++n) + ".avi")).string();
        Produce();
        const production::CompletionOutcome outcome = frmMain->Outcome();
        const std::string name = project.Photos[static_cast<std::size_t>(trial.photo - 1)];
        EXPECT_EQ(outcome.kind, production::CompletionKind::EncoderError) << outcome.text;
        EXPECT_EQ(outcome.text, "制作失败: 照片无法读取: " + name + ". 没有生成视频文件.");
        EXPECT_LE(frmMain->Producer()->Position(), trial.atMost) << "at the frame that needs it";
        EXPECT_FALSE(fs::exists(output));
        EXPECT_TRUE(PartFiles(dir.path()).empty());
    }
}

TEST_F(ProductionForm, EachFailureOfTheVideoFileIsToldInChineseWithTheUsersFile)
{
    // Photo sync, long enough to fill a small disk.
    project.SyncMode = "yinyuesuizhaopian";
    project.PhotoFrames = 600;
    std::optional<production_test::PermissionsBind> bind;
    struct Trial {
        const char* name;
        std::string mount;                                       // a tmpfs of the output folder's own
        std::function<void(const fs::path&)> before, atFrame30;  // given the output folder
        // The message after "制作失败: ", with {album} and {folder} for the
        // album and its folder; empty: the job completes.
        std::string text;
    };
    const auto readOnly = [&](const fs::path& folder) {
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        bind.emplace();
    };
    const Trial trials[] = {
        {"no space", "size=256k", {}, {}, "视频文件无法写入: {album} (磁盘空间不足)."},
        {"no inode left for a link",
         "size=50m,nr_inodes=8",
         [](const fs::path& folder) { production_test::FillInodes(folder, 1); },
         {},
         ""},
        {"no permission", "", readOnly, {}, "视频文件无法创建: {album} (没有权限)."},
        {"folder removed",
         "",
         {},
         [](const fs::path& folder) { fs::remove_all(folder); },
         "视频文件无法保存, 文件夹已不存在: {folder}."},
        {"folder made read-only",
         "",
         {},
         readOnly,
         "视频文件无法保存为 {album} (没有权限). 留下了一个隐藏的临时文件, 无法删除: {hidden} (没有权限)."},
    };
    int n = 0;
    for (const Trial& trial : trials) {
        SCOPED_TRACE(trial.name);
        const fs::path folder = dir / ("输出" + std::to_string(++n));
        fs::create_directories(folder);
        std::optional<production_test::SmallFileSystem> tmpfs;
        if (!trial.mount.empty()) {
            tmpfs.emplace(folder, trial.mount);
            if (!tmpfs->Mounted()) {
                std::cout << "skipped: this process may not mount a file system\n";
                continue;
            }
        }
        output = (folder / "相册.avi").string();
        if (trial.before) trial.before(folder);
        auto serve = frmMain->ShockwaveFlash1->OnFSCommand;
        frmMain->ShockwaveFlash1->OnFSCommand = [&](TObject* sender, const std::string& command,
                                                    const std::string& args) {
            serve(sender, command, args);
            if (frmMain->Converting() && frmMain->ShockwaveFlash1->FrameNum() == 30 && trial.atFrame30)
                trial.atFrame30(folder);
        };
        Produce();
        frmMain->ShockwaveFlash1->OnFSCommand = serve;
        bind.reset();
        std::error_code error;
        fs::permissions(folder, fs::perms::owner_all, error);

        const production::CompletionOutcome outcome = frmMain->Outcome();
        const std::vector<std::string> parts =
            fs::exists(folder) ? PartFiles(folder) : std::vector<std::string>{};
        if (trial.text.empty()) {
            EXPECT_TRUE(outcome.ShowsCompletionForm()) << outcome.text;
            EXPECT_GT(ProbedFrames(), 600.0) << "the whole album, its restarts' holds too";
            EXPECT_TRUE(parts.empty());
            continue;
        }
        std::string text = trial.text;
        const std::string hidden = parts.empty() ? std::string() : (folder / parts.front()).string();
        for (const auto& [key, value] : {std::pair<std::string, std::string>{"{album}", output},
                                         {"{folder}", folder.string()},
                                         {"{hidden}", hidden}})
            if (const std::size_t at = text.find(key); at != std::string::npos)
                text.replace(at, key.size(), value);
        EXPECT_EQ(outcome.text, "制作失败: " + text + " 没有生成视频文件.");
        EXPECT_TRUE(OnlyChineseBesides(outcome.text, {output, folder.string(), hidden})) << outcome.text;
        EXPECT_FALSE(fs::exists(output));
        EXPECT_EQ(parts.size(), hidden.empty() || !Holds(trial.text, "{hidden}") ? 0u : 1u);
    }
}

TEST_F(ProductionForm, EmptyJobsAreRecognisedForTheHandOver)
{
    production::AlbumProject album;
    album.SyncMode = "zhaopiansuiyinyue";
    EXPECT_TRUE(production::IsEmptyJob(album, 100));
    album.SyncMode = "yinyuesuizhaopian";
    EXPECT_TRUE(production::IsEmptyJob(album, 100));
    album.SyncMode = "yinyuesuimobanchangdu";
    EXPECT_TRUE(production::IsEmptyJob(album, 1));
    EXPECT_FALSE(production::IsEmptyJob(album, 2));
}

TEST_F(ProductionForm, StatusLogKeepsTheLast32000Lines)
{
    for (int line = 0; line <= 32000; ++line) frmMain->LogProgress("line " + std::to_string(line));
    EXPECT_EQ(frmMain->lstProgress->Count(), 32000);
    EXPECT_EQ(frmMain->lstProgress->Items()[0], "line 1");
    EXPECT_GE(frmMain->lstProgress->TopIndex() + frmMain->lstProgress->VisibleItems(), 32000)
        << "scrolled to the last line";
    EXPECT_EQ(frmMain->Log().Count(), 32000u);
    frmMain->ClearProgressLog();
    EXPECT_EQ(frmMain->lstProgress->Count(), 0);
}

TEST_F(ProductionForm, HiddenPanelControlsBrowseAndSwitchTogether)
{
    std::vector<std::string> titles, folders;
    std::optional<std::vector<std::string>> answer = std::vector<std::string>{(dir / "a.mpg").string()};
    ui::SetFileDialogHook([&](const TOpenDialog& dialog) {
        titles.push_back(dialog.Title());
        folders.push_back(dialog.InitialDir());
        return answer;
    });
    frmMain->edVideoOut->SetText((dir / "old.avi").string());
    frmMain->btnBrowseVideoOut->Click();
    EXPECT_EQ(frmMain->edVideoOut->Text(), (dir / "a.mpg").string());
    answer.reset();  // cancelled: the old path stays
    frmMain->edAudioOut->SetText("");
    frmMain->btnBrowseAudioOut->Click();
    EXPECT_EQ(frmMain->edAudioOut->Text(), "");
    EXPECT_EQ(titles, (std::vector<std::string>{"Save", "Save"}));
    EXPECT_EQ(folders, (std::vector<std::string>{dir.path().string(), "/"}));
    answer = std::vector<std::string>{(dir / "x.bmp").string(), (dir / "y.bmp").string()};
    frmMain->btnBrowseVideoIn->Click();
    frmMain->btnBrowseAudioIn->Click();
    EXPECT_EQ(frmMain->ListBox1->Count() + frmMain->ListBox2->Count(), 3)
        << "only the audio dialog takes several";
    ui::SetFileDialogHook({});

    frmMain->EnableJobControls(false);
    EXPECT_FALSE(frmMain->edVideoOut->Enabled());
    EXPECT_FALSE(frmMain->btnStart->Enabled());
    EXPECT_TRUE(frmMain->btnStop->Enabled());
    frmMain->EnableJobControls(true);
    EXPECT_TRUE(frmMain->btnBrowseAudioIn->Enabled());
    EXPECT_FALSE(frmMain->btnStop->Enabled());
}

TEST(FrameFile, EncoderAndPictureReaderSeeTheSameColoursAtEverySize)
{
    mcltest::TempDir dir;
    const fs::path file = dir / "lswj.bmp";
    production::FrameFileWriter writer;
    // Red over blue, so that swapped channels or flipped rows show.
    TBitmap picture(64, 48, clRed);
    for (int y = 24; y < 48; ++y)
        for (int x = 0; x < 64; ++x) picture.SetPixel(x, y, clBlue);
    ASSERT_TRUE(writer.Write(picture, file.string()));
    TBitmap back = gfx::LoadImage(file);
    EXPECT_EQ(back.Width(), 64);
    EXPECT_EQ(back.Pixel(10, 5), clRed);
    EXPECT_EQ(back.Pixel(10, 40), clBlue);

    // Smaller, then deleted behind the writer's back: written afresh.
    const TBitmap green(32, 16, clLime);
    ASSERT_TRUE(writer.Write(green, file.string()));
    EXPECT_EQ(fs::file_size(file), production::FrameFileHeader(32, 16).size() + 32 * 16 * 4);
    fs::remove(file);
    ASSERT_TRUE(writer.Write(picture, file.string()));
    const mcltest::StreamFacts facts = mcltest::ReadBack(file, true);
    ASSERT_EQ(facts.width, 64);
    ASSERT_FALSE(facts.frameColours.empty());
    // The centre straddles both halves: red and blue, no green.
    EXPECT_GT(facts.frameColours[0].r, 80);
    EXPECT_GT(facts.frameColours[0].b, 80);
    EXPECT_LT(facts.frameColours[0].g, 40);
    // Cut short behind the writer's back (its mapping would then fault): written whole again.
    fs::resize_file(file, 100);
    ASSERT_TRUE(writer.Write(picture, file.string()));
    EXPECT_EQ(fs::file_size(file), production::FrameFileHeader(64, 48).size() + 64 * 48 * 4);
    EXPECT_EQ(gfx::LoadImage(file).Pixel(10, 40), clBlue);
    EXPECT_FALSE(writer.Write(picture, (dir / "missing" / "lswj.bmp").string()));
}

class SettingsDialogs : public ::testing::Test {
protected:
    core::TestApplication app_;
};

TEST_F(SettingsDialogs, TvSystemDialogShowsTheProjectsSystemAndWritesOnlyOnConfirm)
{
    std::string tv = "NTSC";
    auto* dialog = CreateForm<TForm9>();
    dialog->ReadTvSystem = [&] { return tv; };
    dialog->WriteTvSystem = [&](const std::string& system) { tv = system; };

    App().PostMessage([&] {
        EXPECT_TRUE(dialog->kivRadioButton2->Checked()) << "the system the project has now";
        EXPECT_EQ(dialog->Width(), 470);
        dialog->kivRadioButton1->SetChecked(true);
        dialog->kivButton2->Click();  // 取消
    });
    dialog->ShowModal();
    EXPECT_EQ(tv, "NTSC");

    App().PostMessage([&] {
        EXPECT_TRUE(dialog->kivRadioButton2->Checked());
        dialog->kivRadioButton1->SetChecked(true);
        dialog->kivButton1->Click();  // 确定
    });
    dialog->ShowModal();
    EXPECT_EQ(tv, "PAL");
    EXPECT_FALSE(dialog->Visible());
}

TEST_F(SettingsDialogs, QualityKeywordFollowsTheRadiosAndCompletionCloses)
{
    auto* quality = CreateForm<TForm17>();
    EXPECT_EQ(quality->Edit1->Text(), "qing_xi");
    quality->kivRadioButton3->Click();
    EXPECT_EQ(quality->Edit1->Text(), "chao_gao_qing_xi");
    quality->kivRadioButton2->Click();
    EXPECT_EQ(quality->Edit1->Text(), "gao_qing_xi");
    quality->kivRadioButton1->Click();
    EXPECT_EQ(quality->Edit1->Text(), "qing_xi");

    auto* done = CreateForm<TForm10>();
    App().PostMessage([&] { done->kivButton1->Click(); });
    done->ShowModal();
    EXPECT_EQ(done->Width(), 494);
    EXPECT_FALSE(done->Visible());
}

}  // namespace
