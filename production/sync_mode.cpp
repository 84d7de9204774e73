#include "production/sync_mode.h"

namespace production {

std::optional<SyncMode> ParseSyncMode(std::string_view key)
{
    if (key == kMusicFollowsTemplateKey) return SyncMode::MusicFollowsTemplate;
    if (key == kMusicFollowsPhotosKey) return SyncMode::MusicFollowsPhotos;
    if (key == kPhotosFollowMusicKey) return SyncMode::PhotosFollowMusic;
    return std::nullopt;
}

std::string_view SyncModeKey(SyncMode mode)
{
    switch (mode) {
    case SyncMode::MusicFollowsTemplate: return kMusicFollowsTemplateKey;
    case SyncMode::MusicFollowsPhotos: return kMusicFollowsPhotosKey;
    case SyncMode::PhotosFollowMusic: return kPhotosFollowMusicKey;
    }
    return kMusicFollowsTemplateKey;
}

}  // namespace production
