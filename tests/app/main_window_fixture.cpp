#include "tests/app/main_window_fixture.h"

#include <fstream>

#include "app/castora_forms.h"
#include "app/form1.h"
#include "platform/flash/movie_file.h"
#include "platform/ui/dialogs.h"
#include "skin/kiv_message_dialog.h"
#include "tests/castora_work_folder.h"

namespace app_test {

void WriteMovieFile(const std::filesystem::path& path, std::uint32_t frames)
{
    flash::Movie movie;
    movie.frame_count = frames;
    const std::vector<std::uint8_t> bytes = flash::WriteMovie(movie);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void MainWindowTest::SetUp()
{
    skin::SetMessageDialogHook([this](const TkivMessageDialog& dialog) {
        messages_.push_back({dialog.Caption(), dialog.Text(), dialog.Button1Caption()});
        return mrOk;
    });
}

void MainWindowTest::TearDown()
{
    skin::SetMessageDialogHook({});
    ui::SetFileDialogHook({});
}

void MainWindowTest::Start()
{
    app::CreateCastoraForms();
    ASSERT_NE(Form1, nullptr);
    Form1->Show();
    App().ProcessMessages();
}

void MainWindowTest::StartWithWorkFolder()
{
    work_ = MakeCastoraWorkFolder(system_.Path());
    Start();
    ASSERT_EQ(Form1->StartupExitCode(), 0);
}

std::vector<std::string> MainWindowTest::MessageLines() const
{
    std::vector<std::string> lines;
    for (const Message& message : messages_)
        lines.push_back(message.caption + "|" + message.text + "|" + message.button);
    return lines;
}

void MainWindowTest::ChooseFiles(const std::vector<std::filesystem::path>& files)
{
    ui::SetFileDialogHook(
        [this, files](const TOpenDialog& dialog) -> std::optional<std::vector<std::string>> {
            dialog_file_name_ = dialog.FileName();
            if (files.empty()) return std::nullopt;
            std::vector<std::string> chosen;
            for (const std::filesystem::path& file : files) chosen.push_back(file.string());
            return chosen;
        });
}

}  // namespace app_test
