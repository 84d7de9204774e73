// The skinned buttons, check boxes, radio buttons, image panels and group
// boxes: the state pictures they paint in the built-in styles and from a
// skin, and their behaviour under mouse, keys and code.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/core/application.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/form.h"
#include "platform/ui/headless.h"
#include "skin/kiv_built_in_file_theme.h"
#include "skin/kiv_button.h"
#include "skin/kiv_check_box.h"
#include "skin/kiv_group_box.h"
#include "skin/kiv_image_button.h"
#include "skin/kiv_image_panel.h"
#include "skin/kiv_public.h"
#include "skin/kiv_radio_button.h"
#include "tests/skin/pixel_rows.h"
#include "tests/skin/scoped_env.h"
#include "tools/skin-pack/skin_pack.h"

namespace {

using skintest::ColourOf;
namespace hl = ui::headless;

TBitmap Solid(int w, int h, char c) { return TBitmap(w, h, ColourOf(c)); }

// A strip of solid cells, one letter a cell.
TBitmap SolidStrip(int cellW, int cellH, const std::string& letters)
{
    TBitmap b(cellW * static_cast<int>(letters.size()), cellH);
    for (std::size_t i = 0; i < letters.size(); ++i)
        b.Canvas().CopyRect(Bounds(static_cast<int>(i) * cellW, 0, cellW, cellH),
                            Solid(cellW, cellH, letters[i]), {0, 0, cellW, cellH});
    return b;
}

// A skin whose pictures are solid cells, so that a probe names the cell.
std::vector<std::uint8_t> CellSkin()
{
    using namespace skinpack;
    const std::vector<Record> records{
        BitmapRecord("SKIN2_BUTTON", SolidStrip(11, 9, "abc")),
        BoolRecord("SKIN2_BUTTONTRANS", false),
        IntegerRecord("SKIN2_BUTTONFONTCOLOR", static_cast<std::int32_t>(ColourOf('f'))),
        BitmapRecord("SKIN2_CHECKBOX", SolidStrip(13, 13, "123456")),
        BitmapRecord("SKIN2_RADIOBUTTON", SolidStrip(13, 13, "klmn")),
        IntegerRecord("SKIN2_CONTROLBORDERCOLOR", static_cast<std::int32_t>(ColourOf('g'))),
        IntegerRecord("SKIN2_CONTROLFONTCOLOR", static_cast<std::int32_t>(ColourOf('h'))),
    };
    return BuildArchive(BuildPayload(records));
}

TBitmap Shot(TControl& control)
{
    TBitmap b(control.Width(), control.Height(), clWhite);
    control.PaintTo(b, 0, 0);
    return b;
}

TBitmap BuiltInCell(TkivUIStyle style, int position, int index, int count)
{
    TBitmap cell;
    skin::GetBuiltInBitmap(style, position, &cell, index, count);
    return cell;
}

class SkinButtons : public ::testing::Test {
protected:
    SkinButtons()
    {
        ui::Headless();
        form_->SetBounds(100, 100, 400, 300);
        form_->Font().SetName(gfx::kTestFontName);
        form_->Font().SetHeight(-13);
        form_->SetColor(ColourOf('p'));
    }
    template <class T>
    T* Make(int left, int top, TControl* parent = nullptr)
    {
        auto* control = new T(form_);
        control->SetParent(parent ? parent : form_);
        control->SetBounds(left, top, control->Width(), control->Height());
        return control;
    }
    TkivBuiltInFileTheme* Theme()
    {
        auto* theme = new TkivBuiltInFileTheme(form_);
        theme->SetSkinData(CellSkin());
        EXPECT_TRUE(theme->ThemeReady());
        return theme;
    }

