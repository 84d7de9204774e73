// TForm7 ("正在删除,请稍后..."): removes the photo of the selected thumbnail,
// renumbering the pictures after it, shown modally by the strip's "删除".
// It reaches the photo lists through its PhotoRowRemovalView, whose row is
// the main window's delete index. It closes itself one second after the
// work.
#pragma once
#include "app/photo_row_removal_form.h"

class TForm7 : public app::TPhotoRowRemovalForm {
public:
    explicit TForm7(TComponent* AOwner = nullptr);
    ~TForm7() override;
};

extern TForm7* Form7;
