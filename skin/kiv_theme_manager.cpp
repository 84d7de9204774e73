#include "skin/kiv_theme_manager.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "platform/ui/form.h"
#include "skin/kiv_file_theme.h"

TkivThemeManager::TkivThemeManager(TComponent* AOwner) : TComponent(AOwner)
{
    SetUIStyle(TkivUIStyle::DeepBlue);
}

void TkivThemeManager::SetUIStyle(TkivUIStyle style)
{
    const TkivUIStyle before = ui_style_;
    ui_style_ = style;
    Push();
    if (style != before && OnUIStyleChanged) OnUIStyleChanged(this);
}

void TkivThemeManager::SetFileTheme(TkivFileTheme* theme)
{
    if (theme != file_theme_) {
        if (file_theme_) file_theme_->RemoveFreeNotification(this);
        file_theme_ = theme;
        if (file_theme_) file_theme_->FreeNotification(this);
    }
    SetUIStyle(ui_style_);
}

void TkivThemeManager::Push()
{
    auto* form = dynamic_cast<TForm*>(Owner());
    if (!form) return;
    // A restyled component may change the list: walk a copy.
    const TkivThemeMgrCompList names = comp_list_;
    for (const std::string& name : names) {
        TComponent* c = form->FindComponent(name);
        if (!c) continue;
        auto* styled = dynamic_cast<IkivStyled*>(c);
        if (!styled) throw std::invalid_argument("\"" + name + "\" has no UIStyle and FileTheme properties");
        styled->SetUIStyle(ui_style_);
        styled->SetFileTheme(file_theme_);
    }
}

void TkivThemeManager::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove || !AComponent) return;
    if (AComponent != this) {
        const std::string& gone = AComponent->Name();
        if (!gone.empty())
            std::erase_if(comp_list_, [&](const std::string& n) {
                return n.size() == gone.size() &&
                       std::equal(n.begin(), n.end(), gone.begin(), [](char a, char b) {
                           return std::tolower(static_cast<unsigned char>(a)) ==
                                  std::tolower(static_cast<unsigned char>(b));
                       });
            });
    }
    if (AComponent == file_theme_) {
        file_theme_ = nullptr;
        ui_style_ = TkivUIStyle::DeepBlue;
    }
}
