#include "app/output_handover.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/lrc.h"
#include "app/output_job.h"
#include "app/preview_engine.h"
#include "app/segment_table.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/listview.h"
#include "production/album_job.h"
#include "production/completion_form.h"
#include "production/pending_output.h"
#include "production/song_files.h"
#include "skin/kiv_message_dialog.h"

namespace app {

namespace {

ProductionRunner& CustomRunner()
{
    static ProductionRunner runner;
    return runner;
}

void ShowMessage(const OutputHandoverView& main, const std::string& caption, const std::string& text)
{
    skin::Tell(main.message, caption, text);
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

int64_t JobFrames(const OutputHandoverView& main)
{
    const production::AlbumSettings& settings = main.settings;
    JobFrameInput input;
    input.sync_mode = settings.SyncMode;
    input.template_frames = main.template_frames();
    input.photo_frames = settings.PhotoFrames;
    input.music_seconds = settings.MusicSeconds;
    input.has_ending = !settings.EndingFile.empty();
    input.ending_frames = input.has_ending ? main.ending_frames() : 0;
    return JobFrameCount(input);
}

production::AlbumProject MakeAlbumProject(const OutputHandoverView& main)
{
    production::AlbumProject project;
    // The settings whole; then the lists as production reads them.
    static_cast<production::AlbumSettings&>(project) = main.settings;

    const TListItems& photos = main.photos;
    for (int row = 0; row < photos.Count(); ++row) project.Photos.push_back(SubItem(*photos[row], 0));

    const TListItems& music = main.music;
    for (int row = 0; row < music.Count(); ++row) {
        production::AlbumMusicRow entry;
        entry.path = SubItem(*music[row], 0);
        entry.lengthText = SubItem(*music[row], 1);
        // The measured length; a row measured by nobody has its text only.
        const auto index = static_cast<size_t>(row);
        entry.seconds = index < main.music_row_seconds.size()
                            ? main.music_row_seconds[index]
                            : std::max(LengthTextSeconds(entry.lengthText), 0.0);
        project.Music.push_back(std::move(entry));
    }

    std::vector<std::string> lyric_files;
    const TListItems& lyrics = main.lyric_files;
    for (int row = 0; row < lyrics.Count(); ++row) lyric_files.push_back(SubItem(*lyrics[row], 0));
    project.LyricFileCount = lyric_files.size();
    project.SlotsPerFill = static_cast<int>(SlotsFilledAtATime(main.segment_rows()));
    project.LoadLyrics = [lyric_files = std::move(lyric_files)](std::size_t song) {
        return song < lyric_files.size() ? LyricIndexOf(lyric_files[song]) : production::LyricIndex{};
    };
    return project;
}

void TakeBackAlbumProject(const ProductionTakeBack& main, const production::AlbumProject& project)
{
    main.template_movie = project.ProduceTemplateMovie;
    main.ending_movie = project.ProduceEndingMovie;
    main.lyric_song = project.LrcSongIndex;
}

void HandOverOutput(const OutputHandoverView& main, std::string_view output_format)
{
    if (!main.template_loaded()) {
        ShowMessage(main, "导入模板", "没有导入模板.");
        return;
    }
    if (main.photos.Count() == 0) {
        ShowMessage(main, "导入照片", "没有导入照片.");
        return;
    }
    main.save_dialog.SetFileName("");
    if (!main.save_dialog.Execute()) return;

    // Whatever refuses the job comes before the preview stops and the
    // project changes: a refused job leaves the preview as it was.
    const std::string path = OutputPathFor(main.save_dialog.FileName(), output_format);
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::u8path(path), error)) {
        ShowMessage(main, "文件已存在", "文件已存在! 不能完成操作.");
        return;
    }
    // A name the file system refuses is told now, not after the job.
    if (const std::string problem = production::OutputNameProblem(path); !problem.empty()) {
        ShowMessage(main, std::string(production::kEmptyJobCaption), problem);
        return;
    }
    // A song that is no regular file would be read for ever by production.
    std::vector<std::string> songs;
    for (int row = 0; row < main.music.Count(); ++row) songs.push_back(SubItem(*main.music[row], 0));
    if (const std::string problem = production::SongFilesProblem(songs); !problem.empty()) {
        ShowMessage(main, std::string(production::kEmptyJobCaption), problem);
        return;
    }
    // A job without frames (music follows no music, a one-frame movie)
    // would have no end for production to reach.
    const int64_t frames = JobFrames(main);
    if (frames <= 0) {
        ShowMessage(main, std::string(production::kEmptyJobCaption), std::string(production::kEmptyJobText));
        return;
    }

    main.stop_preview();
    main.output_format = std::string(output_format);
    // Slots 1 to N hold photos 1 to N: production starts the template
    // movie from there.
    main.fill_photo_slots();

    HandOverJob job;
    job.output_path = path;
    job.frame_count = frames;
    job.project = MakeAlbumProject(main);
    const HandOverResult result = CustomRunner() ? CustomRunner()(job) : production::RunProductionForm(job);
    TakeBackAlbumProject(main.taken_back, result.project);

    if (result.outcome.ShowsCompletionForm()) {
        Form10->ShowModal();
    } else {
        ShowMessage(main, result.outcome.caption, result.outcome.text);
    }
}

}  // namespace app
