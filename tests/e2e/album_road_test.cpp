// The main road as a user walks it, through the main window's own buttons
// on the headless back end: a shipped template, five photos, a song with
// its lyrics, photos following the music, a TV system, and one output
// format; then the file is read back with libavformat. The real movie
// engine, media player and libmcl do the work; only the file dialogs and
// the message boxes are scripted.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <memory>
#include <optional>

#include "app/castora_forms.h"
#include "app/main_window.h"
#include "app/lyrics_form.h"
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
#include "tests/e2e/video_frames.h"
#include "tests/mcl/disc_tools.h"
#include "tests/mcl/media_support.h"
#include "tests/e2e/road_fixture.h"

namespace {

namespace fs = std::filesystem;

struct Output {
    const char* name;
    const char* button;  // the main window's output button
    const char* tv;      // "PAL" or "NTSC"
    const char* extension;
    const char* container;
    const char* video_codec;
    const char* audio_codec;
    int width, height;
    double frame_rate;
    int32_t disc_preset = -1;  // the disc format the authoring tools must take; -1: not a disc
};

std::ostream& operator<<(std::ostream& os, const Output& o) { return os << o.name; }

// The five photos: plain colours far apart, none of them the lyric's white.
constexpr mcltest::Rgb kPhotoColours[] = {
    {230, 30, 30}, {30, 200, 40}, {40, 60, 230}, {230, 200, 30}, {30, 200, 210}};
constexpr double kSongSeconds = 3.0;
constexpr const char* kLyricLine = "LA LA LA LA LA LA";

// A stereo 16-bit PCM song: a few notes of a scale.
void WriteSong(const fs::path& path, double seconds)
{
    constexpr int kRate = 44100;
    const uint32_t frames = static_cast<uint32_t>(seconds * kRate);
    std::vector<int16_t> samples(static_cast<size_t>(frames) * 2);
    const double notes[] = {261.63, 293.66, 329.63, 349.23, 392.0, 440.0};
    for (uint32_t i = 0; i < frames; ++i) {
        const double t = double(i) / kRate;
        const double f = notes[static_cast<size_t>(t * 2) % std::size(notes)];
        const auto v = static_cast<int16_t>(9000 * std::sin(2 * M_PI * f * t));
        samples[i * 2] = samples[i * 2 + 1] = v;
    }
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    const uint32_t bytes = static_cast<uint32_t>(samples.size() * 2);
    out << "RIFF";
    u32(36 + bytes);
    out << "WAVEfmt ";
    u32(16);
    u16(1);
    u16(2);
    u32(kRate);
    u32(kRate * 4);
    u16(4);
    u16(16);
    out << "data";
    u32(bytes);
    out.write(reinterpret_cast<const char*>(samples.data()), bytes);
}

class AlbumRoad : public RoadFixture<::testing::TestWithParam<Output>> {
protected:
    // Clicks the named controls of the form `form_name` once it is the
    // modal form on top; the clicks run inside its modal loop.
    void WhenModal(const char* form_name, std::vector<std::string> controls)
    {
        TForm* form = dynamic_cast<TForm*>(App().FindComponent(form_name));
        ASSERT_NE(form, nullptr) << form_name;
        RoadFixture::WhenModal(form, [form, controls] {
            for (const std::string& name : controls) {
                auto* control = dynamic_cast<TControl*>(form->FindComponent(name));
                if (!control) {
                    ADD_FAILURE() << form->Name() << " has no " << name;
                    form->SetModalResult(mrCancel);
                    return;
                }
                ui::headless::ClickControl(*control);
            }
        });
    }

