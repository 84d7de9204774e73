// TForm7 ("正在删除,请稍后..."): removes the photo of the selected thumbnail,
// renumbering the pictures after it, shown modally by the strip's "删除".
// It reaches the photo lists through its PhotoRowRemovalView, whose row is
// the main window's delete index. It closes itself one second after the
// work.
#pragma once
#include <optional>
#include <utility>

#include "app/photo_deletion.h"
#include "app/photo_removal.h"
#include "app/please_wait_form.h"

class TForm7 : public app::TPleaseWaitForm {
public:
    explicit TForm7(TComponent* AOwner = nullptr);
    ~TForm7() override;

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

extern TForm7* Form7;
