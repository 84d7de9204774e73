#include "app/output_handover.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/main_window.h"
#include "app/lrc.h"
#include "app/output_job.h"
#include "app/preview_engine.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/ui/dialogs.h"
#include "production/album_job.h"
#include "production/completion_form.h"
#include "production/pending_output.h"
#include "production/song_files.h"
#include "skin/kiv_button.h"
#include "skin/kiv_list_view.h"
#include "skin/kiv_message_dialog.h"

namespace app {

namespace {

ProductionRunner& CustomRunner()
{
    static ProductionRunner runner;
    return runner;
}

void ShowMessage(TForm1& form, const std::string& caption, const std::string& text)
{
    skin::Tell(*form.kivMessageDialog1, caption, text);
}

std::string SubItem(const TListItem& item, int index)
{
    return index < item.SubItems().Count() ? item.SubItems()[index] : std::string();
}

production::LyricIndex LyricIndexOf(const std::string& lrc_path)
{
    production::LyricIndex index;
    if (lrc_path.empty()) return index;
    for (const LrcRow& row : LoadLrcFile(std::filesystem::u8path(lrc_path)).index)
        index.push_back({row.caption, row.text});
    return index;
}

}  // namespace

ProductionRunner SetProductionRunner(ProductionRunner runner)
{
    ProductionRunner before = std::move(CustomRunner());
    CustomRunner() = std::move(runner);
    return before;
}

int64_t JobFrames(const TForm1& form)
{
    JobFrameInput input;
    input.sync_mode = form.SyncMode;
    input.template_frames = form.xiao_guo_Flash->TotalFrames();
    input.photo_frames = form.PhotoFrames;
    input.music_seconds = form.MusicSeconds;
    input.has_ending = !form.EndingFile.empty();
    input.ending_frames = input.has_ending ? form.Pian_Wei_FLASH->TotalFrames() : 0;
    return JobFrameCount(input);
}

production::AlbumProject MakeAlbumProject(const TForm1& form)
{
    production::AlbumProject project;
    // The settings whole; then the lists as production reads them.
    static_cast<production::AlbumSettings&>(project) = form;

    const TListItems& photos = form.kivListView1->Items();
    for (int row = 0; row < photos.Count(); ++row) project.Photos.push_back(SubItem(*photos[row], 0));

    const TListItems& music = form.kivListView2->Items();
    for (int row = 0; row < music.Count(); ++row) {
        production::AlbumMusicRow entry;
        entry.path = SubItem(*music[row], 0);
        entry.lengthText = SubItem(*music[row], 1);
        // The measured length; a row measured by nobody has its text only.
        const auto index = static_cast<size_t>(row);
        entry.seconds = index < form.MusicRowSeconds.size()
                            ? form.MusicRowSeconds[index]
                            : std::max(LengthTextSeconds(entry.lengthText), 0.0);
        project.Music.push_back(std::move(entry));
    }

    std::vector<std::string> lyric_files;
    const TListItems& lyrics = form.kivListView5->Items();
    for (int row = 0; row < lyrics.Count(); ++row) lyric_files.push_back(SubItem(*lyrics[row], 0));
    project.LyricFileCount = lyric_files.size();
    project.SlotsPerFill = static_cast<int>(SlotsFilledAtATime(form.SegmentRows()));
    project.LoadLyrics = [lyric_files = std::move(lyric_files)](std::size_t song) {
        return song < lyric_files.size() ? LyricIndexOf(lyric_files[song]) : production::LyricIndex{};
    };
    return project;
}

void TakeBackAlbumProject(TForm1& form, const production::AlbumProject& project)
{
    form.ProduceTemplateMovie = project.ProduceTemplateMovie;
    form.ProduceEndingMovie = project.ProduceEndingMovie;
    form.LrcSongIndex = project.LrcSongIndex;
}

void HandOverOutput(TForm1& form, std::string_view output_format)
{
    if (!form.ValidTemplateLoaded()) {
        ShowMessage(form, "导入模板", "没有导入模板.");
        return;
    }
    if (form.kivListView1->Items().Count() == 0) {
        ShowMessage(form, "导入照片", "没有导入照片.");
        return;
    }
    form.SaveDialog1->SetFileName("");
    if (!form.SaveDialog1->Execute()) return;

    // Whatever refuses the job comes before the preview stops and the
    // project changes: a refused job leaves the preview as it was.
    const std::string path = OutputPathFor(form.SaveDialog1->FileName(), output_format);
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::u8path(path), error)) {
        ShowMessage(form, "文件已存在", "文件已存在! 不能完成操作.");
        return;
    }
    // A name the file system refuses is told now, not after the job.
    if (const std::string problem = production::OutputNameProblem(path); !problem.empty()) {
        ShowMessage(form, std::string(production::kEmptyJobCaption), problem);
        return;
    }
    // A song that is no regular file would be read for ever by production.
    std::vector<std::string> songs;
    for (int row = 0; row < form.kivListView2->Items().Count(); ++row)
        songs.push_back(SubItem(*form.kivListView2->Items()[row], 0));
    if (const std::string problem = production::SongFilesProblem(songs); !problem.empty()) {
        ShowMessage(form, std::string(production::kEmptyJobCaption), problem);
        return;
    }
    // A job without frames (music follows no music, a one-frame movie)
    // would have no end for production to reach.
    const int64_t frames = JobFrames(form);
    if (frames <= 0) {
        ShowMessage(form, std::string(production::kEmptyJobCaption), std::string(production::kEmptyJobText));
        return;
    }

    form.kivButton3Click(form.kivButton3);
    form.OutputFormat = std::string(output_format);
    // Slots 1 to N hold photos 1 to N: production starts the template
    // movie from there.
    form.FillPhotoSlots();

    HandOverJob job;
    job.output_path = path;
    job.frame_count = frames;
    job.project = MakeAlbumProject(form);
    const HandOverResult result = CustomRunner() ? CustomRunner()(job) : production::RunProductionForm(job);
    TakeBackAlbumProject(form, result.project);

    if (result.outcome.ShowsCompletionForm()) {
        Form10->ShowModal();
    } else {
        ShowMessage(form, result.outcome.caption, result.outcome.text);
    }
}

}  // namespace app
