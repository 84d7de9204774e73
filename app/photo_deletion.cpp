#include "app/photo_deletion.h"

#include <string>

#include "app/form1.h"
#include "app/form5.h"
#include "app/form6.h"
#include "app/form7.h"
#include "app/photo_browser.h"
#include "app/photo_pages.h"
#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/media/media_player.h"
#include "platform/ui/label.h"
#include "platform/ui/scrollbox.h"
#include "skin/kiv_list_view.h"
#include "skin/kiv_message_dialog.h"
#include "skin/kiv_progress_bar.h"

namespace app {

namespace {

int PhotoCount(const TForm1& main)
{
    return main.kivListView1->Items().Count();
}

void DeleteRow(TkivListView& list, int row)
{
    if (row >= 0 && row < list.Items().Count()) list.Items().Delete(row);
}

void ShowDeleteFailed(TForm1& main, const std::string& text)
{
    main.kivMessageDialog1->SetCaption(kDeletePhotosCaption);
    main.kivMessageDialog1->SetText(text);
    main.kivMessageDialog1->SetButton1Caption("确定");
    main.kivMessageDialog1->ShowModal();
}

// After a single deletion: the strip back on page 0, the length anew.
void AfterSingleDeletion(TForm1& main)
{
    main.PhotoPageIndex = 0;
    EnablePageControls(main, false);
    main.RefreshThumbnails(0);
    EnablePageControls(main, true);
    main.ProjectLengthText();
    if (PhotoCount(main) == 0) main.Label2->SetCaption("00:00:00");
}

// The template's panes after photos went. While photos remain and a
// template is loaded, its slots are filled anew: the effect pane must not
// go on showing a photo that is no longer in the project.
void TemplatePanesAfterDeletion(TForm1& main, bool from_strip)
{
    const bool remain = PhotoCount(main) > 0;
    ShowPaneAfterPhotoChange(main, remain);
    if (!main.ValidTemplateLoaded()) return;
    if (remain) {
        main.RefreshTemplateAfterPhotos();
        if (from_strip) main.WindowsMediaPlayer1->controls().stop();
    } else if (from_strip) {
        main.xiao_guo_Flash->Stop();
        main.WindowsMediaPlayer1->controls().play();
    }
}

}  // namespace

PictureRemoval RemovePhotoRow(TForm1& main, int row, TkivProgressBar& progress)
{
    const int count = PhotoCount(main);
    progress.SetMax(count);
    progress.SetMin(0);
    progress.SetPosition(0);
    const PictureRemoval removal = RemovePhotoPicture(main.WorkPath(), row + 1, count, core::RenameFile, [&](int moved) {
        progress.SetPosition(moved - 1);
        App().ProcessMessages();
    });
    if (removal != PictureRemoval::kRemoved) return removal;
    DeleteRow(*main.kivListView1, row);
    DeleteRow(*main.kivListView3, row);
    if (row == count - 1) progress.SetPosition(1);
    return removal;
}

void ShowPaneAfterPhotoChange(TForm1& main, bool photos_remain)
{
    TScrollBox* front = !main.ValidTemplateLoaded() ? main.ScrollBox13
                      : photos_remain              ? main.ScrollBox10
                                                   : main.ScrollBox9;
    for (TScrollBox* pane : {main.ScrollBox13, main.ScrollBox1, main.ScrollBox9, main.ScrollBox10, main.ScrollBox11})
        if (pane != front) pane->SetVisible(false);
    front->SetVisible(true);
    front->BringToFront();
}

void DeleteSelectedPhoto(TForm1& main)
{
    if (main.kivListView1->ItemIndex() < 0) return;
    bool failed = false;
    if (PhotoCount(main) > 0) {
        main.xiao_guo_Flash->Stop();
        // Back to the start of the template's video.
        main.WindowsMediaPlayer1->controls().play();
        main.WindowsMediaPlayer1->controls().stop();
        Form5->ShowModal();
        failed = Form5->Outcome() == PictureRemoval::kFailed;
    }
    TemplatePanesAfterDeletion(main, false);
    AfterSingleDeletion(main);
    if (failed) ShowDeleteFailed(main, kDeleteFailedText);
}

void DeleteThumbnailPhoto(TForm1& main)
{
    const int count = PhotoCount(main);
    bool failed = false;
    if (count > 0) {
        main.DeleteIndex = PhotoOnPage(main.PageInView(), main.SelectedSlot) - 1;
        main.xiao_guo_Flash->Stop();
        main.WindowsMediaPlayer1->controls().pause();
        Form7->ShowModal();
        failed = Form7->Outcome() == PictureRemoval::kFailed;
    }
    TemplatePanesAfterDeletion(main, true);
    AfterSingleDeletion(main);
    if (failed) ShowDeleteFailed(main, kDeleteFailedText);
}

void DeleteAllPhotos(TForm1& main, bool from_strip)
{
    if (from_strip) {
        main.WindowsMediaPlayer1->controls().pause();
    } else {
        main.WindowsMediaPlayer1->controls().play();
        main.WindowsMediaPlayer1->controls().stop();
    }
    main.xiao_guo_Flash->Stop();
    const int count = PhotoCount(main);
    if (count > 0) Form6->ShowModal();

    // Normally no picture is left. Should some stay, they keep their rows,
    // moved up to close the gaps, so that no row names another photo's
    // picture.
    std::vector<int> kept;
    bool failed = false;
    if (count > 0) {
        if (std::optional<std::vector<int>> left = CompactPhotoPictures(main.WorkPath(), count, core::RenameFile)) {
            kept = *left;
        } else {
            failed = true;  // every row stays with its picture or its gap
        }
    }
    for (TkivListView* list : {main.kivListView1, main.kivListView3}) {
        TListItems& rows = list->Items();
        std::vector<bool> keep(static_cast<size_t>(rows.Count()), failed);
        for (int k : kept)
            if (k - 1 < rows.Count()) keep[static_cast<size_t>(k - 1)] = true;
        for (int row = rows.Count() - 1; row >= 0; --row)
            if (!keep[static_cast<size_t>(row)]) rows.Delete(row);
    }

    if (PhotoCount(main) == 0) {
        ShowPaneAfterPhotoChange(main, false);
        if (from_strip && main.ValidTemplateLoaded()) {
            main.xiao_guo_Flash->Stop();
            main.WindowsMediaPlayer1->controls().play();
        }
        ClearThumbnails(main);
        main.Label2->SetCaption("00:00:00");
        return;
    }
    TemplatePanesAfterDeletion(main, from_strip);
    AfterSingleDeletion(main);
    ShowDeleteFailed(main, "有 " + std::to_string(PhotoCount(main)) + " 张照片未能删除:工作文件夹无法写入.");
}

}  // namespace app
