#pragma once
// TkivMessageDialog: the message box through which every form talks to the
// user. The caller writes Caption, Text and the first button's caption,
// then calls ShowModal: a screen-centred modal box with that one button.
#include <functional>
#include <string>

#include "platform/core/component.h"
#include "platform/ui/ui_types.h"

class TkivMessageDialog : public TComponent {
public:
    explicit TkivMessageDialog(TComponent* AOwner = nullptr);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption) { caption_ = caption; }
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text) { text_ = text; }
    // The first (and only) button; "确定" unless set.
    const std::string& Button1Caption() const { return button1_caption_; }
    void SetButton1Caption(const std::string& caption) { button1_caption_ = caption; }

    // Shows the box and waits until the user closes it; mrOk.
    TModalResult ShowModal();

private:
    std::string caption_;
    std::string text_;
    std::string button1_caption_ = "确定";
};

namespace skin {
// Tests answer message boxes without showing them: while a hook is set,
// ShowModal calls it instead and returns its answer. An empty hook
// restores the real box. Returns the hook that was set before.
using MessageDialogHook = std::function<TModalResult(const TkivMessageDialog& dialog)>;
MessageDialogHook SetMessageDialogHook(MessageDialogHook hook);
}  // namespace skin
