// The skinned edit and combo box: their frames, the combo's button face
// and arrow in every state that differs, and where the colours come from.
#include <gtest/gtest.h>

#include "platform/core/application.h"
#include "platform/core/timer.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/form.h"
#include "platform/ui/headless.h"
#include "skin/kiv_built_in_file_theme.h"
#include "skin/kiv_combo_box.h"
#include "skin/kiv_edit.h"
#include "skin/kiv_form.h"
#include "skin/kiv_public.h"
#include "skin_fixture.h"
#include "tests/skin/scoped_env.h"

namespace {

TColor At(const TBitmap& b, int x, int y) { return gfx::ColorRGB(b.Pixel(x, y)); }

TBitmap Picture(TControl& control)
{
    TBitmap b(control.Width(), control.Height(), clMagenta);
    control.PaintTo(b, 0, 0);
    return b;
}

class SkinInputs : public ::testing::Test {
protected:
    SkinInputs()
    {
        ui::Headless();
        form_->SetBounds(0, 0, 300, 200);
    }
    template <class T>
    T* Make(TkivUIStyle style)
    {
        auto* c = new T(form_);
        c->SetParent(form_);
        c->SetBounds(10, 10, 120, 22);
        c->SetUIStyle(style);
        return c;
    }

    core::TestApplication app_;
    TForm* form_ = CreateForm<TForm>();
};

class CountingEdit : public TkivEdit {
public:
    using TkivEdit::TkivEdit;
    int changes = 0;

protected:
    void UIStyleChanged() override { ++changes; }
};

TEST_F(SkinInputs, EditFramesItselfInTheStyleColourAndKeepsItsTextOffTheFrame)
{
    struct Case {
        TkivUIStyle style;
        TColor border;
    };
    for (const Case& c : {Case{TkivUIStyle::DeepBlue, 0x000000}, Case{TkivUIStyle::MacOS, 0x7F7F7F},
                          Case{TkivUIStyle::WinXP, 0x686868}}) {
        SCOPED_TRACE(static_cast<int>(c.style));
        auto* edit = Make<TkivEdit>(c.style);
        TFont font;
        font.SetName(gfx::kTestFontName);
        font.SetHeight(-14);
        edit->SetFont(font);
        edit->SetColor(0xF0F0F0);
        edit->SetText("WWWWWWWWWWWWWWWWWWWWWWWWW");
        EXPECT_EQ(edit->BorderColor(), c.border);
        EXPECT_EQ(edit->NonClientInsets(), (TRect{2, 2, 2, 2}));
        const TBitmap b = Picture(*edit);
        const int w = b.Width(), h = b.Height();
        for (int y = 0; y < h; ++y) {
            EXPECT_EQ(At(b, 0, y), c.border);
            EXPECT_EQ(At(b, w - 1, y), c.border);
        }
        EXPECT_EQ(At(b, w / 2, 0), c.border);
        EXPECT_EQ(At(b, w / 2, h - 1), c.border);
        // Inside the frame a ring of the edit's colour, then the margin.
        for (int y = 1; y < h - 1; ++y) {
            EXPECT_EQ(At(b, 1, y), 0xF0F0F0u);
            EXPECT_EQ(At(b, 2, y), 0xF0F0F0u);
            EXPECT_EQ(At(b, 3, y), 0xF0F0F0u);
        }
        int text = 0;
        for (int x = 4; x < w - 2; ++x) text += At(b, x, h / 2) == gfx::ColorRGB(clWindowText);
        EXPECT_GT(text, 0);
        delete edit;
    }
}

TEST_F(SkinInputs, EditTakesItsFormsStyleAndASkinsBorderColour)
{
    auto* frame = new TkivForm(form_);
    frame->SetParent(form_);
    frame->SetUIStyle(TkivUIStyle::MacOS);
    auto* edit = new CountingEdit(form_);
    edit->SetParent(form_);
    EXPECT_EQ(edit->UIStyle(), TkivUIStyle::MacOS);
    EXPECT_EQ(edit->BorderColor(), 0x7F7F7Fu);

    auto* theme = new TkivBuiltInFileTheme(form_);
    theme->SetSkinData(skintest::SkinWith({{"SKIN2_CONTROLBORDERCOLOR", 0x00AA00}}));
    ASSERT_TRUE(theme->Ready());
    edit->SetUIStyle(TkivUIStyle::FromThemeFile);
    EXPECT_EQ(edit->BorderColor(), 0x000000u);  // no theme yet: DeepBlue
    edit->SetFileTheme(theme);
    EXPECT_EQ(edit->BorderColor(), 0x00AA00u);
    EXPECT_EQ(At(Picture(*edit), 0, 0), 0x00AA00u);
    EXPECT_EQ(edit->changes, 2);
    delete theme;
    EXPECT_EQ(edit->FileTheme(), nullptr);
    EXPECT_EQ(edit->UIStyle(), TkivUIStyle::DeepBlue);
    EXPECT_EQ(edit->BorderColor(), 0x000000u);
}

// Where the combo's arrow lies in the control's picture.
TPoint ArrowOf(const TkivCustomComboBox& combo)
{
    const TRect button = combo.ButtonRect();
    const TRect ins = combo.NonClientInsets();
    return {ins.Left + button.Left + button.Width() / 2 - 3, ins.Top + button.Height() / 2};
}

TEST_F(SkinInputs, ComboPaintsFrameButtonAndArrowInTheStyleColours)
{
    auto* combo = Make<TkivComboBox>(TkivUIStyle::Protein);
    combo->Items().Add("first");
    EXPECT_EQ(combo->BorderColor(), 0x000000u);
    EXPECT_EQ(combo->ButtonColor(), 0xFBFBFBu);
    EXPECT_EQ(combo->ArrowColor(), 0x000000u);
    combo->SetBorderColor(0x0000C0);
    const TBitmap b = Picture(*combo);
    const int w = b.Width(), h = b.Height();
    EXPECT_EQ(At(b, 0, h / 2), 0x0000C0u);
    EXPECT_EQ(At(b, w - 1, h / 2), 0x0000C0u);
    EXPECT_EQ(At(b, 1, h / 2), gfx::ColorRGB(combo->Color()));
    const TRect button = combo->ButtonRect().Offset(2, 2);
    // The dividing line runs one pixel into the frame above and below.
    for (int y = button.Top - 1; y <= button.Bottom; ++y) EXPECT_EQ(At(b, button.Left, y), 0x0000C0u) << y;
    EXPECT_EQ(At(b, button.Left + 2, button.Top + 1), 0xFBFBFBu);
    EXPECT_EQ(At(b, button.Right - 2, button.Bottom - 2), 0xFBFBFBu);
    const TPoint a = ArrowOf(*combo);
    EXPECT_EQ(At(b, a.X + 3, a.Y + 1), 0x000000u);
    EXPECT_EQ(At(b, a.X + 3, a.Y + 5), 0xFBFBFBu);
}

TEST_F(SkinInputs, ARightToLeftComboDividesOnTheButtonsRightEdgeOnAMiddleEastLocale)
{
    auto* combo = Make<TkivComboBox>(TkivUIStyle::Protein);
    combo->SetBorderColor(0x0000C0);
    combo->SetBiDiMode(bdRightToLeft);
    for (const auto& c : skintest::kLocales) {
        skintest::ScopedEnv locale("LC_ALL", c.locale);
        SCOPED_TRACE(c.locale);
        // The button itself goes to the left: one line between it and the text.
        const TRect button = combo->ButtonRect().Offset(2, 2);
        EXPECT_EQ(button.Left == 2, c.rightToLeft);
        EXPECT_EQ(button.Right == combo->Width() - 2, !c.rightToLeft);
        const TBitmap b = Picture(*combo);
        const int line = c.rightToLeft ? button.Right - 1 : button.Left;
        const int face = c.rightToLeft ? button.Left : button.Right - 1;
        // The line runs one pixel into the frame above and below.
        for (int y = button.Top - 1; y <= button.Bottom; ++y) EXPECT_EQ(At(b, line, y), 0x0000C0u) << y;
        EXPECT_EQ(At(b, face, button.Top + 1), 0xFBFBFBu);
    }
}

TEST_F(SkinInputs, DisabledComboShowsAGreyArrowWithAWhiteShadow)
{
    auto* combo = Make<TkivComboBox>(TkivUIStyle::DeepBlue);
    combo->SetArrowColor(0xC00000);
    combo->SetEnabled(false);
    TBitmap b = Picture(*combo);
    const TPoint a = ArrowOf(*combo);
    EXPECT_EQ(At(b, a.X + 3, a.Y + 1), 0x808080u);
    EXPECT_EQ(At(b, a.X + 4, a.Y + 4), 0xFFFFFFu);
    EXPECT_EQ(At(b, a.X + 7, a.Y + 1), 0xFFFFFFu);
    combo->SetEnabled(true);
    b = Picture(*combo);
    EXPECT_EQ(At(b, a.X + 3, a.Y + 1), 0xC00000u);
    EXPECT_EQ(At(b, a.X + 7, a.Y + 1), 0xE8E8E8u);  // the button face again
}

TEST_F(SkinInputs, MacAndXPCombosPaintTheirButtonFromArt)
{
    for (TkivUIStyle style : {TkivUIStyle::MacOS, TkivUIStyle::WinXP}) {
        SCOPED_TRACE(static_cast<int>(style));
        auto* combo = Make<TkivComboBox>(style);
        const TRect button = combo->ButtonRect();
        TBitmap art;
        ASSERT_TRUE(skin::LoadBitmapResource(
            style == TkivUIStyle::MacOS ? "MACOS_COMBOBOX_BUTTON" : "WINXP_COMBOBOX_BUTTON", art));
        TBitmap expected(button.Width(), button.Height());
        skin::StretchBitmap(art, expected.Canvas(), expected.BoundsRect());
        const TBitmap b = Picture(*combo);
        const TPoint a = ArrowOf(*combo);
        int differ = 0;
        for (int y = 0; y < button.Height(); ++y)
            for (int x = 0; x < button.Width(); ++x)
                differ += At(b, 2 + button.Left + x, 2 + y) != gfx::ColorRGB(expected.Pixel(x, y));
        if (style == TkivUIStyle::WinXP) {
            EXPECT_EQ(differ, 0);  // the art alone, its own arrow included
        } else {
            EXPECT_GT(differ, 0);
            EXPECT_EQ(At(b, a.X + 3, a.Y + 1), 0x000000u);
        }
        delete combo;
    }
}

TEST_F(SkinInputs, ComboWithAReadySkinTakesItsColoursAndThePlainButton)
{
    auto* theme = new TkivBuiltInFileTheme(form_);
    theme->SetSkinData(
        skintest::SkinWith({{"SKIN2_CONTROLBORDERCOLOR", 0x00AA00}, {"SKIN2_CONTROLCOLOR", 0x30A0F0}}));
    ASSERT_TRUE(theme->Ready());
    auto* combo = Make<TkivComboBox>(TkivUIStyle::FromThemeFile);
    EXPECT_EQ(combo->ButtonColor(), 0xE8E8E8u);  // no theme yet: DeepBlue
    combo->SetArrowColor(0x123456);
    combo->SetFileTheme(theme);
    EXPECT_EQ(combo->BorderColor(), 0x00AA00u);
    EXPECT_EQ(combo->ButtonColor(), 0x30A0F0u);
    EXPECT_EQ(combo->ArrowColor(), 0x000000u);  // every style change resets it
    const TBitmap b = Picture(*combo);
    const TRect button = combo->ButtonRect().Offset(2, 2);
    EXPECT_EQ(At(b, 0, 0), 0x00AA00u);
    EXPECT_EQ(At(b, button.Left, button.Top), 0x00AA00u);
    EXPECT_EQ(At(b, button.Left + 2, button.Top + 1), 0x30A0F0u);
    delete theme;
    EXPECT_EQ(combo->UIStyle(), TkivUIStyle::DeepBlue);
    EXPECT_EQ(combo->ButtonColor(), 0xE8E8E8u);
}

TEST_F(SkinInputs, ComboKeepsTheListBehaviour)
{
    auto* combo = Make<TkivComboBox>(TkivUIStyle::DeepBlue);
    combo->Items().Add("a");
    combo->Items().Add("b");
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    form_->Show();
    combo->SetFocus();
    ui::headless::Key(*form_, VK_DOWN);
    ui::headless::Key(*form_, VK_DOWN);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(changes, 2);
}

TEST_F(SkinInputs, DroppedListIsFramedInTheBorderColour)
{
    auto* combo = Make<TkivComboBox>(TkivUIStyle::DeepBlue);
    combo->SetBorderColor(0x0000C0);
    for (const char* item : {"a", "b", "c"}) combo->Items().Add(item);
    form_->Show();
    combo->SetFocus();
    TTimer look(nullptr);
    look.SetInterval(10);
    int looked = 0;
    look.OnTimer = [&](TObject*) {
        look.SetEnabled(false);
        TForm* list = Screen().ModalForm();
        if (!list) return;
        ++looked;
        EXPECT_TRUE(combo->DroppedDown());
        const TBitmap b = list->RenderWindow();
        EXPECT_EQ(b.Width(), combo->Width());
        for (TPoint p :
             {TPoint{0, 0}, TPoint{b.Width() - 1, b.Height() / 2}, TPoint{b.Width() / 2, b.Height() - 1}})
            EXPECT_EQ(At(b, p.X, p.Y), 0x0000C0u) << p.X << "," << p.Y;
        list->SetModalResult(mrCancel);
    };
    look.SetEnabled(true);
    ui::headless::Key(*form_, VK_F4);
    EXPECT_EQ(looked, 1);
    EXPECT_FALSE(combo->DroppedDown());
}

}  // namespace
