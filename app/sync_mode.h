#pragma once
// The three synchronisation modes, kept as the project's own key words
// (production reads the same keys).
#include <string_view>

#include "production/sync_mode.h"

namespace app {

// Music follows the template's length (the default).
inline constexpr std::string_view kSyncMusicFollowsTemplate = production::kMusicFollowsTemplateKey;
// Music follows the photo effects: the album lasts PhotoFrames.
inline constexpr std::string_view kSyncMusicFollowsPhotos = production::kMusicFollowsPhotosKey;
// Photo effects follow the music: the album lasts as long as the music.
inline constexpr std::string_view kSyncPhotosFollowMusic = production::kPhotosFollowMusicKey;

}  // namespace app
