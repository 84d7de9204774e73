// The music list's pure rules: row captions and the end-of-track advance.
#include "app/music_list.h"

#include <gtest/gtest.h>

namespace {

TEST(MusicList, CaptionIsTheFileNameWithoutItsLastFourCharacters)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/music/a.mp3", "a"},
        {"/music/b.wav", "b"},
        {"/music/相册小调.mp3", "相册小调"},
        {"/music/Song.Name.MP3", "Song.Name"},
        {"/music/x.mp", ""},
        {"/music/.mp3", ""},
        {"relative/abcd", ""},
        {"/音乐/歌曲一.wav", "歌曲一"},
    };
    for (const auto& [file, caption] : cases) EXPECT_EQ(app::ListCaption(file), caption) << file;
}

TEST(MusicList, NextTrackWrapsAndStaysInsideTheList)
{
    struct Case {
        int current, rows;
        std::optional<int> next;
    };
    const Case cases[] = {
        {0, 3, 1},
        {1, 3, 2},
        {2, 3, 0},  // the last wraps to the first
        {0, 1, 0},  // one song repeats
        {5, 3, 0},
        {3, 3, 0},
        {-1, 3, 0},
        {-7, 3, 0},  // the list changed meanwhile
        {0, 0, std::nullopt},
        {2, 0, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(app::NextTrackIndex(c.current, c.rows), c.next) << c.current << " of " << c.rows;
}

TEST(MusicList, UnmeasuredFilesAreEachNamedOnALine)
{
    const std::string text = app::UnmeasuredMusicText({"/a/x.mp3", "/b/y.wav"});
    EXPECT_NE(text.find("\n/a/x.mp3\n/b/y.wav"), std::string::npos) << text;
}

}  // namespace
