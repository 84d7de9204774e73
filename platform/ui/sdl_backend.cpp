#include "platform/ui/sdl_backend.h"

#include <SDL.h>
#include <SDL_shape.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

#include "platform/ui/form.h"
#include "platform/ui/sdl_display_fd.h"
#include "platform/ui/sdl_window_manager.h"

namespace ui {

namespace {

TShiftState ShiftOf(Uint16 mod)
{
    TShiftState s = 0;
    if (mod & KMOD_SHIFT) s |= ssShift;
    if (mod & KMOD_CTRL) s |= ssCtrl;
    if (mod & KMOD_ALT) s |= ssAlt;
    return s;
}

uint16_t VirtualKey(SDL_Keycode k)
{
    if (k >= SDLK_a && k <= SDLK_z) return static_cast<uint16_t>('A' + (k - SDLK_a));
    if (k >= SDLK_0 && k <= SDLK_9) return static_cast<uint16_t>('0' + (k - SDLK_0));
    if (k >= SDLK_F1 && k <= SDLK_F12) return static_cast<uint16_t>(VK_F1 + (k - SDLK_F1));
    switch (k) {
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_END: return VK_END;
    case SDLK_HOME: return VK_HOME;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT: return VK_MENU;
    default: return 0;
    }
}

TMouseButton ButtonOf(Uint8 b)
{
    return b == SDL_BUTTON_RIGHT ? mbRight : b == SDL_BUTTON_MIDDLE ? mbMiddle : mbLeft;
}

SDL_SystemCursor SystemCursorOf(TCursor c)
{
    switch (c) {
    case crIBeam: return SDL_SYSTEM_CURSOR_IBEAM;
    case crCross: return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case crHourGlass: return SDL_SYSTEM_CURSOR_WAIT;
    case crSizeNESW: return SDL_SYSTEM_CURSOR_SIZENESW;
    case crSizeNWSE: return SDL_SYSTEM_CURSOR_SIZENWSE;
    case crSizeNS: return SDL_SYSTEM_CURSOR_SIZENS;
    case crSizeWE: return SDL_SYSTEM_CURSOR_SIZEWE;
    case crSizeAll: return SDL_SYSTEM_CURSOR_SIZEALL;
    case crNo: return SDL_SYSTEM_CURSOR_NO;
    case crHandPoint: return SDL_SYSTEM_CURSOR_HAND;
    default: return SDL_SYSTEM_CURSOR_ARROW;
    }
}

}  // namespace

class SdlWindow final : public NativeWindow {
public:
    SdlWindow(SdlBackend& backend, TForm& form) : backend_(backend), form_(form) { Create(false); }

    ~SdlWindow() override { Destroy(); }

