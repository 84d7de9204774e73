#pragma once
// The least and greatest size a form may take. A limit of 0 is no limit.
// The form keeps to them on every resize: its own border drag, code
// (SetBounds, SetWidth), and the window system, which is told them.
#include <algorithm>
#include <functional>

class TSizeConstraints {
public:
    int MinWidth() const { return min_width_; }
    void SetMinWidth(int v) { Set(min_width_, v); }
    int MinHeight() const { return min_height_; }
    void SetMinHeight(int v) { Set(min_height_, v); }
    int MaxWidth() const { return max_width_; }
    void SetMaxWidth(int v) { Set(max_width_, v); }
    int MaxHeight() const { return max_height_; }
    void SetMaxHeight(int v) { Set(max_height_, v); }

    // The width (height) these limits allow for a wanted one; a minimum
    // above the maximum wins.
    int ClampWidth(int w) const { return Clamp(w, min_width_, max_width_); }
    int ClampHeight(int h) const { return Clamp(h, min_height_, max_height_); }

    // After a limit changed (the form applies them).
    std::function<void()> OnChange;

private:
    void Set(int& field, int v)
    {
        v = std::max(0, v);
        if (field == v) return;
        field = v;
        if (OnChange) OnChange();
    }
    static int Clamp(int v, int min, int max)
    {
        if (max > 0) v = std::min(v, max);
        return std::max(v, min);
    }

    int min_width_ = 0, min_height_ = 0, max_width_ = 0, max_height_ = 0;
};
