#pragma once
// The descriptor of the display connection behind an SDL window, so that
// the loop can sleep on it; kept apart because the X headers it needs
// clash with the platform's names.
struct SDL_Window;

namespace ui {
// -1 when the window is not on X11.
int DisplayConnectionFd(SDL_Window* window);
}  // namespace ui
