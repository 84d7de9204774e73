#pragma once
// Removing photos from the project: the four delete buttons of the main
// window and the row removal that the please-wait forms Form5 and Form7
// run. TForm1's handlers delegate here.
#include "app/photo_removal.h"

class TForm1;
class TkivProgressBar;

namespace app {

inline constexpr const char* kDeletePhotosCaption = "删除照片";
inline constexpr const char* kDeleteFailedText = "照片未能删除:工作文件夹无法写入.";

// Removes photo row `row` (0-based) of the main window: its picture goes,
// the later pictures are renumbered, and the row goes from both photo
// lists. When the pictures cannot be renumbered nothing is removed, so
// rows and pictures always stay matched. A row outside the photos removes
// nothing. The progress bar runs from 0 to the number of photos.
PictureRemoval RemovePhotoRow(TForm1& main, int row, TkivProgressBar& progress);

// The preview pane after the photos changed: the intro without a valid
// template; with one, the effect pane while photos remain, else the
// template's video.
void ShowPaneAfterPhotoChange(TForm1& main, bool photos_remain);

// "删除照片": the photo selected in the list (Form5).
void DeleteSelectedPhoto(TForm1& main);
// "删除" on the strip: the photo of the selected thumbnail (Form7).
void DeleteThumbnailPhoto(TForm1& main);
// "删除全部照片" (from_strip false) and "全部删除" on the strip (true):
// every picture goes (Form6), then both lists are emptied.
void DeleteAllPhotos(TForm1& main, bool from_strip);

}  // namespace app
