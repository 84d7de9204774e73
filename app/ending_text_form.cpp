#include "app/ending_text_form.h"

#include <utility>

#include "app/ending_template.h"
#include "app/titles_form.h"
#include "skin/kiv_form.h"
#include "skin/kiv_memo.h"
#include "skin/kiv_message_dialog.h"
#include "skin/kiv_page_control.h"
#include "skin/kiv_tab_sheet.h"
#include "platform/ui/form_building.h"
#include "skin/kiv_form_panel.h"

TForm12* Form12 = nullptr;

namespace {
constexpr int kWidth = 433;
constexpr int kHeight = 388;
}  // namespace

TForm12::TForm12(TComponent* AOwner) : TForm(AOwner)
{
    ui::SetUpDialogForm(*this, "Form12", app::kEditTextsCaption);
    SetBounds(Left(), Top(), kWidth, kHeight);
    kivForm1 = skin::AddFormPanel(*this, app::kEditTextsCaption);

    kivPageControl1 = new TkivPageControl(this);
    kivPageControl1->SetName("kivPageControl1");
    kivPageControl1->SetParent(kivForm1);
    kivPageControl1->SetBounds(8, TkivForm::kCaptionHeight + 6, 401, 378 - TkivForm::kCaptionHeight - 14);
    auto page = [this](const char* name, const char* caption, const char* memo_name, TkivMemo*& memo) {
        auto* sheet = new TkivTabSheet(this);
        sheet->SetName(name);
        sheet->SetPageControl(kivPageControl1);
        sheet->SetCaption(caption);
        memo = new TkivMemo(this);
        memo->SetName(memo_name);
        memo->SetParent(sheet);
        memo->SetAlign(alClient);
        memo->SetScrollBars(ssVertical);
        memo->SetWordWrap(true);
        return sheet;
    };
    kivTabSheet1 = page("kivTabSheet1", "修改内容 1 ", "kivMemo1", kivMemo1);
    kivTabSheet2 = page("kivTabSheet2", "修改内容 2 ", "kivMemo2", kivMemo2);
    kivPageControl1->SetActivePage(kivTabSheet1);

    kivMessageDialog1 = new TkivMessageDialog(this);
    kivMessageDialog1->SetName("kivMessageDialog1");

    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnClose = [this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
}

TForm12::~TForm12()
{
    if (Form12 == this) Form12 = nullptr;
}

void TForm12::Connect(app::EndingTextView view) { main_.emplace(std::move(view)); }

void TForm12::FormShow(TObject*)
{
    SetBounds(Left(), Top(), kWidth, kHeight);
    kivPageControl1->SetActivePage(kivTabSheet1);
}

void TForm12::FormClose(TObject*, TCloseAction&)
{
    if (main_) {
        const std::filesystem::path work = main_->work_path();
        const bool written = app::WriteEndingText(work, 1, kivMemo1->Text()) &&
                             app::WriteEndingText(work, 2, kivMemo2->Text());
        if (!written) {
            skin::Tell(*kivMessageDialog1, app::kEditTextsCaption, app::kEndingTextsNotWritten);
        }
    }
    if (Form11) Form11->ReplayEndingAfterEdit();
}
