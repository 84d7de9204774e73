#pragma once
// TfrmMsg: the window of the skinned message box. TkivMessageDialog builds
// one for each call: a skinned frame with an optional icon, the wrapped
// text and its buttons. Control+C copies the whole box as text.
#include <string>
#include <vector>

#include "platform/ui/form.h"

class TImage;
class TLabel;
class TkivButton;
class TkivForm;

class TfrmMsg : public TForm {
public:
    explicit TfrmMsg(TComponent* AOwner = nullptr);

    // The client size of the box as designed.
    static constexpr int kDesignClientWidth = 336;
    static constexpr int kDesignClientHeight = 140;

    TkivForm* kivForm1;  // the skinned frame, captioned with the box's caption
    TLabel* lbl;         // the message text
    TImage* Image1;      // the icon of the box's kind

    // The skinned frame's buttons in the order they were made.
    std::vector<TkivButton*> Buttons() const;
    // The control that has the focus when the box first comes up.
    void SetFocusOnShow(TControl* control) { focus_on_show_ = control; }

    // A skin with borders wider than the dialog frame widens the box.
    void FormShow(TObject* Sender);
    // Control+C: the box as text on the clipboard.
    void FormKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
    void FormActivate(TObject* Sender);

private:
    TControl* focus_on_show_ = nullptr;
};

namespace skin {

// What Control+C puts on the clipboard: caption, text and the button
// captions (separated by three spaces) between lines of 27 hyphens, CR LF
// line ends, no line end after the last line.
std::string MessageBoxText(const std::string& caption, const std::string& text,
                           const std::vector<std::string>& buttonCaptions);

}  // namespace skin