    core::TestApplication app_;
    TForm* form_ = CreateForm<TForm>();
};

// --- push buttons -----------------------------------------------------------------------

// The middle of a nine-sliced face comes from the middle of the cell.
TColor FaceMiddle(const TBitmap& cell) { return cell.Pixel(cell.Width() / 2, cell.Height() / 2); }

TEST_F(SkinButtons, ButtonPaintsTheCellOfItsStateInBuiltInStylesAndFromASkin)
{
    auto* button = Make<TkivButton>(10, 10);
    form_->Show();
    const TPoint mid = hl::CenterOf(*button);
    struct Step {
        const char* what;
        std::function<void()> act;
        int cell;
    };
    const std::vector<Step> steps{
        {"normal", [] {}, 1},
        {"hover", [&] { hl::MouseMove(*form_, mid.X, mid.Y); }, 2},
        {"pressed", [&] { hl::MouseDown(*form_, mid.X, mid.Y); }, 3},
        // Disabled beats pressed and hover: cell 1.
        {"disabled", [&] { button->SetEnabled(false); }, 1},
    };
    for (TkivUIStyle style : {TkivUIStyle::DeepBlue, TkivUIStyle::WinXP}) {
        button->SetEnabled(true);
        hl::MouseUp(*form_, 300, 250);
        hl::MouseMove(*form_, 300, 250);
        button->SetUIStyle(style);
        EXPECT_FALSE(button->Transparent());
        for (const Step& step : steps) {
            step.act();
            const TBitmap cell = BuiltInCell(style, 1, step.cell, 3);
            EXPECT_EQ(Shot(*button).Pixel(40, 13), FaceMiddle(cell))
                << step.what << " style " << static_cast<int>(style);
        }
    }
    // The cells differ, so the probes above tell them apart.
    EXPECT_NE(FaceMiddle(BuiltInCell(TkivUIStyle::DeepBlue, 1, 1, 3)),
              FaceMiddle(BuiltInCell(TkivUIStyle::DeepBlue, 1, 2, 3)));
    EXPECT_NE(FaceMiddle(BuiltInCell(TkivUIStyle::DeepBlue, 1, 2, 3)),
              FaceMiddle(BuiltInCell(TkivUIStyle::DeepBlue, 1, 3, 3)));

    // From a skin: the skin's strip, its caption colour, the whole face.
    button->SetEnabled(true);
    hl::MouseUp(*form_, 300, 250);
    hl::MouseMove(*form_, 300, 250);
    button->SetFileTheme(Theme());
    button->SetUIStyle(TkivUIStyle::FromThemeFile);
    EXPECT_EQ(button->Font().Color(), ColourOf('f'));
    EXPECT_EQ(skintest::Rows(Shot(*button))[0], std::string(80, 'a'));
    hl::MouseMove(*form_, mid.X, mid.Y);
    EXPECT_EQ(Shot(*button).Pixel(0, 26), ColourOf('b'));
    hl::MouseDown(*form_, mid.X, mid.Y);
    EXPECT_EQ(Shot(*button).Pixel(79, 0), ColourOf('c'));
    hl::MouseUp(*form_, mid.X, mid.Y);

    // The theme going leaves the button DeepBlue.
    delete button->FileTheme();
    EXPECT_EQ(button->FileTheme(), nullptr);
    EXPECT_EQ(button->UIStyle(), TkivUIStyle::DeepBlue);
}

TEST_F(SkinButtons, DisabledCaptionIsEmbossedGrey)
{
    auto* button = Make<TkivButton>(10, 10);
    button->SetCaption("A");  // one 6 x 13 cell in the test font (a 5 wide box), centred
    const int x = (80 - 6) / 2, y = (27 - 13) / 2;
    EXPECT_EQ(Shot(*button).Pixel(x + 2, y + 5), clBlack);
    button->SetEnabled(false);
    const TBitmap shot = Shot(*button);
    EXPECT_EQ(shot.Pixel(x + 2, y + 5), 0x808080u);
    // The white copy shows one pixel down-right of the grey one.
    EXPECT_EQ(shot.Pixel(x + 5, y + 6), clWhite);
}

// A button whose normal picture cannot be produced.
class BrokenPicture : public TkivButton {
public:
    using TkivButton::TkivButton;

protected:
    void GetNormalPic(TBitmap&) override { throw std::runtime_error("no picture"); }
};

TEST_F(SkinButtons, AStatePictureThatFailsPaintsABlankFace)
{
    auto* button = Make<BrokenPicture>(10, 10);
    button->SetCaption("A");
    const TBitmap shot = Shot(*button);
    EXPECT_EQ(shot.Pixel(5, 5), clWhite);
    EXPECT_EQ(shot.Pixel(79, 26), clWhite);
    EXPECT_EQ(shot.Pixel(37 + 2, 7 + 5), clBlack);  // the caption still shows
}

TEST_F(SkinButtons, SeeThroughStylesShowTheParentBehindTheCorners)
{
    auto* button = Make<TkivButton>(10, 10);
    button->SetUIStyle(TkivUIStyle::MacOS);
    EXPECT_TRUE(button->Transparent());
    EXPECT_TRUE(button->PicTransparent());
    EXPECT_EQ(Shot(*button).Pixel(0, 0), ColourOf('p'));  // the rounded corner
    button->SetUIStyle(TkivUIStyle::Protein);
    EXPECT_FALSE(button->Transparent());
    EXPECT_NE(Shot(*button).Pixel(0, 0), ColourOf('p'));
}

TEST_F(SkinButtons, HeldButtonRepeatsUntilReleaseOrLeave)
{
    auto* button = Make<TkivButton>(10, 10);
    form_->Show();
    std::vector<std::string> log;
    button->OnMouseContinuouslyDown = [&](TObject*) { log.push_back("repeat"); };
    button->OnClick = [&](TObject*) { log.push_back("click"); };
    button->OnMouseExit = [&](TObject*) { log.push_back("exit"); };
    const TPoint mid = hl::CenterOf(*button);

    hl::MouseMove(*form_, mid.X, mid.Y);
    hl::MouseDown(*form_, mid.X, mid.Y);
    EXPECT_EQ(form_->ActiveControl(), button);
    app_.RunForMs(350);
    hl::MouseUp(*form_, mid.X, mid.Y);
    EXPECT_EQ(log, (std::vector<std::string>{"repeat", "repeat", "repeat", "click"}));
    EXPECT_FALSE(button->Repeating());
    EXPECT_FALSE(button->IsDown());
    app_.RunForMs(300);
    EXPECT_EQ(log.size(), 4u);

    // Leaving with the button held stops the repeats; coming back shows
    // hover, not pressed, and the release still clicks.
    log.clear();
    hl::MouseDown(*form_, mid.X, mid.Y);
    app_.RunForMs(150);
    hl::MouseMove(*form_, 300, 250);
    EXPECT_FALSE(button->Repeating());
    EXPECT_FALSE(button->IsDown());
    app_.RunForMs(300);
    hl::MouseMove(*form_, mid.X, mid.Y);
    EXPECT_TRUE(button->IsMouseOn());
    EXPECT_FALSE(button->IsDown());
    hl::MouseUp(*form_, mid.X, mid.Y);
    EXPECT_EQ(log, (std::vector<std::string>{"repeat", "exit", "click"}));

    // A release away from the button ends the press without a click.
    log.clear();
    button->SetMouseContinuouslyDownInterval(0);  // never repeats
    hl::MouseDown(*form_, mid.X, mid.Y);
    hl::MouseUp(*form_, 300, 250);
    app_.RunForMs(500);
    EXPECT_FALSE(button->Repeating());
    EXPECT_EQ(log, (std::vector<std::string>{"exit"}));
}

TEST_F(SkinButtons, ClickGivesTheFormItsModalResultEvenZero)
{
    auto* none = Make<TkivButton>(10, 10);
    auto* ok = Make<TkivButton>(100, 10);
    ok->SetModalResult(mrOk);
    form_->SetModalResult(mrCancel);
    none->Click();
    EXPECT_EQ(form_->ModalResult(), mrNone);
    ok->Click();
    EXPECT_EQ(form_->ModalResult(), mrOk);

    // A modal form closes with the result of the button clicked.
    auto* dialog = CreateForm<TForm>();
    dialog->SetBounds(0, 0, 200, 100);
    auto* stay = new TkivButton(dialog);
    stay->SetParent(dialog);
    auto* close = new TkivButton(dialog);
    close->SetParent(dialog);
    close->SetBounds(100, 10, 80, 27);
    close->SetModalResult(mrOk);
    int stayClicks = 0;
    stay->OnClick = [&](TObject*) {
        ++stayClicks;
        EXPECT_EQ(dialog->ModalResult(), mrNone);
    };
    form_->Show();
    hl::PostClick(*dialog, 20, 20);  // result 0: the form stays open
    hl::PostClick(*dialog, 120, 20);
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(stayClicks, 1);

    // Without a form there is no result to set; the click still fires.
    TkivButton loose;
    int clicks = 0;
    loose.OnClick = [&](TObject*) { ++clicks; };
    loose.Click();
    EXPECT_EQ(clicks, 1);
}

TEST_F(SkinButtons, EnterGoesToTheFocusedOrDefaultButtonAndEscapeToCancel)
{
    auto* first = Make<TkivButton>(10, 10);
    auto* second = Make<TkivButton>(100, 10);
    auto* cancel = Make<TkivButton>(190, 10);
    auto* box = Make<TkivCheckBox>(10, 60);
    auto* image = Make<TkivImageButton>(10, 100);
    second->SetDefault(true);
    cancel->SetCancel(true);
    std::string log;
    for (auto [button, name] : {std::pair{first, "1"}, {second, "2"}, {cancel, "c"}})
        button->OnClick = [&log, name = std::string(name)](TObject*) { log += name; };
    form_->Show();
    struct Case {
        TControl* focus;
        uint16_t key;
        TShiftState shift;
        const char* expected;
    } cases[] = {
        {first, VK_RETURN, 0, "1"},  {box, VK_RETURN, 0, "2"},
        {image, VK_RETURN, 0, "2"},  // an image button hands Enter back
        {cancel, VK_RETURN, 0, "c"}, {box, VK_ESCAPE, 0, "c"},
        {first, VK_ESCAPE, 0, "c"},  {box, VK_ESCAPE, ssCtrl, ""},
    };
    for (const Case& c : cases) {
        form_->SetActiveControl(c.focus);
        log.clear();
        hl::Key(*form_, c.key, c.shift);
        EXPECT_EQ(log, c.expected) << "case " << (&c - cases) << " key " << c.key;
        EXPECT_FALSE(box->Checked()) << "Enter taken by a button toggles no check box";
    }
    EXPECT_TRUE(second->IsActive());
    second->SetDefault(false);
    EXPECT_FALSE(second->IsActive());

    // Space presses and clicks the focused button.
    form_->SetActiveControl(first);
    log.clear();
    hl::KeyDown(*form_, VK_SPACE);
    EXPECT_TRUE(first->IsDown());
    hl::KeyUp(*form_, VK_SPACE);
    EXPECT_FALSE(first->IsDown());
    EXPECT_EQ(log, "1");
}

TEST_F(SkinButtons, GlyphAndCaptionAreLaidOutByLayout)
{
    auto* button = Make<TkivButton>(10, 10);
    button->SetCaption("ABCDE");  // 30 x 13 in the test font
    TBitmap glyph = Solid(16, 16, 'r');
    glyph.SetPixel(0, 0, clMagenta);  // the mask colour
    button->SetGlyph(glyph);
    struct Case {
        TButtonLayout layout;
        TPoint glyphAt, textAt;
    } cases[] = {
        {blGlyphLeft, {15, 5}, {35, 7}},
        {blGlyphRight, {(80 + 30 + 4 - 16) / 2, 5}, {(80 + 30 + 4 - 16) / 2 - 34, 7}},
        {blGlyphTop, {32, (27 - 13 - 16 - 4) / 2}, {25, (27 - 13 - 16 - 4) / 2 + 20}},
        {blGlyphBottom, {32, (27 + 13 + 4 - 16) / 2}, {25, (27 + 13 + 4 - 16) / 2 - 17}},
    };
    for (const Case& c : cases) {
        button->SetLayout(c.layout);
        const TBitmap shot = Shot(*button);
        EXPECT_EQ(button->TextOrigin(), c.textAt) << c.layout;
        EXPECT_NE(shot.Pixel(c.glyphAt.X, c.glyphAt.Y), ColourOf('r')) << "masked corner " << c.layout;
        EXPECT_EQ(shot.Pixel(c.glyphAt.X + 15, c.glyphAt.Y + 8), ColourOf('r')) << c.layout;
        EXPECT_NE(shot.Pixel(c.glyphAt.X + 16, c.glyphAt.Y + 8), ColourOf('r')) << c.layout;
    }

    // Pressed: the glyph moves by one, and so does the caption.
    button->SetLayout(blGlyphLeft);
    form_->Show();
    const TPoint mid = hl::CenterOf(*button);
    const TBitmap up = Shot(*button);
    hl::MouseDown(*form_, mid.X, mid.Y);
    const TBitmap down = Shot(*button);
    EXPECT_EQ(down.Pixel(16 + 15, 6 + 15), ColourOf('r'));
    EXPECT_NE(up.Pixel(16 + 15, 6 + 15), ColourOf('r'));
    EXPECT_EQ(up.Pixel(35, 7 + 5), clBlack);
    EXPECT_NE(down.Pixel(35, 7 + 5), clBlack);
    EXPECT_EQ(down.Pixel(36, 8 + 5), clBlack);
    hl::MouseUp(*form_, mid.X, mid.Y);

    // A glyph twice as wide as high holds two cells: disabled shows the second.
    TBitmap pair = SolidStrip(16, 16, "rs");
    pair.SetPixel(0, 0, clMagenta);
    button->SetGlyph(pair);
    EXPECT_EQ(Shot(*button).Pixel(15 + 8, 5 + 8), ColourOf('r'));
    button->SetEnabled(false);
    EXPECT_EQ(Shot(*button).Pixel(15 + 8, 5 + 8), ColourOf('s'));
}

// Tells whether the caption of the last paint was bold.
class BoldSpy : public TkivButton {
public:
    using TkivButton::TkivButton;
    bool bold = false;

protected:
    void PaintText(TCanvas& canvas, const std::string& caption) override
    {
        TkivButton::PaintText(canvas, caption);
        bold = canvas.Font().Bold();
    }
};

TEST_F(SkinButtons, FocusMarkIsARectangleOrABoldCaptionByStyle)
{
    auto* button = Make<BoldSpy>(10, 10);
    auto* other = Make<TkivButton>(100, 10);
    button->SetCaption("OK");
    form_->Show();
    for (TkivUIStyle style : {TkivUIStyle::DeepBlue, TkivUIStyle::MacOS, TkivUIStyle::FromThemeFile}) {
        button->SetUIStyle(style);
        form_->SetActiveControl(other);
        const TBitmap plain = Shot(*button);
        form_->SetActiveControl(button);
        const TBitmap focused = Shot(*button);
        const bool rectangle = style != TkivUIStyle::MacOS;
        // The dotted rectangle runs 2 pixels in from the edge.
        int changedOnFrame = 0;
        for (int x = 2; x < 78; ++x) changedOnFrame += plain.Pixel(x, 2) != focused.Pixel(x, 2);
        EXPECT_EQ(changedOnFrame > 0, rectangle) << static_cast<int>(style);
        EXPECT_EQ(button->bold, !rectangle) << static_cast<int>(style);
        Shot(*button);  // bold for one paint only
        EXPECT_EQ(button->bold, !rectangle);
        form_->SetActiveControl(other);
        Shot(*button);
        EXPECT_FALSE(button->bold);
    }
}

TEST_F(SkinButtons, AutoSizeTakesTheStripCellOrTheImage)
{
    auto* button = Make<TkivButton>(10, 10);
    button->SetAutoSize(true);
    EXPECT_EQ(TSize(button->Width(), button->Height()), TSize(75, 21));
    button->SetUIStyle(TkivUIStyle::FromThemeFile);
    button->SetAutoSize(true);
    EXPECT_EQ(TSize(button->Width(), button->Height()), TSize(24, 21));

    auto* image = Make<TkivImageButton>(10, 50);
    image->SetAutoSize(true);
    image->SetPicNormal(Solid(30, 12, 'n'));
    EXPECT_EQ(TSize(image->Width(), image->Height()), TSize(30, 12));
}

TEST_F(SkinButtons, ImageButtonFallsBackToItsNormalPicture)
{
    auto* image = Make<TkivImageButton>(10, 10);
    image->SetBounds(10, 10, 20, 10);
    EXPECT_EQ(image->UIStyle(), TkivUIStyle::FromThemeFile);
    form_->Show();
    const TPoint mid = hl::CenterOf(*image);
    auto probe = [&] { return skintest::LetterOf(Shot(*image).Pixel(5, 5)); };
    image->SetColor(ColourOf('q'));
    EXPECT_EQ(probe(), 'q');  // no pictures: the colour
    image->SetPicNormal(Solid(20, 10, 'n'));
    image->SetPicMouseDown(Solid(20, 10, 'd'));
    EXPECT_EQ(probe(), 'n');
    hl::MouseMove(*form_, mid.X, mid.Y);
    EXPECT_EQ(probe(), 'n');  // no hover picture
    hl::MouseDown(*form_, mid.X, mid.Y);
    EXPECT_EQ(probe(), 'd');
    hl::MouseUp(*form_, mid.X, mid.Y);
    image->SetPicMouseOn(Solid(20, 10, 'o'));
    EXPECT_EQ(probe(), 'o');
    image->SetEnabled(false);
    EXPECT_EQ(probe(), 'n');
    image->SetPicDisabled(Solid(20, 10, 'x'));
    EXPECT_EQ(probe(), 'x');

    // Stretched over the button, or in its own size; the top-left colour is see-through.
    TBitmap small = Solid(4, 4, 'n');
    small.SetPixel(0, 0, ColourOf('k'));
    image->SetEnabled(true);
    image->PicDisabled().Clear();
    image->PicMouseOn().Clear();
    image->PicMouseDown().Clear();
    hl::MouseMove(*form_, 300, 250);
    image->SetPicNormal(small);
    image->SetTransparent(true);
    TBitmap shot = Shot(*image);
    EXPECT_EQ(shot.Pixel(3, 3), ColourOf('n'));
    EXPECT_NE(shot.Pixel(10, 5), ColourOf('n'));
    EXPECT_EQ(shot.Pixel(0, 0), ColourOf('p'));
    image->SetStretch(true);
    EXPECT_EQ(Shot(*image).Pixel(15, 8), ColourOf('n'));
}

// --- check boxes and radio buttons ----------------------------------------------------------

TEST_F(SkinButtons, CheckAndRadioShowTheCellOfTheirState)
{
    auto* box = Make<TkivCheckBox>(10, 10);
    auto* radio = Make<TkivRadioButton>(10, 40);
    struct Case {
        bool checked, enabled;
        int builtIn, skinBox;  // cells of the 4-cell and the 6-cell strips
    } cases[] = {{true, true, 1, 1}, {false, true, 2, 3}, {true, false, 3, 4}, {false, false, 4, 6}};
    // The cell is drawn at x = 1, centred in height.
    auto probe = [](TkivCheckBox& c) { return Shot(c).Pixel(1 + 6, c.Height() / 2); };
    for (TkivUIStyle style : {TkivUIStyle::DeepBlue, TkivUIStyle::MacOS}) {
        for (const Case& c : cases) {
            for (TkivCheckBox* control : {box, static_cast<TkivCheckBox*>(radio)}) {
                control->SetUIStyle(style);
                control->SetEnabled(c.enabled);
                control->SetChecked(c.checked);
                const int item = control == box ? 3 : 4;
                int index = 0, count = 0;
                control->StateCell(index, count);
                EXPECT_EQ(index, c.builtIn);
                EXPECT_EQ(count, 4);
                const TBitmap cell = BuiltInCell(style, item, c.builtIn, 4);
                EXPECT_EQ(probe(*control), cell.Pixel(6, 6)) << item << " cell " << c.builtIn;
            }
        }
    }
    // The built-in cells really differ between checked and unchecked.
    EXPECT_NE(BuiltInCell(TkivUIStyle::DeepBlue, 3, 1, 4).Pixel(6, 6),
              BuiltInCell(TkivUIStyle::DeepBlue, 3, 2, 4).Pixel(6, 6));

    auto* theme = Theme();
    for (TkivCheckBox* control : {box, static_cast<TkivCheckBox*>(radio)}) {
        control->SetFileTheme(theme);
        control->SetUIStyle(TkivUIStyle::FromThemeFile);
    }
    for (const Case& c : cases) {
        for (TkivCheckBox* control : {box, static_cast<TkivCheckBox*>(radio)}) {
            control->SetEnabled(c.enabled);
            control->SetChecked(c.checked);
        }
        EXPECT_EQ(probe(*box), ColourOf(static_cast<char>('0' + c.skinBox)));
        EXPECT_EQ(probe(*radio), ColourOf("klmn"[c.builtIn - 1]));
    }
}

// The skins skin-pack writes in a built-in style's look show the same
// check box on a skin as in the style.
TEST_F(SkinButtons, StyleSkinsShowTheStylesCheckBoxCells)
{
    using namespace skinpack;
    auto* theme = new TkivBuiltInFileTheme(form_);
    theme->SetSkinData(BuildArchive(BuildPayload(StyleSkinRecords(TkivUIStyle::Protein))));
    ASSERT_TRUE(theme->ThemeReady());
    auto* box = Make<TkivCheckBox>(10, 10);
    auto* plain = Make<TkivCheckBox>(10, 40);
    box->SetFileTheme(theme);
    box->SetUIStyle(TkivUIStyle::FromThemeFile);
    plain->SetUIStyle(TkivUIStyle::Protein);
    for (bool enabled : {true, false})
        for (bool checked : {true, false}) {
            for (TkivCheckBox* c : {box, plain}) {
                c->SetEnabled(enabled);
                c->SetChecked(checked);
            }
            const TBitmap a = Shot(*box), b = Shot(*plain);
            ASSERT_EQ(a.Width(), b.Width());
            int differing = 0;
            for (int y = 0; y < a.Height(); ++y)
                for (int x = 0; x < a.Width(); ++x) differing += a.Pixel(x, y) != b.Pixel(x, y);
            EXPECT_EQ(differing, 0) << enabled << checked;
        }
}

TEST_F(SkinButtons, CheckBoxReportsEveryChangeAndRadioOnlyChecking)
{
    auto* box = Make<TkivCheckBox>(10, 10);
    TkivRadioButton* radios[4];
    std::vector<std::string> log;
    box->OnClick = [&](TObject*) { log.push_back(box->Checked() ? "box+" : "box-"); };
    for (int i = 0; i < 4; ++i) {
        radios[i] = Make<TkivRadioButton>(10, 40 + 25 * i);
        radios[i]->OnClick = [&, i](TObject*) {
            std::string seen = "r";
            seen += std::to_string(i + 1);
            seen += ':';
            for (TkivRadioButton* r : radios) seen += r->Checked() ? "1" : "0";
            log.push_back(seen);
        };
    }
    radios[3]->SetGroupIndex(1);
    radios[3]->SetChecked(true);
    log.clear();

    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<std::string> expected;
    } steps[] = {
        {"box by code", [&] { box->SetChecked(true); }, {"box+"}},
        {"box same value", [&] { box->SetChecked(true); }, {}},
        {"box grayed unchecks", [&] { box->SetState(cbGrayed); }, {"box-"}},
        {"box click", [&] { box->Click(); }, {"box+"}},
        {"radio 1", [&] { radios[0]->SetChecked(true); }, {"r1:1001"}},
        // Radio 1 is cleared before radio 2 reports; group 1 stays.
        {"radio 2 clicked", [&] { radios[1]->Click(); }, {"r2:0101"}},
        {"radio 2 again", [&] { radios[1]->Click(); }, {}},
        {"radio 2 cleared by code", [&] { radios[1]->SetChecked(false); }, {}},
    };
    for (const Step& s : steps) {
        log.clear();
        s.act();
        EXPECT_EQ(log, s.expected) << s.what;
    }
    EXPECT_TRUE(radios[3]->Checked());
    EXPECT_EQ(box->State(), cbChecked);

