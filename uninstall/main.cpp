// castorun: removes an installation of Velmora.
#include <cstdlib>
#include <exception>
#include <iostream>

#include "platform/ui/msgbox.h"
#include "platform/ui/sdl_backend.h"
#include "uninstall/uninstall_form.h"

namespace {

// SDL finds a driver even without a display (one that draws nowhere): the
// form would wait unseen for a click that never comes. A driver chosen by
// name is taken as meant.
bool HasDisplay()
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

}  // namespace

int main()
{
    if (!HasDisplay()) {
        std::cerr << "castorun: cannot open a window: there is no display (DISPLAY is not set)" << std::endl;
        return 1;
    }
    try {
        ui::UseSdlBackend();
    } catch (const std::exception& error) {
        std::cerr << "castorun: cannot open a window (is there a display?): " << error.what() << std::endl;
        return 1;
    }
    ui::ReportExceptionsInMessageBox("卸载");
    return uninstall::RunCastorun();
}
