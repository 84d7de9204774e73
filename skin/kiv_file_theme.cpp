#include "skin/kiv_file_theme.h"

#include <algorithm>
#include <vector>

#include "platform/core/files.h"
#include "platform/ui/form.h"
#include "skin/kiv_form.h"
#include "skin/kiv_public.h"
#include "skin/kiv_skin_keys.h"
#include "skin/kiv_skin_reader.h"

TkivFileThemeMgr::TkivFileThemeMgr() = default;
TkivFileThemeMgr::~TkivFileThemeMgr() = default;

namespace {

// Whether every integer of the skin is one its control can use (or -1, as a
// missing one reads): a colour is RGB; a title-bar offset reaches no
// further than the largest picture side, either way; a region's rows are
// rows of its picture. Sizes computed from them then stay small, whatever
// the file says.
bool ValuesFit(const Tsk2SkinFileReader& r)
{
    for (int i = 0; i < skin::kFirstBitmapKey; ++i) {
        const std::int32_t c = r.GetInteger(skin::kSkinKeys[i]);
        if (c < -1 || c > 0xFFFFFF) return false;
    }
    const auto within = [&](std::string_view name, std::int64_t low, std::int64_t high) {
        const std::int64_t v = r.GetInteger(name);
        return v == -1 || (v >= low && v <= high);  // -1: not in the skin
    };
    const auto height = [&](std::string_view name) {
        const TBitmap* b = r.GetBitmap(name);
        return b ? std::int64_t{b->Height()} : 0;
    };
    constexpr std::int64_t kReach = skin::kMaxSkinBitmapSide;
    for (std::string_view name :
         {"SKIN2_TITLEBARICONPOSX", "SKIN2_TITLEBARICONPOSY", "SKIN2_TITLEBARCAPTIONTOP",
          "SKIN2_TITLEBARBUTTONPOSX", "SKIN2_TITLEBARBUTTONPOSY"})
        if (!within(name, -kReach, kReach)) return false;
    const std::int64_t title = height("SKIN2_TITLEBAR1"), bottom = height("SKIN2_FORMBOTTOMBORDER1");
    return within("SKIN2_TITLEBARREGIONMINY", 0, title) && within("SKIN2_TITLEBARREGIONMAXY", 0, title) &&
           within("SKIN2_BOTTOMREGIONMINY", 0, bottom) && within("SKIN2_BOTTOMREGIONMAXY", 0, bottom);
}

}  // namespace

bool TkivFileThemeMgr::Adopt(std::unique_ptr<Tsk2SkinFileReader> reader)
{
    if (!reader || !reader->Ready() || !ValuesFit(*reader)) return false;
    reader_ = std::move(reader);
    return true;
}

// Nothing but true or false leaves the loads: a skin that cannot be had,
// whatever the reason (a damaged file, memory), is no skin.
bool TkivFileThemeMgr::LoadFromFile(const std::filesystem::path& file, const std::string& password)
{
    try {
        if (!core::FileExists(file)) return false;
        reader_.reset();
        return Adopt(std::make_unique<Tsk2SkinFileReader>(file, password));
    } catch (...) {
        reader_.reset();
        return false;
    }
}

bool TkivFileThemeMgr::LoadFromMemory(std::span<const std::uint8_t> archive, const std::string& password)
{
    reader_.reset();
    try {
        return Adopt(std::make_unique<Tsk2SkinFileReader>(archive, password));
    } catch (...) {
        reader_.reset();
        return false;
    }
}

namespace {

// The record name of a getter index within its group; empty outside it.
std::string_view KeyOf(int first, int count, std::uint8_t index)
{
    const int i = index & 0x7F;
    return i < count ? skin::kSkinKeys[first + i] : std::string_view();
}

}  // namespace

std::int32_t TkivFileThemeMgr::GetColor(std::uint8_t index) const
{
    if (!reader_) return 0;
    const auto key = KeyOf(0, skin::kFirstBitmapKey, index);
    return key.empty() ? -1 : reader_->GetInteger(key);
}

