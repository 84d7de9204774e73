#include "platform/ui/headless.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/gfx/image_io.h"

namespace ui {

class HeadlessWindow final : public NativeWindow {
public:
    HeadlessWindow(HeadlessBackend& backend, TForm& form) : backend_(backend)
    {
        state_.form = &form;
        backend_.windows_.push_back(&state_);
    }
    ~HeadlessWindow() override
    {
        auto& list = backend_.windows_;
        list.erase(std::remove(list.begin(), list.end(), &state_), list.end());
        auto& queue = backend_.queue_;
        queue.erase(
            std::remove_if(queue.begin(), queue.end(),
                           [this](const HeadlessBackend::Queued& q) { return q.form == state_.form; }),
            queue.end());
    }
    void SetBounds(const TRect& bounds) override { state_.bounds = bounds; }
    void SetTitle(const std::string& title) override { state_.title = title; }
    void SetVisible(bool visible) override { state_.visible = visible; }
    void Present(const TBitmap& picture, const std::vector<TRect>& changed) override
    {
        state_.picture = picture;
        state_.changed = changed;
        ++state_.presents;
    }
    void SetShape(const std::optional<gfx::Region>& region) override { state_.shape = region; }
    void Raise() override {}
    void SetModalFor(NativeWindow* owner) override { state_.modal_for = owner; }
    void SetMinimized(bool minimized) override { state_.minimized = minimized; }
    bool CanMinimize() const override { return backend_.can_minimize_; }
    void SetResizable(bool resizable) override { state_.resizable = resizable; }
    void SetSizeLimits(int minWidth, int minHeight, int maxWidth, int maxHeight) override
    {
        state_.min_width = minWidth;
        state_.min_height = minHeight;
        state_.max_width = maxWidth;
        state_.max_height = maxHeight;
    }

private:
    HeadlessBackend& backend_;
    HeadlessBackend::WindowState state_;
};

HeadlessBackend::HeadlessBackend() = default;
HeadlessBackend::~HeadlessBackend() = default;

std::unique_ptr<NativeWindow> HeadlessBackend::CreateWindow(TForm& form)
{
    return std::make_unique<HeadlessWindow>(*this, form);
}

const HeadlessBackend::WindowState* HeadlessBackend::StateOf(const TForm& form) const
{
    for (const WindowState* w : windows_)
        if (w->form == &form) return w;
    return nullptr;
}

void HeadlessBackend::Post(TForm& form, const InputEvent& event)
{
    if (App().EventSource() != this) App().SetEventSource(this);
    InputEvent e = event;
    if (e.screen_pos == TPoint{}) e.screen_pos = e.pos + TPoint{form.Left(), form.Top()};
    if (e.kind == InputEvent::MouseMove || e.kind == InputEvent::MouseDown || e.kind == InputEvent::MouseUp ||
        e.kind == InputEvent::MouseWheel)
        cursor_pos_ = e.screen_pos;
    queue_.push_back({&form, e});
}

bool HeadlessBackend::Poll()
{
    size_t count = queue_.size();
    bool any = false;
    for (size_t i = 0; i < count && !queue_.empty(); ++i) {
        Queued q = queue_.front();
        queue_.pop_front();
        // Only forms that still exist receive input.
        bool alive = false;
        for (int k = 0; k < Screen().FormCount(); ++k)
            if (Screen().Forms(k) == q.form) alive = true;
        if (!alive) continue;
        any = true;
        q.form->HandleInput(q.event);
    }
    return any;
}

void HeadlessBackend::Wait(int64_t deadline_us)
{
    int64_t now = App().Clock().NowUs();
    int64_t wait = deadline_us < 0 ? 10000 : std::clamp<int64_t>(deadline_us - now, 0, 10000);
    std::this_thread::sleep_for(std::chrono::microseconds(wait));
}

HeadlessBackend& Headless()
{
    if (HasBackend()) {
        if (auto* h = dynamic_cast<HeadlessBackend*>(&CurrentBackend())) {
            if (App().EventSource() != h) App().SetEventSource(h);
            return *h;
        }
    }
    InstallBackend(std::make_unique<HeadlessBackend>());
    return static_cast<HeadlessBackend&>(CurrentBackend());
}

namespace headless {

namespace {
TPoint ToWindow(TForm& form, int x, int y)
{
    TRect ins = form.NonClientInsets();
    return {x + ins.Left, y + ins.Top};
}

InputEvent Mouse(InputEvent::Kind kind, TForm& form, int x, int y, TMouseButton button, int clicks,
                 TShiftState shift)
{
    InputEvent e;
    e.kind = kind;
    e.pos = ToWindow(form, x, y);
    e.button = button;
    e.clicks = clicks;
    e.shift = shift;
    return e;
}

void Run() { App().ProcessMessages(); }
}  // namespace

void PostMouseMove(TForm& form, int x, int y, TShiftState shift)
{
    Headless().Post(form, Mouse(InputEvent::MouseMove, form, x, y, mbLeft, 0, shift));
}
void PostMouseDown(TForm& form, int x, int y, TMouseButton button, int clicks, TShiftState shift)
{
    Headless().Post(form, Mouse(InputEvent::MouseDown, form, x, y, button, clicks, shift));
}
void PostMouseUp(TForm& form, int x, int y, TMouseButton button, TShiftState shift)
{
    Headless().Post(form, Mouse(InputEvent::MouseUp, form, x, y, button, 1, shift));
}
void PostClick(TForm& form, int x, int y)
{
    PostMouseMove(form, x, y);
    PostMouseDown(form, x, y);
    PostMouseUp(form, x, y);
}
void PostKey(TForm& form, uint16_t key, TShiftState shift)
{
    InputEvent e;
    e.kind = InputEvent::KeyDown;
    e.key = key;
    e.shift = shift;
    Headless().Post(form, e);
    e.kind = InputEvent::KeyUp;
    Headless().Post(form, e);
}
void PostText(TForm& form, const std::string& utf8)
{
    InputEvent e;
    e.kind = InputEvent::Text;
    e.text = utf8;
    Headless().Post(form, e);
}

void MouseMove(TForm& form, int x, int y, TShiftState shift)
{
    PostMouseMove(form, x, y, shift);
    Run();
}
void MouseDown(TForm& form, int x, int y, TMouseButton button, int clicks, TShiftState shift)
{
    PostMouseDown(form, x, y, button, clicks, shift);
    Run();
}
void MouseUp(TForm& form, int x, int y, TMouseButton button, TShiftState shift)
{
    PostMouseUp(form, x, y, button, shift);
    Run();
}
void Click(TForm& form, int x, int y)
{
    PostClick(form, x, y);
    Run();
}
void DoubleClick(TForm& form, int x, int y)
{
    PostMouseMove(form, x, y);
    PostMouseDown(form, x, y);
    PostMouseUp(form, x, y);
    PostMouseDown(form, x, y, mbLeft, 2);
    PostMouseUp(form, x, y);
    Run();
}
void Wheel(TForm& form, int x, int y, int delta, TShiftState shift)
{
    InputEvent e = Mouse(InputEvent::MouseWheel, form, x, y, mbLeft, 0, shift);
    e.wheel_delta = delta;
    Headless().Post(form, e);
    Run();
}
void KeyDown(TForm& form, uint16_t key, TShiftState shift)
{
    InputEvent e;
    e.kind = InputEvent::KeyDown;
    e.key = key;
    e.shift = shift;
    Headless().Post(form, e);
    Run();
}
void KeyUp(TForm& form, uint16_t key, TShiftState shift)
{
    InputEvent e;
    e.kind = InputEvent::KeyUp;
    e.key = key;
    e.shift = shift;
    Headless().Post(form, e);
    Run();
}
void Key(TForm& form, uint16_t key, TShiftState shift)
{
    PostKey(form, key, shift);
    Run();
}
void Text(TForm& form, const std::string& utf8)
{
    PostText(form, utf8);
    Run();
}

TPoint CenterOf(const TControl& control)
{
    TPoint window =
        control.ClientToAncestor({control.ClientWidth() / 2, control.ClientHeight() / 2}, nullptr);
    TForm* form = control.ParentForm();
    TRect ins = form ? form->NonClientInsets() : TRect{};
    return window - TPoint{ins.Left, ins.Top};
}

void ClickControl(TControl& control)
{
    TForm* form = control.ParentForm();
    if (!form) return;
    TPoint p = CenterOf(control);
    Click(*form, p.X, p.Y);
}

TBitmap Capture(TForm& form) { return form.RenderWindow(); }

void SavePng(TForm& form, const std::filesystem::path& path) { gfx::SavePng(form.RenderWindow(), path); }

}  // namespace headless
}  // namespace ui
