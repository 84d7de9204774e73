// The skinned message box: its layout by buttons and icon, the copy key,
// the fonts and style it hands to its window, and the border question.
#include <gtest/gtest.h>

#include <functional>

#include "platform/core/application.h"
#include "platform/core/timer.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/form.h"
#include "platform/ui/headless.h"
#include "platform/ui/image.h"
#include "platform/ui/label.h"
#include "skin/frm_message.h"
#include "skin/kiv_built_in_file_theme.h"
#include "skin/kiv_button.h"
#include "skin/kiv_form.h"
#include "skin/kiv_title_bar.h"
#include "skin/kiv_message_dialog.h"
#include "skin/kiv_public.h"
#include "skin_fixture.h"

namespace {

using namespace ui::headless;

class MessageBox : public ::testing::Test {
protected:
    MessageBox()
    {
        ui::Headless();
        owner_->Show();
    }

    // Shows the box; `look` runs while it is up and may close it. A box
    // still open afterwards is closed with mrAbort.
    TModalResult Run(TkivMessageDialog& dialog, const std::function<void(TfrmMsg&)>& look)
    {
        TTimer timer(nullptr);
        timer.SetInterval(10);
        bool looked = false;
        timer.OnTimer = [&](TObject*) {
            timer.SetEnabled(false);
            auto* box = dynamic_cast<TfrmMsg*>(Screen().ModalForm());
            if (!box) return;
            looked = true;
            look(*box);
            if (box->ModalResult() == mrNone) box->SetModalResult(mrAbort);
        };
        timer.SetEnabled(true);
        const TModalResult result = dialog.ShowModal();
        EXPECT_TRUE(looked);
        return result;
    }

    static int DesignWidth()
    {
        TfrmMsg design(nullptr);
        return design.Width();
    }

