#pragma once
// What a desktop tool (xdotool, a taskbar, a screenshot) does to a window
// on the X display, for the tests under a window manager. Apart from the
// tests: the X11 headers clash with the platform's names.
#include <cstdint>
#include <vector>

struct SDL_Window;

namespace x11test {

class Desktop {
public:
    Desktop();
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;
    bool Open() const { return display_ != nullptr; }

    struct Hints {
        bool has_min = false, has_max = false;
        int min_width = 0, min_height = 0, max_width = 0, max_height = 0;
    };
    // The window manager's size hints of a window.
    Hints SizeHints(SDL_Window* window) const;
    bool Viewable(SDL_Window* window) const;
    // The window's size as the X server has it.
    bool Size(SDL_Window* window, int& width, int& height) const;
    // Asks the manager to activate the window (xdotool windowactivate).
    void Activate(SDL_Window* window);
    // Sizes or moves the window from outside (xdotool windowsize, windowmove).
    void Resize(SDL_Window* window, int width, int height);
    void Move(SDL_Window* window, int x, int y);
    // The screen's pixels in a rectangle, 0xRRGGBB, row by row (empty when
    // they cannot be read).
    std::vector<std::uint32_t> Grab(int x, int y, int width, int height) const;

private:
    void* display_ = nullptr;
};

}  // namespace x11test