    void Click(const char* name)
    {
        auto* control = dynamic_cast<TControl*>(Form1->FindComponent(name));
        ASSERT_NE(control, nullptr) << name;
        ui::headless::ClickControl(*control);
    }
};

TEST_P(AlbumRoad, ProducesTheAlbumThroughTheMainWindow)
{
    const Output& out = GetParam();

    // The template from the shipped "试用模板".
    const fs::path template_file = fs::path(VELMORA_DATA_OUT) / "试用模板" / "试用模板.avi";
    ASSERT_TRUE(fs::exists(template_file));
    answers_[Form1->OpenDialog3] = {template_file.string()};
    Click("kivButton7");
    ASSERT_TRUE(Settle([] { return !Form1->TemplateFile.empty(); })) << "the template import did not finish";

    // Five photos.
    std::vector<std::string> photos;
    for (int k = 0; k < 5; ++k) {
        const mcltest::Rgb c = kPhotoColours[k];
        const fs::path photo = user_ / ("photo" + std::to_string(k + 1) + ".jpg");
        gfx::SaveJpeg(TBitmap(640, 480, gfx::RGB(c.r, c.g, c.b)), photo);
        photos.push_back(photo.string());
    }
    answers_[Form1->OpenDialog1] = photos;
    Click("kivButton4");
    ASSERT_TRUE(Settle([] { return Form1->kivListView1->Items().Count() == 5; }))
        << "the photo import did not finish";

    // The song, measured by the import, and its lyrics through the lyric
    // dialog.
    const fs::path song = user_ / "song.wav";
    WriteSong(song, kSongSeconds);
    answers_[Form1->OpenDialog2] = {song.string()};
    Click("kivButton10");
    ASSERT_TRUE(Settle([] { return Form1->MusicSeconds > 0; })) << "the music import did not finish";
    EXPECT_NEAR(Form1->MusicSeconds, kSongSeconds, 0.01);
    const fs::path lrc = user_ / "song.lrc";
    std::ofstream(lrc) << "[ti:song]\n[00:00.00]" << kLyricLine << "\n[00:02.50]" << kLyricLine << "\n";
    answers_[Form15->OpenDialog1] = {lrc.string()};
    WhenModal("Form15", {"kivButton1", "kivButton3"});
    Click("kivButton31");
    ASSERT_EQ(Form1->kivListView5->Items().Count(), 1);
    EXPECT_EQ(Form1->kivListView5->Items()[0]->Caption(), "song");
    EXPECT_EQ(Form1->kivListView5->Items()[0]->SubItems()[0], lrc.string());

    // Photos follow the music: the album lasts as long as the song.
    WhenModal("Form8", {"kivRadioButton3", "kivButton1"});
    Click("kivButton11");
    ASSERT_EQ(Form1->SyncMode, "zhaopiansuiyinyue");

    // The TV system.
    WhenModal("Form9", {std::string(out.tv) == "PAL" ? "kivRadioButton1" : "kivRadioButton2", "kivButton1"});
    Click("kivButton16");
    ASSERT_EQ(Form1->TvSystem, out.tv);

    // Produce; the completion form is confirmed with its button.
    const fs::path chosen = user_ / "album";
    answers_[Form1->SaveDialog1] = {chosen.string()};
    WhenModal("Form10", {"kivButton1"});
    Click(out.button);
    const fs::path video = user_ / (std::string("album") + out.extension);
    std::string log;
    for (const std::string& line : frmMain->Log().Lines()) log += line + "\n";
    for (const std::string& message : messages_) log += "message " + message + "\n";
    ASSERT_TRUE(fs::exists(video)) << video << "\n" << log;
    EXPECT_TRUE(messages_.empty()) << log;
    EXPECT_FALSE(dynamic_cast<TForm*>(App().FindComponent("Form10"))->Visible());
    // Production used the other copy of the template movie, and the main
    // window took that back for the next job.
    EXPECT_EQ(Form1->ProduceTemplateMovie, 2);

    const int album_frames = static_cast<int>(kSongSeconds / 0.04);
    EXPECT_GT(fs::file_size(video), 20000u);
    const mcltest::StreamFacts facts = mcltest::ReadBack(video);
    EXPECT_EQ(facts.container, out.container);
    EXPECT_EQ(facts.videoCodec, out.video_codec);
    EXPECT_EQ(facts.audioCodec, out.audio_codec);
    EXPECT_EQ(facts.width, out.width);
    EXPECT_EQ(facts.height, out.height);
    EXPECT_NEAR(facts.frameRate, out.frame_rate, 0.01);
    EXPECT_EQ(facts.decodeErrors, 0);
    EXPECT_EQ(facts.channels, 2);
    EXPECT_NEAR(facts.audioSeconds, kSongSeconds, 0.05);
    EXPECT_NEAR(facts.videoSeconds, album_frames * 0.04, 1 / out.frame_rate);

    // At 0.8 s the first photo fills the first slot and the lyric line shows.
    const e2e::Picture picture = e2e::PictureAt(video, 0.8);
    ASSERT_FALSE(picture.Empty());
    auto near_colour = [](const uint8_t* px, mcltest::Rgb c) {
        return std::abs(px[0] - c.r) < 48 && std::abs(px[1] - c.g) < 48 && std::abs(px[2] - c.b) < 48;
    };
    const int cx = picture.width / 2;
    const int cy = picture.height * 144 / 288;
    EXPECT_TRUE(near_colour(picture.At(cx, cy), kPhotoColours[0]))
        << int(picture.At(cx, cy)[0]) << "," << int(picture.At(cx, cy)[1]) << ","
        << int(picture.At(cx, cy)[2]);
    // The lyric line is white (the default style) over a photo without any:
    // scaled down and encoded, its thin strokes keep most of that.
    auto lyric_colour = [](const uint8_t* px) { return px[0] > 150 && px[1] > 150 && px[2] > 150; };
    // The lyric's box starts at ("LRC_x", "LRC_y") of the 352 x 288 movie.
    const int lx0 = Form1->LrcStyle.x * picture.width / 352;
    const int ly0 = Form1->LrcStyle.y * picture.height / 288;
    const int lx1 = std::min(picture.width, lx0 + 342 * picture.width / 352);
    const int ly1 = std::min(picture.height, ly0 + 30 * picture.height / 288);
    int lyric_pixels = 0;
    for (int y = ly0; y < ly1; ++y)
        for (int x = lx0; x < lx1; ++x)
            if (lyric_colour(picture.At(x, y))) ++lyric_pixels;
    EXPECT_GT(lyric_pixels, 20) << "no lyric line near LRC_x, LRC_y";
    int above = 0;  // the same band higher up holds the photo only
    for (int y = ly0 - (ly1 - ly0) * 3; y < ly0 - (ly1 - ly0) * 2; ++y)
        for (int x = lx0; x < lx1; ++x)
            if (lyric_colour(picture.At(x, y))) ++above;
    EXPECT_EQ(above, 0);

    if (out.disc_preset >= 0) {
        const fs::path work = user_ / "disc";
        fs::create_directories(work);
        mcltest::ExpectDiscToolTakes(video, out.disc_preset,
                                     std::string(out.tv) == "PAL" ? MCL_TV_PAL : MCL_TV_NTSC, work);
    }
}

const char* const kMp4 = "mov,mp4,m4a,3gp,3g2,mj2";

INSTANTIATE_TEST_SUITE_P(
    FormatsAndTvSystems, AlbumRoad,
    testing::Values(Output{"AviPal", "kivButton2", "PAL", ".avi", "avi", "mpeg4", "mp3", 352, 288, 25},
                    Output{"AviNtsc", "kivButton2", "NTSC", ".avi", "avi", "mpeg4", "mp3", 352, 288, 25},
                    Output{"VcdPal", "kivButton12", "PAL", ".mpg", "mpeg", "mpeg1video", "mp2", 352, 288, 25,
                           MCL_PRESET_VCD},
                    Output{"VcdNtsc", "kivButton12", "NTSC", ".mpg", "mpeg", "mpeg1video", "mp2", 352, 240,
                           29.97, MCL_PRESET_VCD},
                    Output{"SvcdPal", "kivButton13", "PAL", ".mpg", "mpeg", "mpeg2video", "mp2", 480, 576, 25,
                           MCL_PRESET_SVCD},
                    Output{"SvcdNtsc", "kivButton13", "NTSC", ".mpg", "mpeg", "mpeg2video", "mp2", 480, 480,
                           29.97, MCL_PRESET_SVCD},
                    Output{"DvdPal", "kivButton14", "PAL", ".mpg", "mpeg", "mpeg2video", "ac3", 352, 288, 25,
                           MCL_PRESET_DVD},
                    Output{"DvdNtsc", "kivButton14", "NTSC", ".mpg", "mpeg", "mpeg2video", "ac3", 352, 240,
                           29.97, MCL_PRESET_DVD},
                    Output{"Mp4Pal", "kivButton20", "PAL", ".mp4", kMp4, "h264", "aac", 352, 288, 25},
                    Output{"Mp4Ntsc", "kivButton20", "NTSC", ".mp4", kMp4, "h264", "aac", 352, 288, 29.97}),
    [](const testing::TestParamInfo<Output>& info) { return std::string(info.param.name); });

}  // namespace
