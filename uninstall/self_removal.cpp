#include "uninstall/self_removal.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/core/files.h"
#include "uninstall/removal.h"

namespace uninstall {

fs::path OwnProgramFile()
{
    std::error_code error;
    fs::path program = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : program;
}

bool ShouldRemoveItself(const fs::path& program)
{
    if (program.empty() || !program.is_absolute()) return false;
    std::error_code error;
    if (!fs::is_regular_file(fs::symlink_status(program, error))) return false;
    return fs::is_regular_file(program.parent_path() / std::string(kMainProgram), error);
}

std::string ShellQuote(std::string_view text)
{
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

std::string SelfRemovalScript(const fs::path& program, const fs::path& script)
{
    const std::string file = ShellQuote(program.string());
    std::string text = "#!/bin/sh\n";
    text += "# Left by castorun: deletes the uninstaller, then this script.\n";
    text += "for try in";
    for (int i = 1; i <= kSelfRemovalTries; ++i) text.append(" ").append(std::to_string(i));
    text += "; do\n";
    text.append("  rm -f -- ").append(file).append("\n");
    text.append("  [ -e ").append(file).append(" ] || [ -L ").append(file).append(" ] || break\n");
    text += "  sleep 1\n";
    text += "done\n";
    text.append("rm -f -- ").append(ShellQuote(script.string())).append("\n");
    return text;
}

fs::path WriteSelfRemovalScript(const fs::path& program)
{
    const fs::path script = program.parent_path() / std::string(kSelfRemovalScript);
    if (!core::WriteFileBytes(script, SelfRemovalScript(program, script))) return {};
    return script;
}

bool StartDetached(const fs::path& script)
{
    // Everything the child needs is made before fork: after it, only
    // async-signal-safe calls.
    const std::string path = script.string();
    const char* const argv[] = {"sh", path.c_str(), nullptr};
    const pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        ::setsid();
        // The grandchild belongs to nobody that waits for it.
        const pid_t runner = ::fork();
        if (runner != 0) ::_exit(runner < 0 ? 1 : 0);
        if (::chdir("/") != 0) ::_exit(1);
        const int null = ::open("/dev/null", O_RDWR);
        if (null >= 0) {
            ::dup2(null, 0);
            ::dup2(null, 1);
            ::dup2(null, 2);
        }
        ::execv("/bin/sh", const_cast<char* const*>(argv));
        ::_exit(127);
    }
    int status = 0;
    pid_t waited;
    do {
        waited = ::waitpid(child, &status, 0);
    } while (waited < 0 && errno == EINTR);
    return waited == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace uninstall
