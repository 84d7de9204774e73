#pragma once
// TForm6 ("正在删除,请稍后..."): deletes every picture "zpyjj/*.jpg" of the
// work folder, shown modally by the two delete-all buttons, which empty the
// photo lists afterwards. It closes itself one second after the work.
#include <filesystem>
#include <functional>

#include "platform/ui/form.h"

class TTimer;
class TkivForm;
class TkivProgressBar;

class TForm6 : public TForm {
public:
    explicit TForm6(TComponent* AOwner = nullptr);
    ~TForm6() override;

    TkivForm* kivForm1;
    TkivProgressBar* kivProgressBar1;
    TTimer* Timer1;  // off until the work is done; closes the form

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void Timer1Timer(TObject* Sender);

    // Deletes one picture (core::DeleteFile); tests make it fail.
    std::function<bool(const std::filesystem::path&)> DeletePicture;

private:
    bool work_pending_ = false;  // set when shown: a second activation does nothing
};

extern TForm6* Form6;
