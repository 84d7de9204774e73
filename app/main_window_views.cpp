// The views TForm1 gives its helper modules: each names the controls and
// project values that one module touches, so that the module never sees
// the rest of the main window.
#include "app/main_window.h"
#include "app/music_measure_form.h"
#include "app/photo_delete_form.h"
#include "app/delete_all_photos_form.h"
#include "app/strip_delete_form.h"
#include "app/music_actions.h"
#include "app/photo_browser.h"
#include "app/photo_deletion.h"
#include "app/preview_engine.h"
#include "app/sync_mode_form.h"
#include "app/template_import_form.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/listbox.h"
#include "production/tv_system_form.h"
#include "skin/kiv_group_box.h"
#include "skin/kiv_list_view.h"

app::MusicActionsView TForm1::MusicView()
{
    return {kivListView1->Items(),
            PhotoFrames,
            [this] { return xiao_guo_Flash->TotalFrames(); },
            [this] { return ValidTemplateLoaded(); },
            *kivListView2,
            *kivListView5,
            *WindowsMediaPlayer2,
            *Timer1,
            *OpenDialog2,
            *Label1,
            *Label2,
            *kivMessageDialog1,
            MusicSeconds,
            MusicRowSeconds,
            MusicIndex,
            SyncMode,
            sound_off_notice_,
            [] { Form4->ShowModal(); },
            [this] { ProjectLengthText(); }};
}

app::ThumbnailStrip TForm1::StripView()
{
    return {{ShockwaveFlash1, ShockwaveFlash2, ShockwaveFlash3, ShockwaveFlash4, ShockwaveFlash5,
             ShockwaveFlash6, ShockwaveFlash7},
            *kivGroupBox7,
            *kivButton21,
            *kivButton22,
            WorkPath()};
}

app::PhotoBrowserView TForm1::BrowserView()
{
    return {StripView(),
            *kivListView1,
            *ScrollBox1,
            *liu_lan_zhao_pian,
            {ScrollBox13, ScrollBox9, ScrollBox10, ScrollBox11},
            *xiao_guo_Flash,
            *WindowsMediaPlayer1,
            *kivMessageDialog1,
            PhotoPageIndex,
            PageCount,
            SelectedSlot,
            BrowserMovie,
            PhotoCursor};
}

app::PhotoDeletionView TForm1::DeletionView()
{
    return {StripView(),
            *kivListView1,
            *kivListView3,
            *Label2,
            *kivMessageDialog1,
            *ScrollBox13,
            *ScrollBox1,
            *ScrollBox9,
            *ScrollBox10,
            *ScrollBox11,
            *xiao_guo_Flash,
            *WindowsMediaPlayer1,
            PhotoPageIndex,
            SelectedSlot,
            DeleteIndex,
            [this] { return ValidTemplateLoaded(); },
            [this] { ProjectLengthText(); },
            [this](int page) { RefreshThumbnails(page); },
            [this] { RefreshTemplateAfterPhotos(); },
            [] {
                Form5->ShowModal();
                return Form5->Outcome();
            },
            [] {
                Form7->ShowModal();
                return Form7->Outcome();
            },
            [] { Form6->ShowModal(); }};
}

app::RunButtons TForm1::RunButtons() const
{
    // Stop, then the output buttons in the order of production::kOutputFormats.
    return {kivButton3, kivButton2, kivButton12, kivButton13, kivButton14, kivButton20};
}

app::PreviewEngineView TForm1::PreviewView()
{
    return {*ScrollBox13,
            *ScrollBox1,
            *ScrollBox9,
            *ScrollBox10,
            *ScrollBox11,
            *ScrollBox12,
            *ScrollBox14,
            *Image2,
            *xiao_guo_Flash,
            *Pian_Wei_FLASH,
            *WindowsMediaPlayer3,
            *WindowsMediaPlayer1,
            *kivButton1,
            RunButtons(),
            *Timer2,
            *Timer3,
            *Timer6,
            *Edit1,
            *Edit2,
            *Edit3,
            *LRC_text,
            *Label5,
            *kivListView1,
            *kivListView2,
            *kivListView5,
            *this,
            MusicRowSeconds,
            PhotoCursor,
            EndingMovie,
            [this] { return ValidTemplateLoaded(); },
            [this](bool locked) { locked ? LockMainControls() : UnlockMainControls(); },
            [this] { return SegmentRows(); },
            [this] {
                LoadLrcLyrics();
                return LyricIndexRows();
            }};
}

void TForm1::ConnectDialogs()
{
    // The photo import and the crop renderers.

    // The crop editor and the photo deletion dialogs.

    // The titles dialogs.

    // The lyric dialogs.

    // The template import, the sync mode and the music measure.
    Form14->Connect(ImportView());
    Form8->Connect(SyncView());
    Form4->Connect(MeasureView());

    // The output hand-over and the production dialogs.
    Form9->ReadTvSystem = [this] { return TvSystem; };
    Form9->WriteTvSystem = [this](const std::string& system) { TvSystem = system; };
}

// --- the photo import and the crop renderers ---

// --- the crop editor and the photo deletion dialogs ---

// --- the titles dialogs ---

// --- the lyric dialogs ---

// --- the template import, the sync mode and the music measure ---

app::TemplateImportView TForm1::ImportView()
{
    return {[this] { return OpenDialog3->FileName(); },
            [this] { return WorkPath(); },
            kivListView1->Items(),
            *kivGroupBox2,
            [this] { return Preview().Stage() != app::PreviewStage::kIdle; },
            TemplateFile,
            TemplateState,
            TemplateMovie,
            TvSystem,
            ListBox1->Items(),
            ListBox2->Items(),
            ListBox3->Items(),
            *kivMessageDialog2,
            *kivMessageDialog3,
            *ScrollBox13,
            *ScrollBox1,
            *ScrollBox9,
            *ScrollBox10,
            *ScrollBox11,
            *WindowsMediaPlayer1,
            *xiao_guo_Flash,
            RunButtons(),
            [this](bool locked) { locked ? LockTemplateImportControls() : UnlockTemplateImportControls(); },
            [this] { FillPhotoSlots(); },
            [this] { ProjectLengthText(); },
            [this] { kivButton1Click(nullptr); }};
}

app::SyncModeView TForm1::SyncView()
{
    return {[this] { return ValidTemplateLoaded(); },
            [this] { return xiao_guo_Flash->TotalFrames(); },
            kivListView2->Items(),
            MusicSeconds,
            SyncMode,
            *Label2,
            [this] { CalcPhotoFrames(); }};
}

app::MusicMeasureView TForm1::MeasureView()
{
    return {kivListView2->Items(), *WindowsMediaPlayer2, *Label1, MusicSeconds, MusicRowSeconds};
}

// --- the output hand-over and the production dialogs ---
