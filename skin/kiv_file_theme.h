#pragma once
// File themes: TkivFileThemeMgr turns the controls' getter indexes into the
// skin's record names; TkivFileTheme is the component that the controls'
// FileTheme points at, loading a skin file by name and re-attaching the
// form's components when it is ready.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

#include "platform/core/component.h"
#include "platform/gfx/bitmap.h"
#include "skin/kiv_themes.h"

class Tsk2SkinFileReader;

class TkivFileThemeMgr {
public:
    TkivFileThemeMgr();
    ~TkivFileThemeMgr();
    TkivFileThemeMgr(const TkivFileThemeMgr&) = delete;
    TkivFileThemeMgr& operator=(const TkivFileThemeMgr&) = delete;

    // A missing file gives false and keeps the skin loaded before; a file
    // that cannot be read gives false and leaves no skin loaded.
    bool LoadFromFile(const std::filesystem::path& file, const std::string& password);
    // The same for a skin archive in memory.
    bool LoadFromMemory(std::span<const std::uint8_t> archive, const std::string& password);
    bool Loaded() const { return reader_ != nullptr; }

    // By getter index (low 7 bits): colours 0..31, integers 0..8, bitmaps
    // 0..33, booleans 0..8. Without a skin 0, 0, nullptr, false; with one,
    // a value it lacks gives -1, -1, nullptr, false.
    std::int32_t GetColor(std::uint8_t index) const;
    std::int32_t GetInt(std::uint8_t index) const;
    const TBitmap* GetBitmap(std::uint8_t index) const;
    bool GetBool(std::uint8_t index) const;

private:
    bool Adopt(std::unique_ptr<Tsk2SkinFileReader> reader);
    std::unique_ptr<Tsk2SkinFileReader> reader_;
};

class TkivFileTheme : public TComponent {
public:
    explicit TkivFileTheme(TComponent* AOwner = nullptr);
    ~TkivFileTheme() override;

    // Loads the skin: `value` itself, else the file of that name in the
    // program's folder, else in the system folder; ThemeFile becomes the
    // full path of the file found. Found nowhere: nothing changes. Once ready, every Tkiv component of the owner form that uses
    // this theme re-reads its values.
    const std::string& ThemeFile() const { return theme_file_; }
    void SetThemeFile(const std::string& value);
    const std::string& Password() const { return password_; }
    // A non-empty password reloads the current skin.
    void SetPassword(const std::string& value);
    bool Ready() const { return ready_; }

    // Whether a control uses the skin: sets `effective` to `style` and is
    // true only for FromThemeFile with a present and ready theme; a
    // FromThemeFile that cannot be served falls back to DeepBlue.
    static bool UsingFileTheme(const TkivFileTheme* theme, TkivUIStyle style, TkivUIStyle& effective);

    // The skin's values by getter index (see TkivFileThemeMgr).
    std::int32_t GetColor(std::uint8_t index) const { return mgr_->GetColor(index); }
    std::int32_t GetInt(std::uint8_t index) const { return mgr_->GetInt(index); }
    bool GetBool(std::uint8_t index) const { return mgr_->GetBool(index); }
    // Owned by the theme; nullptr when the skin lacks it.
    const TBitmap* GetBitmap(std::uint8_t index) const { return mgr_->GetBitmap(index); }
    // With both cell arguments non-zero, that cell of the skin bitmap;
    // otherwise the whole bitmap. A missing bitmap leaves destination empty.
    void GetBitmapCell(std::uint8_t index, TBitmap& destination, int cellIndex, int cellCount) const;

protected:
    // Loads a skin held in memory, as SetThemeFile does a file.
    void LoadFromMemory(std::span<const std::uint8_t> archive);
    // Reads the current skin again (after a password change).
    virtual void Reload() { TkivFileTheme::SetThemeFile(theme_file_); }

private:
    void AfterLoad(bool firstLoad);

    std::string theme_file_;
    std::string password_;
    bool ready_ = false;
    bool loaded_before_ = false;
    std::unique_ptr<TkivFileThemeMgr> mgr_;
};