    // Radio buttons under another parent are another group.
    auto* panel = Make<TkivImagePanel>(200, 10);
    auto* apart = Make<TkivRadioButton>(0, 0, panel);
    apart->SetChecked(true);
    radios[0]->SetChecked(true);
    EXPECT_TRUE(apart->Checked());

    // While the form loads, changes fire nothing.
    log.clear();
    form_->SetLoading(true);
    box->SetChecked(false);
    radios[2]->SetChecked(true);
    form_->SetLoading(false);
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(radios[0]->Checked());
}

TEST_F(SkinButtons, KeysToggleACheckBoxButNeverARadioButton)
{
    auto* box = Make<TkivCheckBox>(10, 10);
    auto* radio = Make<TkivRadioButton>(10, 40);
    box->SetCaption("&Bold");
    form_->Show();
    form_->SetActiveControl(box);
    hl::Key(*form_, VK_SPACE);
    EXPECT_TRUE(box->Checked());
    hl::Key(*form_, VK_RETURN);  // no default button: the box takes Enter
    EXPECT_FALSE(box->Checked());
    form_->SetActiveControl(radio);
    hl::Key(*form_, VK_SPACE);
    hl::Key(*form_, VK_RETURN);
    EXPECT_FALSE(radio->Checked());
    // A key pressed elsewhere toggles nothing when released here.
    form_->SetActiveControl(radio);
    hl::KeyDown(*form_, VK_SPACE);
    form_->SetActiveControl(box);
    hl::KeyUp(*form_, VK_SPACE);
    EXPECT_FALSE(box->Checked());

    // The caption's accelerator focuses and toggles.
    form_->SetActiveControl(radio);
    hl::Key(*form_, 'B', ssAlt);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(form_->ActiveControl(), box);

    // The mouse: a click toggles and focuses; a radio's click checks it.
    const TPoint r = hl::CenterOf(*radio);
    hl::Click(*form_, r.X, r.Y);
    EXPECT_TRUE(radio->Checked());
    EXPECT_EQ(form_->ActiveControl(), radio);
}

