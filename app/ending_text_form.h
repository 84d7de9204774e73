// TForm12 ("修改内容"): the editor of the ending title's two texts, opened
// by the titles dialog with the texts of "pwwjj/txt_1.txt" and
// "pwwjj/txt_2.txt" in its memos; every close writes them back into the
// work folder that its app::EndingTextView names.
#pragma once
#include <filesystem>
#include <functional>
#include <optional>

#include "platform/ui/form.h"

class TkivForm;
class TkivMemo;
class TkivMessageDialog;
class TkivPageControl;
class TkivTabSheet;

namespace app {

// What the ending text editor touches of the main window.
struct EndingTextView {
    // What it reads.
    std::function<std::filesystem::path()> work_path;  // holds "pwwjj"

    // It changes nothing of the main window: the texts are the work folder's files.
};

}  // namespace app

class TForm12 : public TForm {
public:
    explicit TForm12(TComponent* AOwner = nullptr);
    ~TForm12() override;

    // The main window's part, once every form exists. Without it (an
    // editor built alone) a close writes nothing.
    void Connect(app::EndingTextView view);

    TkivForm* kivForm1;                    // the skinned panel
    TkivPageControl* kivPageControl1;      // one page per text of the ending
    TkivTabSheet* kivTabSheet1;            // "修改内容 1 "
    TkivTabSheet* kivTabSheet2;            // "修改内容 2 "
    TkivMemo* kivMemo1;                    // the ending's first text
    TkivMemo* kivMemo2;                    // the ending's second text
    TkivMessageDialog* kivMessageDialog1;  // "the texts could not be written"

    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);

private:
    std::optional<app::EndingTextView> main_;
};

extern TForm12* Form12;

namespace app {
inline constexpr const char* kEndingTextsNotWritten = "片尾内容无法保存,请检查工作文件夹!";
}  // namespace app
