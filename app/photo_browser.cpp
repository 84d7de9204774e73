#include "app/photo_browser.h"

#include "app/photo_pages.h"
#include "app/photo_slots.h"
#include "app/work_folder.h"
#include "platform/core/files.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/media/media_player.h"
#include "platform/ui/scrollbox.h"
#include "skin/kiv_button.h"
#include "skin/kiv_group_box.h"
#include "skin/kiv_list_view.h"
#include "skin/kiv_message_dialog.h"

namespace app {

namespace {

int PhotoCount(const PhotoBrowserView& main) { return main.photo_list.Items().Count(); }

// The page the strip shows.
int ShownPage(const PhotoBrowserView& main) { return PageInView(main.page_index, PhotoCount(main)); }

void ShowPageMessage(const PhotoBrowserView& main, const char* text)
{
    skin::Tell(main.message, "浏览照片", text);
}

void ApplyPageMove(const PhotoBrowserView& main, const PageMove& move)
{
    if (!move.acts) return;
    EnablePageControls(main.strip, false);
    main.page_index = move.page_index;
    if (move.shows_page) ShowThumbnailPage(main.strip, move.page_index);
    EnablePageControls(main.strip, true);
    if (move.message) ShowPageMessage(main, move.message);
}

}  // namespace

std::string EmptySlotMovie(const ThumbnailStrip& strip)
{
    return (strip.work_dir / "xtsz" / "wzpyl.swf").string();
}

void ShowThumbnailPage(const ThumbnailStrip& strip, int page)
{
    for (int slot = 1; slot <= kPhotosPerPage; ++slot) {
        const std::filesystem::path picture = PhotoFile(strip.work_dir, PhotoOnPage(page, slot));
        strip.slots[slot - 1]->SetMovie(core::FileExists(picture) ? picture.string() : EmptySlotMovie(strip));
    }
}

void ClearThumbnails(const ThumbnailStrip& strip)
{
    for (TShockwaveFlash* movie : strip.slots) movie->SetMovie(EmptySlotMovie(strip));
}

void EnablePageControls(const ThumbnailStrip& strip, bool enabled)
{
    strip.frame.SetEnabled(enabled);
    strip.previous_page.SetEnabled(enabled);
    strip.next_page.SetEnabled(enabled);
}

void NextThumbnailPage(const PhotoBrowserView& main)
{
    const int count = PhotoCount(main);
    if (count == 0) return;
    main.page_count = count / kPhotosPerPage;
    ApplyPageMove(main, NextPage(main.page_index, count));
}

void PreviousThumbnailPage(const PhotoBrowserView& main)
{
    ApplyPageMove(main, PreviousPage(main.page_index, PhotoCount(main)));
}

void OpenPhotoBrowser(const PhotoBrowserView& main, int k)
{
    const std::filesystem::path& work = main.strip.work_dir;
    core::CopyFile(PhotoFile(work, k), work / "llzp" / "zpjj.jpg", true);
    main.browser_copy = main.browser_copy == "zpjj1" ? "zpjj2" : "zpjj1";
    main.browser_movie.SetMovie((work / "llzp" / (main.browser_copy + ".swf")).string());
    // The browser pane only shows; it takes no mouse input.
    main.browser_pane.SetEnabled(false);
    main.browser_pane.SetVisible(true);
    main.browser_pane.BringToFront();
    for (TScrollBox* pane : main.covered_panes) pane->SetVisible(false);
}

void StopPreviews(const PhotoBrowserView& main)
{
    main.effect_movie.Stop();
    main.template_video.controls().pause();
}

void BrowseThumbnail(const PhotoBrowserView& main, int slot)
{
    const int count = PhotoCount(main);
    if (count == 0) return;
    OpenPhotoBrowser(main, PhotoOnPage(ShownPage(main), slot));
    StopPreviews(main);
}

void BrowseSelectedThumbnail(const PhotoBrowserView& main)
{
    const int count = PhotoCount(main);
    if (count == 0) return;
    OpenPhotoBrowser(main, PhotoOnPage(ShownPage(main), main.selected_slot));
}

void BrowseSelectedRow(const PhotoBrowserView& main)
{
    const int row = main.photo_list.ItemIndex();
    if (row < 0) return;
    OpenPhotoBrowser(main, row + 1);
    StopPreviews(main);
}

void ServeBrowserSlotRequest(const PhotoBrowserView& main, const std::string& command)
{
    // Unlike the effect movie's request: the slots are overwritten in place
    // and the movie's frame is not asked.
    if (const std::optional<int> n = ParseSlotRequest(command))
        CopyNextPhotos(main.strip.work_dir, main.photo_cursor, *n);
}

}  // namespace app
