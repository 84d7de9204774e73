// TForm4 ("正在分析音乐,请稍后..."): measures every row of the main window's
// music list with its music player, shown modally by the music import and
// the single delete. It totals the lengths in MusicSeconds, writes each
// row's length text and the music length label, and closes itself one
// timer tick later. It reaches the album only through its MusicMeasureView.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/ui/form.h"

class TLabel;
class TListItems;
class TTimer;
class TWindowsMediaPlayer;
class TkivForm;
class TkivMessageDialog;
class TkivProgressBar;

namespace app {

// What the music measure touches of the main window.
struct MusicMeasureView {
    // What it reads: only the music rows below, whose paths it measures.

    // What it may change.
    TListItems& music_rows;                  // each row's "mm:ss" length field
    TWindowsMediaPlayer& player;             // the hidden music player, muted while it measures
    TLabel& music_length;                    // the music's hh:mm:ss
    double& music_seconds;                   // the whole list's length
    std::vector<double>& music_row_seconds;  // each row's measured length
};

}  // namespace app

class TForm4 : public TForm {
public:
    explicit TForm4(TComponent* AOwner = nullptr);
    ~TForm4() override;

    TkivForm* kivForm1;                    // the skinned panel
    TLabel* Label1;                        // "正在分析音乐,可能会花一点时间,请耐心等待..."
    TkivProgressBar* kivProgressBar1;      // moves while the songs are measured
    TTimer* Timer1;                        // 1 ms: closes the form once measuring is done
    TkivMessageDialog* kivMessageDialog1;  // names the songs that could not be measured

    // The main window's music list; without it the form measures nothing
    // and closes.
    void Connect(app::MusicMeasureView view);

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void Timer1Timer(TObject* Sender);

    // How long one file may take to report its length; a file that has not
    // by then is left out of the total and named in a message.
    int64_t MeasureWaitMs = 15000;

private:
    // Set when shown: a message box during measuring activates the form
    // again, and that must not measure a second time.
    bool measure_pending_ = false;
    std::optional<app::MusicMeasureView> main_;
};

extern TForm4* Form4;
