// skin-pack: writes a skin file in the look of a built-in style.
//   skin-pack OUTPUT [macos|winxp|deepblue|protein|blueglass] [PASSWORD]
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "platform/gfx/image_io.h"
#include "tools/skin-pack/skin_pack.h"

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: skin-pack OUTPUT [macos|winxp|deepblue|protein|blueglass] [PASSWORD]\n");
        return 2;
    }
    TkivUIStyle style = TkivUIStyle::DeepBlue;
    if (argc >= 3) {
        const std::string_view name = argv[2];
        if (name == "macos") style = TkivUIStyle::MacOS;
        else if (name == "winxp") style = TkivUIStyle::WinXP;
        else if (name == "deepblue") style = TkivUIStyle::DeepBlue;
        else if (name == "protein") style = TkivUIStyle::Protein;
        else if (name == "blueglass") style = TkivUIStyle::BlueGlass;
        else {
            std::fprintf(stderr, "skin-pack: unknown style %s\n", argv[2]);
            return 2;
        }
    }
    try {
        skinpack::ArchiveOptions options;
        if (argc == 4) options.password = argv[3];
        const auto payload = skinpack::BuildPayload(skinpack::StyleSkinRecords(style));
        gfx::WriteFileBytes(argv[1], skinpack::BuildArchive(payload, options));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skin-pack: %s\n", e.what());
        return 1;
    }
    return 0;
}
