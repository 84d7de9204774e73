#pragma once
// TkivThemeManager: restyles a list of components of its form at once.
// Each listed component gets the manager's UIStyle, then its FileTheme.
#include <string>
#include <vector>

#include "platform/core/component.h"
#include "skin/kiv_themes.h"

using TkivThemeMgrCompList = std::vector<std::string>;

class TkivThemeManager : public TComponent, public IkivStyled {
public:
    explicit TkivThemeManager(TComponent* AOwner = nullptr);

    TkivUIStyle UIStyle() const override { return ui_style_; }
    // Pushes the style to the listed components; OnUIStyleChanged when it
    // differs from the one before.
    void SetUIStyle(TkivUIStyle style) override;
    TkivFileTheme* FileTheme() const override { return file_theme_; }
    void SetFileTheme(TkivFileTheme* theme) override;
    // Names of components of the owner form; names not found are skipped.
    // A listed component that publishes no UIStyle and FileTheme is an
    // error of the form's author (std::invalid_argument).
    const TkivThemeMgrCompList& CompList() const { return comp_list_; }
    void SetCompList(const TkivThemeMgrCompList& list) { comp_list_ = list; }

    TNotifyEvent OnUIStyleChanged;

    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void Push();

    TkivUIStyle ui_style_ = TkivUIStyle::DeepBlue;
    TkivFileTheme* file_theme_ = nullptr;
    TkivThemeMgrCompList comp_list_;
};