    core::TestApplication app_;
    TForm* owner_ = CreateForm<TForm>();
};

TEST_F(MessageBox, DefaultsAreThoseOfTheLibrary)
{
    TkivMessageDialog dialog(owner_);
    EXPECT_EQ(dialog.Caption(), "kivDialog");
    EXPECT_EQ(dialog.Text(), "Hello world!");
    EXPECT_EQ(dialog.ButtonCount(), 1);
    EXPECT_EQ(dialog.Button1Caption(), "OK");
    EXPECT_EQ(dialog.Button2Caption(), "Cancel");
    EXPECT_EQ(dialog.Button3Caption(), "Cancel");
    EXPECT_EQ(dialog.Button1ModalResult(), mrOk);
    EXPECT_EQ(dialog.Button2ModalResult(), mrCancel);
    EXPECT_EQ(dialog.Button3ModalResult(), mrCancel);
    EXPECT_EQ(dialog.IconType(), TkivIconType::kivNone);
    EXPECT_EQ(dialog.Position(), poScreenCenter);
    EXPECT_EQ(dialog.ButtonCursor(), crHandPoint);
    EXPECT_EQ(dialog.CaptionFont().Name(), "Tahoma");
    EXPECT_TRUE(dialog.CaptionFont().Bold());
    dialog.SetButtonCount(0);
    EXPECT_EQ(dialog.ButtonCount(), 1);
    dialog.SetButtonCount(7);
    EXPECT_EQ(dialog.ButtonCount(), 3);
}

TEST_F(MessageBox, OneButtonWithoutIconIsNarrowerAndCopiesItselfAsText)
{
    TkivMessageDialog dialog(owner_);
    dialog.SetCaption("Note");
    dialog.SetText("Done");
    const int design = DesignWidth();
    const TModalResult result = Run(dialog, [&](TfrmMsg& box) {
        EXPECT_EQ(box.Width(), design - 64);
        // The frame's title bar has its one close button.
        TkivTitleBarButtons& title_buttons = box.kivForm1->TitleBar()->Buttons();
        ASSERT_EQ(title_buttons.Count(), 1);
        EXPECT_EQ(title_buttons.Items(0)->ButtonType(), kivClose);
        EXPECT_FALSE(box.Image1->Visible());
        EXPECT_EQ(box.lbl->Left(), 24);
        EXPECT_EQ(box.lbl->Width(), 225);
        const auto buttons = box.Buttons();
        ASSERT_EQ(buttons.size(), 1u);
        TkivButton& ok = *buttons[0];
        EXPECT_EQ(ok.Parent(), box.kivForm1);
        // The image's bottom (64 + 40) is lower than a one-line text.
        EXPECT_EQ(ok.BoundsRect(), Bounds(box.Width() - 97, 124, 73, 25));
        EXPECT_EQ(box.Height(), 104 + 75);
        const TRect area = Screen().WorkAreaRect();
        EXPECT_NEAR(box.Left() - area.Left, area.Right - box.BoundsRect().Right, 1);
        EXPECT_NEAR(box.Top() - area.Top, area.Bottom - box.BoundsRect().Bottom, 1);
        EXPECT_EQ(ok.Caption(), "OK");
        EXPECT_EQ(ok.Cursor(), crHandPoint);
        EXPECT_TRUE(ok.Default());
        EXPECT_FALSE(ok.Cancel());
        EXPECT_EQ(box.ActiveControl(), &ok);
        EXPECT_EQ(box.kivForm1->Caption(), "Note");
        EXPECT_EQ(ui::Headless().StateOf(box)->title, "Note");

        Key(box, 'C', ssCtrl);
        EXPECT_EQ(Clipboard().AsText(),
                  "---------------------------\r\nNote\r\n---------------------------\r\nDone\r\n"
                  "---------------------------\r\nOK\r\n---------------------------");
        Clipboard().SetAsText("kept");
        Key(box, 'C');  // without Control: nothing is copied
        EXPECT_EQ(Clipboard().AsText(), "kept");
        ClickControl(ok);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(Screen().ModalForm(), nullptr);
}

TEST_F(MessageBox, ThreeButtonsRunRightToLeftWithButton1Focused)
{
    TkivMessageDialog dialog(owner_);
    dialog.SetCaption("保存");
    dialog.SetText("保存修改吗?");
    dialog.SetButtonCount(3);
    dialog.SetButton1Caption("是");
    dialog.SetButton1ModalResult(mrYes);
    dialog.SetButton2Caption("否");
    dialog.SetButton2ModalResult(mrNo);
    dialog.SetButton3Caption("取消");
    dialog.SetButton3ModalResult(mrCancel);
    const int design = DesignWidth();

    struct Case {
        const char* press;  // the caption of the button pressed; "" for Escape
        TModalResult expected;
    };
    for (const Case& c : {Case{"否", mrNo}, Case{"是", mrYes}, Case{"", mrCancel}}) {
        SCOPED_TRACE(c.press);
        const TModalResult result = Run(dialog, [&](TfrmMsg& box) {
            EXPECT_EQ(box.Width(), design);  // three buttons keep the width
            const auto buttons = box.Buttons();
            ASSERT_EQ(buttons.size(), 3u);
            const char* order[] = {"取消", "否", "是"};
            for (int i = 0; i < 3; ++i) {
                EXPECT_EQ(buttons[i]->Caption(), order[i]);
                EXPECT_EQ(buttons[i]->Left(), box.Width() - i * 93 - 97);
            }
            EXPECT_TRUE(buttons[0]->Cancel());
            EXPECT_FALSE(buttons[0]->Default());
            EXPECT_FALSE(buttons[2]->Default());  // mrYes is not OK
            EXPECT_EQ(box.ActiveControl(), buttons[2]);
            if (c.press[0] == 0) {
                Key(box, VK_ESCAPE);
                return;
            }
            for (TkivButton* b : buttons)
                if (b->Caption() == c.press) ClickControl(*b);
            Key(box, 'C', ssCtrl);
        });
        EXPECT_EQ(result, c.expected);
    }
    EXPECT_NE(Clipboard().AsText().find("\r\n取消   否   是\r\n"), std::string::npos);
}

TEST_F(MessageBox, IconsComeFromTheirCellAndLeaveTheBackgroundAround)
{
    TBitmap strip;
    ASSERT_TRUE(skin::LoadBitmapResource("MSGDLG", strip));
    EXPECT_EQ(strip.Width(), 4 * 40);
    EXPECT_EQ(strip.Height(), 40);
    const int design = DesignWidth();
    TColor middles[4]{};
    for (TkivIconType icon : {TkivIconType::kivWarning, TkivIconType::kivStop, TkivIconType::kivInformation,
                              TkivIconType::kivHelp}) {
        SCOPED_TRACE(static_cast<int>(icon));
        TkivMessageDialog dialog(owner_);
        dialog.SetIconType(icon);
        dialog.SetButtonCount(2);
        Run(dialog, [&](TfrmMsg& box) {
            EXPECT_EQ(box.Width(), design);
            EXPECT_EQ(box.lbl->Left(), 88);
            ASSERT_TRUE(box.Image1->Visible());
            EXPECT_EQ(box.Image1->BoundsRect(), Bounds(24, 64, 40, 40));
            TBitmap cell;
            skin::CutBitmapCell(strip, cell, 4, static_cast<int>(icon));
            const TBitmap& shown = box.Image1->Picture().Bitmap();
            ASSERT_EQ(shown.Width(), 40);
            EXPECT_EQ(shown.Pixel(13, 24), cell.Pixel(13, 24));
            const TBitmap window = Capture(box);
            const TPoint at = box.Image1->ClientToAncestor({0, 0}, nullptr);
            middles[static_cast<int>(icon) - 1] = gfx::ColorRGB(window.Pixel(at.X + 13, at.Y + 24));
            // The see-through corner shows the frame, not magenta.
            EXPECT_NE(gfx::ColorRGB(window.Pixel(at.X, at.Y)), gfx::ColorRGB(clMagenta));
            EXPECT_EQ(gfx::ColorRGB(window.Pixel(at.X, at.Y)), gfx::ColorRGB(window.Pixel(at.X - 2, at.Y)));
        });
    }
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j) EXPECT_NE(middles[i], middles[j]) << i << " " << j;
}

TEST_F(MessageBox, LongTextWrapsAndPushesTheButtonsDown)
{
    TkivMessageDialog dialog(owner_);
    TFont font;
    font.SetName(gfx::kTestFontName);
    font.SetHeight(-10);
    dialog.SetFont(font);
    std::string text;
    for (int i = 0; i < 40; ++i) text += "word ";
    dialog.SetText(text);
    Run(dialog, [&](TfrmMsg& box) {
        EXPECT_EQ(box.lbl->Width(), 225);
        const int bottom = box.lbl->Top() + box.lbl->Height();
        EXPECT_GT(bottom, 104);
        EXPECT_EQ(box.Buttons().at(0)->Top(), bottom + 20);
        EXPECT_EQ(box.Height(), bottom + 75);
        EXPECT_EQ(box.lbl->Font().Name(), gfx::kTestFontName);
    });

    // A text taller than the screen is cut so that the buttons stay on it;
    // the copy key still gives all of it.
    std::string huge;
    for (int i = 0; i < 4000; ++i) huge += "word ";
    dialog.SetText(huge);
    Run(dialog, [&](TfrmMsg& box) {
        EXPECT_LE(box.Height(), Screen().WorkAreaRect().Height());
        EXPECT_GE(box.Top(), Screen().WorkAreaRect().Top);
        EXPECT_LE(box.Buttons().at(0)->Top() + 25, box.ClientHeight());
        Key(box, 'C', ssCtrl);
        EXPECT_NE(Clipboard().AsText().find(huge), std::string::npos);
    });
}

TEST_F(MessageBox, StyleSetsTheFontColoursAndReachesTheBox)
{
    struct Case {
        TkivUIStyle style;
        TColor title;
    };
    for (const Case& c : {Case{TkivUIStyle::MacOS, clBlack}, Case{TkivUIStyle::DeepBlue, clWhite},
                          Case{TkivUIStyle::WinXP, clWhite}, Case{TkivUIStyle::FromThemeFile, clWhite}}) {
        TkivMessageDialog dialog(owner_);
        dialog.SetUIStyle(c.style);
        EXPECT_EQ(dialog.CaptionFont().Color(), c.title) << static_cast<int>(c.style);
        EXPECT_EQ(dialog.Font().Color(), clBlack);
    }

    // A ready skin gives its title and control font colours.
    auto* theme = new TkivBuiltInFileTheme(owner_);
    theme->SetSkinData(skintest::SkinWith({{"SKIN2_TITLEFONTCOLOR", 0x123456},
                                           {"SKIN2_CONTROLFONTCOLOR", 0x654321},
                                           {"SKIN2_BUTTONFONTCOLOR", 0x0A0B0C}}));
    ASSERT_TRUE(theme->Ready());
    TkivMessageDialog dialog(owner_);
    TFont font;
    font.SetName(gfx::kTestFontName);
    dialog.SetFont(font);
    dialog.SetUIStyle(TkivUIStyle::FromThemeFile);
    dialog.SetFileTheme(theme);
    EXPECT_EQ(dialog.CaptionFont().Color(), 0x123456u);
    EXPECT_EQ(dialog.Font().Color(), 0x654321u);
    dialog.SetText("Styled");
    Run(dialog, [&](TfrmMsg& box) {
        EXPECT_EQ(box.kivForm1->UIStyle(), TkivUIStyle::FromThemeFile);
        EXPECT_EQ(box.kivForm1->FileTheme(), theme);
        EXPECT_EQ(box.kivForm1->Font().Color(), 0x123456u);
        EXPECT_TRUE(box.kivForm1->Font().Bold());
        EXPECT_EQ(box.lbl->Font().Color(), 0x654321u);
        // The buttons caption in the skin's button colour, as every skinned button.
        EXPECT_EQ(box.Buttons().at(0)->Font().Color(), 0x0A0B0Cu);
        // The text reaches the window in the skin's colour.
        const TBitmap window = Capture(box);
        const TPoint at = box.lbl->ClientToAncestor({0, 0}, nullptr);
        int inked = 0;
        for (int y = 0; y < box.lbl->Height(); ++y)
            for (int x = 0; x < box.lbl->Width(); ++x)
                inked += gfx::ColorRGB(window.Pixel(at.X + x, at.Y + y)) == 0x654321u;
        EXPECT_GT(inked, 20);
    });

    // The theme going away leaves DeepBlue without a theme.
    delete theme;
    EXPECT_EQ(dialog.FileTheme(), nullptr);
    EXPECT_EQ(dialog.UIStyle(), TkivUIStyle::DeepBlue);
    EXPECT_EQ(dialog.CaptionFont().Color(), clWhite);
}

TEST_F(MessageBox, TakesTheStyleOfItsOwnersSkinnedFrame)
{
    auto* form = CreateForm<TForm>();
    auto* frame = new TkivForm(form);
    frame->SetParent(form);
    frame->SetUIStyle(TkivUIStyle::MacOS);
    TkivMessageDialog dialog(form);
    EXPECT_EQ(dialog.UIStyle(), TkivUIStyle::MacOS);
    EXPECT_EQ(dialog.CaptionFont().Color(), clBlack);
    TkivMessageDialog loose(nullptr);
    EXPECT_EQ(loose.UIStyle(), TkivUIStyle::DeepBlue);
}

// Answers the border question as a skinned frame would.
class BorderAnswer : public TFormFrameHook {
public:
    explicit BorderAnswer(int width) : width_(width) {}
    TRect FrameInsets(const TForm&) override { return {}; }
    bool FrameMessage(TForm&, unsigned msg, intptr_t, intptr_t, intptr_t& result) override
    {
        if (msg != WM_SKIN_GETBORDERWIDTH) return false;
        result = width_;
        return true;
    }

private:
    int width_;
};

TEST_F(MessageBox, SkinBordersWiderThanSixWidenTheBoxOnShow)
{
    for (const auto& [border, growth] :
         {std::pair{0, 0}, std::pair{6, 0}, std::pair{7, 14}, std::pair{12, 24}}) {
        TfrmMsg box(nullptr);
        BorderAnswer answer(border);
        TFormFrameHook* before = box.FrameHook();
        box.SetFrameHook(&answer);
        const int width = box.Width();
        box.FormShow(&box);
        EXPECT_EQ(box.Width(), width + growth) << border;
        box.SetFrameHook(before);
    }
}

TEST(MessageBoxText, ButtonCaptionsAreSeparatedByThreeSpaces)
{
    EXPECT_EQ(skin::MessageBoxText("c", "t", {"", "b"}),
              "---------------------------\r\nc\r\n---------------------------\r\nt\r\n"
              "---------------------------\r\n   b\r\n---------------------------");
}

TEST_F(MessageBox, TheTestHookAnswersInPlaceOfTheBox)
{
    TkivMessageDialog dialog(owner_);
    int hooked = 0;
    auto before = skin::SetMessageDialogHook([&](const TkivMessageDialog& shown) {
        ++hooked;
        EXPECT_EQ(&shown, &dialog);
        EXPECT_EQ(Screen().ModalForm(), nullptr);
        return mrNo;
    });
    EXPECT_FALSE(before);
    EXPECT_EQ(dialog.ShowModal(), mrNo);
    EXPECT_TRUE(skin::SetMessageDialogHook({}));
    EXPECT_EQ(hooked, 1);
}

}  // namespace