TEST_F(SkinButtons, AutoSizeFollowsTheCellFontAndCaption)
{
    auto* box = Make<TkivCheckBox>(10, 10);
    EXPECT_TRUE(box->AutoSize());
    box->Font().SetHeight(-8);      // "W" is 8 pixels high
    box->SetCaption("0123456789");  // 40 pixels wide
    EXPECT_EQ(TSize(box->Width(), box->Height()), TSize(13 + 40 + 8, std::max(8 + 2, 13) + 4));
    box->Font().SetHeight(-20);
    EXPECT_EQ(box->Height(), 20 + 2 + 4);
    box->SetBounds(5, 6, 200, 50);  // only the position moves
    EXPECT_EQ(box->BoundsRect(), Bounds(5, 6, 13 + 100 + 8, 26));
    box->SetAutoSize(false);
    box->SetBounds(5, 6, 200, 50);
    EXPECT_EQ(box->Width(), 200);
}

TEST_F(SkinButtons, CheckBoxDrawsCaptionFocusAndBackground)
{
    auto* box = Make<TkivCheckBox>(10, 10);
    box->SetCaption("AB");
    box->SetColor(ColourOf('q'));
    form_->Show();
    TBitmap shot = Shot(*box);
    const int ty = (box->Height() - 13) / 2;
    EXPECT_EQ(shot.Pixel(13 + 4 + 2, ty + 5), clBlack);  // the caption beside the cell
    EXPECT_EQ(shot.Pixel(box->Width() - 1, 0), ColourOf('q'));
    box->SetTransparent(true);
    EXPECT_EQ(Shot(*box).Pixel(box->Width() - 1, 0), ColourOf('p'));

    // The focus rectangle frames the caption.
    form_->SetActiveControl(box);
    const TBitmap focused = Shot(*box);
    box->SetTabStop(false);
    const TBitmap unmarked = Shot(*box);
    int changed = 0;
    for (int x = 13 + 3; x < box->Width(); ++x) changed += focused.Pixel(x, ty) != unmarked.Pixel(x, ty);
    EXPECT_GT(changed, 0);
}