std::int32_t TkivFileThemeMgr::GetInt(std::uint8_t index) const
{
    if (!reader_) return 0;
    const auto key = KeyOf(skin::kFirstIntegerKey, skin::kFirstBooleanKey - skin::kFirstIntegerKey, index);
    return key.empty() ? -1 : reader_->GetInteger(key);
}

const TBitmap* TkivFileThemeMgr::GetBitmap(std::uint8_t index) const
{
    if (!reader_) return nullptr;
    const auto key = KeyOf(skin::kFirstBitmapKey, skin::kFirstIntegerKey - skin::kFirstBitmapKey, index);
    return key.empty() ? nullptr : reader_->GetBitmap(key);
}

bool TkivFileThemeMgr::GetBool(std::uint8_t index) const
{
    if (!reader_) return false;
    const auto key = KeyOf(skin::kFirstBooleanKey, skin::kSkinKeyCount - skin::kFirstBooleanKey, index);
    return !key.empty() && reader_->GetBool(key) != 0;
}

TkivFileTheme::TkivFileTheme(TComponent* AOwner)
    : TComponent(AOwner), mgr_(std::make_unique<TkivFileThemeMgr>())
{}

TkivFileTheme::~TkivFileTheme() = default;

bool TkivFileTheme::UsingFileTheme(const TkivFileTheme* theme, TkivUIStyle style, TkivUIStyle& effective)
{
    effective = style;
    if (style != TkivUIStyle::FromThemeFile) return false;
    if (theme && theme->Ready()) return true;
    effective = TkivUIStyle::DeepBlue;
    return false;
}

void TkivFileTheme::SetThemeFile(const std::string& value)
{
    const bool firstLoad = !loaded_before_;
    namespace fs = std::filesystem;
    const fs::path given(value);
    fs::path found;
    if (!value.empty()) {
        const fs::path name = given.filename();
        for (const fs::path& candidate : {given, core::ProgramDir() / name, core::SystemDir() / name}) {
            if (!name.empty() && core::FileExists(candidate)) {
                found = candidate;
                break;
            }
        }
    }
    if (found.empty()) return;
    std::error_code ec;
    const fs::path full = fs::absolute(found, ec);
    theme_file_ = (ec ? found : full).lexically_normal().string();
    ready_ = mgr_->LoadFromFile(found, password_);
    AfterLoad(firstLoad);
}

void TkivFileTheme::LoadFromMemory(std::span<const std::uint8_t> archive)
{
    const bool firstLoad = !loaded_before_;
    ready_ = mgr_->LoadFromMemory(archive, password_);
    AfterLoad(firstLoad);
}

void TkivFileTheme::AfterLoad(bool firstLoad)
{
    loaded_before_ = true;
    auto* form = dynamic_cast<TForm*>(Owner());
    if (!ready_ || !form) return;
    TkivForm* skinned = nullptr;
    // Re-attaching may create or free components: walk a copy.
    std::vector<TComponent*> components;
    for (int i = 0; i < form->ComponentCount(); ++i) components.push_back(form->Components(i));
    for (TComponent* c : components) {
        auto* styled = dynamic_cast<IkivStyled*>(c);
        if (!styled || styled->FileTheme() != this) continue;
        if (auto* panel = dynamic_cast<TkivForm*>(c)) skinned = panel;
        styled->SetFileTheme(nullptr);
        styled->SetFileTheme(this);
    }
    // A skin that replaces another changes the form's frame.
    if (skinned && !firstLoad) form->FrameChanged();
}

void TkivFileTheme::SetPassword(const std::string& value)
{
    password_ = value;
    if (!value.empty()) Reload();
}

void TkivFileTheme::GetBitmapCell(std::uint8_t index, TBitmap& destination, int cellIndex,
                                  int cellCount) const
{
    const TBitmap* bitmap = GetBitmap(index);
    if (!bitmap) {
        destination.SetSize(0, 0);
        return;
    }
    if (cellIndex != 0 && cellCount != 0)
        skin::CutBitmapCell(*bitmap, destination, cellCount, cellIndex);
    else
        destination.Assign(*bitmap);
}
