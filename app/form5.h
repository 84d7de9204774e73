#pragma once
// TForm5 ("正在删除照片,请稍后..."): removes the photo selected in the main
// window's photo list, renumbering the pictures after it, shown modally by
// "删除照片". It closes itself one second after the work.
#include "app/photo_removal.h"
#include "platform/ui/form.h"

class TTimer;
class TkivForm;
class TkivProgressBar;

class TForm5 : public TForm {
public:
    explicit TForm5(TComponent* AOwner = nullptr);
    ~TForm5() override;

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

extern TForm5* Form5;
