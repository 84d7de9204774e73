#include "platform/ui/form.h"

namespace ui {
void ShowContextMenu(TControl&, TPoint) {}
}  // namespace ui
