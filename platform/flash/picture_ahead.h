#pragma once
// Pictures decoded ahead on one long-lived thread: the files a movie is
// expected to read at its next load point are decoded meanwhile and handed
// over when the load point asks for them, or for copies of them made since.
// Only one set is held. A file whose size or modification time is not what
// it was is left to be decoded in place, as is one that failed to decode,
// so that its error shows as it always does.
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "platform/flash/movie_files.h"
#include "platform/flash/picture.h"

namespace flash {

struct FileStamp {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type time{};
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
// Nothing for a file that isn't there or isn't a plain file.
std::optional<FileStamp> StampOf(const std::filesystem::path& file);

class PictureAhead {
public:
    PictureAhead() = default;
    // A decode under way is finished first; the rest of the set is dropped.
    ~PictureAhead();
    PictureAhead(const PictureAhead&) = delete;
    PictureAhead& operator=(const PictureAhead&) = delete;

    // Drops the set held and decodes these files in turn to cover `cover`.
    // Pictures whose copies are still to be read stay until they are read
    // or gone, and the new set waits for that, so that no more than one set
    // lies beside the movie's own.
    void Guess(const std::vector<std::filesystem::path>& files, PictureCover cover);
    // Drops everything held.
    void Clear();
    // `copy` was just made from `original`: when the original is a guessed
    // file still as it was, the copy hands over its picture.
    void NoteCopy(const std::filesystem::path& original, const std::filesystem::path& copy);
    // The copies noted are gone.
    void ForgetCopies();
    // The picture of a guessed file, or of a noted copy of one, decoded to
    // cover `cover`, while the file is as it was; waits for its decode when
    // that is under way or to come. Nothing when it can't be handed over.
    PicturePtr Take(const std::filesystem::path& file, PictureCover cover);
    // Decodes the file on the worker now, before anything guessed that is
    // still to come, and waits for it; nothing when it can't. Every picture
    // then comes from the one thread, whose freed memory serves the next.
    // The picture is handed over once more while the file stays as it was.
    PicturePtr Decode(const std::filesystem::path& file, PictureCover cover);
    // Ends the thread once the decode under way is done.
    void Stop();

private:
    enum class State { Queued, Decoding, Done };
    struct Copy {
        std::filesystem::path path;
        FileStamp stamp;
        bool taken = false;
    };
    struct Entry {
        std::uint64_t id = 0;
        std::filesystem::path path;
        FileStamp stamp;  // when guessed
        PictureCover cover;
        State state = State::Queued;
        PicturePtr picture;  // when Done: nothing if it couldn't be decoded
        std::vector<Copy> copies;
        bool taken = false;   // the file itself
        bool wanted = false;  // waited for
    };
    // A file to decode at once, asked for by Decode.
    struct Urgent {
        std::filesystem::path path;
        PictureCover cover;
        State state = State::Done;
        PicturePtr picture;
    };

    void Work();
    void StartThread();
    // Decoded pictures whose copies are still to be read.
    bool PicturesWaiting() const;
    // The entry and its copy (or nothing for the file itself) that `file` names.
    Entry* Find(const std::filesystem::path& file, Copy** copy);

    std::thread thread_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Entry> entries_;
    Urgent urgent_;
    std::uint64_t last_id_ = 0;
    bool quit_ = false;
};

}  // namespace flash
