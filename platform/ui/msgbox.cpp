#include "platform/ui/msgbox.h"

#include <algorithm>

#include "platform/gfx/canvas.h"
#include "platform/ui/button.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"

namespace ui {

namespace {
MessageBoxHook& Hook()
{
    static MessageBoxHook hook;
    return hook;
}
}  // namespace

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

void ShowMessageBox(const std::string& caption, const std::string& text, const std::string& button)
{
    if (Hook()) {
        Hook()(caption, text);
        return;
    }
    TForm box(nullptr);
    box.SetBorderStyle(bsDialog);
    box.SetPosition(poScreenCenter);
    box.SetCaption(caption);
    auto* label = new TLabel(&box);
    label->SetParent(&box);
    label->SetAutoSize(false);
    label->SetWordWrap(true);
    // Measure the text: at most 360 pixels wide, wrapped beyond.
    TBitmap scratch(1, 1);
    TCanvas& c = scratch.Canvas();
    c.Font().Assign(label->Font());
    TRect measure{0, 0, 360, 0};
    c.DrawText(text, measure, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
    int tw = std::clamp(measure.Width(), 120, 360), th = std::max(measure.Height(), 16);
    label->SetShowAccelChar(false);
    label->SetBounds(16, 16, tw, th);
    label->SetCaption(text);
    auto* ok = new TButton(&box);
    ok->SetParent(&box);
    ok->SetCaption(button);
    ok->SetModalResult(mrOk);
    ok->SetDefault(true);
    ok->SetCancel(true);
    int cw = std::max(tw + 32, 160);
    ok->SetBounds((cw - 75) / 2, 16 + th + 16, 75, 25);
    box.SetClientSize(cw, 16 + th + 16 + 25 + 12);
    box.SetActiveControl(ok);
    box.ShowModal();
}

void ReportExceptionsInMessageBox(const std::string& caption)
{
    App().OnException = [caption](const std::string& message) { ShowMessageBox(caption, message); };
}

}  // namespace ui
