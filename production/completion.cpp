#include "production/completion.h"

namespace production {
namespace {

bool Failed(const JobEnd& end) { return end.encoderErrorCode != 0 || end.errorLogged; }

constexpr const char* kNoFile = " 没有生成视频文件.";

}  // namespace

bool KeepsOutput(const JobEnd& end)
{
    return (end.producerFinished || end.stoppedByUser) && end.framesWritten > 0 && !Failed(end);
}

CompletionOutcome DecideCompletion(const JobEnd& end)
{
    CompletionOutcome outcome;
    if (end.producerFinished && !Failed(end) && end.outputKept) {
        outcome.kind = CompletionKind::Completed;
        outcome.caption = "制作完成";
        outcome.text = "制作完成,点[确定]按钮返回.";
    } else if (end.stoppedByUser) {
        outcome.kind = CompletionKind::StoppedByUser;
        outcome.caption = "停止制作";
        if (end.outputKept) {
            outcome.text = "制作已停止, 视频文件只到停止的地方.";
        } else {
            outcome.text = "制作已停止.";
            if (!end.failureText.empty()) outcome.text += " " + end.failureText;
            outcome.text += kNoFile;
        }
    } else if (Failed(end) || !end.failureText.empty()) {
        outcome.kind = CompletionKind::EncoderError;
        outcome.caption = "制作失败";
        // The encoder's own text only for an error no message words.
        std::string reason = !end.failureText.empty() ? end.failureText : end.errorText;
        if (reason.empty()) reason = "编码出错.";
        outcome.text = "制作失败: " + reason + kNoFile;
    } else {
        outcome.kind = CompletionKind::EndedEarly;
        outcome.caption = "制作失败";
        outcome.text = "编码提前结束.";
        if (!end.errorText.empty()) outcome.text += " " + end.errorText;
        outcome.text += kNoFile;
    }
    return outcome;
}

}  // namespace production
