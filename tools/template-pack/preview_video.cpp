#include "tools/template-pack/preview_video.h"

#include <exception>
#include <string>

#include "mcl/mcl.h"
#include "platform/gfx/image_io.h"
#include "tools/template-pack/template_pack.h"

namespace template_pack {
namespace {

// libmcl's callbacks carry no context; the run in progress lives here.
struct Run {
    const PaintFrame* paint = nullptr;
    TBitmap frame;
    std::filesystem::path frame_file;
    int frame_count = 0;
    std::exception_ptr failure;
};
thread_local Run* t_run = nullptr;

}  // namespace

void EncodePreviewVideo(const std::filesystem::path& output, int frame_count, int width, int height,
                        const PaintFrame& paint, const std::filesystem::path& scratch_folder, int preset)
{
    if (frame_count <= 0 || width <= 0 || height <= 0) throw PackError("nothing to encode");
    std::filesystem::create_directories(scratch_folder);
    Run run;
    run.paint = &paint;
    run.frame = TBitmap(width, height, clBlack);
    run.frame_file = scratch_folder / "preview-frame.bmp";
    run.frame_count = frame_count;
    // The encoder takes the size of its first picture, so that one exists
    // before the run starts.
    paint(0, run.frame);
    gfx::SaveBmp(run.frame, run.frame_file);
    std::error_code ignored;
    std::filesystem::remove(output, ignored);

    t_run = &run;
    MclConverter* converter = MclCreate();
    MclAssignVideoSource(converter, [](MclSource* source, int32_t index) {
        if (index < t_run->frame_count)
            MclSourceSetFile(source, t_run->frame_file.string().c_str());
        else
            MclSourceFinished(source);
    });
    MclAssignVideoFunc(converter, [](MclConverter* c, int64_t frame, int32_t) {
        if (t_run->failure) return;
        try {
            (*t_run->paint)(static_cast<int>(frame), t_run->frame);
            gfx::SaveBmp(t_run->frame, t_run->frame_file);
        } catch (...) {
            t_run->failure = std::current_exception();
            MclAbort(c);
        }
    });
    MclAssignAudioSource(converter, [](MclSource* source, int32_t) { MclSourceFinished(source); });
    if (preset >= 0 && !MclSetFormatPreset(converter, preset, MCL_TV_PAL)) {
        MclFree(converter);
        t_run = nullptr;
        throw PackError("no format preset " + std::to_string(preset));
    }
    MclVideoSetKeepDuration(converter, 0);
    MclVideoSetFileName(converter, output.string().c_str());
    MclAudioSetFileName(converter, output.string().c_str());
    const int32_t result = MclConvert(converter);
    const std::string error = MclGetErrorStr();
    MclFree(converter);
    t_run = nullptr;
    std::filesystem::remove(run.frame_file, ignored);

    if (run.failure) std::rethrow_exception(run.failure);
    if (result != MCL_OK) throw PackError("encoding the preview video failed: " + error);
}

}  // namespace template_pack