    void SetBounds(const TRect& bounds) override
    {
        bool resized = bounds.Width() != bounds_.Width() || bounds.Height() != bounds_.Height();
        bool moved = bounds.Left != bounds_.Left || bounds.Top != bounds_.Top;
        bounds_ = bounds;
        if (moved) SDL_SetWindowPosition(window_, bounds.Left, bounds.Top);
        if (resized) {
            SDL_SetWindowSize(window_, std::max(1, bounds.Width()), std::max(1, bounds.Height()));
            ApplyShape();
        }
    }
    void SetTitle(const std::string& title) override { SDL_SetWindowTitle(window_, title.c_str()); }
    void SetVisible(bool visible) override
    {
        visible_ = visible;
        if (visible) {
            SDL_ShowWindow(window_);
            SDL_SetWindowPosition(window_, bounds_.Left, bounds_.Top);
        } else {
            SDL_HideWindow(window_);
        }
    }
    void Present(const TBitmap& picture, const std::vector<TRect>& changed) override
    {
        if (picture.Empty()) return;
        SDL_Surface* surface = SDL_GetWindowSurface(window_);
        if (!surface) return;
        // A new surface (first present, new size) holds nothing yet.
        const bool fresh = surface != surface_ || surface->w != surface_w_ || surface->h != surface_h_;
        surface_ = surface;
        surface_w_ = surface->w;
        surface_h_ = surface->h;
        const TRect all{0, 0, std::min(surface->w, picture.Width()), std::min(surface->h, picture.Height())};
        std::vector<TRect> whole{all};
        std::vector<SDL_Rect> rects;
        for (const TRect& c : fresh ? whole : changed) {
            const TRect r = c.Intersect(all);
            if (r.IsEmpty()) continue;
            CopyIn(picture, r, surface);
            rects.push_back({r.Left, r.Top, r.Width(), r.Height()});
        }
        if (!rects.empty())
            SDL_UpdateWindowSurfaceRects(window_, rects.data(), static_cast<int>(rects.size()));
    }
    void SetShape(const std::optional<gfx::Region>& region) override
    {
        shape_ = region;
        if (region && !shaped_) {
            // Only a window created as shaped takes a shape: make it again,
            // showing what the old one showed.
            bool was_visible = visible_;
            TBitmap shown = Shown();
            Destroy();
            Create(true);
            SetBounds(bounds_);
            SetTitle(form_.Caption());
            SetResizable(resizable_);
            max_given_ = false;
            ApplySizeLimits();
            if (was_visible) SetVisible(true);
            if (!shown.Empty()) Present(shown, {shown.BoundsRect()});
        }
        ApplyShape();
    }
    void Raise() override
    {
        SDL_RaiseWindow(window_);
        // The keyboard comes with it: without a window manager X gives the
        // focus to no window once the one that had it (a message box) is
        // gone, and nothing typed would reach the form below.
        if (visible_) SDL_SetWindowInputFocus(window_);
    }
    void SetModalFor(NativeWindow* owner) override
    {
        if (auto* o = dynamic_cast<SdlWindow*>(owner)) SDL_SetWindowModalFor(window_, o->window_);
    }
    void SetMinimized(bool minimized) override
    {
        if (minimized)
            SDL_MinimizeWindow(window_);
        else if (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED)
            SDL_RestoreWindow(window_);
    }
    bool CanMinimize() const override { return WindowManagerRuns(window_); }
    void SetResizable(bool resizable) override
    {
        resizable_ = resizable;
        SDL_SetWindowResizable(window_, resizable ? SDL_TRUE : SDL_FALSE);
    }
    // The window system moved or sized the window: true when its bounds
    // differ from the ones last given (stale events of our own changes do not).
    bool TakeBoundsFromSystem(TRect& bounds)
    {
        int x = 0, y = 0, w = 0, h = 0;
        SDL_GetWindowPosition(window_, &x, &y);
        SDL_GetWindowSize(window_, &w, &h);
        const TRect now = Bounds(x, y, w, h);
        if (now == bounds_) return false;
        const bool resized = w != bounds_.Width() || h != bounds_.Height();
        bounds_ = now;
        if (resized) ApplyShape();
        bounds = now;
        return true;
    }
    void SetSizeLimits(int minWidth, int minHeight, int maxWidth, int maxHeight) override
    {
        min_w_ = minWidth;
        min_h_ = minHeight;
        max_w_ = maxWidth;
        max_h_ = maxHeight;
        ApplySizeLimits();
    }

    SDL_Window* Handle() const { return window_; }
    TForm& Form() const { return form_; }

    // What the window shows now, from its surface.
    TBitmap Shown() const
    {
        SDL_Surface* surface = surface_ ? SDL_GetWindowSurface(window_) : nullptr;
        if (!surface || surface != surface_) return {};
        TBitmap out(surface->w, surface->h);
        if (SDL_ConvertPixels(surface->w, surface->h, surface->format->format, surface->pixels,
                              surface->pitch, kPictureFormat, out.Pixels(), out.Width() * 4) != 0)
            return {};
        for (int i = 0; i < out.Width() * out.Height(); ++i) out.Pixels()[i] &= 0x00FFFFFFu;
        return out;
    }

private:
    // TBitmap's pixels: red in the low byte.
    static constexpr Uint32 kPictureFormat = SDL_PIXELFORMAT_XBGR8888;

    static void CopyIn(const TBitmap& picture, const TRect& r, SDL_Surface* surface)
    {
        const int bpp = surface->format->BytesPerPixel;
        auto* to = static_cast<Uint8*>(surface->pixels) + r.Top * surface->pitch + r.Left * bpp;
        const uint32_t* from = picture.ScanLine(r.Top) + r.Left;
        SDL_ConvertPixels(r.Width(), r.Height(), kPictureFormat, from, picture.Width() * 4,
                          surface->format->format, to, surface->pitch);
    }