TEST_F(SkinButtons, RightToLeftBoxesNeedAMiddleEastLocale)
{
    auto* check = Make<TkivCheckBox>(10, 10);
    check->SetCaption("AB");
    check->SetChecked(true);
    check->SetBiDiMode(bdRightToLeft);
    auto* group = Make<TkivGroupBox>(10, 60);
    group->Font().SetHeight(-11);
    group->SetUIStyle(TkivUIStyle::WinXP);
    group->SetCaption("ABCD");
    group->SetBiDiMode(bdRightToLeft);
    const TColor border = 0x686868;
    const int frameTop = 11 / 2 + 1, R = group->Width();
    const TBitmap cell = BuiltInCell(TkivUIStyle::DeepBlue, 3, 1, 4);
    form_->Show();
    for (const auto& c : skintest::kLocales) {
        skintest::ScopedEnv locale("LC_ALL", c.locale);
        SCOPED_TRACE(c.locale);
        // The check box's cell at the right edge, its caption left of it.
        const TBitmap box = Shot(*check);
        const int cellLeft = c.rightToLeft ? check->Width() - 13 - 1 : 1;
        EXPECT_EQ(box.Pixel(cellLeft + 6, check->Height() / 2), cell.Pixel(6, 6));
        // The group box's caption gap at the right end of the top line.
        const TBitmap frame = Shot(*group);
        EXPECT_EQ(frame.Pixel(10, frameTop) == border, c.rightToLeft);
        EXPECT_EQ(frame.Pixel(R - 10, frameTop) == border, !c.rightToLeft);
        EXPECT_EQ(frame.Pixel(R - 2, frameTop), border);
        EXPECT_EQ(frame.Pixel(1, frameTop), border);
    }
}

