#include "app/delete_all_photos_form.h"

#include "app/main_window.h"
#include "platform/core/files.h"
#include "skin/kiv_list_view.h"
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
    if (!Form1) return;
    kivProgressBar1->SetMax(Form1->kivListView1->Items().Count());
    kivProgressBar1->SetMin(0);
    kivProgressBar1->SetPosition(0);
    const std::filesystem::path folder = Form1->WorkPath() / "zpyjj";
    for (const std::filesystem::path& picture : core::FindFiles(folder, "*.jpg")) {
        DeletePicture(picture);
        kivProgressBar1->SetPosition(kivProgressBar1->Position() + 1);
    }
}
