#pragma once
// The product's name as castora's windows show it.

namespace app {

// The product title: the main window is titled with it followed by "2007",
// the name under which the program is installed.
inline constexpr const char* kProductTitle = "Velmora";
inline constexpr const char* kMainWindowTitle = "Velmora2007";

}  // namespace app
