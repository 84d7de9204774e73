// The operations of the Tkiv classes that the forms rely on.
#include <gtest/gtest.h>

#include "platform/core/application.h"
#include "platform/ui/form.h"
#include "skin/kiv_check_box.h"
#include "skin/kiv_message_dialog.h"
#include "skin/kiv_page_control.h"
#include "skin/kiv_progress_bar.h"
#include "skin/kiv_radio_button.h"
#include "skin/kiv_scroll_bar.h"
#include "skin/kiv_tab_sheet.h"
#include "skin/kiv_track_bar.h"

namespace {

class SkinControls : public ::testing::Test {
protected:
    core::TestApplication app_;
    TForm* form_ = CreateForm<TForm>();
};

TEST_F(SkinControls, RadioButtonsOfOneParentAreOneGroup)
{
    TkivRadioButton* radios[3];
    int clicks = 0;
    for (auto*& radio : radios) {
        radio = new TkivRadioButton(form_);
        radio->SetParent(form_);
        radio->OnClick = [&](TObject*) { ++clicks; };
    }
    radios[0]->SetChecked(true);
    radios[2]->Click();
    EXPECT_FALSE(radios[0]->Checked());
    EXPECT_FALSE(radios[1]->Checked());
    EXPECT_TRUE(radios[2]->Checked());
    EXPECT_EQ(clicks, 2);
    radios[2]->SetChecked(true);  // no change, no event
    EXPECT_EQ(clicks, 2);
}

TEST_F(SkinControls, CheckBoxTogglesAndReportsEveryChange)
{
    auto* box = new TkivCheckBox(form_);
    box->SetParent(form_);
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    box->Click();
    EXPECT_TRUE(box->Checked());
    box->SetChecked(false);
    EXPECT_FALSE(box->Checked());
    box->SetChecked(false);
    EXPECT_EQ(clicks, 2);
}

TEST_F(SkinControls, RangesKeepPositionInside)
{
    // A progress bar keeps what it is given and says so in its caption.
    auto* progress = new TkivProgressBar(form_);
    progress->SetMax(50);
    progress->SetPosition(80);
    EXPECT_EQ(progress->Position(), 80);
    EXPECT_EQ(progress->Caption(), "160%");
    progress->SetMin(60);
    EXPECT_EQ(progress->Min(), 60);
    EXPECT_EQ(progress->Position(), 80);

    auto* track = new TkivTrackBar(form_);
    int changes = 0;
    track->OnChange = [&](TObject*) { ++changes; };
    track->SetMax(80);
    track->SetPosition(3);
    track->SetPosition(3);
    track->SetPosition(-5);
    EXPECT_EQ(track->Position(), 0);
    EXPECT_EQ(changes, 2);

    auto* bar = new TkivScrollBar(form_);
    bar->SetMax(99);
    bar->SetPageSize(10);
    bar->SetPosition(200);
    EXPECT_EQ(bar->Position(), 99);
}

TEST_F(SkinControls, PageControlEnablesOnlyItsActiveSheetInFront)
{
    auto* pages = new TkivPageControl(form_);
    pages->SetParent(form_);
    auto* first = new TkivTabSheet(form_);
    first->SetCaption("电视制式");
    first->SetPageControl(pages);
    auto* second = new TkivTabSheet(form_);
    second->SetPageControl(pages);
    EXPECT_EQ(pages->PageCount(), 2);
    // Each page that joins becomes the active one.
    EXPECT_EQ(pages->ActivePage(), second);
    EXPECT_FALSE(first->Enabled());
    EXPECT_TRUE(second->Enabled());
    pages->SetActivePageIndex(0);
    EXPECT_TRUE(first->Enabled());
    EXPECT_FALSE(second->Enabled());
    EXPECT_EQ(pages->Controls(pages->ControlCount() - 1), first);  // in front
    EXPECT_EQ(second->PageIndex(), 1);
    second->SetPageControl(nullptr);
    EXPECT_EQ(pages->ActivePage(), first);
    EXPECT_EQ(second->PageIndex(), -1);
}

TEST_F(SkinControls, MessageDialogHandsItsCaptionTextAndButtonToTheHook)
{
    TkivMessageDialog dialog(form_);
    dialog.SetCaption("导入模板");
    dialog.SetText("导入的模板不是有效的,请导入本软件支持的模板!");
    dialog.SetButton1Caption("确定");

    std::string seen;
    int hooked = 0;
    skin::SetMessageDialogHook([&](const TkivMessageDialog& shown) {
        ++hooked;
        EXPECT_EQ(&shown, &dialog);
        seen = shown.Caption() + "|" + shown.Text() + "|" + shown.Button1Caption();
        return mrCancel;
    });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    skin::SetMessageDialogHook({});
    EXPECT_EQ(hooked, 1);
    EXPECT_EQ(seen, "导入模板|导入的模板不是有效的,请导入本软件支持的模板!|确定");
}

}  // namespace
