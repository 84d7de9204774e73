#pragma once
// Removing photos from the project: the four delete buttons of the main
// window, whose handlers delegate here with the PhotoDeletionView below
// (everything these actions touch of the main window), and the row
// removal that the please-wait forms Form5 and Form7 run with their
// PhotoRowRemovalView.
#include <filesystem>
#include <functional>

#include "app/photo_browser.h"
#include "app/photo_removal.h"

class TLabel;
class TListItems;
class TScrollBox;
class TShockwaveFlash;
class TWindowsMediaPlayer;
class TkivListView;
class TkivMessageDialog;
class TkivProgressBar;

namespace app {

inline constexpr const char* kDeletePhotosCaption = "删除照片";
inline constexpr const char* kDeleteFailedText = "照片未能删除:工作文件夹无法写入.";

struct PhotoDeletionView {
    // What it reads.
    const int& selected_slot;  // 1 to 7
    // Whether a valid effect template is loaded.
    std::function<bool()> template_loaded;

    // What it may change.
    ThumbnailStrip strip;  // its work folder holds the pictures
    // The photo list (its selection is deleted) and the crop table: row
    // k - 1 of each is photo k.
    TkivListView& photo_list;
    TListItems& crop_rows;
    TLabel& album_length;  // the album's hh:mm:ss
    TkivMessageDialog& message;
    // The panes of the preview frame that a deletion chooses between.
    TScrollBox& intro_pane;
    TScrollBox& browser_pane;
    TScrollBox& template_pane;  // the template's video
    TScrollBox& effect_pane;
    TScrollBox& opening_pane;
    TShockwaveFlash& effect_movie;
    TWindowsMediaPlayer& template_video;
    // The project's strip values.
    int& page_index;    // may lie past the last page
    int& delete_index;  // the row the strip's "删除" removes
    // The album length label anew, by the sync mode.
    std::function<void()> show_album_length;
    // The strip reloads page `page`, rewritten pictures included.
    std::function<void(int page)> refresh_thumbnails;
    // The template's panes and slots start again with the photos there are.
    std::function<void()> refresh_template;
    // The please-wait forms, modally: removing the list's selected row,
    // removing row delete_index, and deleting every picture.
    std::function<PictureRemoval()> remove_selected_row;
    std::function<PictureRemoval()> remove_delete_index_row;
    std::function<void()> delete_all_pictures;
};

// What removing one photo row touches: the please-wait forms Form5 (the
// list's selected row) and Form7 (the strip's delete_index) each hold one.
struct PhotoRowRemovalView {
    // What it reads.
    std::function<std::filesystem::path()> work_dir;  // its "zpyjj" holds the pictures
    std::function<int()> row;                         // the row to remove, 0-based

    // What it may change: the photo list's and the crop table's rows.
    TListItems& photo_rows;
    TListItems& crop_rows;
};

// Removes photo row main.row() of the main window: its picture goes, the
// later pictures are renumbered, and the row goes from both photo lists.
// When the pictures cannot be renumbered nothing is removed, so rows and
// pictures always stay matched. A row outside the photos removes nothing.
// The progress bar runs from 0 to the number of photos.
PictureRemoval RemovePhotoRow(const PhotoRowRemovalView& main, TkivProgressBar& progress);

// The preview pane after the photos changed: the intro without a valid
// template; with one, the effect pane while photos remain, else the
// template's video.
void ShowPaneAfterPhotoChange(const PhotoDeletionView& main, bool photos_remain);

// "删除照片": the photo selected in the list (Form5).
void DeleteSelectedPhoto(const PhotoDeletionView& main);
// "删除" on the strip: the photo of the selected thumbnail (Form7).
void DeleteThumbnailPhoto(const PhotoDeletionView& main);
// "删除全部照片" (from_strip false) and "全部删除" on the strip (true):
// every picture goes (Form6), then both lists are emptied.
void DeleteAllPhotos(const PhotoDeletionView& main, bool from_strip);

}  // namespace app
