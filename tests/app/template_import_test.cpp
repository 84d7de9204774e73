// The effect template import ("导入模板" and Form14) on the main window:
// what a valid template leaves behind, the panes with and without photos,
// the same path twice, the alternating movie copies, and invalid files
// that change nothing.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>

#include "app/template_import_form.h"
#include "app/preview_engine.h"
#include "app/template_format.h"
#include "app/template_trailer.h"
#include "platform/core/timer.h"
#include "platform/flash/movie_file.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/media/media_player.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/edit.h"
#include "platform/ui/label.h"
#include "platform/ui/listbox.h"
#include "platform/ui/scrollbox.h"
#include "file_writes_fail.h"
#include "preview_window_test.h"
#include "skin/kiv_button.h"
#include "skin/kiv_progress_bar.h"

namespace preview_test {
namespace {

namespace tf = app::template_format;

const std::string kRefused = "导入模板|导入的模板不是有效的,请导入本软件支持的模板!";

// The fixture template taken apart, so that a test can spoil one piece.
struct TemplateParts {
    std::string video, movie;
    // section -> key -> stored value
    std::map<std::string, std::map<std::string, std::string>> entries;

    static TemplateParts Fixture()
    {
        const std::string bytes = ReadBytes(FixtureTemplate());
        const app::TemplateCheck check = app::ReadTemplateFile(FixtureTemplate());
        EXPECT_TRUE(check.Valid()) << check.detail;
        TemplateParts parts;
        const app::TemplateDescription& d = *check.description;
        parts.video = bytes.substr(0, d.movie_offset);
        parts.movie = bytes.substr(d.movie_offset, d.movie_length);
        parts.Set(tf::kValiditySection, tf::kValidityKey, tf::kValidityConstant);
        parts.Set(tf::kCountSection, tf::kCountKey, tf::EncodeNumber(d.segments.size()));
        for (size_t k = 1; k <= d.segments.size(); ++k) {
            const app::TemplateSegment& s = d.segments[k - 1];
            parts.Segment(k, s.first_value, s.end_frame, s.photo_count);
        }
        return parts;
    }
    void Set(std::string_view section, std::string_view key, std::string_view value)
    {
        entries[std::string(section)][std::string(key)] = std::string(value);
    }
    void Segment(size_t k, int64_t first, int64_t end, int64_t photos)
    {
        Set(tf::kSegmentSection, tf::SegmentKey(tf::kFirstValuePrefix, k), tf::EncodeNumber(first));
        Set(tf::kSegmentSection, tf::SegmentKey(tf::kEndFramePrefix, k), tf::EncodeNumber(end));
        Set(tf::kSegmentSection, tf::SegmentKey(tf::kPhotoCountPrefix, k), tf::EncodeNumber(photos));
    }
    // The file; the movie's place is filled in unless a test set it.
    std::string Bytes() const
    {
        auto all = entries;
        all.try_emplace(std::string(tf::kMovieSection));
        all[std::string(tf::kMovieSection)].try_emplace(std::string(tf::kMovieOffsetKey),
                                                        tf::EncodeNumber(video.size()));
        all[std::string(tf::kMovieSection)].try_emplace(std::string(tf::kMovieLengthKey),
                                                        tf::EncodeNumber(movie.size()));
        std::string trailer;
        for (const auto& [section, keys] : all) {
            trailer += "[" + section + "]\r\n";
            for (const auto& [key, value] : keys)
                if (value != "<none>") trailer += key + "=" + value + "\r\n";
        }
        trailer.resize(tf::kTrailerSize, ' ');
        return video + movie + trailer;
    }
};

std::string MovieOfFrames(std::uint32_t frames)
{
    flash::Movie movie;
    movie.frame_count = frames;
    const std::vector<std::uint8_t> bytes = flash::WriteMovie(movie);
    return std::string(bytes.begin(), bytes.end());
}

class TemplateImport : public PreviewWindow {
protected:
    fs::path Write(const std::string& name, const std::string& bytes)
    {
        const fs::path path = system_.Path() / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string Copy(int n) const
    {
        return ReadBytes(work_ / "zhzp" / ("zhzp" + std::to_string(n) + ".swf"));
    }
    std::set<std::string> ZhzpFiles() const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(work_ / "zhzp"))
            names.insert(entry.path().filename().string());
        return names;
    }
    bool RunButtonsEnabled() const
    {
        for (TControl* b : {Form1->kivButton3, Form1->kivButton2, Form1->kivButton12, Form1->kivButton13,
                            Form1->kivButton14, Form1->kivButton20})
            if (!b->Enabled()) return false;
        return true;
    }
    // Imports a template of three segments, the one in force before the
    // import under test, and returns its file.
    fs::path ImportPreviousTemplate()
    {
        TemplateParts previous = TemplateParts::Fixture();
        previous.Set(tf::kCountSection, tf::kCountKey, tf::EncodeNumber(3));
        previous.Segment(3, 19, 19, 1);
        const fs::path file = Write("previous.avi", previous.Bytes());
        ImportTemplate(file);
        return file;
    }
    // The template imported by ImportPreviousTemplate is still the one in force.
    void ExpectPreviousTemplateInForce(const fs::path& file, const app::SegmentTable& rows,
                                       const std::string& copy)
    {
        ExpectForm14Closed();
        EXPECT_EQ(Form1->TemplateFile, file.string());
        EXPECT_EQ(Form1->TemplateState, tf::kValidityConstant);
        EXPECT_EQ(Form1->SegmentRows(), rows);
        EXPECT_EQ(Form1->TemplateMovie, "2");
        EXPECT_EQ(Copy(1), copy);
    }
    void ExpectForm14Closed()
    {
        EXPECT_FALSE(Form14->Visible());
        for (TTimer* timer : {Form14->Timer1, Form14->Timer2, Form14->Timer3}) EXPECT_FALSE(timer->Enabled());
    }
};

TEST_F(TemplateImport, WithoutPhotosTheTemplateVideoPlaysAndTheMovieWaits)
{
    Form1->TvSystem = "SECAM";
    Form1->Label2->SetCaption("12:34:56");
    std::ofstream(work_ / "zhzp" / "zhzp-Ab12cD.swf.new") << "left by an import that was cut short";
    ImportTemplate(FixtureTemplate());
    EXPECT_TRUE(messages_.empty());
    ExpectForm14Closed();
    EXPECT_EQ(Form14->Width(), 544);
    EXPECT_EQ(Form14->Height(), 231);
    EXPECT_EQ(Form14->kivProgressBar1->Max(), 2);

    const TemplateParts parts = TemplateParts::Fixture();
    EXPECT_EQ(Form1->TemplateFile, FixtureTemplate().string());
    EXPECT_EQ(Form1->TemplateState, tf::kValidityConstant);
    EXPECT_EQ(Form1->SegmentRows(), app::ReadTemplateFile(FixtureTemplate()).description->segments);
    EXPECT_EQ(Form1->ListBox3->Items()[0], "2");
    EXPECT_EQ(Copy(1), parts.movie);
    EXPECT_EQ(Copy(2), parts.movie);
    EXPECT_EQ(ZhzpFiles(),
              (std::set<std::string>{"zhzp1.swf", "zhzp2.swf"}));  // no trailer copy, no temporaries

    EXPECT_EQ(Form1->TemplateMovie, "2");
    EXPECT_EQ(Form1->xiao_guo_Flash->Movie(), (work_ / "zhzp" / "zhzp2.swf").string());
    EXPECT_EQ(Form1->xiao_guo_Flash->TotalFrames(), 20);
    EXPECT_FALSE(Form1->xiao_guo_Flash->Playing());
    EXPECT_EQ(FrontPane(), Form1->ScrollBox9);
    EXPECT_FALSE(Form1->ScrollBox10->Visible());
    EXPECT_EQ(Form1->WindowsMediaPlayer1->URL(), FixtureTemplate().string());
    ASSERT_TRUE(RunUntil([] { return Form1->WindowsMediaPlayer1->playState() == wmppsPlaying; }, 500));
    EXPECT_EQ(Form1->Preview().Stage(), app::PreviewStage::kIdle);
    EXPECT_TRUE(Unlocked());
    EXPECT_TRUE(RunButtonsEnabled());
    EXPECT_EQ(Form1->TvSystem, "NTSC");
    EXPECT_EQ(Form1->Label2->Caption(), "12:34:56");
}

TEST_F(TemplateImport, TheDialogOffersTheSampleTemplateAndCancelChangesNothing)
{
    Form1->OpenDialog3->SetFileName("/somewhere/else.avi");
    int asked = 0;
    ui::SetFileDialogHook([&](const TOpenDialog& dialog) -> std::optional<std::vector<std::string>> {
        ++asked;
        EXPECT_EQ(dialog.FileName(), (core::ProgramDir() / "试用模板" / "试用模板.avi").string());
        EXPECT_EQ(dialog.Filter(), "选择模板|*.avi");
        return std::nullopt;
    });
    Form1->kivButton7->Click();
    app_.RunForMs(10);
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(Form14->Visible());
    EXPECT_TRUE(messages_.empty());
    EXPECT_TRUE(Form1->TemplateFile.empty());
    EXPECT_EQ(FrontPane(), Form1->ScrollBox13);
}

TEST_F(TemplateImport, WithPhotosTheVideoStopsAndThePreviewStarts)
{
    AddPhotos(1);
    ImportTemplate(FixtureTemplate());
    EXPECT_TRUE(messages_.empty());
    ExpectForm14Closed();
    EXPECT_EQ(Form1->TvSystem, "PAL");
    EXPECT_EQ(Form1->Preview().Stage(), app::PreviewStage::kEffect);
    EXPECT_NE(Form1->WindowsMediaPlayer1->playState(), wmppsPlaying);
    EXPECT_FALSE(Form1->ScrollBox9->Visible());
    EXPECT_TRUE(Form1->xiao_guo_Flash->Playing());
    EXPECT_TRUE(Locked());
    EXPECT_TRUE(Form1->kivButton3->Enabled());        // Stop is the way out
    EXPECT_EQ(Form1->Label2->Caption(), "00:00:00");  // one pass of 20 frames
    // Both slots hold the one photo.
    EXPECT_EQ(Slot(1), Photo(1));
    EXPECT_EQ(Slot(2), Photo(1));
    ASSERT_TRUE(RunUntil([] { return Form1->Edit1->Text() == "3"; }));
    EXPECT_EQ(FrontPane(), Form1->ScrollBox10);
}

TEST_F(TemplateImport, TheSamePathTwiceIsRefusedAndEachNewImportShowsTheOtherCopy)
{
    ImportTemplate(FixtureTemplate());
    EXPECT_EQ(Form1->TemplateMovie, "2");
    ImportTemplate(FixtureTemplate());
    EXPECT_EQ(messages_, (std::vector<std::string>{"导入模板|模板已经导入."}));
    ExpectForm14Closed();
    EXPECT_EQ(Form1->TemplateMovie, "2");
    EXPECT_TRUE(Unlocked());

    // The same file spelled differently is imported again, and so on, each
    // time into the copy the movie control does not show.
    const fs::path other_spelling = system_.Path() / "link.avi";
    fs::create_symlink(FixtureTemplate(), other_spelling);
    const fs::path another = Write("another.avi", TemplateParts::Fixture().Bytes());
    const std::pair<fs::path, const char*> imports[] = {
        {other_spelling, "1"}, {another, "2"}, {FixtureTemplate(), "1"}};
    for (const auto& [file, copy] : imports) {
        ImportTemplate(file);
        EXPECT_EQ(messages_.size(), 1u) << file;
        EXPECT_EQ(Form1->TemplateFile, file.string());
        EXPECT_EQ(Form1->TemplateMovie, copy);
        EXPECT_EQ(Form1->xiao_guo_Flash->Movie(),
                  (work_ / "zhzp" / ("zhzp" + std::string(copy) + ".swf")).string());
        EXPECT_EQ(Form1->xiao_guo_Flash->TotalFrames(), 20);
    }
}

TEST_F(TemplateImport, InvalidFilesAreRefusedAndThePreviousTemplateStaysInForce)
{
    const fs::path previous_file = ImportPreviousTemplate();
    ASSERT_TRUE(messages_.empty());
    ASSERT_EQ(Form1->SegmentRows().size(), 3u);
    const app::SegmentTable rows = Form1->SegmentRows();
    const std::string copy = Copy(1);

    const auto spoil = [](std::function<void(TemplateParts&)> change) {
        TemplateParts parts = TemplateParts::Fixture();
        change(parts);
        return parts.Bytes();
    };
    const std::string fixture = ReadBytes(FixtureTemplate());
    const std::pair<const char*, std::string> cases[] = {
        {"short", fixture.substr(fixture.size() - 1999)},
        {"wrong constant", spoil([](TemplateParts& t) {
             t.Set(tf::kValiditySection, tf::kValidityKey, "VelmoraEffectTemplate-1.0-c7e2a94f3b1d5e09");
         })},
        {"bad digit", spoil([](TemplateParts& t) { t.Set(tf::kSegmentSection, "k1", "tm9"); })},
        {"missing key", spoil([](TemplateParts& t) { t.Set(tf::kSegmentSection, "v2", "<none>"); })},
        {"slice out of range", spoil([](TemplateParts& t) {
             t.Set(tf::kMovieSection, tf::kMovieLengthKey, tf::EncodeNumber(t.movie.size() + 1));
         })},
        {"N = 0",
         spoil([](TemplateParts& t) { t.Set(tf::kCountSection, tf::kCountKey, tf::EncodeNumber(0)); })},
        {"slot count 16", spoil([](TemplateParts& t) { t.Segment(1, 0, 10, 16); })},
        {"sum 0", spoil([](TemplateParts& t) {
             t.Segment(1, 0, 10, 0);
             t.Segment(2, 10, 19, 0);
         })},
        {"unloadable movie", spoil([](TemplateParts& t) { t.movie.assign(t.movie.size(), 'x'); })},
        {"movie of 5 frames", spoil([](TemplateParts& t) { t.movie = MovieOfFrames(5); })},
        {"missing file", "<no file>"},
    };
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        const fs::path file =
            bytes == "<no file>" ? system_.Path() / "missing.avi" : Write(std::string(what) + ".avi", bytes);
        messages_.clear();
        ImportTemplate(file);
        EXPECT_EQ(messages_, (std::vector<std::string>{kRefused}));
        ExpectPreviousTemplateInForce(previous_file, rows, copy);
        EXPECT_EQ(Copy(2), copy);
        for (const std::string& name : ZhzpFiles())
            EXPECT_TRUE(name == "zhzp1.swf" || name == "zhzp2.swf" || name == "lin_shi.ini") << name;
        EXPECT_TRUE(Unlocked());
        EXPECT_TRUE(RunButtonsEnabled());
    }
    // Production and the preview still have their template.
    AddPhotos(2);
    Form1->kivButton1->Click();
    EXPECT_EQ(Form1->Preview().Stage(), app::PreviewStage::kEffect);
}

