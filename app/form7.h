#pragma once
// TForm7 ("正在删除,请稍后..."): removes the photo of the main window's
// DeleteIndex (the selected thumbnail), renumbering the pictures after it,
// shown modally by the strip's "删除". It closes itself one second after
// the work.
#include "app/photo_removal.h"
#include "platform/ui/form.h"

class TTimer;
class TkivForm;
class TkivProgressBar;

class TForm7 : public TForm {
public:
    explicit TForm7(TComponent* AOwner = nullptr);
    ~TForm7() override;

    TkivForm* kivForm1;
    TkivProgressBar* kivProgressBar1;
    TTimer* Timer1;  // off until the work is done; closes the form

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void Timer1Timer(TObject* Sender);

    // What the last showing did.
    app::PictureRemoval Outcome() const { return outcome_; }

private:
    bool work_pending_ = false;  // set when shown: a second activation does nothing
    app::PictureRemoval outcome_ = app::PictureRemoval::kNone;
};

extern TForm7* Form7;
