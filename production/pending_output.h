// The video file of a job is written under a hidden temporary name beside
// its final name and renamed into place only when the job ends with a file
// worth keeping, so that a failed or killed job leaves nothing under the
// final name and a retry with the same name isn't refused. The temporary
// file is the job's own: made new under a name of its own, never through
// a link planted there, and written through the open file itself.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "production/failure_messages.h"

namespace production {

// Why the file system would refuse `final` as a new file (no such folder,
// a name too long for it), or nothing when nothing is known against it.
std::optional<Failure> OutputNameFailure(const std::filesystem::path& final);
// The same as the message shown; empty when nothing is known against it.
std::string OutputNameProblem(const std::filesystem::path& final);

class PendingOutput {
public:
    explicit PendingOutput(std::filesystem::path final);
    PendingOutput(const PendingOutput&) = delete;
    PendingOutput& operator=(const PendingOutput&) = delete;
    // A file that was neither kept nor discarded goes.
    ~PendingOutput();

    const std::filesystem::path& Final() const { return final_; }
    // The hidden name in the final name's folder; empty until created.
    const std::filesystem::path& Temporary() const { return temporary_; }
    // The name the encoder opens to write: the file created, whatever
    // happens to its name meanwhile.
    std::string WritePath() const;

    // Checks the final name and creates the temporary file, exclusively
    // and under a fresh name; the failure when the file system refuses.
    std::optional<Failure> Create();
    // Renames the temporary file to the final name, never over a file that
    // appeared there meanwhile, and checks that it is there, the file
    // written and not empty.
    std::optional<Failure> Keep();
    // Removes the temporary file; the failure when it stays behind.
    std::optional<Failure> Discard();
    // The hidden file that stayed behind a refused Keep or a Discard.
    const std::optional<Failure>& LeftBehind() const { return left_behind_; }

private:
    void Close();

    std::filesystem::path final_, temporary_;
    int fd_ = -1;
    bool created_ = false;
    std::optional<Failure> left_behind_;
};

}  // namespace production
