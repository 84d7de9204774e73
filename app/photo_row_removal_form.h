// TPhotoRowRemovalForm: the please-wait form that removes one photo row of
// the main window, renumbering the pictures after it. TForm5 and TForm7 are
// this form with their own captions; which row goes is their view's.
#pragma once
#include <optional>
#include <utility>

#include "app/photo_deletion.h"
#include "app/photo_removal.h"
#include "app/please_wait_form.h"

namespace app {

class TPhotoRowRemovalForm : public TPleaseWaitForm {
public:
    // The main window's photo rows; without them the work removes nothing.
    void Connect(PhotoRowRemovalView view) { main_.emplace(std::move(view)); }

    // What the last showing did.
    PictureRemoval Outcome() const { return outcome_; }

protected:
    TPhotoRowRemovalForm(TComponent* AOwner, const Layout& layout) : TPleaseWaitForm(AOwner, layout) {}
    void DoWork() override;

private:
    std::optional<PhotoRowRemovalView> main_;
    PictureRemoval outcome_ = PictureRemoval::kNone;
};

}  // namespace app
