#pragma once
// The skin that castora stores in its main window (kivBuiltInFileTheme1),
// written at build time by tools/skin-pack in the DeepBlue look.
#include <vector>

namespace app {
std::vector<unsigned char> CastoraSkinData();
}
