#include "app/photo_delete_form.h"

#include "app/main_window.h"
#include "app/photo_deletion.h"
#include "skin/kiv_list_view.h"

TForm5* Form5 = nullptr;

TForm5::TForm5(TComponent* AOwner)
    : TPleaseWaitForm(AOwner, {"Form5", "正在删除照片,请稍后...", 521, 205, TRect(40, 90, 476, 110)})
{}

TForm5::~TForm5()
{
    if (Form5 == this) Form5 = nullptr;
}

void TForm5::DoWork()
{
    outcome_ = app::PictureRemoval::kNone;
    if (Form1)
        outcome_ =
            app::RemovePhotoRow(Form1->DeletionView(), Form1->kivListView1->ItemIndex(), *kivProgressBar1);
}
