#include "tools/template-pack/movie_preview.h"

#include <string>

#include "app/ending_template.h"
#include "mcl/mcl.h"
#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/flash/player.h"
#include "tools/template-pack/preview_video.h"
#include "tools/template-pack/template_pack.h"

namespace fs = std::filesystem;

namespace template_pack {

void RenderMoviePreview(const fs::path& movie_file, const std::vector<fs::path>& photos,
                        const fs::path& output, const fs::path& scratch_folder)
{
    if (photos.empty()) throw PackError("no photos for the preview");
    fs::remove_all(scratch_folder);
    fs::create_directories(scratch_folder);
    struct Cleanup {
        fs::path folder;
        ~Cleanup()
        {
            std::error_code ignored;
            fs::remove_all(folder, ignored);
        }
    } cleanup{scratch_folder};

    const fs::path movie = scratch_folder / "zhzp1.swf";
    fs::copy_file(movie_file, movie);

    core::TestApplication app;  // a loop on a virtual clock: the movie moves only when stepped
    flash::Player player;
    size_t cursor = 0;
    std::string failure;
    player.OnFSCommand = [&](const std::string& command, const std::string&) {
        if (command.rfind("tupian=", 0) != 0) return;
        int count = 0;
        try {
            count = std::stoi(command.substr(7));
        } catch (...) {
            return;
        }
        for (int slot = 1; slot <= count && slot <= 15; ++slot) {
            std::error_code error;
            fs::copy_file(photos[cursor], scratch_folder / ("tupian" + std::to_string(slot) + ".jpg"),
                          fs::copy_options::overwrite_existing, error);
            if (error && failure.empty())
                failure = "cannot copy " + photos[cursor].string() + ": " + error.message();
            cursor = (cursor + 1) % photos.size();
        }
    };
    if (!player.Load(movie)) throw PackError("the movie does not load: " + player.LoadError());
    player.Stop();
    player.SetVariable("LRC_geci", "");

    EncodePreviewVideo(
        output, player.TotalFrames(), kPreviewWidth, kPreviewHeight,
        [&](int frame, TBitmap& target) {
            // Every frame is entered in turn, so that each request is answered.
            while (player.FrameNum() < frame) player.SetFrameNum(player.FrameNum() + 1);
            target.Fill(clBlack);
            player.Render(target, target.BoundsRect());
        },
        scratch_folder);
    if (!failure.empty()) throw PackError(failure);
}

void RenderEndingPreview(const fs::path& movie_file, const fs::path& picture, const fs::path& output,
                         const fs::path& scratch_folder)
{
    fs::remove_all(scratch_folder);
    fs::create_directories(scratch_folder);
    struct Cleanup {
        fs::path folder;
        ~Cleanup()
        {
            std::error_code ignored;
            fs::remove_all(folder, ignored);
        }
    } cleanup{scratch_folder};

    // The ending's folder as the work folder's "pwwjj" holds it.
    const fs::path movie = scratch_folder / "pwwj1.swf";
    fs::copy_file(movie_file, movie);
    fs::copy_file(picture, scratch_folder / "pwtp.jpg");
    for (int number : {1, 2})
        if (!core::WriteFileBytes(scratch_folder / ("txt_" + std::to_string(number) + ".txt"),
                                  app::FormatEndingText(number, app::kEndingDefaultText)))
            throw PackError("cannot write the ending texts into " + scratch_folder.string());

    core::TestApplication app;
    flash::Player player;
    if (!player.Load(movie)) throw PackError("the movie does not load: " + player.LoadError());
    player.Stop();
    EncodePreviewVideo(
        output, player.TotalFrames(), kPreviewWidth, kPreviewHeight,
        [&](int frame, TBitmap& target) {
            while (player.FrameNum() < frame) player.SetFrameNum(player.FrameNum() + 1);
            target.Fill(clBlack);
            player.Render(target, target.BoundsRect());
        },
        scratch_folder / "frames", MCL_PRESET_VCD);
}

}  // namespace template_pack
