#include "app/photo_row_removal_form.h"

namespace app {

void TPhotoRowRemovalForm::DoWork()
{
    outcome_ = PictureRemoval::kNone;
    if (main_) outcome_ = RemovePhotoRow(*main_, *kivProgressBar1);
}

}  // namespace app
