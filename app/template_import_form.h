// TForm14: the please-wait form of the effect template import. Shown
// modally by the main window's "导入模板" with the chosen file in
// Form1->OpenDialog3; it imports in a one-shot timer and closes itself
// from another, whatever the import's outcome.
#pragma once
#include "platform/ui/form.h"

class TLabel;
class TTimer;
class TkivProgressBar;

class TForm14 : public TForm {
public:
    explicit TForm14(TComponent* AOwner = nullptr);
    ~TForm14() override;

    TLabel* Label1;                    // "正在导入模板,可能会花一点时间,请耐心等待..."
    TkivProgressBar* kivProgressBar1;  // moves while the import runs
    TTimer* Timer1;                    // the import, once per showing
    TTimer* Timer2;                    // progress animation
    TTimer* Timer3;                    // closes the form

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void Timer1Timer(TObject* Sender);
    void Timer2Timer(TObject* Sender);
    void Timer3Timer(TObject* Sender);

private:
    void Import();
    bool import_pending_ = false;  // set by each showing, taken by the first activation
};

extern TForm14* Form14;

namespace app {
inline constexpr const char* kTemplateImportCaption = "导入模板";
inline constexpr const char* kTemplateAlreadyImported = "模板已经导入.";
inline constexpr const char* kTemplateInvalid = "导入的模板不是有效的,请导入本软件支持的模板!";
inline constexpr const char* kTemplateNotWritten = "模板无法写入工作文件夹,请检查磁盘空间和权限!";
}  // namespace app
