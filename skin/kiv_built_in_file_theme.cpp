#include "skin/kiv_built_in_file_theme.h"

#include <utility>

#include "platform/core/files.h"

TkivBuiltInFileTheme::TkivBuiltInFileTheme(TComponent* AOwner) : TkivFileTheme(AOwner) {}

void TkivBuiltInFileTheme::SetSkinData(std::vector<unsigned char> data)
{
    skin_data_ = std::move(data);
    if (!skin_data_.empty()) LoadFromMemory(skin_data_);
}

void TkivBuiltInFileTheme::SetThemeFile(const std::string& path)
{
    source_file_ = path;
    TkivFileTheme::SetThemeFile(path);
}

std::vector<unsigned char> TkivBuiltInFileTheme::SkinDataToStore() const
{
    if (source_file_.empty()) return skin_data_;
    const auto bytes = core::ReadFileBytes(source_file_);
    if (!bytes) return skin_data_;
    return {bytes->begin(), bytes->end()};
}

void TkivBuiltInFileTheme::Reload()
{
    if (!skin_data_.empty())
        LoadFromMemory(skin_data_);
    else
        TkivFileTheme::Reload();
}
