#include "tests/skin/x11_desktop.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xutil.h>

namespace x11test {

namespace {

Window XWindowOf(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    return window && SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11
               ? info.info.x11.window
               : None;
}

}  // namespace

#define DISPLAY static_cast<Display*>(display_)

Desktop::Desktop() : display_(XOpenDisplay(nullptr)) {}

Desktop::~Desktop()
{
    if (display_) XCloseDisplay(DISPLAY);
}

Desktop::Hints Desktop::SizeHints(SDL_Window* window) const
{
    Hints out;
    XSizeHints hints{};
    long supplied = 0;
    if (!XGetWMNormalHints(DISPLAY, XWindowOf(window), &hints, &supplied)) return out;
    out.has_min = hints.flags & PMinSize;
    out.has_max = hints.flags & PMaxSize;
    out.min_width = hints.min_width;
    out.min_height = hints.min_height;
    out.max_width = hints.max_width;
    out.max_height = hints.max_height;
    return out;
}

bool Desktop::Viewable(SDL_Window* window) const
{
    XWindowAttributes a;
    return XGetWindowAttributes(DISPLAY, XWindowOf(window), &a) && a.map_state == IsViewable;
}

bool Desktop::Size(SDL_Window* window, int& width, int& height) const
{
    XWindowAttributes a;
    if (!XGetWindowAttributes(DISPLAY, XWindowOf(window), &a)) return false;
    width = a.width;
    height = a.height;
    return true;
}

void Desktop::Activate(SDL_Window* window)
{
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = XWindowOf(window);
    e.xclient.message_type = XInternAtom(DISPLAY, "_NET_ACTIVE_WINDOW", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = 2;  // from a pager, as the tools say
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(DISPLAY, DefaultRootWindow(DISPLAY), False, SubstructureNotifyMask | SubstructureRedirectMask,
               &e);
    XFlush(DISPLAY);
}

void Desktop::Resize(SDL_Window* window, int width, int height)
{
    XResizeWindow(DISPLAY, XWindowOf(window), width, height);
    XFlush(DISPLAY);
}

void Desktop::Move(SDL_Window* window, int x, int y)
{
    XMoveWindow(DISPLAY, XWindowOf(window), x, y);
    XFlush(DISPLAY);
}

std::vector<std::uint32_t> Desktop::Grab(int x, int y, int width, int height) const
{
    std::vector<std::uint32_t> out;
    XImage* image = XGetImage(DISPLAY, DefaultRootWindow(DISPLAY), x, y, width, height, AllPlanes, ZPixmap);
    if (!image) return out;
    out.reserve(static_cast<size_t>(width) * height);
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col)
            out.push_back(static_cast<std::uint32_t>(XGetPixel(image, col, row) & 0xFFFFFF));
    XDestroyImage(image);
    return out;
}

}  // namespace x11test
