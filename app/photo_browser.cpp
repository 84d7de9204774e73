#include "app/photo_browser.h"

#include "app/form1.h"
#include "app/photo_pages.h"
#include "app/photo_slots.h"
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

int PhotoCount(const TForm1& main)
{
    return main.kivListView1->Items().Count();
}

void ShowPageMessage(TForm1& main, const char* text)
{
    main.kivMessageDialog1->SetCaption("浏览照片");
    main.kivMessageDialog1->SetText(text);
    main.kivMessageDialog1->SetButton1Caption("确定");
    main.kivMessageDialog1->ShowModal();
}

void ApplyPageMove(TForm1& main, const PageMove& move)
{
    if (!move.acts) return;
    EnablePageControls(main, false);
    main.PhotoPageIndex = move.page_index;
    if (move.shows_page) ShowThumbnailPage(main, move.page_index);
    EnablePageControls(main, true);
    if (move.message) ShowPageMessage(main, move.message);
}

}  // namespace

std::array<TShockwaveFlash*, 7> ThumbnailMovies(const TForm1& main)
{
    return {main.ShockwaveFlash1, main.ShockwaveFlash2, main.ShockwaveFlash3, main.ShockwaveFlash4,
            main.ShockwaveFlash5, main.ShockwaveFlash6, main.ShockwaveFlash7};
}

std::string EmptySlotMovie(const TForm1& main)
{
    return (main.WorkPath() / "xtsz" / "wzpyl.swf").string();
}

void ShowThumbnailPage(TForm1& main, int page)
{
    const std::array<TShockwaveFlash*, 7> movies = ThumbnailMovies(main);
    for (int slot = 1; slot <= kPhotosPerPage; ++slot) {
        const std::filesystem::path picture = main.PhotoPicture(PhotoOnPage(page, slot));
        movies[slot - 1]->SetMovie(core::FileExists(picture) ? picture.string() : EmptySlotMovie(main));
    }
}

void ClearThumbnails(TForm1& main)
{
    for (TShockwaveFlash* movie : ThumbnailMovies(main)) movie->SetMovie(EmptySlotMovie(main));
}

void EnablePageControls(TForm1& main, bool enabled)
{
    main.kivGroupBox7->SetEnabled(enabled);
    main.kivButton21->SetEnabled(enabled);
    main.kivButton22->SetEnabled(enabled);
}

void NextThumbnailPage(TForm1& main)
{
    const int count = PhotoCount(main);
    if (count == 0) return;
    main.PageCount = count / kPhotosPerPage;
    ApplyPageMove(main, NextPage(main.PhotoPageIndex, count));
}

void PreviousThumbnailPage(TForm1& main)
{
    ApplyPageMove(main, PreviousPage(main.PhotoPageIndex, PhotoCount(main)));
}

void OpenPhotoBrowser(TForm1& main, int k)
{
    const std::filesystem::path work = main.WorkPath();
    core::CopyFile(main.PhotoPicture(k), work / "llzp" / "zpjj.jpg", true);
    main.BrowserMovie = main.BrowserMovie == "zpjj1" ? "zpjj2" : "zpjj1";
    main.liu_lan_zhao_pian->SetMovie((work / "llzp" / (main.BrowserMovie + ".swf")).string());
    // The browser pane only shows; it takes no mouse input.
    main.ScrollBox1->SetEnabled(false);
    main.ScrollBox1->SetVisible(true);
    main.ScrollBox1->BringToFront();
    for (TScrollBox* pane : {main.ScrollBox13, main.ScrollBox9, main.ScrollBox10, main.ScrollBox11})
        pane->SetVisible(false);
}

void StopPreviews(TForm1& main)
{
    main.xiao_guo_Flash->Stop();
    main.WindowsMediaPlayer1->controls().pause();
}

void BrowseThumbnail(TForm1& main, int slot)
{
    const int count = PhotoCount(main);
    if (count == 0) return;
    OpenPhotoBrowser(main, PhotoOnPage(main.PageInView(), slot));
    StopPreviews(main);
}

void BrowseSelectedThumbnail(TForm1& main)
{
    const int count = PhotoCount(main);
    if (count == 0) return;
    OpenPhotoBrowser(main, PhotoOnPage(main.PageInView(), main.SelectedSlot));
}

void BrowseSelectedRow(TForm1& main)
{
    const int row = main.kivListView1->ItemIndex();
    if (row < 0) return;
    OpenPhotoBrowser(main, row + 1);
    StopPreviews(main);
}

void ServeBrowserSlotRequest(TForm1& main, const std::string& command)
{
    // Unlike the effect movie's request: the slots are overwritten in place
    // and the movie's frame is not asked.
    if (const std::optional<int> n = ParseSlotRequest(command)) CopyNextPhotos(main.WorkPath(), main.PhotoCursor, *n);
}

}  // namespace app
