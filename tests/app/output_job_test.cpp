#include "app/output_job.h"

#include <gtest/gtest.h>

#include "app/sync_mode.h"

namespace app {
namespace {

TEST(JobFrameCount, Table)
{
    struct Case {
        const char* what;
        JobFrameInput input;
        int64_t expected;
    };
    const Case cases[] = {
        {"template length", {kSyncMusicFollowsTemplate, 300, 0, 0, false, 0}, 299},
        {"template length with ending", {kSyncMusicFollowsTemplate, 300, 0, 0, true, 120}, 299 + 119},
        {"photos", {kSyncMusicFollowsPhotos, 300, 600, 0, false, 120}, 600},
        {"photos with ending", {kSyncMusicFollowsPhotos, 300, 600, 0, true, 120}, 719},
        {"music", {kSyncPhotosFollowMusic, 300, 600, 2.0, false, 0}, 50},
        {"music, exact tenths", {kSyncPhotosFollowMusic, 300, 600, 0.12, false, 0}, 3},
        {"music, truncated", {kSyncPhotosFollowMusic, 300, 600, 2.039, false, 0}, 50},
        {"music with ending", {kSyncPhotosFollowMusic, 300, 600, 2.0, true, 10}, 59},
        {"unmeasured music", {kSyncPhotosFollowMusic, 300, 600, 0.0, false, 0}, 0},
        {"no movie loaded", {kSyncMusicFollowsTemplate, 0, 0, 0, false, 0}, 0},
        {"ending of 0 frames adds nothing", {kSyncMusicFollowsPhotos, 300, 600, 0, true, 0}, 600},
        {"unknown mode", {"other", 300, 600, 2.0, true, 120}, 0},
        {"negative photo frames", {kSyncMusicFollowsPhotos, 300, -4, 0, false, 0}, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(JobFrameCount(c.input), c.expected) << c.what;
}

TEST(OutputPathFor, AddsTheFormatsExtensionOnlyWhenThereIsNone)
{
    struct Case {
        const char* chosen;
        const char* format;
        const char* expected;
    };
    const Case cases[] = {
        {"/home/u/album", "AVI", "/home/u/album.avi"},
        {"/home/u/album", "VCD", "/home/u/album.mpg"},
        {"/home/u/album", "SVCD", "/home/u/album.mpg"},
        {"/home/u/album", "DVD", "/home/u/album.mpg"},
        {"/home/u/album", "MP4", "/home/u/album.mp4"},
        {"/home/u/album.avi", "VCD", "/home/u/album.avi"},
        {"/home/u/album.x", "MP4", "/home/u/album.x"},
        {"/home/u/album.", "AVI", "/home/u/album."},
        {"/home/u.v/album", "VCD", "/home/u.v/album.mpg"},
        {"/home/u/.album", "AVI", "/home/u/.album"},
        {"相册", "DVD", "相册.mpg"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OutputPathFor(c.chosen, c.format), c.expected) << c.chosen << " " << c.format;
}

}  // namespace
}  // namespace app