    void Create(bool shaped)
    {
        int w = std::max(1, form_.Width()), h = std::max(1, form_.Height());
        Uint32 flags = SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN;
        window_ = nullptr;
        if (shaped)
            window_ = SDL_CreateShapedWindow(form_.Caption().c_str(), form_.Left(), form_.Top(), w, h, flags);
        shaped_ = window_ != nullptr;
        if (!window_)
            window_ = SDL_CreateWindow(form_.Caption().c_str(), form_.Left(), form_.Top(), w, h, flags);
        if (!window_) throw std::runtime_error(std::string("Cannot create a window: ") + SDL_GetError());
        surface_ = nullptr;
        bounds_ = form_.BoundsRect();
        backend_.windows_[SDL_GetWindowID(window_)] = this;
    }

    void Destroy()
    {
        backend_.windows_.erase(SDL_GetWindowID(window_));
        surface_ = nullptr;
        if (window_) SDL_DestroyWindow(window_);
        window_ = nullptr;
    }

    void ApplySizeLimits()
    {
        SDL_SetWindowMinimumSize(window_, std::max(1, min_w_), std::max(1, min_h_));
        // SDL takes no "no maximum": once one was given, the largest size
        // a window can have stands for none.
        if (max_w_ > 0 || max_h_ > 0 || max_given_) {
            max_given_ = true;
            SDL_SetWindowMaximumSize(window_, max_w_ > 0 ? max_w_ : kNoMaximum,
                                     max_h_ > 0 ? max_h_ : kNoMaximum);
        }
    }

    void ApplyShape()
    {
        if (!shaped_) return;
        int w = std::max(1, bounds_.Width()), h = std::max(1, bounds_.Height());
        SDL_Surface* mask = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ABGR8888);
        if (!mask) return;
        auto* pixels = static_cast<Uint32*>(mask->pixels);
        int pitch = mask->pitch / 4;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                pixels[y * pitch + x] = (!shape_ || shape_->Contains(x, y)) ? 0xFFFFFFFFu : 0x00000000u;
        SDL_WindowShapeMode mode;
        mode.mode = ShapeModeBinarizeAlpha;
        mode.parameters.binarizationCutoff = 128;
        SDL_SetWindowShape(window_, mask, &mode);
        SDL_FreeSurface(mask);
    }

    SdlBackend& backend_;
    TForm& form_;
    SDL_Window* window_ = nullptr;
    // The window's own surface, presented in changed rectangles; SDL owns it.
    SDL_Surface* surface_ = nullptr;
    int surface_w_ = 0, surface_h_ = 0;
    TRect bounds_{};
    bool visible_ = false;
    bool shaped_ = false;
    bool resizable_ = false;
    std::optional<gfx::Region> shape_;
    static constexpr int kNoMaximum = 16384;
    int min_w_ = 0, min_h_ = 0, max_w_ = 0, max_h_ = 0;
    bool max_given_ = false;
};

