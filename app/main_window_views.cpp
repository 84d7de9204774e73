// The views TForm1 gives its helper modules: each names the controls and
// project values that one module touches, so that the module never sees
// the rest of the main window.
#include "app/main_window.h"

#include "app/crop_editor_form.h"
#include "app/crop_render_form.h"
#include "app/delete_all_photos_form.h"
#include "app/ending_text_form.h"
#include "app/lyric_style_form.h"
#include "app/lyrics_form.h"
#include "app/music_actions.h"
#include "app/music_measure_form.h"
#include "app/output_handover.h"
#include "app/photo_browser.h"
#include "app/photo_delete_form.h"
#include "app/photo_deletion.h"
#include "app/photo_import_form.h"
#include "app/preview_engine.h"
#include "app/strip_delete_form.h"
#include "app/sync_mode_form.h"
#include "app/template_import_form.h"
#include "app/titles_form.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/edit.h"
#include "platform/ui/label.h"
#include "platform/ui/listbox.h"
#include "production/tv_system_form.h"
#include "skin/kiv_button.h"
#include "skin/kiv_group_box.h"
#include "skin/kiv_list_view.h"
#include "skin/kiv_message_dialog.h"

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
    return {WorkPath(),
            {ShockwaveFlash1, ShockwaveFlash2, ShockwaveFlash3, ShockwaveFlash4, ShockwaveFlash5,
             ShockwaveFlash6, ShockwaveFlash7},
            *kivGroupBox7,
            *kivButton21,
            *kivButton22};
}

app::PhotoBrowserView TForm1::BrowserView()
{
    return {*kivListView1,      SelectedSlot,
            StripView(),        *ScrollBox1,
            *liu_lan_zhao_pian, {ScrollBox13, ScrollBox9, ScrollBox10, ScrollBox11},
            *xiao_guo_Flash,    *WindowsMediaPlayer1,
            *kivMessageDialog1, PhotoPageIndex,
            PageCount,          BrowserMovie,
            PhotoCursor};
}

app::PhotoDeletionView TForm1::DeletionView()
{
    return {SelectedSlot,
            [this] { return ValidTemplateLoaded(); },
            StripView(),
            *kivListView1,
            kivListView3->Items(),
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
            DeleteIndex,
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
    return {kivListView1->Items(),
            kivListView2->Items(),
            kivListView5->Items(),
            *this,
            MusicRowSeconds,
            [this] { return ValidTemplateLoaded(); },
            [this] { return SegmentRows(); },
            *ScrollBox13,
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
            LrcSongIndex,
            PhotoCursor,
            EndingMovie,
            [this](bool locked) { locked ? LockMainControls() : UnlockMainControls(); },
            [this](int song) {
                LoadLrcLyrics(song);
                return LyricIndexRows();
            }};
}

void TForm1::ConnectDialogs()
{
    // The photo import and the crop renderers.
    MainForm->Connect(PhotoImportView());
    Form2->Connect(CropRenderView());

    // The crop editor and the photo deletion dialogs.
    Form3->Connect(CropEditorView());
    Form5->Connect(PhotoRowRemovalView([this] { return kivListView1->ItemIndex(); }));
    Form6->Connect(DeleteAllPhotosView());
    Form7->Connect(PhotoRowRemovalView([this] { return DeleteIndex; }));

    // The titles dialogs.
    Form11->Connect(TitlesView());
    Form12->Connect(EndingTextView());

    // The lyric dialogs.
    Form15->Connect(LyricsView());
    Form16->Connect(LyricStyleView());

    // The template import, the sync mode and the music measure.
    Form14->Connect(ImportView());
    Form8->Connect(SyncView());
    Form4->Connect(MeasureView());

    // The output hand-over and the production dialogs.
    Form9->ReadTvSystem = [this] { return TvSystem; };
    Form9->WriteTvSystem = [this](const std::string& system) { TvSystem = system; };
}

// --- the photo import and the crop renderers ---

app::PhotoImportView TForm1::PhotoImportView()
{
    return {[this] { return Z_P_J_J_Edit->Text(); },
            OpenDialog1->Files(),
            [this] { return PhotoCopyFolder(); },
            [this] { return WorkPath(); },
            [this](int k) { return PhotoPicture(k); },
            *kivListView1,
            kivListView3->Items(),
            PhotoPageIndex,
            [this](int page) { RefreshThumbnails(page); }};
}

app::CropRenderView TForm1::CropRenderView()
{
    return {kivListView1->Items(),  // the photos
            [this] { return WorkPath(); },
            [this](int k) { return PhotoPicture(k); },
            PhotoPageIndex,
            kivListView3->Items(),  // the crop rows
            [this](int page) { RefreshThumbnails(page); }};
}

// --- the crop editor and the photo deletion dialogs ---

app::CropEditorView TForm1::CropEditorView()
{
    return {kivListView1->Items(), [this] { return WorkPath(); }, kivListView3->Items(),
            [this] { RefreshThumbnails(PageInView()); }};
}

app::PhotoRowRemovalView TForm1::PhotoRowRemovalView(std::function<int()> row)
{
    return {[this] { return WorkPath(); }, row, kivListView1->Items(), kivListView3->Items()};
}

app::DeleteAllPhotosView TForm1::DeleteAllPhotosView()
{
    return {kivListView1->Items(), [this] { return WorkPath(); }};
}

// --- the titles dialogs ---

app::TitlesView TForm1::TitlesView()
{
    return {[this] { return WorkPath(); },
            OpeningFile,
            OpeningFrames,
            EndingFile,
            EndingMovie,
            *WindowsMediaPlayer3,
            *Pian_Wei_FLASH,
            [this](const std::string& text) { Label3->SetCaption(text); },
            [this](const std::string& text) { Label6->SetCaption(text); }};
}

app::EndingTextView TForm1::EndingTextView()
{
    return {[this] { return WorkPath(); }};
}

// --- the lyric dialogs ---

app::LyricsView TForm1::LyricsView()
{
    return {kivListView2->Items(),
            LrcStyle,
            [this] { return WorkPath(); },
            *kivListView5,
            *kivListView4,
            *WindowsMediaPlayer2,
            *Timer1,
            MusicIndex,
            [this](int row) {
                LoadLrcLyrics(row);
                return LyricIndexRows();
            },
            [this](const std::string& caption, const std::string& text) {
                skin::Tell(*kivMessageDialog1, caption, text);
            }};
}

app::LyricStyleView TForm1::LyricStyleView() { return {LrcStyle}; }

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

app::OutputHandoverView TForm1::OutputHandoverView()
{
    return {*this,
            kivListView1->Items(),
            kivListView2->Items(),
            kivListView5->Items(),
            MusicRowSeconds,
            [this] { return xiao_guo_Flash->TotalFrames(); },
            [this] { return Pian_Wei_FLASH->TotalFrames(); },
            [this] { return SegmentRows(); },
            [this] { return ValidTemplateLoaded(); },
            *SaveDialog1,
            *kivMessageDialog1,
            OutputFormat,
            {ProduceTemplateMovie, ProduceEndingMovie, LrcSongIndex},
            [this] { kivButton3Click(kivButton3); },
            [this] { FillPhotoSlots(); }};
}
