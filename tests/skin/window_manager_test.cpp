// A skinned form on a desktop with a window manager (openbox on a virtual
// display): minimised by its title bar and restored from outside it shows
// its picture again; sized from outside it keeps its limits and paints at
// the size it takes. What is checked is what the screen shows.
#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/core/application.h"
#include "platform/ui/form.h"
#include "platform/ui/sdl_backend.h"
#include "platform/ui/sdl_window_manager.h"
#include "skin/kiv_form.h"
#include "skin/kiv_title_bar.h"
#include "tests/skin/x11_desktop.h"

namespace {

class WindowManager : public ::testing::Test {
protected:
    void SetUp() override
    {
        app_.App().SetClock(nullptr);  // the real clock: the loop waits in SDL
        // One SDL back end for the whole run: SDL's video started twice in
        // one process now and then finds no display.
        static const bool installed = [] {
            ui::UseSdlBackend();
            return true;
        }();
        (void)installed;
        sdl_ = static_cast<ui::SdlBackend*>(&ui::CurrentBackend());
        App().SetEventSource(sdl_->EventSource());
        ASSERT_TRUE(desktop_.Open());
        // The manager is started beside the test: wait until it runs.
        SDL_Window* probe = SDL_CreateWindow("probe", 0, 0, 8, 8, SDL_WINDOW_HIDDEN);
        ASSERT_NE(probe, nullptr);
        const bool runs = app_.App().PumpUntil([&] { return ui::WindowManagerRuns(probe); }, 10000);
        SDL_DestroyWindow(probe);
        ASSERT_TRUE(runs) << "no window manager on the display";
        // The manager names itself before it is done starting: a window shown
        // then can stay unmapped, and SDL waits for its map without a limit.
        Settle(1000);

        host_ = CreateForm<TForm>();
        host_->SetBorderStyle(bsSizeable);
        host_->SetBounds(100, 80, 400, 300);
        host_->SetCaption("Velmora 窗口");
        panel_ = new TkivForm(host_);
        panel_->SetName("kivForm1");
        host_->Constraints().SetMinWidth(320);
        host_->Constraints().SetMinHeight(200);
        host_->Constraints().SetMaxWidth(640);
        host_->Constraints().SetMaxHeight(480);
        host_->Show();
        Settle();
    }
    void TearDown() override { delete host_; }

    // Lets the window manager and the loop finish what they were doing.
    void Settle(int ms = 400)
    {
        app_.App().PumpUntil([] { return false; }, ms);
    }

    SDL_Window* Window() const { return SDL_GetWindowFromID(sdl_->WindowId(*host_)); }

    // The share of the form's pixels (inside its shape) that the screen
    // shows as the form draws them.
    double ShownOnScreen()
    {
        const TBitmap picture = host_->RenderWindow();
        const TRect b = host_->BoundsRect();
        const std::vector<std::uint32_t> screen = desktop_.Grab(b.Left, b.Top, b.Width(), b.Height());
        if (screen.empty()) return 0;
        int same = 0, all = 0;
        const auto& shape = host_->WindowRegion();
        for (int y = 0; y < b.Height(); y += 3)
            for (int x = 0; x < b.Width(); x += 3) {
                if (shape && !shape->Contains(x, y)) continue;
                ++all;
                const std::uint32_t p = screen[static_cast<size_t>(y) * b.Width() + x];
                same += gfx::RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF) ==
                        gfx::ColorRGB(picture.Pixel(x, y));
            }
        return all ? static_cast<double>(same) / all : 0;
    }
    bool ShowsTheForm()
    {
        return app_.App().PumpUntil([&] { return ShownOnScreen() > 0.98; }, 5000);
    }

    void PushMouse(Uint32 type, TPoint at)
    {
        SDL_Event e{};
        e.type = type;
        if (type == SDL_MOUSEMOTION) {
            e.motion.windowID = sdl_->WindowId(*host_);
            e.motion.x = at.X;
            e.motion.y = at.Y;
        } else {
            e.button.windowID = sdl_->WindowId(*host_);
            e.button.button = SDL_BUTTON_LEFT;
            e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
            e.button.clicks = 1;
            e.button.x = at.X;
            e.button.y = at.Y;
        }
        SDL_PushEvent(&e);
    }

    core::TestApplication app_;
    ui::SdlBackend* sdl_ = nullptr;
    x11test::Desktop desktop_;
    TForm* host_ = nullptr;
    TkivForm* panel_ = nullptr;
};

TEST_F(WindowManager, MinimisedByTheTitleBarAndActivatedFromOutsideTheFormShowsAgain)
{
    ASSERT_TRUE(ShowsTheForm());
    TkivTitleBar* bar = panel_->TitleBar();
    int min = -1;
    for (int i = 0; i < bar->Buttons().Count(); ++i)
        if (bar->Buttons().Items(i)->ButtonType() == kivMin) min = i;
    ASSERT_GE(min, 0);
    const TRect r = bar->ButtonRect(min);
    const TPoint at = bar->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}) -
                      TPoint{host_->Left(), host_->Top()};
    PushMouse(SDL_MOUSEMOTION, at);
    PushMouse(SDL_MOUSEBUTTONDOWN, at);
    PushMouse(SDL_MOUSEBUTTONUP, at);
    EXPECT_TRUE(app_.App().PumpUntil([&] { return !desktop_.Viewable(Window()); }, 5000));
    EXPECT_EQ(host_->WindowState(), wsMinimized);

    desktop_.Activate(Window());
    EXPECT_TRUE(app_.App().PumpUntil(
        [&] { return desktop_.Viewable(Window()) && host_->WindowState() == wsNormal; }, 5000));
    EXPECT_TRUE(ShowsTheForm());
}

TEST_F(WindowManager, SizedFromOutsideTheFormKeepsItsLimitsAndPaintsAtItsSize)
{
    ASSERT_TRUE(ShowsTheForm());
    // The manager is told the limits, not the size of the moment.
    const x11test::Desktop::Hints hints = desktop_.SizeHints(Window());
    EXPECT_TRUE(hints.has_min);
    EXPECT_TRUE(hints.has_max);
    EXPECT_EQ(hints.min_width, 320);
    EXPECT_EQ(hints.min_height, 200);
    EXPECT_EQ(hints.max_width, 640);
    EXPECT_EQ(hints.max_height, 480);

    const struct {
        int width, height, expectedWidth, expectedHeight;
    } cases[] = {{500, 360, 500, 360}, {900, 700, 640, 480}, {100, 100, 320, 200}};
    for (const auto& c : cases) {
        // What xdotool windowsize does.
        desktop_.Resize(Window(), c.width, c.height);
        EXPECT_TRUE(app_.App().PumpUntil(
            [&] { return host_->Width() == c.expectedWidth && host_->Height() == c.expectedHeight; }, 5000))
            << c.width << " x " << c.height << ": " << host_->Width() << " x " << host_->Height();
        Settle();
        int width = 0, height = 0;
        ASSERT_TRUE(desktop_.Size(Window(), width, height));
        EXPECT_EQ(width, c.expectedWidth);
        EXPECT_EQ(height, c.expectedHeight);
        EXPECT_TRUE(ShowsTheForm()) << c.width << " x " << c.height;
    }

    // A move from outside reaches the form.
    desktop_.Move(Window(), 150, 120);
    EXPECT_TRUE(app_.App().PumpUntil([&] { return host_->Left() == 150 && host_->Top() == 120; }, 5000))
        << host_->Left() << ", " << host_->Top();
    EXPECT_TRUE(ShowsTheForm());
}

}  // namespace
