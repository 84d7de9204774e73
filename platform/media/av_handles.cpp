#include "platform/media/av_handles.h"

#include <atomic>
#include <filesystem>
#include <mutex>

namespace media {

std::string AvErrorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

namespace {
constexpr size_t kMaxSingleAllocation = size_t{64} << 20;

int InterruptRequested(void* opaque)
{
    const auto* cancel = static_cast<const std::atomic<bool>*>(opaque);
    return cancel && cancel->load() ? 1 : 0;
}
}  // namespace

FormatPtr OpenMediaFile(const std::string& path, const std::atomic<bool>* cancel, std::string& error)
{
    static std::once_flag configured;
    std::call_once(configured, [] {
        // The player reports its own errors; FFmpeg's console chatter about
        // damaged input would only scroll past.
        av_log_set_level(AV_LOG_FATAL);
        // A damaged header can name a chunk of hundreds of megabytes that FFmpeg then
        // allocates and clears; no real picture or packet comes near this (an
        // 8K frame in YUV 4:2:0 is 50 MB).
        av_max_alloc(kMaxSingleAllocation);
    });
    // A pipe or a device under a media file's name would block the open or
    // never end.
    std::error_code not_regular;
    if (!std::filesystem::is_regular_file(std::filesystem::path(path), not_regular)) {
        error = "cannot open the file: not a regular file";
        return nullptr;
    }
    AVFormatContext* raw = avformat_alloc_context();
    if (!raw) {
        error = "out of memory";
        return nullptr;
    }
    raw->interrupt_callback.callback = InterruptRequested;
    raw->interrupt_callback.opaque = const_cast<std::atomic<bool>*>(cancel);
    // avformat_open_input frees the context itself when it fails.
    int rc = avformat_open_input(&raw, path.c_str(), nullptr, nullptr);
    if (rc < 0) {
        error = "cannot open the file: " + AvErrorText(rc);
        return nullptr;
    }
    FormatPtr format(raw);
    rc = avformat_find_stream_info(format.get(), nullptr);
    if (rc < 0) {
        error = "cannot read the media streams: " + AvErrorText(rc);
        return nullptr;
    }
    return format;
}

}  // namespace media
