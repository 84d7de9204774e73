// The output buttons of the main window, clicked on the headless back end
// with scripted file dialogs and message boxes, and a recording production
// runner in place of the production form.
#include "app/output_handover.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <optional>

#include "app/castora_forms.h"
#include "app/main_window.h"
#include "production/album_job.h"
#include "production/completion_form.h"
#include "production/quality_form.h"
#include "production/song_files.h"
#include "app/template_format.h"
#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/flash/movie_file.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/ui/headless.h"
#include "platform/ui/listbox.h"
#include "skin/kiv_button.h"
#include "skin/kiv_list_view.h"
#include "skin/kiv_message_dialog.h"
#include "tests/app/main_window_fixture.h"
#include "tests/app/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using app_test::Message;

using app_test::WriteFile;
using app_test::WriteMovieFile;

std::string ReadText(const fs::path& path)
{
    const auto bytes = core::ReadFileBytes(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<missing>");
}

production::JobEnd Ended(bool finished, bool stopped, int error_code, const char* error_text)
{
    production::JobEnd end;
    end.producerFinished = finished;
    end.stoppedByUser = stopped;
    end.encoderErrorCode = error_code;
    end.errorLogged = error_code != 0;
    end.errorText = error_text;
    end.framesWritten = finished || stopped ? 25 : 0;
    end.outputKept = production::KeepsOutput(end);
    return end;
}

class OutputHandOver : public app_test::StartedMainWindow {
protected:
    void SetUp() override
    {
        StartedMainWindow::SetUp();
        out_ = system_.Path() / "out";
        fs::create_directories(out_);
        ui::SetFileDialogHook([this](const TOpenDialog& dialog) -> std::optional<std::vector<std::string>> {
            ++dialogs_;
            EXPECT_TRUE(dialog.IsSaveDialog());
            EXPECT_EQ(dialog.FileName(), "");
            EXPECT_EQ(dialog.Filter(), "保存位置");
            if (!chosen_) return std::nullopt;
            return std::vector<std::string>{*chosen_};
        });
        app::SetProductionRunner([this](const app::HandOverJob& job) {
            jobs_.push_back(job);
            app::HandOverResult result{job.project, outcome_};
            // Production switches to the other movie copy and may reach a later song.
            result.project.ProduceTemplateMovie = 2;
            result.project.LrcSongIndex = 1;
            // Whatever is shown modally next is answered.
            App().PostMessage([this] {
                if (TForm* form = Screen().ModalForm()) {
                    modal_shown_.push_back(form);
                    form->SetModalResult(mrOk);
                }
            });
            return result;
        });
    }

    void TearDown() override
    {
        app::SetProductionRunner({});
        StartedMainWindow::TearDown();
    }

    // A valid template of `frames` frames whose first segment shows `slots`
    // photos at a time, and `photos` imported photos; the preview plays.
    void LoadAlbum(int frames = 100, int slots = 3, int photos = 5)
    {
        Form1->TemplateState = std::string(app::template_format::kValidityConstant);
        WriteMovieFile(work_ / "zhzp" / "zhzp1.swf", frames);
        Form1->xiao_guo_Flash->SetMovie((work_ / "zhzp" / "zhzp1.swf").string());
        Form1->ListBox1->Items().Add("0");
        Form1->ListBox2->Items().Add(std::to_string(frames - 1));
        Form1->ListBox3->Items().Add(std::to_string(slots));
        for (int k = 1; k <= photos; ++k) {
            const std::string name = "zpyjj" + std::to_string(k);
            WriteFile(work_ / "zpyjj" / (name + ".jpg"), "photo" + std::to_string(k));
            TListItem* row = Form1->kivListView1->Items().Add();
            row->SetCaption(name);
            row->SubItems().Add((work_ / "zpyjj" / (name + ".jpg")).string());
        }
        Form1->CalcPhotoFrames();
        Form1->PhotoCursor = 4;
        Form1->xiao_guo_Flash->Play();
    }

    void Click(TkivButton* button) { ui::headless::ClickControl(*button); }

    fs::path out_;
    std::optional<std::string> chosen_;
    production::CompletionOutcome outcome_ = production::DecideCompletion(Ended(true, false, 0, ""));
    std::vector<app::HandOverJob> jobs_;
    std::vector<TForm*> modal_shown_;
    int dialogs_ = 0;
};

TEST_F(OutputHandOver, RefusalsTouchNothing)
{
    struct Case {
        const char* what;
        bool template_loaded;
        int photos;
        std::optional<std::string> chosen;  // relative to out_
        const char* existing;               // a file in out_ before the click
        const char* sync_mode;
        int dialogs;
        std::optional<Message> message;
        bool pipe_song = false;  // the song is a pipe by now
    };
    const fs::path pipe = out_ / "song.mp3";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const Case cases[] = {
        {"no template", false, 5, "a.avi", nullptr, "yinyuesuimobanchangdu", 0,
         Message{"导入模板", "没有导入模板.", "确定"}},
        {"no photo", true, 0, "a.avi", nullptr, "yinyuesuimobanchangdu", 0,
         Message{"导入照片", "没有导入照片.", "确定"}},
        {"dialog cancelled", true, 5, std::nullopt, nullptr, "yinyuesuimobanchangdu", 1, std::nullopt},
        {"the file exists", true, 5, "album.avi", "album.avi", "yinyuesuimobanchangdu", 1,
         Message{"文件已存在", "文件已存在! 不能完成操作.", "确定"}},
        {"the file with the added extension exists", true, 5, "album", "album.avi", "yinyuesuimobanchangdu",
         1, Message{"文件已存在", "文件已存在! 不能完成操作.", "确定"}},
        {"music follows nothing", true, 5, "b.avi", nullptr, "zhaopiansuiyinyue", 1,
         Message{std::string(production::kEmptyJobCaption), std::string(production::kEmptyJobText), "确定"}},
        {"a song that is no regular file", true, 5, "c.avi", nullptr, "yinyuesuimobanchangdu", 1,
         Message{std::string(production::kEmptyJobCaption), production::NotASongFileText(pipe.string()),
                 "确定"},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Form1->kivListView1->Items().Clear();
        Form1->ListBox1->Items().Clear();
        Form1->ListBox2->Items().Clear();
        Form1->ListBox3->Items().Clear();
        LoadAlbum(100, 3, c.photos);
        if (!c.template_loaded) Form1->TemplateState.clear();
        Form1->SyncMode = c.sync_mode;
        Form1->MusicSeconds = 0;
        Form1->OutputFormat = "SVCD";
        fs::remove_all(work_ / "zhzp" / "tupian1.jpg");
        if (c.existing) WriteFile(out_ / c.existing, "keep");
        chosen_ = c.chosen ? std::optional<std::string>((out_ / *c.chosen).string()) : std::nullopt;
        messages_.clear();
        dialogs_ = 0;
        Form1->kivListView2->Items().Clear();
        if (c.pipe_song) {
            TListItem* row = Form1->kivListView2->Items().Add();
            row->SetCaption("song");
            row->SubItems().Add(pipe.string());
            row->SubItems().Add("00:03");
        }

        Click(Form1->kivButton2);

        EXPECT_EQ(dialogs_, c.dialogs);
        if (c.message) {
            ASSERT_EQ(messages_.size(), 1u);
            EXPECT_EQ(messages_[0].caption, c.message->caption);
            EXPECT_EQ(messages_[0].text, c.message->text);
            EXPECT_EQ(messages_[0].button, "确定");
        } else {
            EXPECT_TRUE(messages_.empty());
        }
        // The preview goes on, the format and the slots are as they were.
        EXPECT_TRUE(Form1->xiao_guo_Flash->Playing());
        EXPECT_EQ(Form1->OutputFormat, "SVCD");
        EXPECT_EQ(Form1->PhotoCursor, 4);
        EXPECT_FALSE(fs::exists(work_ / "zhzp" / "tupian1.jpg"));
        if (c.existing) {
            EXPECT_EQ(ReadText(out_ / c.existing), "keep");
        }
        EXPECT_TRUE(jobs_.empty());
        EXPECT_TRUE(modal_shown_.empty());
        if (c.existing) fs::remove(out_ / c.existing);
    }
}

TEST_F(OutputHandOver, EachButtonHandsOverItsFormatAndPath)
{
    LoadAlbum(100, 3, 5);
    struct Case {
        TkivButton* button;
        const char* chosen;
        const char* format;
        const char* path;
    };
    const Case cases[] = {
        {Form1->kivButton2, "a", "AVI", "a.avi"},        {Form1->kivButton12, "b", "VCD", "b.mpg"},
        {Form1->kivButton13, "c", "SVCD", "c.mpg"},      {Form1->kivButton14, "d", "DVD", "d.mpg"},
        {Form1->kivButton20, "e", "MP4", "e.mp4"},       {Form1->kivButton12, "f.avi", "VCD", "f.avi"},
        {Form1->kivButton20, "相册.x", "MP4", "相册.x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        jobs_.clear();
        modal_shown_.clear();
        Form1->xiao_guo_Flash->Play();
        Form1->PhotoCursor = 4;
        chosen_ = (out_ / c.chosen).string();

        Click(c.button);

        ASSERT_EQ(jobs_.size(), 1u);
        EXPECT_EQ(jobs_[0].output_path, (out_ / c.path).string());
        EXPECT_EQ(jobs_[0].frame_count, 99);
        EXPECT_EQ(Form1->OutputFormat, c.format);
        EXPECT_EQ(jobs_[0].project.OutputFormat, c.format);
        EXPECT_FALSE(Form1->xiao_guo_Flash->Playing());
        // Slots 1 to 3 hold photos 1 to 3, whatever the cursor was.
        for (int slot = 1; slot <= 3; ++slot)
            EXPECT_EQ(ReadText(work_ / "zhzp" / ("tupian" + std::to_string(slot) + ".jpg")),
                      "photo" + std::to_string(slot));
        EXPECT_EQ(Form1->PhotoCursor, 3);
        EXPECT_TRUE(messages_.empty());
        ASSERT_EQ(modal_shown_.size(), 1u);
        EXPECT_EQ(modal_shown_[0], Form10);
    }
}

TEST_F(OutputHandOver, TheJobsFrameCountFollowsTheSyncMode)
{
    LoadAlbum(300, 3, 5);
    WriteMovieFile(work_ / "pwwjj" / "pwwj1.swf", 120);
    Form1->Pian_Wei_FLASH->SetMovie((work_ / "pwwjj" / "pwwj1.swf").string());
    struct Case {
        const char* sync_mode;
        int photo_frames;
        double music_seconds;
        bool ending;
        int64_t expected;
    };
    const Case cases[] = {
        {"yinyuesuimobanchangdu", 600, 10.0, false, 299},
        {"yinyuesuimobanchangdu", 600, 10.0, true, 299 + 119},
        {"yinyuesuizhaopian", 600, 10.0, false, 600},
        {"yinyuesuizhaopian", 600, 10.0, true, 719},
        {"zhaopiansuiyinyue", 600, 10.0, false, 250},
        {"zhaopiansuiyinyue", 600, 10.039, true, 250 + 119},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.sync_mode) + (c.ending ? " with ending" : ""));
        jobs_.clear();
        Form1->SyncMode = c.sync_mode;
        Form1->PhotoFrames = c.photo_frames;
        Form1->MusicSeconds = c.music_seconds;
        Form1->EndingFile = c.ending ? "ending" : "";
        chosen_ = (out_ / ("album" + std::to_string(++n))).string();
        Click(Form1->kivButton13);
        ASSERT_EQ(jobs_.size(), 1u);
        EXPECT_EQ(jobs_[0].frame_count, c.expected);
    }
}

TEST_F(OutputHandOver, TheProjectGoesToProductionAndComesBack)
{
    LoadAlbum(100, 2, 3);
    Form1->SyncMode = "zhaopiansuiyinyue";
    Form1->MusicSeconds = 75.5;
    Form1->LrcStyle.colour = 0x00FF00;
    Form1->LrcStyle.x = 40;
    Form1->LrcSongIndex = 3;
    for (const auto& [name, length] : {std::pair{"one", "01:05"}, std::pair{"two", "00:10"}}) {
        TListItem* row = Form1->kivListView2->Items().Add();
        row->SetCaption(name);
        row->SubItems().Add((out_ / (std::string(name) + ".wav")).string());
        row->SubItems().Add(length);
    }
    WriteFile(out_ / "one.lrc", "[ti:Song]\n[00:01.00]first line\n[00:03.50][00:07.00]again\n");
    TListItem* lyric = Form1->kivListView5->Items().Add();
    lyric->SetCaption("one");
    lyric->SubItems().Add((out_ / "one.lrc").string());
    chosen_ = (out_ / "album").string();

    Click(Form1->kivButton20);

    ASSERT_EQ(jobs_.size(), 1u);
    const production::AlbumProject& project = jobs_[0].project;
    EXPECT_EQ(project.WorkDir, Form1->WorkDir);
    EXPECT_EQ(project.SyncMode, "zhaopiansuiyinyue");
    EXPECT_EQ(project.MusicSeconds, 75.5);
    EXPECT_EQ(project.LrcStyle.colour, 0x00FF00u);
    EXPECT_EQ(project.LrcStyle.x, 40);
    EXPECT_EQ(project.LrcSongIndex, 3);
    EXPECT_EQ(project.SlotsPerFill, 2);
    // The photos by the files the user imported, for production's messages.
    ASSERT_EQ(project.Photos.size(), 3u);
    EXPECT_EQ(project.Photos[2], Form1->kivListView1->Items()[2]->SubItems()[0]);
    ASSERT_EQ(project.Music.size(), 2u);
    EXPECT_EQ(project.Music[0].path, (out_ / "one.wav").string());
    EXPECT_EQ(project.Music[0].lengthText, "01:05");
    EXPECT_EQ(project.Music[0].seconds, 65.0);  // not measured: the text's length
    EXPECT_EQ(project.Music[1].seconds, 10.0);
    jobs_.clear();
    Form1->MusicRowSeconds = {65.4, 10.1};
    chosen_ = (out_ / "album2").string();
    Click(Form1->kivButton20);
    ASSERT_EQ(jobs_.size(), 1u);
    EXPECT_EQ(jobs_[0].project.Music[0].seconds, 65.4);
    EXPECT_EQ(jobs_[0].project.Music[1].seconds, 10.1);
    EXPECT_EQ(project.LyricFileCount, 1u);
    ASSERT_TRUE(project.LoadLyrics);
    const production::LyricIndex index = project.LoadLyrics(0);
    ASSERT_EQ(index.size(), 4u);
    EXPECT_EQ(index[0].timeTag, "00:01.00");
    EXPECT_EQ(index[0].text, "first line");
    EXPECT_EQ(index[1].timeTag, "00:07.00");
    EXPECT_EQ(index[2].text, "again");
    EXPECT_EQ(index[3].timeTag, "ti");
    EXPECT_TRUE(project.LoadLyrics(1).empty());  // no lyric file for the second song
    // The lyric list may change after the hand-over: the job keeps its files.
    Form1->kivListView5->Items().Clear();
    EXPECT_EQ(project.LoadLyrics(0).size(), 4u);

    // What production changed is the main window's again.
    EXPECT_EQ(Form1->ProduceTemplateMovie, 2);
    EXPECT_EQ(Form1->LrcSongIndex, 1);
}

TEST_F(OutputHandOver, OnlyACompletedJobShowsTheCompletionForm)
{
    LoadAlbum();
    const production::JobEnd ends[] = {
        Ended(true, false, 0, ""),
        Ended(false, true, 0, ""),
        Ended(false, false, -5, "cannot open the output"),
        Ended(false, false, 0, ""),
    };
    int n = 0;
    for (const production::JobEnd& end : ends) {
        outcome_ = production::DecideCompletion(end);
        SCOPED_TRACE(outcome_.caption);
        messages_.clear();
        modal_shown_.clear();
        chosen_ = (out_ / ("album" + std::to_string(++n))).string();
        Click(Form1->kivButton2);
        if (outcome_.ShowsCompletionForm()) {
            EXPECT_TRUE(messages_.empty());
            ASSERT_EQ(modal_shown_.size(), 1u);
            EXPECT_EQ(modal_shown_[0], Form10);
        } else {
            EXPECT_TRUE(modal_shown_.empty());
            ASSERT_EQ(messages_.size(), 1u);
            EXPECT_EQ(messages_[0].caption, outcome_.caption);
            EXPECT_EQ(messages_[0].text, outcome_.text);
        }
    }
}

TEST_F(OutputHandOver, PictureQualityOpensItsDialogModally)
{
    TForm* shown = nullptr;
    const TNotifyEvent previous = Form17->OnShow;
    Form17->OnShow = [&](TObject* Sender) {
        if (previous) previous(Sender);
        App().PostMessage([&] {
            shown = Screen().ModalForm();
            if (shown) shown->SetModalResult(mrOk);
        });
    };
    Click(Form1->kivButton32);
    Form17->OnShow = previous;
    EXPECT_EQ(shown, Form17);
    EXPECT_FALSE(Form17->Visible());
}

}  // namespace