SdlBackend::SdlBackend()
{
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // Windows are presented from their own surfaces in changed rectangles
    // (X shared memory), not through a GL texture of the whole window.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        throw std::runtime_error(std::string("Cannot start the display: ") + SDL_GetError());
    SDL_StopTextInput();
    wake_fd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

SdlBackend::~SdlBackend()
{
    if (wake_fd_ >= 0) close(wake_fd_);
    for (auto& [shape, cursor] : cursors_) SDL_FreeCursor(cursor);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

std::unique_ptr<NativeWindow> SdlBackend::CreateWindow(TForm& form)
{
    return std::make_unique<SdlWindow>(*this, form);
}

TRect SdlBackend::ScreenRect() const
{
    SDL_Rect r;
    if (SDL_GetDisplayBounds(0, &r) != 0) return {0, 0, 1024, 768};
    return Bounds(r.x, r.y, r.w, r.h);
}

TRect SdlBackend::WorkArea() const
{
    SDL_Rect r;
    if (SDL_GetDisplayUsableBounds(0, &r) != 0) return ScreenRect();
    return Bounds(r.x, r.y, r.w, r.h);
}

TPoint SdlBackend::CursorPos() const
{
    int x = 0, y = 0;
    SDL_GetGlobalMouseState(&x, &y);
    return {x, y};
}

void SdlBackend::SetCursorShape(TCursor cursor)
{
    auto it = cursors_.find(cursor);
    if (it == cursors_.end())
        it = cursors_.emplace(cursor, SDL_CreateSystemCursor(SystemCursorOf(cursor))).first;
    if (it->second) SDL_SetCursor(it->second);
}

std::string SdlBackend::ClipboardText() const
{
    char* text = SDL_GetClipboardText();
    std::string out = text ? text : "";
    SDL_free(text);
    return out;
}

void SdlBackend::SetClipboardText(const std::string& text) { SDL_SetClipboardText(text.c_str()); }

void SdlBackend::StartTextInput(const TRect& area)
{
    SDL_Rect r{area.Left, area.Top, area.Width(), area.Height()};
    SDL_SetTextInputRect(&r);
    SDL_StartTextInput();
}

void SdlBackend::StopTextInput() { SDL_StopTextInput(); }

TForm* SdlBackend::FormOf(uint32_t id) const
{
    auto it = windows_.find(id);
    return it == windows_.end() ? nullptr : &it->second->Form();
}

uint32_t SdlBackend::WindowId(const TForm& form) const
{
    for (auto& [id, w] : windows_)
        if (&w->Form() == &form) return id;
    return 0;
}

TBitmap SdlBackend::ReadBack(const TForm& form) const
{
    for (auto& [id, w] : windows_)
        if (&w->Form() == &form) return w->Shown();
    return {};
}

void SdlBackend::Dispatch(const SDL_Event& e)
{
    InputEvent ev;
    TForm* form = nullptr;
    auto at = [&](int x, int y) {
        ev.pos = {x, y};
        ev.screen_pos = form ? TPoint{form->Left() + x, form->Top() + y} : ev.pos;
    };
    switch (e.type) {
    case SDL_MOUSEMOTION:
        form = FormOf(e.motion.windowID);
        ev.kind = InputEvent::MouseMove;
        at(e.motion.x, e.motion.y);
        ev.shift = ShiftOf(SDL_GetModState());
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        form = FormOf(e.button.windowID);
        ev.kind = e.type == SDL_MOUSEBUTTONDOWN ? InputEvent::MouseDown : InputEvent::MouseUp;
        at(e.button.x, e.button.y);
        ev.button = ButtonOf(e.button.button);
        ev.clicks = (e.button.clicks >= 2 && e.button.clicks % 2 == 0) ? 2 : 1;
        ev.shift = ShiftOf(SDL_GetModState());
        break;
    case SDL_MOUSEWHEEL: {
        form = FormOf(e.wheel.windowID);
        ev.kind = InputEvent::MouseWheel;
        int x = 0, y = 0;
        SDL_GetMouseState(&x, &y);
        at(x, y);
        ev.wheel_delta = (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y) * 120;
        ev.shift = ShiftOf(SDL_GetModState());
        break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        form = FormOf(e.key.windowID);
        ev.kind = e.type == SDL_KEYDOWN ? InputEvent::KeyDown : InputEvent::KeyUp;
        ev.key = VirtualKey(e.key.keysym.sym);
        ev.shift = ShiftOf(e.key.keysym.mod);
        if (!ev.key) return;
        break;
    case SDL_TEXTINPUT:
        form = FormOf(e.text.windowID);
        // With Ctrl or Alt down the keys are commands, not text.
        if (SDL_GetModState() & (KMOD_CTRL | KMOD_ALT)) return;
        ev.kind = InputEvent::Text;
        ev.text = e.text.text;
        break;
    case SDL_WINDOWEVENT: {
        auto it = windows_.find(e.window.windowID);
        SdlWindow* window = it == windows_.end() ? nullptr : it->second;
        form = window ? &window->Form() : nullptr;
        // Minimise and restore follow the window as it is now: events
        // queued before a later change are stale.
        const Uint32 flags = window ? SDL_GetWindowFlags(window->Handle()) : 0;
        const bool gone = flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN);
        switch (e.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED: ev.kind = InputEvent::Activated; break;
        case SDL_WINDOWEVENT_FOCUS_LOST: ev.kind = InputEvent::Deactivated; break;
        case SDL_WINDOWEVENT_CLOSE: ev.kind = InputEvent::CloseRequest; break;
        case SDL_WINDOWEVENT_EXPOSED: ev.kind = InputEvent::Exposed; break;
        case SDL_WINDOWEVENT_LEAVE: ev.kind = InputEvent::MouseLeaveWindow; break;
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_HIDDEN:
            if (!gone) return;
            ev.kind = InputEvent::Minimized;
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SHOWN:
            if (gone) return;
            ev.kind = InputEvent::Restored;
            break;
        case SDL_WINDOWEVENT_MOVED:
        case SDL_WINDOWEVENT_SIZE_CHANGED: {
            TRect bounds;
            if (!window || !window->TakeBoundsFromSystem(bounds)) return;
            ev.kind = InputEvent::BoundsChanged;
            ev.screen_pos = {bounds.Left, bounds.Top};
            ev.width = bounds.Width();
            ev.height = bounds.Height();
            if (form) form->HandleInput(ev);
            return;
        }
        default: return;
        }
        break;
    }
    case SDL_QUIT:
        // The system asks the program to end (a signal, the session
        // closing): close the open dialog and the main window as their
        // close buttons would, so their close handlers still run.
        if (TForm* modal = Screen().ModalForm()) modal->Close();
        if (TForm* main = Screen().MainForm())
            main->Close();
        else
            App().Terminate();
        return;
    default: return;
    }
    if (form) form->HandleInput(ev);
}

bool SdlBackend::Poll()
{
    bool any = false;
    SDL_Event e;
    // Only what is queued now: handlers may run nested loops.
    for (int budget = 256; budget > 0 && SDL_PollEvent(&e); --budget) {
        any = true;
        Dispatch(e);
    }
    return any;
}

// Other threads never call SDL to wake the loop: SDL's own wake-up sends an
// X event to a window of its choosing, which the UI thread may be
// destroying at that moment (a BadWindow error ends the program). They
// write to an eventfd; the loop sleeps on it and on the display's
// connection together, so an idle window wakes only for its timers.
namespace {
// Without a display connection to wait on, the flag is looked at this often.
constexpr int64_t kWakeSliceMs = 5;
// What SDL reads besides the display (the input method's bus) is read at
// least this often.
constexpr int64_t kQuietSliceMs = 250;
}  // namespace

int SdlBackend::DisplayFd() const
{
    return windows_.empty() ? -1 : DisplayConnectionFd(windows_.begin()->second->Handle());
}

void SdlBackend::Wait(int64_t deadline_us)
{
    const int display_fd = wake_fd_ >= 0 ? DisplayFd() : -1;
    for (;;) {
        if (woken_.exchange(false)) return;
        int64_t slice_ms = display_fd >= 0 ? kQuietSliceMs : kWakeSliceMs;
        if (deadline_us >= 0) {
            int64_t left = deadline_us - App().Clock().NowUs();
            if (left <= 0) return;
            slice_ms = std::min(slice_ms, (left + 999) / 1000);
        }
        if (display_fd < 0) {
            if (SDL_WaitEventTimeout(nullptr, static_cast<int>(slice_ms))) return;
            continue;
        }
        // What the display sent is read first: Xlib keeps no event behind
        // while the loop sleeps on the connection.
        SDL_PumpEvents();
        if (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) return;
        pollfd fds[2] = {{display_fd, POLLIN, 0}, {wake_fd_, POLLIN, 0}};
        const int ready = poll(fds, 2, static_cast<int>(slice_ms));
        if (fds[1].revents & POLLIN) {
            uint64_t count = 0;
            if (read(wake_fd_, &count, sizeof count) < 0) count = 0;
        }
        if (ready > 0) return;
    }
}

void SdlBackend::Wake()
{
    woken_.store(true);
    if (wake_fd_ >= 0) {
        const uint64_t one = 1;
        if (write(wake_fd_, &one, sizeof one) < 0) return;  // full: a wake is pending anyway
    }
}

void UseSdlBackend() { InstallBackend(std::make_unique<SdlBackend>()); }

}  // namespace ui
