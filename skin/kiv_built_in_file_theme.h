#pragma once
// TkivBuiltInFileTheme: the one skin that a program stores in its main
// window; every other form of the program refers to it. The skin archive
// is kept in the component ("SkinData") and read from memory.
#include <cstdint>
#include <string>
#include <vector>

#include "skin/kiv_file_theme.h"

class TkivBuiltInFileTheme : public TkivFileTheme {
public:
    explicit TkivBuiltInFileTheme(TComponent* AOwner = nullptr);

    // The stored skin archive (empty: none). Setting it loads it, and the
    // owner form's components that use this theme re-read their values.
    const std::vector<unsigned char>& SkinData() const { return skin_data_; }
    void SetSkinData(std::vector<unsigned char> data);
    // True once a readable skin is loaded.
    bool ThemeReady() const { return Ready(); }

    // The file the skin is taken from when the form is authored, kept
    // apart from the path the inherited ThemeFile says was loaded; setting
    // it loads that file when it exists.
    const std::string& ThemeFile() const { return source_file_; }
    void SetThemeFile(const std::string& path);
    // The path of the skin file loaded last (empty for a stored skin).
    const std::string& LoadedThemeFile() const { return TkivFileTheme::ThemeFile(); }
    // What the form stores as "SkinData": the source file's bytes when it
    // exists, else nothing (and the stored data stays as it is).
    std::vector<unsigned char> SkinDataToStore() const;

protected:
    void Reload() override;

private:
    std::vector<unsigned char> skin_data_;
    std::string source_file_;
};
