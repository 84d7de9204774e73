// TForm6 ("正在删除,请稍后..."): deletes every picture "zpyjj/*.jpg" of the
// work folder, shown modally by the two delete-all buttons, which empty the
// photo lists afterwards. It closes itself one second after the work.
#pragma once
#include <filesystem>
#include <functional>

#include "app/please_wait_form.h"

class TForm6 : public app::TPleaseWaitForm {
public:
    explicit TForm6(TComponent* AOwner = nullptr);
    ~TForm6() override;

    // Deletes one picture (core::DeleteFile); tests make it fail.
    std::function<bool(const std::filesystem::path&)> DeletePicture;

protected:
    void DoWork() override;
};

extern TForm6* Form6;