TEST_F(SkinButtons, CheckAndRadioCaptionsSitOnTheirParentsColour)
{
    // The form and a group box on it, each with its own colour; the boxes
    // show it around their captions, not a face of their own.
    auto* group = Make<TkivGroupBox>(200, 10);
    group->SetParentColor(false);
    group->SetColor(ColourOf('r'));
    auto* check = Make<TkivCheckBox>(10, 10);
    auto* radio = Make<TkivRadioButton>(10, 30, group);
    for (TkivCheckBox* box : {check, static_cast<TkivCheckBox*>(radio)}) box->SetCaption("AB");
    form_->Show();
    const struct {
        TkivCheckBox* box;
        TColor parent;
    } cases[] = {{check, ColourOf('p')}, {radio, ColourOf('r')}};
    for (const auto& c : cases) {
        const TBitmap shot = Shot(*c.box);
        const int captionLeft = 13 + 4;
        for (TPoint p : {TPoint{captionLeft - 1, 1}, TPoint{c.box->Width() - 1, 0},
                         TPoint{c.box->Width() - 1, c.box->Height() - 1}, TPoint{captionLeft, 0}})
            EXPECT_EQ(shot.Pixel(p.X, p.Y), c.parent)
                << (c.box == check ? "check box" : "radio") << " at " << p.X << "," << p.Y;
    }
    // The parent's colour follows when it changes.
    form_->SetColor(ColourOf('s'));
    EXPECT_EQ(Shot(*check).Pixel(check->Width() - 1, 0), ColourOf('s'));
}

