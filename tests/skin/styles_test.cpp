// The style model: the built-in table, its typed lookups, the artwork of
// every named picture, the style a control takes from its form and the
// file-theme test that every control runs.
#include <gtest/gtest.h>

#include <string>

#include "platform/core/application.h"
#include "platform/ui/form.h"
#include "platform/ui/headless.h"
#include "skin/kiv_file_theme.h"
#include "skin/kiv_form.h"
#include "skin/kiv_locale.h"
#include "skin/kiv_public.h"
#include "skin/kiv_themes.h"
#include "tests/skin/scoped_env.h"

namespace {

using skin::EntryKind;
constexpr TkivUIStyle kBuiltIn[] = {TkivUIStyle::MacOS, TkivUIStyle::WinXP, TkivUIStyle::DeepBlue,
                                    TkivUIStyle::Protein, TkivUIStyle::BlueGlass};

TEST(SkinStyles, TypedLookupsGiveNeutralValuesForTheWrongKind)
{
    const auto D = TkivUIStyle::DeepBlue;
    EXPECT_EQ(skin::GetBuiltInColor(D, 15), 0xE8E8E8u);
    EXPECT_EQ(skin::GetBuiltInInt(D, 15), -1);  // a colour entry
    EXPECT_FALSE(skin::GetBuiltInBool(D, 15));
    EXPECT_EQ(skin::GetBuiltInInt(TkivUIStyle::WinXP, 14), 13);
    EXPECT_EQ(skin::GetBuiltInInt(TkivUIStyle::BlueGlass, 8), -3);
    EXPECT_EQ(skin::GetBuiltInColor(TkivUIStyle::WinXP, 16), 0xC82C00u);
    EXPECT_EQ(skin::GetBuiltInColor(D, 1), 0u);  // a bitmap entry
    EXPECT_TRUE(skin::GetBuiltInBool(TkivUIStyle::MacOS, 2));
    EXPECT_FALSE(skin::GetBuiltInBool(D, 2));
    EXPECT_TRUE(skin::GetBuiltInBool(TkivUIStyle::Protein, 6));
    EXPECT_EQ(skin::BuiltInBitmapName(D, 1), "DEEPBLUE_BUTTON");
    EXPECT_EQ(skin::BuiltInBitmapName(TkivUIStyle::WinXP, 38), "WINXP_SCROLLBUTTON");
    EXPECT_EQ(skin::BuiltInBitmapName(TkivUIStyle::Protein, 38), "MORE_SCROLLBUTTON");
    EXPECT_EQ(skin::BuiltInBitmapName(D, 43), "");
    EXPECT_EQ(skin::BuiltInBitmapName(D, 15), "");
}

TEST(SkinStyles, NoBuiltInStyleOrPositionGivesNoValue)
{
    struct Case {
        TkivUIStyle style;
        int position;
    } cases[] = {
        {TkivUIStyle::FromThemeFile, 15},   {static_cast<TkivUIStyle>(6), 15},
        {static_cast<TkivUIStyle>(127), 7}, {TkivUIStyle::DeepBlue, 0},
        {TkivUIStyle::DeepBlue, 49},
    };
    for (const Case& c : cases) {
        EntryKind kind = EntryKind::Bitmap;
        EXPECT_EQ(skin::GetBuiltInThemeValue(c.style, c.position, kind), -1);
        EXPECT_EQ(kind, EntryKind::Integer);
        EXPECT_EQ(skin::GetBuiltInColor(c.style, c.position), 0u);
        EXPECT_FALSE(skin::GetBuiltInBool(c.style, c.position));
        EXPECT_EQ(skin::GetBuiltInInt(c.style, c.position), -1);
        TBitmap untouched(3, 2);
        skin::GetBuiltInBitmap(c.style, c.position, &untouched, 0, 0);
        EXPECT_EQ(untouched.Width(), 3);
    }
    // Only the low 7 bits of the style count: 0x83 is DeepBlue.
    EXPECT_EQ(skin::GetBuiltInColor(static_cast<TkivUIStyle>(0x83), 15), 0xE8E8E8u);
}

TEST(SkinStyles, EveryNamedPictureExistsWithWholeCells)
{
    // Cell counts that the controls cut the strips into.
    const std::pair<int, int> cells[] = {{1, 3},  {3, 4},  {4, 4},  {5, 18}, {32, 6},
                                         {33, 3}, {38, 4}, {39, 2}, {34, 4}};
    for (TkivUIStyle style : kBuiltIn) {
        for (int position = 1; position <= skin::kBuiltInEntries; ++position) {
            const std::string name(skin::BuiltInBitmapName(style, position));
            if (name.empty()) continue;
            TBitmap b;
            skin::LoadBuiltInBitmap(style, position, &b);
            EXPECT_FALSE(b.Empty()) << name;
        }
        for (auto [position, count] : cells) {
            TBitmap b;
            skin::LoadBuiltInBitmap(style, position, &b);
            EXPECT_EQ(b.Width() % count, 0) << skin::BuiltInBitmapName(style, position);
        }
        // The push button strip: odd cells for nine-slice drawing.
        TBitmap button;
        skin::GetBuiltInBitmap(style, 1, &button, 1, 3);
        EXPECT_EQ(button.Width() % 2, 1);
        EXPECT_EQ(button.Height() % 2, 1);
    }
    TBitmap none;
    EXPECT_FALSE(skin::LoadBitmapResource("DEEPBLUE_NOSUCHTHING", none));
    EXPECT_FALSE(skin::LoadBitmapResource("MORE_BUTTON", none));
    skin::LoadBuiltInBitmap(TkivUIStyle::DeepBlue, 1, nullptr);  // no bitmap: nothing happens
}

TEST(SkinStyles, ButtonCellTwoIsTheMiddleThirdOfTheStrip)
{
    TBitmap strip, cell;
    skin::LoadBuiltInBitmap(TkivUIStyle::DeepBlue, 1, &strip);
    skin::GetBuiltInBitmap(TkivUIStyle::DeepBlue, 1, &cell, 2, 3);
    const int w = strip.Width() / 3;
    ASSERT_EQ(cell.Width(), w);
    ASSERT_EQ(cell.Height(), strip.Height());
    for (int y = 0; y < cell.Height(); ++y)
        for (int x = 0; x < w; ++x) ASSERT_EQ(cell.Pixel(x, y), strip.Pixel(w + x, y)) << x << "," << y;
}

TEST(SkinStyles, RightToLeftLayoutNeedsARightToLeftModeAndAMiddleEastLocale)
{
    // The first locale variable that is set decides, as for the C library.
    const struct {
        const char *all, *messages, *lang;
        bool middleEast;
    } locales[] = {
        {"", "", "ar_SA.UTF-8", true},       {"", "he_IL", "en_GB.UTF-8", true},
        {"en_US.UTF-8", "", "fa_IR", false}, {"ur", "", "", true},
        {"iw_IL@euro", "", "", true},        {"arn_CL.UTF-8", "", "", false},
        {"C", "", "he_IL.UTF-8", false},     {"", "", "", false},
    };
    for (const auto& c : locales) {
        skintest::ScopedEnv all("LC_ALL", c.all), messages("LC_MESSAGES", c.messages), lang("LANG", c.lang);
        SCOPED_TRACE(std::string(c.all) + "|" + c.messages + "|" + c.lang);
        EXPECT_EQ(skin::MiddleEastLocale(), c.middleEast);
        EXPECT_EQ(skin::UseRightToLeftLayout(bdRightToLeft), c.middleEast);
        EXPECT_EQ(skin::UseRightToLeftLayout(bdRightToLeftNoAlign), c.middleEast);
        EXPECT_FALSE(skin::UseRightToLeftLayout(bdLeftToRight));
        EXPECT_FALSE(skin::UseRightToLeftLayout(bdRightToLeftReadingOnly));
    }
}

TEST(SkinStyles, UsingFileThemeFallsBackToDeepBlue)
{
    TkivFileTheme notReady;
    TkivUIStyle effective = TkivUIStyle::Protein;
    EXPECT_FALSE(TkivFileTheme::UsingFileTheme(&notReady, TkivUIStyle::FromThemeFile, effective));
    EXPECT_EQ(effective, TkivUIStyle::DeepBlue);
    EXPECT_FALSE(TkivFileTheme::UsingFileTheme(nullptr, TkivUIStyle::FromThemeFile, effective));
    EXPECT_EQ(effective, TkivUIStyle::DeepBlue);
    EXPECT_FALSE(TkivFileTheme::UsingFileTheme(&notReady, TkivUIStyle::MacOS, effective));
    EXPECT_EQ(effective, TkivUIStyle::MacOS);
}

class OwnerStyle : public ::testing::Test {
protected:
    OwnerStyle() { ui::Headless(); }
    core::TestApplication app_;
    TForm* form_ = CreateForm<TForm>();
};

TEST_F(OwnerStyle, ControlsTakeTheStyleOfTheFormsFirstSkinnedPanel)
{
    EXPECT_EQ(skin::GetOwnerUIStyle(form_), TkivUIStyle::DeepBlue);  // no TkivForm
    auto* panel = new TkivForm(form_);
    panel->SetParent(form_);
    panel->SetUIStyle(TkivUIStyle::WinXP);
    auto* second = new TkivForm(form_);
    second->SetParent(form_);
    second->SetUIStyle(TkivUIStyle::MacOS);
    EXPECT_EQ(skin::GetOwnerUIStyle(form_), TkivUIStyle::WinXP);
    EXPECT_EQ(skin::GetOwnerUIStyle(nullptr), TkivUIStyle::DeepBlue);
    EXPECT_EQ(skin::GetOwnerUIStyle(panel), TkivUIStyle::DeepBlue);  // not a form
}

TEST_F(OwnerStyle, OnlyDirectChildrenOfTheFormCount)
{
    auto* box = new TCustomControl(form_);
    box->SetParent(form_);
    auto* nested = new TkivForm(form_);
    nested->SetParent(box);
    nested->SetUIStyle(TkivUIStyle::Protein);
    EXPECT_EQ(skin::GetOwnerUIStyle(form_), TkivUIStyle::DeepBlue);
}

TEST_F(OwnerStyle, RemovingTheThemeResetsTheSkinnedPanel)
{
    auto* panel = new TkivForm(form_);
    auto* theme = new TkivFileTheme(form_);
    panel->SetUIStyle(TkivUIStyle::FromThemeFile);
    panel->SetFileTheme(theme);
    EXPECT_EQ(panel->UIStyle(), TkivUIStyle::FromThemeFile);
    delete theme;
    EXPECT_EQ(panel->FileTheme(), nullptr);
    EXPECT_EQ(panel->UIStyle(), TkivUIStyle::DeepBlue);
}

TEST_F(OwnerStyle, ApplyUIStyleToChildrenReachesOnlyStyledDirectChildren)
{
    auto* theme = new TkivFileTheme(form_);
    auto* host = new TCustomControl(form_);
    host->SetParent(form_);
    auto* child = new TkivForm(form_);
    child->SetParent(host);
    auto* plain = new TCustomControl(form_);
    plain->SetParent(host);
    auto* grandchild = new TkivForm(form_);
    grandchild->SetParent(plain);
    skin::ApplyUIStyleToChildren(*host, TkivUIStyle::BlueGlass, theme);
    EXPECT_EQ(child->UIStyle(), TkivUIStyle::BlueGlass);
    EXPECT_EQ(child->FileTheme(), theme);
    EXPECT_EQ(grandchild->UIStyle(), TkivUIStyle::DeepBlue);
    EXPECT_TRUE(skin::HasPublishedProperty(child, "uistyle"));
    EXPECT_TRUE(skin::HasPublishedProperty(child, "FileTheme"));
    EXPECT_FALSE(skin::HasPublishedProperty(child, "Caption2"));
    EXPECT_FALSE(skin::HasPublishedProperty(plain, "UIStyle"));
}

TEST_F(OwnerStyle, FormActiveRules)
{
    auto* other = CreateForm<TForm>();
    EXPECT_EQ(Screen().MainForm(), form_);
    form_->Show();
    other->Show();
    other->Activate();
    EXPECT_TRUE(skin::IsFormActive(other));
    EXPECT_TRUE(skin::IsFormActive(form_));  // the main form while the program is active
    EXPECT_TRUE(skin::IsFormActive(nullptr));
    form_->Activate();
    EXPECT_FALSE(skin::IsFormActive(other));
}

}  // namespace
