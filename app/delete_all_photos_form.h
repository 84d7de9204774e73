// TForm6 ("正在删除,请稍后..."): deletes every picture "zpyjj/*.jpg" of the
// work folder, shown modally by the two delete-all buttons, which empty the
// photo lists afterwards. It reads the photo count and the work folder
// through its DeleteAllPhotosView. It closes itself one second after the
// work.
#pragma once
#include <filesystem>
#include <functional>
#include <optional>
#include <utility>

#include "app/please_wait_form.h"

class TListItems;

namespace app {

// What deleting every picture reads of the main window.
struct DeleteAllPhotosView {
    // What it reads.
    const TListItems& photos;                         // the photo list: as many rows as pictures
    std::function<std::filesystem::path()> work_dir;  // its "zpyjj" holds the pictures
};

}  // namespace app

class TForm6 : public app::TPleaseWaitForm {
public:
    explicit TForm6(TComponent* AOwner = nullptr);
    ~TForm6() override;

    // The main window's photos; without them the work deletes nothing.
    void Connect(app::DeleteAllPhotosView view) { main_.emplace(std::move(view)); }

    // Deletes one picture (core::DeleteFile); tests make it fail.
    std::function<bool(const std::filesystem::path&)> DeletePicture;

protected:
    void DoWork() override;

private:
    std::optional<app::DeleteAllPhotosView> main_;
};

extern TForm6* Form6;
