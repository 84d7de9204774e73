#include "skin/kiv_main_menu.h"

#include "platform/ui/image_list.h"
#include "skin/kiv_themes.h"

TkivMainMenu::TkivMainMenu(TComponent* AOwner) : TkivMenuBase<TMainMenu>(AOwner)
{
    check_images_ = std::make_unique<TCustomImageList>(nullptr, 16, 16);
    TBitmap glyph;
    skin::LoadBitmapResource("MENU_CHECKED", glyph);
    check_images_->AddMasked(glyph, clWhite);
    TkivMenuBase<TMainMenu>::SetImages(check_images_.get());
}

TkivMainMenu::~TkivMainMenu() { TkivMenuBase<TMainMenu>::SetImages(nullptr); }

TCustomImageList* TkivMainMenu::Images() const
{
    TCustomImageList* images = TkivMenuBase<TMainMenu>::Images();
    return images == check_images_.get() ? nullptr : images;
}

void TkivMainMenu::SetImages(TCustomImageList* images)
{
    TkivMenuBase<TMainMenu>::SetImages(images ? images : check_images_.get());
}

void TkivMainMenu::SetUseSystemFont(bool on)
{
    TkivMenuBase<TMainMenu>::SetUseSystemFont(on);
    if (menu_form_) menu_form_->UpdateMenuBarFont();
}

void TkivMainMenu::HookItems()
{
    TkivMenuBase<TMainMenu>::HookItems();
    if (menu_form_) menu_form_->RebuildMenuBar();
}

void TkivMainMenu::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild)
{
    TkivMenuBase<TMainMenu>::MenuChanged(Sender, Source, Rebuild);
    if (!menu_form_) return;
    if (Rebuild)
        menu_form_->RebuildMenuBar();
    else
        menu_form_->RefreshMenuBar();
}

void TkivMainMenu::MenuFontChanged()
{
    if (menu_form_) menu_form_->UpdateMenuBarFont();
}
