// The video file of a job is written under a temporary name beside its
// final name and renamed into place only when the job ends with a file
// worth keeping, so that a failed or killed job leaves nothing under the
// final name and a retry with the same name isn't refused.
#pragma once

#include <filesystem>
#include <string>

namespace production {

// The temporary name in the folder of `final`: hidden, and short enough
// for any name the folder takes.
std::filesystem::path TemporaryOutputPath(const std::filesystem::path& final);

// Why the file system would refuse `final` as a new file (no such folder,
// a name too long for it), or empty when nothing is known against it.
std::string OutputNameProblem(const std::filesystem::path& final);

class PendingOutput {
public:
    explicit PendingOutput(std::filesystem::path final);
    PendingOutput(const PendingOutput&) = delete;
    PendingOutput& operator=(const PendingOutput&) = delete;
    // A file that was neither kept nor discarded goes.
    ~PendingOutput();

    const std::filesystem::path& Final() const { return final_; }
    const std::filesystem::path& Temporary() const { return temporary_; }

    // Checks the final name and creates the temporary file; false with the
    // reason when the file system refuses either.
    bool Create(std::string& error);
    // Renames the temporary file to the final name, never over a file that
    // appeared there meanwhile, and checks that it is there and not empty.
    bool Keep(std::string& error);
    // Removes the temporary file.
    void Discard();

private:
    std::filesystem::path final_, temporary_;
    bool created_ = false;
};

}  // namespace production
