// The SDL2 back end on a real (virtual-framebuffer) display: a window
// opens with the form's title and least size, shows the form's picture,
// takes a click and closes.
#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/core/application.h"
#include "platform/ui/button.h"
#include "platform/ui/form.h"
#include "platform/ui/headless.h"
#include "platform/ui/sdl_backend.h"

namespace {

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
    ui::UseSdlBackend();
    auto& sdl = static_cast<ui::SdlBackend&>(ui::CurrentBackend());

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
    ui::InstallBackend(std::make_unique<ui::HeadlessBackend>());
}

}  // namespace
