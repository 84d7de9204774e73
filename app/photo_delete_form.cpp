#include "app/photo_delete_form.h"

TForm5* Form5 = nullptr;

TForm5::TForm5(TComponent* AOwner)
    : TPhotoRowRemovalForm(AOwner, {"Form5", "正在删除照片,请稍后...", 521, 205, TRect(40, 90, 476, 110)})
{}

TForm5::~TForm5()
{
    if (Form5 == this) Form5 = nullptr;
}
