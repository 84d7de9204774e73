#include "preview_window_test.h"

#include <fstream>

#include "app/castora_forms.h"
#include "app/template_import_form.h"
#include "platform/core/timer.h"
#include "platform/flash/movie_file.h"
#include "platform/gfx/image_io.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/edit.h"
#include "skin/kiv_button.h"
#include "skin/kiv_group_box.h"
#include "skin/kiv_list_view.h"
#include "skin/kiv_message_dialog.h"
#include "tests/castora_work_folder.h"

namespace preview_test {

fs::path FixtureTemplate() { return fs::path(VELMORA_DATA_OUT) / "fixtures" / "fixture20.avi"; }

void WriteSilence(const fs::path& path, double seconds)
{
    const uint32_t rate = 8000;
    const uint32_t data = static_cast<uint32_t>(seconds * rate) * 2;
    std::string wav;
    const auto put32 = [&wav](uint32_t v) {
        for (int i = 0; i < 4; ++i) wav += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    const auto put16 = [&wav](uint16_t v) {
        for (int i = 0; i < 2; ++i) wav += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    wav += "RIFF";
    put32(36 + data);
    wav += "WAVEfmt ";
    put32(16);
    put16(1);  // PCM
    put16(1);  // mono
    put32(rate);
    put32(rate * 2);
    put16(2);
    put16(16);
    wav += "data";
    put32(data);
    wav.append(data, '\0');
    std::ofstream(path, std::ios::binary) << wav;
}

std::string ReadBytes(const fs::path& path) { return core::ReadFileBytes(path).value_or("<missing>"); }

void PreviewWindow::SetUp()
{
    ProgramFixture::SetUp();
    StartWithWorkFolder();
    started_ = true;
}

void PreviewWindow::OnMessage(const TkivMessageDialog& dialog)
{
    if (!started_) return;
    // The please-wait form is gone before a message shows.
    EXPECT_FALSE(Form14->Visible());
    EXPECT_EQ(dialog.Button1Caption(), "确定");
    messages_.push_back(dialog.Caption() + "|" + dialog.Text());
}

void PreviewWindow::AddPhotos(int count)
{
    const TColor colours[] = {clRed, clLime, clBlue, clYellow, clFuchsia, clAqua};
    for (int k = 1; k <= count; ++k) {
        gfx::SaveJpeg(TBitmap(160, 120, colours[(k - 1) % 6]),
                      work_ / "zpyjj" / ("zpyjj" + std::to_string(k) + ".jpg"));
        Form1->kivListView1->Items().Add()->SetCaption("photo" + std::to_string(k));
    }
}

void PreviewWindow::ImportTemplate(const fs::path& file)
{
    answers_[Form1->OpenDialog3] = {file.string()};
    AnswerFileDialogs();
    Form1->kivButton7->Click();
    ui::SetFileDialogHook(nullptr);
    answers_.erase(Form1->OpenDialog3);
    // Form14 closes from its own timer, one tick after the import.
    ASSERT_TRUE(App().PumpUntil([] { return !Form14->Visible() && !Form14->Timer3->Enabled(); }, 1000));
}

TControl* PreviewWindow::FrontPane() const
{
    TControl* front = nullptr;
    for (TControl* pane : Form1->kivGroupBox2->Children())
        if (pane->Visible()) front = pane;
    return front;
}

bool PreviewWindow::RunUntil(const std::function<bool()>& done, int64_t ms)
{
    return App().PumpUntil(done, ms);
}

int PreviewWindow::Ticks() const { return std::stoi(Form1->Edit2->Text()); }

bool PreviewWindow::Unlocked() const
{
    for (TControl* control : Form1->MainLockList())
        if (!control->Enabled()) return false;
    return true;
}

bool PreviewWindow::Locked() const
{
    for (TControl* control : Form1->MainLockList())
        if (control->Enabled()) return false;
    return true;
}

}  // namespace preview_test
