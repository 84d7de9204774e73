// The three ways photos and music are kept in step, and the project's keys
// for them.
#pragma once

#include <optional>
#include <string_view>

namespace production {

enum class SyncMode {
    MusicFollowsTemplate,  // "yinyuesuimobanchangdu": one pass of the template
    MusicFollowsPhotos,    // "yinyuesuizhaopian": PhotoFrames
    PhotosFollowMusic,     // "zhaopiansuiyinyue": the music's frames
};

inline constexpr std::string_view kMusicFollowsTemplateKey = "yinyuesuimobanchangdu";
inline constexpr std::string_view kMusicFollowsPhotosKey = "yinyuesuizhaopian";
inline constexpr std::string_view kPhotosFollowMusicKey = "zhaopiansuiyinyue";

// The mode named by the project's key; nothing for any other text.
std::optional<SyncMode> ParseSyncMode(std::string_view key);
std::string_view SyncModeKey(SyncMode mode);

// The two photo and music modes play the template movie over and over.
constexpr bool LoopsTemplate(SyncMode mode) { return mode != SyncMode::MusicFollowsTemplate; }

}  // namespace production
