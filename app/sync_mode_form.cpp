#include "app/sync_mode_form.h"

#include <utility>

#include "app/music_list.h"
#include "app/sync_mode.h"
#include "app/time_text.h"
#include "platform/ui/label.h"
#include "skin/kiv_button.h"
#include "skin/kiv_form.h"
#include "platform/ui/listview.h"
#include "skin/kiv_message_dialog.h"
#include "skin/kiv_page_control.h"
#include "skin/kiv_radio_button.h"
#include "skin/kiv_tab_sheet.h"
#include "platform/ui/form_building.h"
#include "skin/kiv_form_panel.h"

TForm8* Form8 = nullptr;

namespace {
constexpr int kWidth = 486;
constexpr int kHeight = 386;
}  // namespace

TForm8::TForm8(TComponent* AOwner) : TForm(AOwner)
{
    ui::SetUpDialogForm(*this, "Form8", app::kSyncModeCaption);
    SetBounds(Left(), Top(), kWidth, kHeight);
    kivForm1 = skin::AddFormPanel(*this, app::kSyncModeCaption);

    kivPageControl1 = new TkivPageControl(this);
    kivPageControl1->SetName("kivPageControl1");
    kivPageControl1->SetParent(kivForm1);
    kivPageControl1->SetBounds(12, TkivForm::kCaptionHeight + 8, 454, 250);
    kivTabSheet1 = new TkivTabSheet(this);
    kivTabSheet1->SetName("kivTabSheet1");
    kivTabSheet1->SetPageControl(kivPageControl1);
    kivTabSheet1->SetCaption(app::kSyncModeCaption);
    kivPageControl1->SetActivePage(kivTabSheet1);

    auto radio = [this](const char* name, const char* caption, int top) {
        auto* r = new TkivRadioButton(this);
        r->SetName(name);
        r->SetParent(kivTabSheet1);
        r->SetBounds(24, top, 400, 20);
        r->SetCaption(caption);
        return r;
    };
    kivRadioButton1 = radio("kivRadioButton1", "音乐随模板长度同步 (音乐长度与模反长度相同)", 40);
    kivRadioButton2 = radio("kivRadioButton2", "音乐随照片效果同步 (音乐长度与照片效果长度相同)", 95);
    kivRadioButton3 = radio("kivRadioButton3", "照片效果随音乐同步 (照片效果长度与音乐长度相同)", 150);
    kivRadioButton1->SetChecked(true);
    kivRadioButton3->OnClick = [this](TObject* Sender) { kivRadioButton3Click(Sender); };

    auto button = [this](const char* name, const char* caption, int left) {
        auto* b = new TkivButton(this);
        b->SetName(name);
        b->SetParent(kivForm1);
        b->SetBounds(left, 300, 90, 25);
        b->SetCaption(caption);
        return b;
    };
    kivButton1 = button("kivButton1", "确定", 270);
    kivButton2 = button("kivButton2", "取消", 376);
    kivButton1->OnClick = [this](TObject* Sender) { kivButton1Click(Sender); };
    kivButton2->OnClick = [this](TObject* Sender) { kivButton2Click(Sender); };

    kivMessageDialog1 = new TkivMessageDialog(this);
    kivMessageDialog1->SetName("kivMessageDialog1");

    OnShow = [this](TObject* Sender) { FormShow(Sender); };
}

TForm8::~TForm8()
{
    if (Form8 == this) Form8 = nullptr;
}

void TForm8::Connect(app::SyncModeView view) { main_.emplace(std::move(view)); }

void TForm8::FormShow(TObject*)
{
    // The choices are left as they were: the dialog does not read SyncMode.
    SetBounds(Left(), Top(), kWidth, kHeight);
}

void TForm8::Refuse(const char* text)
{
    skin::Tell(*kivMessageDialog1, app::kSyncModeCaption, text);
    kivRadioButton1->SetChecked(true);
}

void TForm8::kivRadioButton3Click(TObject*)
{
    if (main_ && main_->music_rows.Count() == 0) Refuse(app::kNoMusicForSyncText);
}

void TForm8::kivButton1Click(TObject*)
{
    if (!main_) {
        SetModalResult(mrOk);
        return;
    }
    const app::SyncModeView& main = *main_;
    if (kivRadioButton1->Checked()) {
        main.sync_mode = std::string(app::kSyncMusicFollowsTemplate);
        main.album_length.SetCaption(app::FramesToTimeText(main.template_frames()).HhMmSs());
    } else if (kivRadioButton2->Checked()) {
        // The photo-effect length needs the template's segment table.
        if (!main.template_loaded()) {
            Refuse(app::kNoTemplateForSyncText);
            return;
        }
        main.sync_mode = std::string(app::kSyncMusicFollowsPhotos);
        main.calc_photo_frames();
    } else if (kivRadioButton3->Checked()) {
        // The music may have gone since the choice was clicked.
        if (main.music_rows.Count() == 0) {
            Refuse(app::kNoMusicForSyncText);
            return;
        }
        main.sync_mode = std::string(app::kSyncPhotosFollowMusic);
        main.album_length.SetCaption(app::SecondsToTimeText(main.music_seconds).HhMmSs());
    }
    SetModalResult(mrOk);
}

void TForm8::kivButton2Click(TObject*) { Close(); }
