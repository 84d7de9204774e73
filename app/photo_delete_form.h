// TForm5 ("正在删除照片,请稍后..."): removes the photo selected in the main
// window's photo list, renumbering the pictures after it, shown modally by
// "删除照片". It reaches the photo lists through its PhotoRowRemovalView,
// whose row is the list's selection. It closes itself one second after the
// work.
#pragma once
#include <optional>
#include <utility>

#include "app/photo_deletion.h"
#include "app/photo_removal.h"
#include "app/please_wait_form.h"

class TForm5 : public app::TPleaseWaitForm {
public:
    explicit TForm5(TComponent* AOwner = nullptr);
    ~TForm5() override;

    // The main window's photo rows; without them the work removes nothing.
    void Connect(app::PhotoRowRemovalView view) { main_.emplace(std::move(view)); }

    // What the last showing did.
    app::PictureRemoval Outcome() const { return outcome_; }

protected:
    void DoWork() override;

private:
    std::optional<app::PhotoRowRemovalView> main_;
    app::PictureRemoval outcome_ = app::PictureRemoval::kNone;
};

extern TForm5* Form5;
