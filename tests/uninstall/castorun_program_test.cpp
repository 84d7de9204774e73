// castorun as a program: it ends at once without a display, and a SIGTERM
// ends it.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tests/uninstall/installation.h"

namespace uninstall_test {
namespace {

using namespace std::chrono_literals;

class CastorunProgram : public Installation {
protected:
    // Starts castorun with `video_driver` (none: no display at all), its
    // stderr into a file.
    pid_t Spawn(const char* video_driver)
    {
        err_ = root_ / "stderr.txt";
        // All made before fork: the child only opens, redirects and starts.
        std::vector<std::string> env;
        for (char** entry = environ; *entry; ++entry) {
            const std::string_view text = *entry;
            if (!text.starts_with("DISPLAY=") && !text.starts_with("WAYLAND_DISPLAY=") &&
                !text.starts_with("SDL_VIDEODRIVER="))
                env.emplace_back(text);
        }
        if (video_driver) env.push_back(std::string("SDL_VIDEODRIVER=") + video_driver);
        std::vector<char*> envp;
        for (std::string& entry : env) envp.push_back(entry.data());
        envp.push_back(nullptr);
        const char* const argv[] = {"castorun", "--help", nullptr};
        const pid_t child = ::fork();
        if (child == 0) {
            const int err = ::open(err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (err >= 0) ::dup2(err, 2);
            ::execve(CASTORUN_PROGRAM, const_cast<char* const*>(argv), envp.data());
            ::_exit(127);
        }
        return child;
    }
    // The exit status once it has ended within `limit`; nothing (and the
    // program killed) when it has not.
    static std::optional<int> WaitFor(pid_t child, std::chrono::milliseconds limit)
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        int status = 0;
        while (std::chrono::steady_clock::now() < deadline) {
            if (::waitpid(child, &status, WNOHANG) == child) return status;
            std::this_thread::sleep_for(10ms);
        }
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        return std::nullopt;
    }
    std::string Stderr() const { return core::ReadFileBytes(err_).value_or(""); }

    fs::path err_;
};

TEST_F(CastorunProgram, WithoutADisplayItSaysSoAndEndsAtOnce)
{
    Install();
    const std::optional<int> status = WaitFor(Spawn(nullptr), 10s);
    ASSERT_TRUE(status) << "castorun did not end";
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_NE(WEXITSTATUS(*status), 0);
    EXPECT_NE(Stderr().find("no display"), std::string::npos) << Stderr();
    EXPECT_TRUE(Exists(install_ / "castora"));
}

TEST_F(CastorunProgram, ASigtermEndsIt)
{
    Install();
    const pid_t child = Spawn("dummy");
    std::this_thread::sleep_for(1s);
    ASSERT_EQ(::kill(child, SIGTERM), 0);
    const std::optional<int> status = WaitFor(child, 10s);
    ASSERT_TRUE(status) << "castorun did not end";
    EXPECT_TRUE(Exists(install_ / "castora"));
}

}  // namespace
}  // namespace uninstall_test
