#include "platform/ui/clipboard.h"

#include "platform/ui/backend.h"

std::string TClipboard::AsText() const { return ui::CurrentBackend().ClipboardText(); }
void TClipboard::SetAsText(const std::string& text) { ui::CurrentBackend().SetClipboardText(text); }

TClipboard& Clipboard()
{
    static TClipboard clipboard;
    return clipboard;
}
