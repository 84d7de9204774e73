#pragma once
// The three synchronisation modes, kept as the project's own key words.
#include <string_view>

namespace app {

// Music follows the template's length (the default).
inline constexpr std::string_view kSyncMusicFollowsTemplate = "yinyuesuimobanchangdu";
// Music follows the photo effects: the album lasts PhotoFrames.
inline constexpr std::string_view kSyncMusicFollowsPhotos = "yinyuesuizhaopian";
// Photo effects follow the music: the album lasts as long as the music.
inline constexpr std::string_view kSyncPhotosFollowMusic = "zhaopiansuiyinyue";

}  // namespace app
