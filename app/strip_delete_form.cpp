#include "app/strip_delete_form.h"

TForm7* Form7 = nullptr;

TForm7::TForm7(TComponent* AOwner)
    : TPhotoRowRemovalForm(AOwner, {"Form7", "正在删除,请稍后...", 512, 195, TRect(40, 88, 468, 108)})
{}

TForm7::~TForm7()
{
    if (Form7 == this) Form7 = nullptr;
}