// --- image panels and group boxes ----------------------------------------------------------

TEST_F(SkinButtons, GroupBoxFrameLeavesAGapForItsCaption)
{
    auto* group = Make<TkivGroupBox>(10, 10);
    group->Font().SetHeight(-11);
    group->SetUIStyle(TkivUIStyle::WinXP);
    const TColor border = 0x686868;
    const int Y = 11 / 2 + 1;
    auto row = [&](int y) {
        const TBitmap shot = Shot(*group);
        std::string out;
        for (int x = 0; x < group->Width(); ++x) out += shot.Pixel(x, y) == border ? '#' : '.';
        return out;
    };
    group->SetCaption("");
    EXPECT_EQ(row(Y), std::string(185, '#'));
    EXPECT_EQ(row(Y - 1), std::string(185, '.'));
    EXPECT_EQ(row(Y + 1), std::string(1, '#').append(183, '.').append(1, '#'));
    EXPECT_EQ(row(104), std::string(185, '#'));
    group->SetCaption("ABCDEFGH");  // 8 x 5 = 40 pixels wide at this size
    EXPECT_EQ(row(Y), std::string(3, '#').append(44, '.').append(185 - 47, '#'));
    const TBitmap shot = Shot(*group);
    EXPECT_EQ(shot.Pixel(5, 2), 0xCF4602u);  // the caption, from x = 5
    EXPECT_EQ(shot.Pixel(4, 2), ColourOf('p'));
    group->SetEnabled(false);
    EXPECT_EQ(Shot(*group).Pixel(5, 2), 0x808080u);

    // Aligned children fill the frame below the caption.
    auto* inside = Make<TkivImagePanel>(0, 0, group);
    inside->SetAlign(alClient);
    EXPECT_EQ(inside->BoundsRect(), (TRect{3, 16, 185 - 3, 105 - 3}));
    auto* placed = Make<TkivImagePanel>(7, 8, group);
    EXPECT_EQ(placed->Left(), 7);
    EXPECT_EQ(placed->Top(), 8);
}

