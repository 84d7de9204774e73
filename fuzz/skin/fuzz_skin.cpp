// Skin reader: any input is read as a skin archive (with and without a
// password), as a raw deflate stream and as a decoded payload; each either
// loads or is refused, never reading or writing outside its buffers, and
// within the decoding budget (run with -rss_limit_mb). The theme manager
// answers true or false and lets nothing else out. Every skin that loads is
// painted on a skinned form (title bar, menu bar and items, a button, scroll
// bars), so that no value a skin may hold breaks a control.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/core/application.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/form.h"
#include "platform/ui/headless.h"
#include "platform/ui/menus.h"
#include "skin/kiv_built_in_file_theme.h"
#include "skin/kiv_button.h"
#include "skin/kiv_file_theme.h"
#include "skin/kiv_form.h"
#include "skin/kiv_inflate.h"
#include "skin/kiv_main_menu.h"
#include "skin/kiv_scroll_bar.h"
#include "skin/kiv_skin_reader.h"
#include "tools/skin-pack/skin_pack.h"

namespace {

// One skinned form for the whole run; each skin is loaded into its theme.
class SkinnedForm {
public:
    SkinnedForm()
    {
        host_ = CreateForm<TForm>();
        host_->SetBounds(0, 0, 240, 160);
        panel_ = new TkivForm(host_);
        panel_->SetCaption("Album");
        theme_ = new TkivBuiltInFileTheme(host_);
        menu_ = new TkivMainMenu(host_);
        for (const char* caption : {"&File", "&Help"}) {
            auto* item = new TMenuItem(host_);
            item->SetCaption(caption);
            menu_->Items()->Add(item);
            auto* sub = new TMenuItem(host_);
            sub->SetCaption("-");
            item->Add(sub);
        }
        menu_->Loaded();
        panel_->SetMenu(menu_);
        button_ = new TkivButton(host_);
        button_->SetParent(host_);
        button_->SetBounds(8, 8, 60, 24);
        button_->SetCaption("OK");
        for (TkivProgressBarOrientation o : {kivHorizontal, kivVertical}) {
            auto* bar = new TkivScrollBar(host_);
            bar->SetParent(host_);
            bar->SetOrientation(o);
            bar->SetBounds(8, 40, o == kivHorizontal ? 120 : 17, o == kivHorizontal ? 17 : 80);
            bars_.push_back(bar);
        }
        host_->Show();
    }

    void Paint(std::span<const std::uint8_t> archive)
    {
        theme_->SetSkinData({archive.begin(), archive.end()});
        if (!theme_->ThemeReady()) return;
        panel_->SetFileTheme(theme_);
        panel_->SetUIStyle(TkivUIStyle::FromThemeFile);
        menu_->SetFileTheme(theme_);
        menu_->SetUIStyle(TkivUIStyle::FromThemeFile);
        button_->SetFileTheme(theme_);
        button_->SetUIStyle(TkivUIStyle::FromThemeFile);
        for (TkivScrollBar* bar : bars_) {
            bar->SetFileTheme(theme_);
            bar->SetUIStyle(TkivUIStyle::FromThemeFile);
            bar->SetPosition(50);
        }
        (void)host_->RenderWindow();
        TBitmap items(120, 60);
        for (int i = 0; i < menu_->Items()->Count(); ++i) {
            TMenuItem* item = menu_->Items()->Items(i);
            int w = 0, h = 0;
            menu_->MeasureItem(item, items.Canvas(), w, h);
            menu_->DrawItem(item, items.Canvas(), TRect(0, 0, 120, 20), i == 0);
            if (item->Count() > 0)
                menu_->DrawItem(item->Items(0), items.Canvas(), TRect(0, 20, 120, 32), false);
        }
    }

private:
    TForm* host_ = nullptr;
    TkivForm* panel_ = nullptr;
    TkivBuiltInFileTheme* theme_ = nullptr;
    TkivMainMenu* menu_ = nullptr;
    TkivButton* button_ = nullptr;
    std::vector<TkivScrollBar*> bars_;
};

SkinnedForm& Form()
{
    // The back end first, so that it outlives the application's forms.
    static const bool headless = (ui::Headless(), true);
    (void)headless;
    static core::TestApplication app;
    static SkinnedForm form;
    return form;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> input(data, size);
    for (const char* password : {"", "pw"}) {
        try {
            Tsk2SkinFileReader reader(input, password);
            if (reader.Ready()) {
                const TBitmap* b = reader.GetBitmap("SKIN2_BUTTON");
                if (b && b->Width() > 0 && b->Height() > 0 && b->Pixel(b->Width() - 1, b->Height() - 1) == 1)
                    return 0;
                (void)reader.GetInteger("SKIN2_FORMCOLOR");
            }
        } catch (const skin::SkinReadError&) {}
    }
    TkivFileThemeMgr mgr;
    if (mgr.LoadFromMemory(input, "")) {
        (void)mgr.GetBitmap(15);
        Form().Paint(input);
    }
    std::vector<std::uint8_t> out;
    (void)skin::Inflate(input, out, 1 << 20);
    Tsk2SkinFileReader payload;
    if (payload.LoadPayload(input)) {
        (void)payload.GetBool("SKIN2_BUTTONTRANS");
        // The payload as a stored archive, so that its values reach the
        // controls unchanged by the deflater.
        skinpack::ArchiveOptions stored;
        stored.level = 0;
        Form().Paint(skinpack::BuildArchive(input, stored));
    }
    return 0;
}
