#pragma once
// The thumbnail strip's pages and the photo browser of the main window:
// the page buttons, the slot clicks and the three ways of opening a photo
// in the browser pane. TForm1's handlers delegate here.
#include <array>
#include <string>

class TForm1;
class TShockwaveFlash;

namespace app {

// ShockwaveFlash1 to ShockwaveFlash7, slot 1 first.
std::array<TShockwaveFlash*, 7> ThumbnailMovies(const TForm1& main);
// "xtsz/wzpyl.swf" of the work folder: the movie of an empty slot.
std::string EmptySlotMovie(const TForm1& main);

// Loads the seven movies of page `page`: each slot's picture, or the
// empty-slot movie for a photo that does not exist.
void ShowThumbnailPage(TForm1& main, int page);
// Every slot shows the empty-slot movie.
void ClearThumbnails(TForm1& main);
// The strip and both page buttons off while the movies load, so that a
// second click cannot start in between.
void EnablePageControls(TForm1& main, bool enabled);

// "下一页" and "上一页".
void NextThumbnailPage(TForm1& main);
void PreviousThumbnailPage(TForm1& main);

// Shows photo k in the browser pane: its picture is staged as
// "llzp/zpjj.jpg" (a missing picture leaves the one staged before), and the
// other copy of the browser movie is loaded so that the control reloads.
void OpenPhotoBrowser(TForm1& main, int k);
// The effect movie stops and the template's video pauses.
void StopPreviews(TForm1& main);

// A double-click on thumbnail slot `slot` (1 to 7).
void BrowseThumbnail(TForm1& main, int slot);
// The strip's "浏览照片": the selected slot; the previews keep running.
void BrowseSelectedThumbnail(TForm1& main);
// The list's double-click and its "浏览照片": the selected row.
void BrowseSelectedRow(TForm1& main);

// The browser movie's photo-slot request "tupian=" + N: the next N photos
// into slots 1 to N. Anything else is ignored.
void ServeBrowserSlotRequest(TForm1& main, const std::string& command);

}  // namespace app
