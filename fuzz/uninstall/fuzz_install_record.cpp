// Any installer record reads, and the folder it names is accepted for
// deletion only when it is a folder holding castora, the installer's mark
// and its list of installed files, that is none of the folders to keep, and
// whose recorded path held no line break. The checks only look at the files
// of a sandbox made once: a home, a system folder, an installation, a plain
// folder and links.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "platform/core/files.h"
#include "uninstall/removal.h"

namespace {

namespace fs = std::filesystem;

struct Sandbox {
    core::TempDir root;
    fs::path system;
    std::vector<fs::path> keep;

    Sandbox()
    {
        const fs::path home = root.Path() / "home";
        ::setenv("HOME", home.c_str(), 1);
        for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DESKTOP_DIR"}) ::unsetenv(name);
        system = home / ".local/share/velmora";
        std::error_code error;
        for (const fs::path& folder : {system / "brenholt_1/zpyjj", root.Path() / "opt/velmora",
                                       root.Path() / "opt/other", home / "Desktop"})
            fs::create_directories(folder, error);
        // Castora and the mark in the installation, and in folders of the
        // user's that must stay all the same.
        for (const fs::path& folder : {root.Path() / "opt/velmora", home, home / "Documents"}) {
            fs::create_directories(folder, error);
            std::ofstream(folder / "castora") << "castora";
            std::ofstream(folder / std::string(uninstall::kInstallMark)) << uninstall::kInstallMarkText;
            std::ofstream(folder / std::string(uninstall::kInstalledFilesList))
                << uninstall::InstalledFilesText({{"castora"}, {}});
        }
        fs::create_directory_symlink(home, root.Path() / "opt/home-link", error);
        fs::create_directory_symlink(root.Path() / "opt/velmora", root.Path() / "opt/link", error);
        keep = uninstall::FoldersToKeep(system);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Sandbox sandbox;
    const std::string recorded =
        uninstall::ParseInstallationRecord(std::string_view(reinterpret_cast<const char*>(data), size));
    // Names inside the sandbox are tried too.
    for (const std::string& name : {recorded, (sandbox.root.Path() / "opt").string() + "/" + recorded}) {
        const uninstall::InstallationFolder checked = uninstall::CheckInstallationFolder(name, sandbox.keep);
        uninstall::RefusalText(checked, "Velmora");
        if (checked.verdict != uninstall::FolderVerdict::Accepted) continue;
        std::error_code error;
        if (!checked.folder.is_absolute() || uninstall::IsProtectedFolder(checked.folder, sandbox.keep) ||
            !fs::is_directory(checked.folder, error) ||
            !fs::is_regular_file(checked.folder / "castora", error) ||
            name.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos ||
            uninstall::IsProtectedByIdentity(checked.folder, sandbox.keep))
            std::abort();
    }
    return 0;
}
