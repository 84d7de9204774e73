#pragma once
// The skin that castorun stores in its form (kivBuiltInFileTheme1), written
// at build time by tools/skin-pack in the DeepBlue look.
#include <vector>

namespace uninstall {
std::vector<unsigned char> CastorunSkinData();
}
