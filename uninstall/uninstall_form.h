// TForm1 of castorun: "卸载". The user confirms with "卸载"; the form then
// removes the installed files, the work folder and the shortcuts, has
// the uninstaller's own file removed once it has ended, and ends. While
// castora holds the work folder, it refuses and ends.
#pragma once
#include <filesystem>
#include <functional>
#include <string>

#include "platform/ui/form.h"
#include "uninstall/self_removal.h"

class TEdit;
class TLabel;
class TkivBuiltInFileTheme;
class TkivButton;
class TkivForm;
class TkivGroupBox;
class TkivMessageDialog;
class TkivProgressBar;

class TForm1 : public TForm {
public:
    explicit TForm1(TComponent* AOwner = nullptr);
    ~TForm1() override;

    TkivBuiltInFileTheme* kivBuiltInFileTheme1;  // castorun's own skin
    TkivForm* kivForm1;                          // the skinned frame and title bar "卸载"
    TkivGroupBox* kivGroupBox1;                  // "卸载"
    TLabel* Label1;                              // "卸载 [" + title + "]"
    TkivProgressBar* kivProgressBar1;            // the six removal steps
    TkivButton* kivButton1;                      // "卸载"
    TkivButton* kivButton2;                      // "取消"
    TEdit* Edit1;                                // hidden: the product title
    TkivMessageDialog* kivMessageDialog1;        // every message, with the button "确定"

    // The system folder, read when the form is shown.
    std::string SystemDir;
    // The uninstaller's own file, and how its removal script is started;
    // tests replace both.
    std::filesystem::path ProgramFile = uninstall::OwnProgramFile();
    std::function<bool(const std::filesystem::path& script)> StartScript = uninstall::StartDetached;

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void kivButton1Click(TObject* Sender);
    void kivButton2Click(TObject* Sender);

    // The product title, the text of Edit1.
    const std::string& Title() const;
    // Whether castora holds the work folder that the rule finds.
    bool MainProgramRunning() const;
    // The program refused to run because castora does.
    bool Refused() const { return refused_; }
    // The removal has run to its end.
    bool Removed() const { return removed_; }

private:
    void RefuseWhileRunning();
    void ShowMessage(const std::string& text);

    bool refused_ = false;
    bool removing_ = false;
    bool removed_ = false;
};

extern TForm1* Form1;

namespace uninstall {
// castorun's program entry: creates the form, shows it and runs the
// message loop. 0, or 1 when castora was running.
int RunCastorun();
}  // namespace uninstall
