// How a production job ended, and what the user is told: "制作完成" only for
// a job that completed and whose video file is in place.
#pragma once

#include <cstdint>
#include <string>

namespace production {

enum class CompletionKind {
    Completed,      // the producer reached the job's end
    StoppedByUser,  // "停止制作" or the close button, also before the conversion
    EncoderError,   // the encoder reported an error
    EndedEarly,     // the conversion returned before the job's end
};

struct JobEnd {
    bool stoppedByUser = false;
    bool producerFinished = false;
    int encoderErrorCode = 0;   // the encoder's last error code, 0 = none
    bool errorLogged = false;   // the error callback ran
    std::string errorText;      // the error text the log holds, the last resort
    int64_t framesWritten = 0;  // frames the encoder reported done
    bool outputKept = false;    // the video file is under its final name
    // Why the job failed or its file couldn't be made or kept, as the user
    // is told it (FailureText), and a hidden file left behind.
    std::string failureText;
};

// Whether the job's video file is worth keeping: a completed job, or one
// stopped after frames were written, and no error on the way.
bool KeepsOutput(const JobEnd& end);

struct CompletionOutcome {
    CompletionKind kind = CompletionKind::EndedEarly;
    std::string caption;
    std::string text;
    // The completion form follows only a completed job; the others show a
    // message box with caption and text.
    bool ShowsCompletionForm() const { return kind == CompletionKind::Completed; }
};

CompletionOutcome DecideCompletion(const JobEnd& end);

}  // namespace production
