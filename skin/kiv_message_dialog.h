#pragma once
// TkivMessageDialog: the message box through which every form talks to the
// user. The caller writes Caption, Text and the first button's caption,
// then calls ShowModal: a skinned modal box (TfrmMsg) with an optional
// icon and one to three buttons.
#include <functional>
#include <string>

#include "skin/kiv_dialog.h"

// The icon left of the text; the cells of the "MSGDLG" strip in this order.
// Scoped: the title bar's button kinds have a kivHelp of their own.
enum class TkivIconType { kivNone, kivWarning, kivStop, kivInformation, kivHelp };
// 1..3.
using TkivDialogButtonsCount = int;

class TkivMessageDialog : public TkivDialog {
public:
    explicit TkivMessageDialog(TComponent* AOwner = nullptr);

    const std::string& Text() const { return text_; }
    void SetText(const std::string& text) { text_ = text; }
    // Kept within 1..3.
    TkivDialogButtonsCount ButtonCount() const { return button_count_; }
    void SetButtonCount(TkivDialogButtonsCount count);
    // Button n (1..3): Button1 is the leftmost and has the focus.
    const std::string& Button1Caption() const { return captions_[0]; }
    void SetButton1Caption(const std::string& caption) { captions_[0] = caption; }
    const std::string& Button2Caption() const { return captions_[1]; }
    void SetButton2Caption(const std::string& caption) { captions_[1] = caption; }
    const std::string& Button3Caption() const { return captions_[2]; }
    void SetButton3Caption(const std::string& caption) { captions_[2] = caption; }
    TModalResult Button1ModalResult() const { return results_[0]; }
    void SetButton1ModalResult(TModalResult result) { results_[0] = result; }
    TModalResult Button2ModalResult() const { return results_[1]; }
    void SetButton2ModalResult(TModalResult result) { results_[1] = result; }
    TModalResult Button3ModalResult() const { return results_[2]; }
    void SetButton3ModalResult(TModalResult result) { results_[2] = result; }
    TkivIconType IconType() const { return icon_type_; }
    void SetIconType(TkivIconType icon) { icon_type_ = icon; }

    // Shows the box and waits until the user closes it; the modal result of
    // the button pressed (mrCancel when the box is closed otherwise).
    TModalResult ShowModal() override;

private:
    std::string text_ = "Hello world!";
    TkivDialogButtonsCount button_count_ = 1;
    std::string captions_[3] = {"OK", "Cancel", "Cancel"};
    TModalResult results_[3] = {mrOk, mrCancel, mrCancel};
    TkivIconType icon_type_ = TkivIconType::kivNone;
};

namespace skin {
// Tests answer message boxes without showing them: while a hook is set,
// ShowModal calls it instead and returns its answer. An empty hook
// restores the real box. Returns the hook that was set before.
using MessageDialogHook = std::function<TModalResult(const TkivMessageDialog& dialog)>;
MessageDialogHook SetMessageDialogHook(MessageDialogHook hook);

// How every form tells the user something: the caption, the text and the
// single button "确定", shown modally.
void Tell(TkivMessageDialog& dialog, const std::string& caption, const std::string& text);
}  // namespace skin
