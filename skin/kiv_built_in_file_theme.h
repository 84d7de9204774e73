#pragma once
// TkivBuiltInFileTheme: the one skin that a program stores in its main
// window; every other form of the program refers to it. It holds no skin
// data yet: the controls show their plain look.
#include <utility>
#include <vector>

#include "platform/core/component.h"

class TkivBuiltInFileTheme : public TComponent {
public:
    explicit TkivBuiltInFileTheme(TComponent* AOwner = nullptr);

    // The stored skin archive (empty: none).
    const std::vector<unsigned char>& SkinData() const { return skin_data_; }
    void SetSkinData(std::vector<unsigned char> data) { skin_data_ = std::move(data); }
    // True once a readable skin is loaded.
    bool ThemeReady() const { return false; }

private:
    std::vector<unsigned char> skin_data_;
};
