// TForm4 ("正在分析音乐,请稍后..."): measures every row of the main window's
// music list with its music player, shown modally by the music import and
// the single delete. It totals the lengths in MusicSeconds, writes each
// row's length text and Label1, and closes itself one timer tick later.
#pragma once
#include <cstdint>

#include "platform/ui/form.h"

class TLabel;
class TTimer;
class TkivForm;
class TkivMessageDialog;
class TkivProgressBar;

class TForm4 : public TForm {
public:
    explicit TForm4(TComponent* AOwner = nullptr);
    ~TForm4() override;

    TkivForm* kivForm1;                    // the skinned panel
    TLabel* Label1;                        // "正在分析音乐,可能会花一点时间,请耐心等待..."
    TkivProgressBar* kivProgressBar1;      // moves while the songs are measured
    TTimer* Timer1;                        // 1 ms: closes the form once measuring is done
    TkivMessageDialog* kivMessageDialog1;  // names the songs that could not be measured

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
};

extern TForm4* Form4;
