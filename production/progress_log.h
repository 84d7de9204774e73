// The status log of a conversion: the encoder's status and error lines, at
// most 32000 of them, the oldest dropped first.
#pragma once

#include <cstddef>
#include <deque>
#include <string>

namespace production {

class ProgressLog {
public:
    static constexpr std::size_t kMaxLines = 32000;

    // Appends a line; at the cap the first line goes first.
    void LogProgress(std::string line);
    // Appends an encoder error's line and keeps it as the run's error text,
    // which outlives the cap.
    void LogError(std::string text);
    void ClearProgressLog();

    const std::deque<std::string>& Lines() const { return lines_; }
    std::size_t Count() const { return lines_.size(); }
    // The list shows its last line at the top.
    std::size_t TopIndex() const { return lines_.empty() ? 0 : lines_.size() - 1; }

    bool HasError() const { return hasError_; }
    const std::string& LastError() const { return lastError_; }

private:
    std::deque<std::string> lines_;
    bool hasError_ = false;
    std::string lastError_;
};

}  // namespace production
