#include "platform/flash/picture_ahead.h"

#include <algorithm>
#include <utility>

namespace flash {

namespace {

PicturePtr ReadOrNothing(const std::filesystem::path& path, PictureCover cover)
{
    try {
        return ReadPictureFile(path, cover);
    } catch (...) {
        // Decoded again in place, where its error is seen as usual.
        return nullptr;
    }
}

}  // namespace

std::optional<FileStamp> StampOf(const std::filesystem::path& file)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return std::nullopt;
    FileStamp stamp;
    stamp.size = std::filesystem::file_size(file, error);
    if (error) return std::nullopt;
    stamp.time = std::filesystem::last_write_time(file, error);
    if (error) return std::nullopt;
    return stamp;
}

PictureAhead::~PictureAhead() { Stop(); }

void PictureAhead::Stop()
{
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void PictureAhead::StartThread()
{
    if (!thread_.joinable()) thread_ = std::thread([this] { Work(); });
}

bool PictureAhead::PicturesWaiting() const
{
    return std::any_of(entries_.begin(), entries_.end(), [](const Entry& entry) {
        return entry.state == State::Done && std::any_of(entry.copies.begin(), entry.copies.end(),
                                                         [](const Copy& copy) { return !copy.taken; });
    });
}

void PictureAhead::Guess(const std::vector<std::filesystem::path>& files, PictureCover cover)
{
    std::vector<Entry> dropped;
    {
        std::lock_guard lock(mutex_);
        dropped.swap(entries_);
        for (Entry& entry : dropped) {
            const bool waiting = std::any_of(entry.copies.begin(), entry.copies.end(),
                                             [](const Copy& copy) { return !copy.taken; });
            if (waiting) entries_.push_back(std::move(entry));
        }
        if (quit_) return;
        std::vector<std::filesystem::path> guessed;
        for (const std::filesystem::path& file : files) {
            if (std::find(guessed.begin(), guessed.end(), file) != guessed.end()) continue;
            guessed.push_back(file);
            // A file that isn't there now can't be handed over later.
            if (std::optional<FileStamp> stamp = StampOf(file)) {
                Entry entry;
                entry.id = ++last_id_;
                entry.path = file;
                entry.stamp = *stamp;
                entry.cover = cover;
                entries_.push_back(std::move(entry));
            }
        }
        if (!entries_.empty()) StartThread();
    }
    changed_.notify_all();
    // The pictures dropped are freed here, outside the lock.
}

void PictureAhead::Clear()
{
    std::vector<Entry> dropped;
    std::lock_guard lock(mutex_);
    dropped.swap(entries_);
}

void PictureAhead::Work()
{
    std::unique_lock lock(mutex_);
    auto queued = [&] {
        // The next set waits while pictures of the last are still to be read,
        // unless its own are wanted already.
        const bool wait = PicturesWaiting();
        return std::find_if(entries_.begin(), entries_.end(), [&](const Entry& entry) {
            return entry.state == State::Queued && (!wait || entry.wanted || !entry.copies.empty());
        });
    };
    while (true) {
        changed_.wait(lock,
                      [&] { return quit_ || urgent_.state == State::Queued || queued() != entries_.end(); });
        if (quit_) return;
        if (urgent_.state == State::Queued) {
            urgent_.state = State::Decoding;
            const std::filesystem::path path = urgent_.path;
            const PictureCover cover = urgent_.cover;
            lock.unlock();
            PicturePtr picture = ReadOrNothing(path, cover);
            lock.lock();
            urgent_.picture = std::move(picture);
            urgent_.state = State::Done;
            changed_.notify_all();
            continue;
        }
        const auto entry = queued();
        entry->state = State::Decoding;
        const std::uint64_t id = entry->id;
        const std::filesystem::path path = entry->path;
        const FileStamp stamp = entry->stamp;
        const PictureCover cover = entry->cover;
        lock.unlock();

        PicturePtr picture = ReadOrNothing(path, cover);
        // Changed since the guess: the bytes read may be of either version.
        if (StampOf(path) != stamp) picture = nullptr;

        lock.lock();
        const auto done =
            std::find_if(entries_.begin(), entries_.end(), [&](const Entry& held) { return held.id == id; });
        if (done != entries_.end()) {
            done->picture = std::move(picture);
            done->state = State::Done;
            changed_.notify_all();
        } else {
            lock.unlock();
            picture.reset();  // a picture of a dropped set, freed outside the lock
            lock.lock();
        }
    }
}

void PictureAhead::NoteCopy(const std::filesystem::path& original, const std::filesystem::path& copy)
{
    {
        std::lock_guard lock(mutex_);
        for (Entry& entry : entries_) {
            std::erase_if(entry.copies, [&](const Copy& noted) { return noted.path == copy; });
        }
        const std::optional<FileStamp> stamp = StampOf(original);
        const std::optional<FileStamp> copied = StampOf(copy);
        if (stamp && copied && copied->size == stamp->size) {
            // The newest guess of the original: the last entry for it.
            for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
                if (entry->path == original && entry->stamp == *stamp) {
                    entry->copies.push_back({copy, *copied, false});
                    break;
                }
            }
        }
    }
    changed_.notify_all();
}

