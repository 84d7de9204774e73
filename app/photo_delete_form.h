// TForm5 ("正在删除照片,请稍后..."): removes the photo selected in the main
// window's photo list, renumbering the pictures after it, shown modally by
// "删除照片". It closes itself one second after the work.
#pragma once
#include "app/photo_removal.h"
#include "app/please_wait_form.h"

class TForm5 : public app::TPleaseWaitForm {
public:
    explicit TForm5(TComponent* AOwner = nullptr);
    ~TForm5() override;

    // What the last showing did.
    app::PictureRemoval Outcome() const { return outcome_; }

protected:
    void DoWork() override;

private:
    app::PictureRemoval outcome_ = app::PictureRemoval::kNone;
};

extern TForm5* Form5;
