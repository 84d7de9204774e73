// contact-sheet OUTPUT.png SHIPPED_DIR: renders frames of every shipped movie
// onto one sheet, with made-up photos in the picture slots and sample lyrics,
// so that a reviewer can see what the movies look like.
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/shipped_templates.h"
#include "platform/core/application.h"
#include "platform/flash/player.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/image_io.h"
#include "sample_photos.h"

namespace fs = std::filesystem;

namespace {

struct Sheet {
    std::string label;
    std::string movie;  // under the shipped folder
    int width, height;  // size painted
    std::vector<int> frames;
};

// The fixed movies, every shipped effect template, then the ending title.
std::vector<Sheet> Sheets()
{
    std::vector<Sheet> sheets = {
        {"xtsz/rjjj.swf  intro", "xtsz/rjjj.swf", 176, 144, {0, 12, 30, 50, 75, 110}},
        {"xtsz/wzpyl.swf  empty slot (92 x 67)", "xtsz/wzpyl.swf", 92, 67, {0}},
        {"xtsz/LRC_yulan.swf  lyric preview", "xtsz/LRC_yulan.swf", 176, 144, {0}},
        {"pwwjj/wu_pwwj.swf  no ending title", "pwwjj/wu_pwwj.swf", 176, 144, {0, 20}},
        {"llzp/zpjj1.swf  photo browser", "llzp/zpjj1.swf", 176, 144, {0, 9}},
        {"jjzp/zpjj1.swf  crop viewer (1252 x 1416 / 8)", "jjzp/zpjj1.swf", 156, 177, {0}},
    };
    for (const shipped::EffectTemplate& t : shipped::kEffectTemplates) {
        const std::string movie(t.movie);
        // Frames across the 12 s of a template: segment starts, middles and ends.
        sheets.push_back({movie + ".swf  effect template",
                          "template-movies/" + movie + ".swf",
                          176,
                          144,
                          {4, 30, 66, 95, 140, 210, 280}});
    }
    sheets.push_back(
        {"ending.swf  ending title", "template-movies/ending.swf", 176, 144, {5, 40, 80, 150, 235}});
    return sheets;
}

const char* const kLyrics[] = {"这里显示歌词内容", "春风十里 不如你", "Happy birthday to you",
                               "月亮代表我的心", "一起走过的日子"};

constexpr int kMargin = 12, kLabelHeight = 22, kGap = 8, kCaption = 14;

void WriteText(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

void StagePhoto(const fs::path& path, int index) { gfx::SaveJpeg(SamplePhoto(index, 640, 480), path); }

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: contact-sheet OUTPUT.png SHIPPED_DIR\n");
        return 2;
    }
    const fs::path output = argv[1], shipped = argv[2];
    const fs::path work = fs::temp_directory_path() / ("velmora_contact_sheet_" + std::to_string(::getpid()));
    try {
        core::TestApplication app;  // a quiet loop on a virtual clock: nothing plays by itself
        const std::vector<Sheet> sheets = Sheets();
        int sheet_width = 0, sheet_height = kMargin;
        for (const Sheet& s : sheets) {
            int w = kMargin * 2 + static_cast<int>(s.frames.size()) * (s.width + kGap);
            sheet_width = std::max(sheet_width, w);
            sheet_height += kLabelHeight + s.height + kCaption + kMargin;
        }
        TBitmap sheet(sheet_width, sheet_height, gfx::RGB(38, 40, 46));
        TCanvas& canvas = sheet.Canvas();
        canvas.Brush().SetStyle(bsClear);
        canvas.Font().SetName("DejaVu Sans");

        int y = kMargin;
        int photo_cursor = 0;
        for (const Sheet& s : sheets) {
            canvas.Font().SetHeight(-13);
            canvas.Font().SetColor(gfx::RGB(230, 232, 240));
            canvas.TextOut(kMargin, y + 2, s.label);
            y += kLabelHeight;

            // Each movie gets a fresh folder, as in the work folder.
            fs::remove_all(work);
            fs::create_directories(work);
            fs::path movie = work / fs::path(s.movie).filename();
            fs::copy_file(shipped / s.movie, movie);
            for (int slot = 1; slot <= 15; ++slot)
                StagePhoto(work / ("tupian" + std::to_string(slot) + ".jpg"), slot);
            StagePhoto(work / "zpjj.jpg", 3);
            StagePhoto(work / "pwtp.jpg", 7);
            WriteText(work / "txt_1.txt", "txt1=Our summer\r\n");
            WriteText(work / "txt_2.txt", "txt2=Thank you for watching\r\n");

            flash::Player player;
            photo_cursor = 0;
            // The host's answer to a photo request: the next photos go to the slots.
            player.OnFSCommand = [&](const std::string& command, const std::string&) {
                if (command.rfind("tupian=", 0) != 0 || player.FrameNum() == 0) return;
                int count = std::stoi(command.substr(7));
                for (int slot = 1; slot <= count; ++slot)
                    StagePhoto(work / ("tupian" + std::to_string(slot) + ".jpg"), 1 + (photo_cursor++ % 15));
            };
            if (!player.Load(movie)) throw std::runtime_error(player.LoadError());
            player.Stop();
            for (const char* name :
                 {"LRC_ju_zuozhongyou=center", "LRC_geciyanse=0xFFFFFF", "LRC_biaozhuen_cuti=false",
                  "LRC_xieti=false", "LRC_xiahuaxian=false", "LRC_gecidaxiao=12", "LRC_x=5", "LRC_y=250"}) {
                std::string pair = name;
                auto eq = pair.find('=');
                player.SetVariable(pair.substr(0, eq), pair.substr(eq + 1));
            }
            if (s.movie.find("LRC_yulan") != std::string::npos) {
                player.SetVariable("LRC_gecidaxiao", "20");
                player.SetVariable("LRC_geciyanse", "0xFFE070");
                player.SetVariable("LRC_y", "200");
            }

            int x = kMargin, step = 0, shown = 0;
            for (int frame : s.frames) {
                // Step through every frame, so that each request is answered.
                while (shown < frame) player.SetFrameNum(++shown);
                player.SetVariable("LRC_geci", kLyrics[step++ % 5]);
                player.Render(sheet, TRect(x, y, x + s.width, y + s.height));
                canvas.Font().SetHeight(-10);
                canvas.Font().SetColor(gfx::RGB(150, 155, 170));
                canvas.TextOut(x, y + s.height + 1, "frame " + std::to_string(frame));
                x += s.width + kGap;
            }
            y += s.height + kCaption + kMargin;
        }
        fs::remove_all(work);
        if (output.has_parent_path()) fs::create_directories(output.parent_path());
        gfx::SavePng(sheet, output);
    } catch (const std::exception& error) {
        fs::remove_all(work);
        std::fprintf(stderr, "contact-sheet: %s\n", error.what());
        return 1;
    }
    return 0;
}
