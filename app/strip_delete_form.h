// TForm7 ("正在删除,请稍后..."): removes the photo of the main window's
// DeleteIndex (the selected thumbnail), renumbering the pictures after it,
// shown modally by the strip's "删除". It closes itself one second after
// the work.
#pragma once
#include "app/photo_removal.h"
#include "app/please_wait_form.h"

class TForm7 : public app::TPleaseWaitForm {
public:
    explicit TForm7(TComponent* AOwner = nullptr);
    ~TForm7() override;

    // What the last showing did.
    app::PictureRemoval Outcome() const { return outcome_; }

protected:
    void DoWork() override;

private:
    app::PictureRemoval outcome_ = app::PictureRemoval::kNone;
};

extern TForm7* Form7;
