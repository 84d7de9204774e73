#include "app/photo_deletion.h"

#include <string>

#include "app/photo_pages.h"
#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/media/media_player.h"
#include "platform/ui/label.h"
#include "platform/ui/listview.h"
#include "platform/ui/scrollbox.h"
#include "skin/kiv_list_view.h"
#include "skin/kiv_message_dialog.h"
#include "skin/kiv_progress_bar.h"

namespace app {

namespace {

int PhotoCount(const PhotoDeletionView& main) { return main.photo_list.Items().Count(); }

void DeleteRow(TListItems& rows, int row)
{
    if (row >= 0 && row < rows.Count()) rows.Delete(row);
}

void ShowDeleteFailed(const PhotoDeletionView& main, const std::string& text)
{
    skin::Tell(main.message, kDeletePhotosCaption, text);
}

// After a single deletion: the strip back on page 0, the length anew.
void AfterSingleDeletion(const PhotoDeletionView& main)
{
    main.page_index = 0;
    EnablePageControls(main.strip, false);
    main.refresh_thumbnails(0);
    EnablePageControls(main.strip, true);
    main.show_album_length();
    if (PhotoCount(main) == 0) main.album_length.SetCaption("00:00:00");
}

// The template's panes after photos went. While photos remain and a
// template is loaded, its slots are filled anew: the effect pane must not
// go on showing a photo that is no longer in the project.
void TemplatePanesAfterDeletion(const PhotoDeletionView& main, bool from_strip)
{
    const bool remain = PhotoCount(main) > 0;
    ShowPaneAfterPhotoChange(main, remain);
    if (!main.template_loaded()) return;
    if (remain) {
        main.refresh_template();
        if (from_strip) main.template_video.controls().stop();
    } else if (from_strip) {
        main.effect_movie.Stop();
        main.template_video.controls().play();
    }
}

}  // namespace

PictureRemoval RemovePhotoRow(const PhotoRowRemovalView& main, TkivProgressBar& progress)
{
    const int row = main.row();
    const int count = main.photo_rows.Count();
    progress.SetMax(count);
    progress.SetMin(0);
    progress.SetPosition(0);
    const PictureRemoval removal =
        RemovePhotoPicture(main.work_dir(), row + 1, count, core::RenameFile, [&](int moved) {
            progress.SetPosition(moved - 1);
            App().ProcessMessages();
        });
    if (removal != PictureRemoval::kRemoved) return removal;
    DeleteRow(main.photo_rows, row);
    DeleteRow(main.crop_rows, row);
    if (row == count - 1) progress.SetPosition(1);
    return removal;
}

void ShowPaneAfterPhotoChange(const PhotoDeletionView& main, bool photos_remain)
{
    TScrollBox* front = !main.template_loaded() ? &main.intro_pane
                        : photos_remain         ? &main.effect_pane
                                                : &main.template_pane;
    for (TScrollBox* pane :
         {&main.intro_pane, &main.browser_pane, &main.template_pane, &main.effect_pane, &main.opening_pane})
        if (pane != front) pane->SetVisible(false);
    front->SetVisible(true);
    front->BringToFront();
}

void DeleteSelectedPhoto(const PhotoDeletionView& main)
{
    if (main.photo_list.ItemIndex() < 0) return;
    bool failed = false;
    if (PhotoCount(main) > 0) {
        main.effect_movie.Stop();
        // Back to the start of the template's video.
        main.template_video.controls().play();
        main.template_video.controls().stop();
        failed = main.remove_selected_row() == PictureRemoval::kFailed;
    }
    TemplatePanesAfterDeletion(main, false);
    AfterSingleDeletion(main);
    if (failed) ShowDeleteFailed(main, kDeleteFailedText);
}

void DeleteThumbnailPhoto(const PhotoDeletionView& main)
{
    const int count = PhotoCount(main);
    bool failed = false;
    if (count > 0) {
        main.delete_index =
            PhotoOnPage(PageInView(main.page_index, PhotoCount(main)), main.selected_slot) - 1;
        main.effect_movie.Stop();
        main.template_video.controls().pause();
        failed = main.remove_delete_index_row() == PictureRemoval::kFailed;
    }
    TemplatePanesAfterDeletion(main, true);
    AfterSingleDeletion(main);
    if (failed) ShowDeleteFailed(main, kDeleteFailedText);
}

void DeleteAllPhotos(const PhotoDeletionView& main, bool from_strip)
{
    if (from_strip) {
        main.template_video.controls().pause();
    } else {
        main.template_video.controls().play();
        main.template_video.controls().stop();
    }
    main.effect_movie.Stop();
    const int count = PhotoCount(main);
    if (count > 0) main.delete_all_pictures();

    // Normally no picture is left. Should some stay, they keep their rows,
    // moved up to close the gaps, so that no row names another photo's
    // picture.
    std::vector<int> kept;
    bool failed = false;
    if (count > 0) {
        if (std::optional<std::vector<int>> left =
                CompactPhotoPictures(main.strip.work_dir, count, core::RenameFile)) {
            kept = *left;
        } else {
            failed = true;  // every row stays with its picture or its gap
        }
    }
    for (TListItems* rows : {&main.photo_list.Items(), &main.crop_rows}) {
        std::vector<bool> keep(static_cast<size_t>(rows->Count()), failed);
        for (int k : kept)
            if (k - 1 < rows->Count()) keep[static_cast<size_t>(k - 1)] = true;
        for (int row = rows->Count() - 1; row >= 0; --row)
            if (!keep[static_cast<size_t>(row)]) rows->Delete(row);
    }

    if (PhotoCount(main) == 0) {
        ShowPaneAfterPhotoChange(main, false);
        if (from_strip && main.template_loaded()) {
            main.effect_movie.Stop();
            main.template_video.controls().play();
        }
        ClearThumbnails(main.strip);
        main.album_length.SetCaption("00:00:00");
        return;
    }
    TemplatePanesAfterDeletion(main, from_strip);
    AfterSingleDeletion(main);
    ShowDeleteFailed(main, "有 " + std::to_string(PhotoCount(main)) + " 张照片未能删除:工作文件夹无法写入.");
}

}  // namespace app
