// TForm5 ("正在删除照片,请稍后..."): removes the photo selected in the main
// window's photo list, renumbering the pictures after it, shown modally by
// "删除照片". It reaches the photo lists through its PhotoRowRemovalView,
// whose row is the list's selection. It closes itself one second after the
// work.
#pragma once
#include "app/photo_row_removal_form.h"

class TForm5 : public app::TPhotoRowRemovalForm {
public:
    explicit TForm5(TComponent* AOwner = nullptr);
    ~TForm5() override;
};

extern TForm5* Form5;