TEST_F(SkinButtons, GroupBoxPassesItsStyleToItsChildren)
{
    auto* group = Make<TkivGroupBox>(10, 10);
    auto* button = Make<TkivButton>(10, 20, group);
    auto* radio = Make<TkivRadioButton>(10, 50, group);
    auto* nested = Make<TkivGroupBox>(100, 20, group);
    auto* deep = Make<TkivCheckBox>(5, 20, nested);
    EXPECT_EQ(group->UIStyle(), TkivUIStyle::DeepBlue);
    EXPECT_EQ(group->BorderColor(), clBlack);

    group->SetUIStyle(TkivUIStyle::WinXP);
    EXPECT_EQ(group->BorderColor(), 0x686868u);
    EXPECT_EQ(group->Font().Color(), 0xCF4602u);
    for (IkivStyled* styled : std::initializer_list<IkivStyled*>{button, radio, nested, deep})
        EXPECT_EQ(styled->UIStyle(), TkivUIStyle::WinXP);

    auto* theme = Theme();
    group->SetFileTheme(theme);
    group->SetUIStyle(TkivUIStyle::FromThemeFile);
    EXPECT_EQ(group->BorderColor(), ColourOf('g'));
    EXPECT_EQ(group->Font().Color(), ColourOf('h'));
    EXPECT_EQ(button->FileTheme(), theme);
    EXPECT_EQ(button->Font().Color(), ColourOf('f'));
    EXPECT_EQ(deep->FileTheme(), theme);

    delete theme;
    for (IkivStyled* styled : std::initializer_list<IkivStyled*>{group, button, radio, nested, deep}) {
        EXPECT_EQ(styled->UIStyle(), TkivUIStyle::DeepBlue);
        EXPECT_EQ(styled->FileTheme(), nullptr);
    }
    EXPECT_EQ(group->BorderColor(), clBlack);
}

TEST_F(SkinButtons, ASkinWithoutColoursGivesBlack)
{
    using namespace skinpack;
    auto* theme = new TkivBuiltInFileTheme(form_);
    theme->SetSkinData(BuildArchive(BuildPayload({BitmapRecord("SKIN2_BUTTON", SolidStrip(11, 9, "abc"))})));
    ASSERT_TRUE(theme->ThemeReady());
    auto* group = Make<TkivGroupBox>(10, 10);
    auto* button = Make<TkivButton>(10, 20, group);
    group->SetUIStyle(TkivUIStyle::WinXP);
    group->SetFileTheme(theme);
    group->SetUIStyle(TkivUIStyle::FromThemeFile);
    EXPECT_EQ(group->BorderColor(), clBlack);
    EXPECT_EQ(group->Font().Color(), clBlack);
    EXPECT_EQ(button->Font().Color(), clBlack);
    EXPECT_FALSE(button->Transparent());
    EXPECT_EQ(Shot(*button).Pixel(40, 13), ColourOf('a'));
}

TEST_F(SkinButtons, ImagePanelAutoSizeRespectsItsAlignment)
{
    struct Case {
        TAlign align;
        bool width, height;  // which of them follow the picture
    } cases[] = {{alNone, true, true}, {alClient, false, false}, {alTop, false, true}, {alLeft, true, false}};
    for (const Case& c : cases) {
        auto* host = Make<TkivImagePanel>(0, 0);
        host->SetBounds(0, 0, 300, 200);
        auto* panel = Make<TkivImagePanel>(10, 10, host);
        panel->SetAlign(c.align);
        const TSize before{panel->Width(), panel->Height()};
        panel->SetAutoSize(true);
        panel->SetPicture(Solid(17, 9, 'n'));
        EXPECT_EQ(panel->Width(), c.width ? 17 : before.cx) << c.align;
        EXPECT_EQ(panel->Height(), c.height ? 9 : before.cy) << c.align;
        delete host;
    }
}

TEST_F(SkinButtons, ImagePanelPaintsPictureColourParentAndCaption)
{
    auto* panel = Make<TkivImagePanel>(10, 10);
    panel->SetBounds(10, 10, 60, 30);
    panel->SetColor(ColourOf('q'));
    EXPECT_EQ(skintest::Rows(Shot(*panel))[15], std::string(60, 'q'));
    panel->SetTransparent(true);
    EXPECT_EQ(skintest::Rows(Shot(*panel))[15], std::string(60, 'p'));

    // A picture in its own size, stretched or tiled; magenta see-through
    // while the panel is.
    TBitmap picture = SolidStrip(2, 2, "ab");
    picture.SetPixel(3, 1, clMagenta);
    panel->SetPicture(picture);
    EXPECT_EQ(skintest::Rows(Shot(*panel))[1].substr(0, 6), "aabppp");
    panel->SetTransparent(false);
    EXPECT_EQ(skintest::Rows(Shot(*panel))[1].substr(0, 6), "aabMqq");
    panel->SetDrawStyle(kivTile);
    EXPECT_EQ(skintest::Rows(Shot(*panel))[1].substr(0, 8), "aabMaabM");
    panel->SetDrawStyle(kivStretch);
    EXPECT_EQ(skintest::Rows(Shot(*panel))[0].substr(0, 60), std::string(30, 'a') + std::string(30, 'b'));

    // The caption, single line, vertically centred, by Alignment.
    panel->Picture().Clear();
    panel->SetCaption("Abc");  // 3 boxes of 6 x 13
    panel->SetAlignment(taRightJustify);
    const TBitmap shot = Shot(*panel);
    const int top = (30 - 13) / 2;
    EXPECT_EQ(shot.Pixel(59 - 1, top + 6), clBlack);
    EXPECT_EQ(shot.Pixel(2, top + 6), ColourOf('q'));
    EXPECT_EQ(shot.Pixel(58, top - 1), ColourOf('q'));
}

}  // namespace
