#include "production/completion.h"

namespace production {

CompletionOutcome DecideCompletion(const JobEnd& end)
{
    const bool failed = end.encoderErrorCode != 0 || end.errorLogged;
    CompletionOutcome outcome;
    if (end.producerFinished && !failed) {
        outcome.kind = CompletionKind::Completed;
        outcome.caption = "制作完成";
        outcome.text = "制作完成,点[确定]按钮返回.";
    } else if (end.stoppedByUser) {
        outcome.kind = CompletionKind::StoppedByUser;
        outcome.caption = "停止制作";
        outcome.text = "制作已停止, 视频文件不完整.";
    } else if (failed) {
        outcome.kind = CompletionKind::EncoderError;
        outcome.caption = "制作失败";
        outcome.text = "制作失败: " + (end.errorText.empty() ? std::string("编码出错.") : end.errorText);
    } else {
        outcome.kind = CompletionKind::EndedEarly;
        outcome.caption = "制作失败";
        outcome.text = "编码提前结束, 视频文件不完整.";
        if (!end.errorText.empty()) outcome.text += " " + end.errorText;
    }
    return outcome;
}

}  // namespace production
