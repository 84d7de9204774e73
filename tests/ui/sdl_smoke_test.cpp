// The SDL2 back end on a real (virtual-framebuffer) display: a window
// opens with the form's title and least size, shows the form's picture,
// takes a click and closes; the keyboard follows the active form; other
// threads wake its loop while windows come and go.
#include <SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/core/application.h"
#include "platform/ui/button.h"
#include "platform/ui/form.h"
#include "platform/ui/sdl_backend.h"

namespace {

// One SDL back end for every test here, on each test's application: SDL's
// video started a second time in one process now and then finds no display.
ui::SdlBackend& Sdl()
{
    static const bool installed = [] {
        ui::UseSdlBackend();
        return true;
    }();
    (void)installed;
    auto& sdl = static_cast<ui::SdlBackend&>(ui::CurrentBackend());
    App().SetEventSource(sdl.EventSource());
    return sdl;
}

void PushButton(uint32_t window, Uint32 type, int x, int y)
{
    SDL_Event e{};
    e.type = type;
    e.button.windowID = window;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
}

TEST(SdlBackend, OpensDrawsTakesAClickAndCloses)
{
    core::TestApplication app;
    app.App().SetClock(nullptr);  // the real clock: the loop waits in SDL
    auto& sdl = Sdl();

    auto* form = new TForm(&App());
    form->SetBorderStyle(bsNone);
    form->SetBounds(40, 40, 200, 120);
    form->SetColor(clRed);
    form->SetCaption("Velmora smoke test");
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 80, 30);
    button->SetCaption("OK");
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };

    form->Show();
    uint32_t id = sdl.WindowId(*form);
    ASSERT_NE(id, 0u);
    app.App().PumpUntil([] { return false; }, 200);

    // The window's title and least size are the form's.
    SDL_Window* window = SDL_GetWindowFromID(id);
    ASSERT_NE(window, nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(window), "Velmora smoke test");
    form->SetCaption("Velmora 烟雾测试");
    EXPECT_STREQ(SDL_GetWindowTitle(window), "Velmora 烟雾测试");
    form->Constraints().SetMinWidth(150);
    form->Constraints().SetMinHeight(100);
    int minWidth = 0, minHeight = 0;
    SDL_GetWindowMinimumSize(window, &minWidth, &minHeight);
    EXPECT_EQ(minWidth, 150);
    EXPECT_EQ(minHeight, 100);

    TBitmap shown = sdl.ReadBack(*form);
    ASSERT_EQ(shown.Width(), 200);
    EXPECT_EQ(shown.Pixel(150, 100), clRed);
    EXPECT_NE(shown.Pixel(50, 25), clRed);  // the button

    PushButton(id, SDL_MOUSEBUTTONDOWN, 50, 25);
    PushButton(id, SDL_MOUSEBUTTONUP, 50, 25);
    EXPECT_TRUE(app.App().PumpUntil([&] { return clicks == 1; }, 3000));

    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.windowID = id;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_PushEvent(&close);
    EXPECT_TRUE(app.App().PumpUntil([&] { return !form->Visible(); }, 3000));

    delete form;
}

// A form that becomes active again (the box above it has closed) takes the
// keyboard back; with no window manager X would leave it with no window.
TEST(SdlBackend, TheFormBelowTakesTheKeyboardBackWhenTheOneAboveCloses)
{
    core::TestApplication app;
    app.App().SetClock(nullptr);
    auto& sdl = Sdl();
    auto make = [](int x) {
        auto* f = new TForm(&App());
        f->SetBorderStyle(bsNone);
        f->SetBounds(x, 40, 160, 100);
        return f;
    };
    TForm* below = make(40);
    below->Show();
    const uint32_t below_id = sdl.WindowId(*below);
    auto keyboard_on = [&](uint32_t id) {
        return [id] { return SDL_GetKeyboardFocus() && SDL_GetWindowID(SDL_GetKeyboardFocus()) == id; };
    };
    EXPECT_TRUE(app.App().PumpUntil(keyboard_on(below_id), 3000));
    TForm* above = make(260);
    above->Show();
    EXPECT_TRUE(app.App().PumpUntil(keyboard_on(sdl.WindowId(*above)), 3000));
    above->Hide();
    delete above;
    EXPECT_TRUE(app.App().PumpUntil(keyboard_on(below_id), 3000));
    EXPECT_EQ(Screen().ActiveForm(), below);
    delete below;
}

// Wakes from another thread while windows open and close (SDL's own wake-up
// could aim at a window being destroyed) keep the program alive, and a wake
// ends the loop's sleep soon.
TEST(SdlBackend, WakesFromAnotherThreadWhileWindowsComeAndGo)
{
    core::TestApplication app;
    app.App().SetClock(nullptr);
    Sdl();
    std::atomic<bool> stop{false};
    std::atomic<int> delivered{0};
    std::thread waker([&] {
        while (!stop.load()) {
            App().PostMessageFromThread([&] { ++delivered; });
            std::this_thread::yield();
        }
    });
    for (int i = 0; i < 60; ++i) {
        auto* form = new TForm(&App());
        form->SetBorderStyle(bsNone);
        form->SetBounds(40 + i % 50, 40, 120, 80);
        form->Show();
        app.App().PumpUntil([] { return false; }, 3);
        delete form;
        app.App().PumpUntil([] { return false; }, 1);
    }
    stop = true;
    waker.join();
    // A wake while the loop sleeps ends the sleep: the message runs soon.
    int before = delivered.load();
    std::thread once([&] { App().PostMessageFromThread([&] { ++delivered; }); });
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(app.App().PumpUntil([&] { return delivered.load() > before; }, 5000));
    once.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

}  // namespace

namespace {

// Without a window manager nothing could give a minimised window back: a
// minimise leaves the window as it is, and it keeps showing what changes.
TEST(SdlBackend, MinimiseWithoutAWindowManagerKeepsTheWindowPainting)
{
    core::TestApplication app;
    app.App().SetClock(nullptr);
    auto& sdl = Sdl();
    auto* form = new TForm(&App());
    form->SetBorderStyle(bsNone);
    form->SetBounds(40, 40, 160, 100);
    form->SetColor(clRed);
    form->Show();
    app.App().PumpUntil([] { return false; }, 200);
    form->SetWindowState(wsMinimized);
    EXPECT_EQ(form->WindowState(), wsNormal);
    form->SetColor(clLime);
    EXPECT_TRUE(app.App().PumpUntil([&] { return sdl.ReadBack(*form).Pixel(80, 50) == clLime; }, 3000));
    SDL_Window* window = SDL_GetWindowFromID(sdl.WindowId(*form));
    EXPECT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED);
    delete form;
}

}  // namespace
