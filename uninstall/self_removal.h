#pragma once
// castorun's last step: it removes its own file. A small shell script
// beside it deletes the uninstaller, trying again for a few seconds should
// the file stay, and then deletes itself; castorun starts it in a session
// of its own and ends.
#include <filesystem>
#include <string>
#include <string_view>

namespace uninstall {

namespace fs = std::filesystem;

// The script's name, in the uninstaller's own folder.
inline constexpr std::string_view kSelfRemovalScript = "delme.sh";
// How often the script tries to delete the uninstaller, one second apart.
inline constexpr int kSelfRemovalTries = 10;

// The running program's file; empty when the system does not say.
fs::path OwnProgramFile();

// Whether the uninstaller at `program` removes itself: only an installed
// copy does, one that sits beside castora. A copy anywhere else (a build
// folder) is kept, and so is a file that is gone already (it went with
// the installation folder).
bool ShouldRemoveItself(const fs::path& program);

// `text` in single quotes for sh, every character kept as it is.
std::string ShellQuote(std::string_view text);

// The script that deletes `program` and then `script` itself.
std::string SelfRemovalScript(const fs::path& program, const fs::path& script);

// Writes the script (replacing an old one) beside `program`; its path, or
// empty when it cannot be written.
fs::path WriteSelfRemovalScript(const fs::path& program);

// Starts `sh script` detached: in a session of its own, in "/", without
// input or output, and without waiting for it. False when it cannot start.
bool StartDetached(const fs::path& script);

}  // namespace uninstall
