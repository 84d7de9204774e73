// The titles through the main window's own buttons: an opening video and
// an ending template chosen in the titles dialog, the fixture template and
// two photos, then a VCD. The opening leads the produced video, sound and
// picture, and the ending movie closes it.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <optional>

#include "app/castora_forms.h"
#include "app/main_window.h"
#include "app/titles_form.h"
#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/core/timer.h"
#include "platform/gfx/image_io.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/headless.h"
#include "production/production_form.h"
#include "skin/kiv_button.h"
#include "skin/kiv_list_view.h"
#include "skin/kiv_message_dialog.h"
#include "skin/kiv_page_control.h"
#include "tests/e2e/video_frames.h"
#include "tests/mcl/media_support.h"
#include "tests/e2e/road_fixture.h"

namespace {

namespace fs = std::filesystem;

constexpr mcltest::Rgb kOpeningColour{208, 32, 32};
constexpr mcltest::Rgb kEndingColour{0x20, 0x90, 0xC0};  // the fixture ending's backdrop

bool Near(const uint8_t* px, mcltest::Rgb c)
{
    return std::abs(px[0] - c.r) < 40 && std::abs(px[1] - c.g) < 40 && std::abs(px[2] - c.b) < 40;
}

using TitlesRoad = RoadFixture<::testing::Test>;

TEST_F(TitlesRoad, TheOpeningLeadsAndTheEndingClosesTheProducedVideo)
{
    // A one-second red opening with a tone, as an MPEG.
    const fs::path opening = user_ / "opening.mpg";
    ASSERT_TRUE(
        mcltest::RunFfmpeg("-f lavfi -i color=c=0xD02020:size=352x288:rate=25:duration=1 "
                           "-f lavfi -i sine=frequency=300:sample_rate=44100:duration=1 -ac 2 "
                           "-c:v mpeg1video -q:v 2 -c:a mp2 -f mpeg \"" +
                           opening.string() + "\""));
    const fs::path ending = fs::path(VELMORA_DATA_OUT) / "fixtures" / "ending25.mpg";

    answers_[Form11->OpenDialog1] = {opening.string()};
    answers_[Form11->OpenDialog2] = {ending.string()};
    WhenModal(Form11, [] {
        ui::headless::ClickControl(*Form11->kivButton1);
        // To the ending page.
        Form11->kivPageControl1->SetActivePageIndex(1);
        Form11->kivPageControl1Click(Form11->kivPageControl1);
        ui::headless::ClickControl(*Form11->kivButton7);
        ui::headless::ClickControl(*Form11->kivButton12);
    });
    ui::headless::ClickControl(*Form1->kivButton19);
    ASSERT_TRUE(Settle([] { return !Form11->Visible(); }));
    ASSERT_TRUE(messages_.empty()) << messages_.front();
    ASSERT_EQ(Form1->OpeningFrames, 25);
    ASSERT_EQ(Form1->EndingFile, ending.string());

    answers_[Form1->OpenDialog3] = {(fs::path(VELMORA_DATA_OUT) / "fixtures" / "fixture20.avi").string()};
    ui::headless::ClickControl(*Form1->kivButton7);
    ASSERT_TRUE(Settle([] { return !Form1->TemplateFile.empty(); }));
    std::vector<std::string> photos;
    for (int k = 1; k <= 2; ++k) {
        const fs::path photo = user_ / ("photo" + std::to_string(k) + ".jpg");
        gfx::SaveJpeg(TBitmap(320, 240, k == 1 ? clLime : clYellow), photo);
        photos.push_back(photo.string());
    }
    answers_[Form1->OpenDialog1] = photos;
    ui::headless::ClickControl(*Form1->kivButton4);
    ASSERT_TRUE(Settle([] { return Form1->kivListView1->Items().Count() == 2; }));

    const fs::path chosen = user_ / "album";
    answers_[Form1->SaveDialog1] = {chosen.string()};
    auto* form10 = dynamic_cast<TForm*>(App().FindComponent("Form10"));
    ASSERT_NE(form10, nullptr);
    WhenModal(form10, [form10] {
        ui::headless::ClickControl(*dynamic_cast<TControl*>(form10->FindComponent("kivButton1")));
    });
    ui::headless::ClickControl(*Form1->kivButton12);  // VCD
    const fs::path video = user_ / "album.mpg";
    std::string log;
    for (const std::string& line : frmMain->Log().Lines()) log += line + "\n";
    for (const std::string& message : messages_) log += "message " + message + "\n";
    ASSERT_TRUE(fs::exists(video)) << log;
    EXPECT_TRUE(messages_.empty()) << log;

    // One second of opening, the 19 frames of one pass of the template, the
    // five held frames and the 25 of the ending.
    const mcltest::StreamFacts facts = mcltest::ReadBack(video);
    EXPECT_EQ(facts.decodeErrors, 0);
    const double seconds = 1.0 + (19 + 5 + 25) * 0.04;
    EXPECT_NEAR(facts.videoSeconds, seconds, 0.1) << log;
    // The opening's tone leads the sound.
    EXPECT_LT(mcltest::FirstLoudSecond(video), 0.1);

    const e2e::Picture first = e2e::PictureAt(video, 0.4);
    ASSERT_FALSE(first.Empty());
    EXPECT_TRUE(Near(first.At(first.width / 2, first.height / 2), kOpeningColour));
    const e2e::Picture last = e2e::PictureAt(video, seconds - 0.2);
    ASSERT_FALSE(last.Empty());
    EXPECT_TRUE(Near(last.At(20, 20), kEndingColour))
        << int(last.At(20, 20)[0]) << "," << int(last.At(20, 20)[1]) << "," << int(last.At(20, 20)[2]);
    // The ending's first text is drawn in white across its middle.
    int white = 0;
    for (int x = 0; x < last.width; ++x) {
        const uint8_t* px = last.At(x, last.height / 2);
        if (px[0] > 200 && px[1] > 200 && px[2] > 200) ++white;
    }
    EXPECT_GT(white, 3);
}

}  // namespace