void PictureAhead::ForgetCopies()
{
    {
        std::lock_guard lock(mutex_);
        for (Entry& entry : entries_) entry.copies.clear();
    }
    changed_.notify_all();
}

PictureAhead::Entry* PictureAhead::Find(const std::filesystem::path& file, Copy** copy)
{
    *copy = nullptr;
    for (Entry& entry : entries_) {
        for (Copy& noted : entry.copies) {
            if (noted.path == file && !noted.taken) {
                *copy = &noted;
                return &entry;
            }
        }
    }
    for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
        if (entry->path == file && !entry->taken) return &*entry;
    }
    return nullptr;
}

PicturePtr PictureAhead::Take(const std::filesystem::path& file, PictureCover cover)
{
    std::unique_lock lock(mutex_);
    Copy* copy = nullptr;
    Entry* entry = Find(file, &copy);
    if (!entry || !(cover == entry->cover)) return nullptr;
    if (StampOf(file) != (copy ? copy->stamp : entry->stamp)) return nullptr;
    // Only this thread changes the list, so the entry stays where it is.
    entry->wanted = true;
    changed_.notify_all();
    changed_.wait(lock,
                  [&] { return entry->state == State::Done || (quit_ && entry->state != State::Decoding); });
    if (entry->state != State::Done) return nullptr;
    PicturePtr picture = entry->picture;
    if (copy) {
        copy->taken = true;
    } else {
        entry->taken = true;
    }
    // Held no longer once everything that shows it has it.
    const bool handed = entry->taken || std::all_of(entry->copies.begin(), entry->copies.end(),
                                                    [](const Copy& noted) { return noted.taken; });
    PicturePtr held;
    if (handed) held = std::move(entry->picture);
    lock.unlock();
    changed_.notify_all();
    return picture;
}

PicturePtr PictureAhead::Decode(const std::filesystem::path& file, PictureCover cover)
{
    std::unique_lock lock(mutex_);
    if (quit_) return nullptr;
    const std::optional<FileStamp> stamp = StampOf(file);
    StartThread();
    urgent_.path = file;
    urgent_.cover = cover;
    urgent_.picture = nullptr;
    urgent_.state = State::Queued;
    changed_.notify_all();
    changed_.wait(lock,
                  [&] { return urgent_.state == State::Done || (quit_ && urgent_.state == State::Queued); });
    urgent_.state = State::Done;
    PicturePtr picture = std::move(urgent_.picture);
    // A movie that reads its files twice over gets the same picture again.
    if (picture && stamp && StampOf(file) == stamp) {
        Entry entry;
        entry.id = ++last_id_;
        entry.path = file;
        entry.stamp = *stamp;
        entry.cover = cover;
        entry.state = State::Done;
        entry.picture = picture;
        entries_.push_back(std::move(entry));
    }
    return picture;
}

}  // namespace flash
