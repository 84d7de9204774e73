// velmora-install: finishes an installation that `cmake --install` copied:
// the installation's folders, the work folder with the shipped movies and
// "azlj.ini", the list of installed files (the manifest that `cmake
// --install` wrote names them), and the desktop and menu shortcuts.
//
//   velmora-install --prefix INSTALLATION_FOLDER [--shipped MOVIES_FOLDER]
//                   [--manifest INSTALL_MANIFEST]
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "tools/velmora-install/install_layout.h"

int main(int argc, char** argv)
{
    constexpr const char* kUsage =
        "usage: velmora-install --prefix FOLDER [--shipped FOLDER] [--manifest FILE]\n";
    installer::InstallOptions options;
    std::string manifest;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if ((arg == "--prefix" || arg == "--shipped") && i + 1 < argc) {
            (arg == "--prefix" ? options.installDir : options.shippedDir) = argv[++i];
        } else if (arg == "--manifest" && i + 1 < argc) {
            manifest = argv[++i];
        } else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    if (options.installDir.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    try {
        if (!manifest.empty()) options.installedFiles = installer::ReadInstallManifest(manifest);
        const installer::InstallResult result = installer::Install(options);
        std::printf("Work folder: %s (%zu shipped movies)\n", result.workDir.c_str(),
                    result.copiedMovies.size());
        for (const auto& shortcut : result.shortcuts) std::printf("Shortcut: %s\n", shortcut.c_str());
        if (manifest.empty()) {
            std::fprintf(stderr,
                         "velmora-install: note: no manifest given: castorun will keep the program files\n");
        }
        if (result.copiedMovies.empty()) {
            std::fprintf(stderr, "velmora-install: note: no shipped movies were found to copy\n");
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "velmora-install: %s\n", error.what());
        return 1;
    }
    return 0;
}
