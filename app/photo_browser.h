#pragma once
// The thumbnail strip's pages and the photo browser of the main window:
// the page buttons, the slot clicks and the three ways of opening a photo
// in the browser pane. The main window's handlers delegate here, each
// with the PhotoBrowserView below: everything these actions touch of the
// main window.
#include <array>
#include <filesystem>
#include <string>

class TScrollBox;
class TShockwaveFlash;
class TWindowsMediaPlayer;
class TkivButton;
class TkivGroupBox;
class TkivListView;
class TkivMessageDialog;

namespace app {

// The thumbnail strip: seven slots, each a movie showing one photo's
// picture, and the page buttons below them.
struct ThumbnailStrip {
    // What it reads.
    const std::filesystem::path work_dir;  // holds the pictures and the empty-slot movie

    // What it may change: the movies it loads, and the frame and buttons it
    // turns off while they load.
    std::array<TShockwaveFlash*, 7> slots;  // slot 1 first
    TkivGroupBox& frame;
    TkivButton& previous_page;
    TkivButton& next_page;
};

struct PhotoBrowserView {
    // What it reads.
    const TkivListView& photo_list;  // row k - 1 is photo k; its selection is browsed
    const int& selected_slot;        // 1 to 7

    // What it may change.
    ThumbnailStrip strip;
    // The browser pane with its movie, and the other panes of the preview
    // frame that it covers (intro, template video, effect, opening title).
    TScrollBox& browser_pane;
    TShockwaveFlash& browser_movie;
    std::array<TScrollBox*, 4> covered_panes;
    // What browsing stops: the effect movie and the template's video.
    TShockwaveFlash& effect_movie;
    TWindowsMediaPlayer& template_video;
    TkivMessageDialog& message;
    // The project's strip and browser values.
    int& page_index;            // may lie past the last page
    int& page_count;            // full pages, as "下一页" last counted them
    std::string& browser_copy;  // "zpjj1" or "zpjj2": the browser movie loaded last
    int& photo_cursor;          // the photo last copied into a template slot
};

// "xtsz/wzpyl.swf" of the work folder: the movie of an empty slot.
std::string EmptySlotMovie(const ThumbnailStrip& strip);

// Loads the seven movies of page `page`: each slot's picture, or the
// empty-slot movie for a photo that does not exist.
void ShowThumbnailPage(const ThumbnailStrip& strip, int page);
// Every slot shows the empty-slot movie.
void ClearThumbnails(const ThumbnailStrip& strip);
// The strip and both page buttons off while the movies load, so that a
// second click cannot start in between.
void EnablePageControls(const ThumbnailStrip& strip, bool enabled);

// "下一页" and "上一页".
void NextThumbnailPage(const PhotoBrowserView& main);
void PreviousThumbnailPage(const PhotoBrowserView& main);

// Shows photo k in the browser pane: its picture is staged as
// "llzp/zpjj.jpg" (a missing picture leaves the one staged before), and the
// other copy of the browser movie is loaded so that the control reloads.
void OpenPhotoBrowser(const PhotoBrowserView& main, int k);
// The effect movie stops and the template's video pauses.
void StopPreviews(const PhotoBrowserView& main);

// A double-click on thumbnail slot `slot` (1 to 7).
void BrowseThumbnail(const PhotoBrowserView& main, int slot);
// The strip's "浏览照片": the selected slot; the previews keep running.
void BrowseSelectedThumbnail(const PhotoBrowserView& main);
// The list's double-click and its "浏览照片": the selected row.
void BrowseSelectedRow(const PhotoBrowserView& main);

// The browser movie's photo-slot request "tupian=" + N: the next N photos
// into slots 1 to N. Anything else is ignored.
void ServeBrowserSlotRequest(const PhotoBrowserView& main, const std::string& command);

}  // namespace app
