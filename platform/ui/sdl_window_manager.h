#pragma once
// Whether a window manager runs on the desktop of an SDL window. Apart
// from the back end: the X11 headers define names that clash with ours.
struct SDL_Window;

namespace ui {

// True on a desktop that is not X11; on X11 only while a manager runs.
bool WindowManagerRuns(SDL_Window* window);

}  // namespace ui