TEST_F(TemplateImport, AnInvalidFirstTemplateLeavesTheProjectWithoutOne)
{
    // The validity text is right, but a number is not: still no template.
    TemplateParts parts = TemplateParts::Fixture();
    parts.Set(tf::kCountSection, tf::kCountKey, "2");
    ImportTemplate(Write("bad.avi", parts.Bytes()));
    EXPECT_EQ(messages_, (std::vector<std::string>{kRefused}));
    EXPECT_TRUE(Form1->TemplateFile.empty());
    EXPECT_NE(Form1->TemplateState, tf::kValidityConstant);
    EXPECT_FALSE(fs::exists(work_ / "zhzp" / "zhzp1.swf"));
    // The trailer stays for a look until the next import.
    EXPECT_TRUE(fs::exists(work_ / "zhzp" / "lin_shi.ini"));
    AddPhotos(1);
    Form1->kivButton1->Click();
    EXPECT_EQ(FrontPane(), Form1->ScrollBox13);
    EXPECT_TRUE(Unlocked());
}

TEST_F(TemplateImport, AWorkFolderThatCannotBeWrittenIsSaidSoAndChangesNothing)
{
    const fs::path previous_file = ImportPreviousTemplate();
    ASSERT_TRUE(messages_.empty());
    const app::SegmentTable rows = Form1->SegmentRows();
    const std::string copy = Copy(1);
    const fs::path second = work_ / "zhzp" / "zhzp2.swf";

    // A valid template meets a full disk, or a folder where its second copy goes.
    for (const bool folder_in_the_way : {false, true}) {
        SCOPED_TRACE(folder_in_the_way ? "a folder in the way" : "writes fail");
        messages_.clear();
        if (folder_in_the_way) {
            fs::remove(second);
            fs::create_directories(second / "x");
            ImportTemplate(FixtureTemplate());
        } else {
            app_test::FileWritesFail full;
            ImportTemplate(FixtureTemplate());
        }
        EXPECT_EQ(messages_, (std::vector<std::string>{std::string("导入模板|") + app::kTemplateNotWritten}));
        ExpectPreviousTemplateInForce(previous_file, rows, copy);
        if (!folder_in_the_way) {
            EXPECT_EQ(Copy(2), copy);
        }
        EXPECT_EQ(ZhzpFiles(), (std::set<std::string>{"zhzp1.swf", "zhzp2.swf"}));
        EXPECT_TRUE(Unlocked());
        EXPECT_TRUE(RunButtonsEnabled());
    }
    // Once the folder can be written, the same template imports.
    fs::remove_all(second);
    messages_.clear();
    ImportTemplate(FixtureTemplate());
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(Form1->TemplateFile, FixtureTemplate().string());
}

// A form built alone, not connected to the main window, imports nothing
// into it and still closes.
TEST_F(TemplateImport, AFormNotConnectedToTheMainWindowImportsNothing)
{
    Form1->OpenDialog3->SetFileName(FixtureTemplate().string());
    auto* alone = CreateForm<TForm14>();
    alone->ShowModal();
    EXPECT_FALSE(alone->Visible());
    for (TTimer* timer : {alone->Timer1, alone->Timer2, alone->Timer3}) EXPECT_FALSE(timer->Enabled());
    EXPECT_TRUE(messages_.empty());
    EXPECT_TRUE(Form1->TemplateFile.empty());
    EXPECT_TRUE(Form1->TemplateState.empty());
    EXPECT_EQ(Form1->ListBox2->Items().Count(), 0);
    EXPECT_EQ(Form1->TemplateMovie, "1");
    EXPECT_EQ(FrontPane(), Form1->ScrollBox13);
    EXPECT_TRUE(Unlocked());
    EXPECT_TRUE(RunButtonsEnabled());
}

}  // namespace
}  // namespace preview_test
