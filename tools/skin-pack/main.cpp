// skin-pack: writes a skin file in the look of a built-in style.
//   skin-pack OUTPUT [macos|winxp|deepblue|protein|blueglass] [PASSWORD]
//   skin-pack --source NAMESPACE::FUNCTION OUTPUT.cpp [STYLE]
// The second form writes a C++ source whose function returns the skin's
// bytes, for a program that stores its skin inside itself.
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "platform/core/files.h"
#include "platform/gfx/image_io.h"
#include "tools/skin-pack/skin_pack.h"

namespace {

bool StyleByName(std::string_view name, TkivUIStyle& style)
{
    if (name == "macos")
        style = TkivUIStyle::MacOS;
    else if (name == "winxp")
        style = TkivUIStyle::WinXP;
    else if (name == "deepblue")
        style = TkivUIStyle::DeepBlue;
    else if (name == "protein")
        style = TkivUIStyle::Protein;
    else if (name == "blueglass")
        style = TkivUIStyle::BlueGlass;
    else
        return false;
    return true;
}

std::string Source(const std::string& symbol, const std::vector<std::uint8_t>& bytes)
{
    const std::size_t cut = symbol.rfind("::");
    const std::string space = cut == std::string::npos ? "" : symbol.substr(0, cut);
    const std::string function = cut == std::string::npos ? symbol : symbol.substr(cut + 2);
    std::string out = "// Written by skin-pack; do not edit.\n#include <vector>\n\n";
    if (!space.empty()) out += "namespace " + space + " {\n\n";
    out += "std::vector<unsigned char> " + function + "()\n{\n    static const unsigned char bytes[] = {";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out += (i % 16 == 0) ? "\n        " : " ";
        out += std::to_string(bytes[i]) + ",";
    }
    out += "\n    };\n    return {bytes, bytes + sizeof bytes};\n}\n";
    if (!space.empty()) out += "\n}  // namespace " + space + "\n";
    return out;
}

int Usage()
{
    std::fprintf(stderr,
                 "usage: skin-pack OUTPUT [macos|winxp|deepblue|protein|blueglass] [PASSWORD]\n"
                 "       skin-pack --source NAMESPACE::FUNCTION OUTPUT.cpp [STYLE]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return Usage();
    const bool source = std::string_view(argv[1]) == "--source";
    const int first = source ? 3 : 1;
    if (argc < first + 1 || argc > first + (source ? 2 : 3)) return Usage();
    TkivUIStyle style = TkivUIStyle::DeepBlue;
    if (argc > first + 1 && !StyleByName(argv[first + 1], style)) {
        std::fprintf(stderr, "skin-pack: unknown style %s\n", argv[first + 1]);
        return 2;
    }
    try {
        skinpack::ArchiveOptions options;
        if (!source && argc == first + 3) options.password = argv[first + 2];
        const auto payload = skinpack::BuildPayload(skinpack::StyleSkinRecords(style));
        const auto archive = skinpack::BuildArchive(payload, options);
        if (source) {
            if (!core::WriteFileBytes(argv[first], Source(argv[2], archive))) {
                std::fprintf(stderr, "skin-pack: cannot write %s\n", argv[first]);
                return 1;
            }
        } else {
            gfx::WriteFileBytes(argv[first], archive);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skin-pack: %s\n", e.what());
        return 1;
    }
    return 0;
}
