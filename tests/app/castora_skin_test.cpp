// The skin stored in castora's main window: it loads, and it answers every
// colour, number and switch the controls ask a skin for.
#include <gtest/gtest.h>

#include "app/castora_skin.h"
#include "platform/core/application.h"
#include "skin/kiv_built_in_file_theme.h"
#include "skin/kiv_skin_keys.h"

namespace {

TEST(CastoraSkin, StoredSkinIsReadyAndComplete)
{
    core::TestApplication app;
    TkivBuiltInFileTheme theme;
    theme.SetSkinData(app::CastoraSkinData());
    ASSERT_TRUE(theme.ThemeReady());
    for (int i = 0; i < skin::kFirstBitmapKey; ++i)
        EXPECT_NE(theme.GetColor(static_cast<std::uint8_t>(i)), -1) << skin::kSkinKeys[i];
    for (int i = 0; i < skin::kFirstBooleanKey - skin::kFirstIntegerKey; ++i)
        EXPECT_NE(theme.GetInt(static_cast<std::uint8_t>(i)), -1)
            << skin::kSkinKeys[skin::kFirstIntegerKey + i];
    // The pictures of the controls: title bar, buttons, boxes, bars, tabs.
    for (int key : {32, 33, 34, 43, 47, 48, 50, 51, 55, 56, 57, 58, 59, 60, 61, 62, 65}) {
        const TBitmap* b = theme.GetBitmap(static_cast<std::uint8_t>(key - skin::kFirstBitmapKey));
        ASSERT_NE(b, nullptr) << skin::kSkinKeys[key];
        EXPECT_FALSE(b->Empty()) << skin::kSkinKeys[key];
    }
}

}  // namespace
