#include "platform/ui/sdl_window_manager.h"

#include <SDL.h>
#include <SDL_syswm.h>

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xatom.h>
#endif

namespace ui {

namespace {

#if defined(SDL_VIDEO_DRIVER_X11)
// The window a window's _NET_SUPPORTING_WM_CHECK names, or None.
Window NamedWindow(Display* display, Window on, Atom check)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Window found = None;
    if (XGetWindowProperty(display, on, check, 0, 1, False, XA_WINDOW, &type, &format, &count, &after,
                           &data) == Success &&
        type == XA_WINDOW && format == 32 && count == 1)
        found = *reinterpret_cast<Window*>(data);
    if (data) XFree(data);
    return found;
}

// A manager names a window of its own on the root window, which names
// itself again; the name outlives a manager that ended.
bool X11WindowManagerRuns(Display* display)
{
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) return false;
    const Window wm = NamedWindow(display, DefaultRootWindow(display), check);
    if (wm == None) return false;
    // Asking a window that is gone raises an error: ignore it here.
    XSync(display, False);
    auto* previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    const bool alive = NamedWindow(display, wm, check) == wm;
    XSync(display, False);
    XSetErrorHandler(previous);
    return alive;
}
#endif

}  // namespace

bool WindowManagerRuns(SDL_Window* window)
{
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window && SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11)
        return X11WindowManagerRuns(info.info.x11.display);
#else
    (void)window;
#endif
    return true;
}

}  // namespace ui
