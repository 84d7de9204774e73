#include "app/delete_all_photos_form.h"

#include "platform/core/files.h"
#include "platform/ui/listview.h"
#include "skin/kiv_progress_bar.h"

TForm6* Form6 = nullptr;

TForm6::TForm6(TComponent* AOwner)
    : TPleaseWaitForm(AOwner, {"Form6", "正在删除,请稍后...", 516, 194, TRect(40, 88, 472, 108)}),
      DeletePicture([](const std::filesystem::path& path) { return core::DeleteFile(path); })
{}

TForm6::~TForm6()
{
    if (Form6 == this) Form6 = nullptr;
}

void TForm6::DoWork()
{
    if (!main_) return;
    kivProgressBar1->SetMax(main_->photos.Count());
    kivProgressBar1->SetMin(0);
    kivProgressBar1->SetPosition(0);
    const std::filesystem::path folder = main_->work_dir() / "zpyjj";
    for (const std::filesystem::path& picture : core::FindFiles(folder, "*.jpg")) {
        DeletePicture(picture);
        kivProgressBar1->SetPosition(kivProgressBar1->Position() + 1);
    }
}
