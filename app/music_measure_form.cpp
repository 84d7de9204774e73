#include "app/music_measure_form.h"

#include <string>
#include <utility>
#include <vector>

#include "app/music_list.h"
#include "app/time_text.h"
#include "platform/core/application.h"
#include "platform/core/timer.h"
#include "platform/media/media_player.h"
#include "platform/ui/label.h"
#include "skin/kiv_form.h"
#include "platform/ui/listview.h"
#include "skin/kiv_message_dialog.h"
#include "skin/kiv_progress_bar.h"
#include "platform/ui/form_building.h"
#include "skin/kiv_form_panel.h"

TForm4* Form4 = nullptr;

namespace {
constexpr int kWidth = 519;
constexpr int kHeight = 222;
}  // namespace

TForm4::TForm4(TComponent* AOwner) : TForm(AOwner)
{
    ui::SetUpDialogForm(*this, "Form4", app::kMeasuringCaption);
    SetBounds(Left(), Top(), kWidth, kHeight);
    kivForm1 = skin::AddFormPanel(*this, app::kMeasuringCaption);

    Label1 = new TLabel(this);
    Label1->SetName("Label1");
    Label1->SetParent(kivForm1);
    Label1->SetBounds(40, 70, 430, 20);
    Label1->SetCaption("正在分析音乐,可能会花一点时间,请耐心等待...");

    kivProgressBar1 = new TkivProgressBar(this);
    kivProgressBar1->SetName("kivProgressBar1");
    kivProgressBar1->SetParent(kivForm1);
    kivProgressBar1->SetBounds(40, 110, 430, 20);

    Timer1 = ui::MakeTimer(this, "Timer1", 1);
    Timer1->OnTimer = [this](TObject* Sender) { Timer1Timer(Sender); };

    kivMessageDialog1 = new TkivMessageDialog(this);
    kivMessageDialog1->SetName("kivMessageDialog1");

    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnActivate = [this](TObject* Sender) { FormActivate(Sender); };
}

TForm4::~TForm4()
{
    if (Form4 == this) Form4 = nullptr;
}

void TForm4::Connect(app::MusicMeasureView view) { main_.emplace(std::move(view)); }

void TForm4::FormShow(TObject*)
{
    SetBounds(Left(), Top(), kWidth, kHeight);
    measure_pending_ = true;
}

void TForm4::FormActivate(TObject*)
{
    if (!measure_pending_) return;
    measure_pending_ = false;
    if (!main_) {
        Timer1->SetEnabled(true);
        return;
    }

    const app::MusicMeasureView& main = *main_;
    TListItems& rows = main.music_rows;
    TWindowsMediaPlayer& player = main.player;
    const int count = rows.Count();
    kivProgressBar1->SetMax(count);
    kivProgressBar1->SetMin(0);
    kivProgressBar1->SetPosition(0);
    main.music_seconds = 0;
    main.music_row_seconds.assign(static_cast<size_t>(count), 0.0);

    std::vector<std::string> unmeasured;
    for (int i = 0; i < count && i < rows.Count(); ++i) {
        TStrings& fields = rows[i]->SubItems();
        while (fields.Count() < 2) fields.Add("");
        player.SetURL(fields[0]);
        player.settings().SetMute(true);
        // A file the player cannot open reports an error; one that never
        // reports anything must not hold the program: the wait is bounded.
        App().PumpUntil([&] { return player.currentMedia().duration() != 0 || player.HasError(); },
                        MeasureWaitMs);
        const double seconds = player.currentMedia().duration();
        if (seconds > 0) {
            main.music_seconds += seconds;
            main.music_row_seconds[static_cast<size_t>(i)] = seconds;
        } else {
            unmeasured.push_back(fields[0]);
        }
        fields.SetStrings(1, player.currentMedia().durationString());
        kivProgressBar1->SetPosition(i + 1);
    }
    player.controls().stop();
    main.music_length.SetCaption(app::SecondsToTimeText(main.music_seconds).HhMmSs());
    player.settings().SetMute(false);

    // A program that is closing cut the waits short: that is no fault of the files.
    if (!unmeasured.empty() && !App().Terminated()) {
        skin::Tell(*kivMessageDialog1, app::kMeasuringCaption, app::UnmeasuredMusicText(unmeasured));
    }
    Timer1->SetEnabled(true);
}

void TForm4::Timer1Timer(TObject*)
{
    Timer1->SetEnabled(false);
    Close();
}
