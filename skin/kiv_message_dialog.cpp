#include "skin/kiv_message_dialog.h"

#include <utility>

#include "platform/ui/msgbox.h"

namespace {

skin::MessageDialogHook& Hook()
{
    static skin::MessageDialogHook hook;
    return hook;
}

}  // namespace

namespace skin {

MessageDialogHook SetMessageDialogHook(MessageDialogHook hook)
{
    return std::exchange(Hook(), std::move(hook));
}

}  // namespace skin

TkivMessageDialog::TkivMessageDialog(TComponent* AOwner) : TComponent(AOwner) {}

TModalResult TkivMessageDialog::ShowModal()
{
    if (Hook()) return Hook()(*this);
    // The plain box until the skinned one takes over; it has one button.
    ui::ShowMessageBox(caption_, text_, button1_caption_);
    return mrOk;
}
