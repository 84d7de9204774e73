#include "production/progress_log.h"

#include <utility>

namespace production {

void ProgressLog::LogProgress(std::string line)
{
    if (lines_.size() >= kMaxLines) lines_.pop_front();
    lines_.push_back(std::move(line));
}

void ProgressLog::LogError(std::string text)
{
    hasError_ = true;
    lastError_ = text;
    LogProgress(std::move(text));
}

void ProgressLog::ClearProgressLog()
{
    lines_.clear();
    hasError_ = false;
    lastError_.clear();
}

}  // namespace production
