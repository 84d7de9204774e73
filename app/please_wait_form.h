// The please-wait forms of the photo deletions: a skinned panel with a
// progress bar. The work runs once per showing, at the first activation
// (a message box shown by the work activates the form again); Timer1 then
// closes the form, which ends the opener's modal call.
#pragma once
#include "platform/ui/form.h"

class TTimer;
class TkivForm;
class TkivProgressBar;

namespace app {

class TPleaseWaitForm : public TForm {
public:
    TkivForm* kivForm1;                // the skinned panel with the form's caption
    TkivProgressBar* kivProgressBar1;  // moves while the work runs
    TTimer* Timer1;                    // off until the work is done; closes the form

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void Timer1Timer(TObject* Sender);

protected:
    struct Layout {
        const char* name;
        const char* caption;
        int width, height;  // the form's outer size, set again at each showing
        TRect progress;     // the progress bar's bounds on the panel
    };
    TPleaseWaitForm(TComponent* AOwner, const Layout& layout);

    // The form's work, with kivProgressBar1 to report on.
    virtual void DoWork() = 0;

private:
    int width_, height_;
    bool work_pending_ = false;
};

}  // namespace app
