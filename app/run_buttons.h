#pragma once
// The buttons that a running preview or a template import holds: the
// preview's Stop, then one output button per output format, in the order
// of production::kOutputFormats.
#include <array>
#include <cstddef>

#include "production/output_formats.h"

class TkivButton;

namespace app {

inline constexpr std::size_t kRunButtonCount = 1 + production::kOutputFormats.size();
using RunButtons = std::array<TkivButton*, kRunButtonCount>;

}  // namespace app
