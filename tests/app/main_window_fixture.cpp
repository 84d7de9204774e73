#include "tests/app/main_window_fixture.h"

#include <fstream>

#include "platform/flash/movie_file.h"

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

std::vector<std::string> MainWindowTest::MessageLines() const
{
    std::vector<std::string> lines;
    for (const Message& message : messages_)
        lines.push_back(message.caption + "|" + message.text + "|" + message.button);
    return lines;
}

void MainWindowTest::ChooseFiles(const std::vector<std::filesystem::path>& files)
{
    any_dialog_ = [this, files](const TOpenDialog& dialog) -> FileAnswer {
        dialog_file_name_ = dialog.FileName();
        if (files.empty()) return std::nullopt;
        std::vector<std::string> chosen;
        for (const std::filesystem::path& file : files) chosen.push_back(file.string());
        return chosen;
    };
    AnswerFileDialogs();
}

}  // namespace app_test
