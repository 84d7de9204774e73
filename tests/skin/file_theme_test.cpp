// File themes, the built-in theme and the theme manager: where a skin file
// is looked for, what a failed load leaves, how the form's components are
// re-attached, and how a style is pushed to a list of components.
#include <gtest/gtest.h>
#include <unistd.h>

#include <limits>

#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/gfx/image_io.h"
#include "platform/ui/form.h"
#include "platform/ui/headless.h"
#include "skin/kiv_built_in_file_theme.h"
#include "skin/kiv_form.h"
#include "skin/kiv_skin_keys.h"
#include "skin/kiv_theme_manager.h"
#include "skin/kiv_themes.h"
#include "tests/skin/crafted_skins.h"
#include "tools/skin-pack/skin_pack.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes StyleSkin(TkivUIStyle style, const std::string& password = "")
{
    skinpack::ArchiveOptions options;
    options.password = password;
    return skinpack::BuildArchive(skinpack::BuildPayload(skinpack::StyleSkinRecords(style)), options);
}

// A component that publishes UIStyle and FileTheme and logs what it is told.
class Probe : public TComponent, public IkivStyled {
public:
    Probe(TComponent* owner, const std::string& name, std::vector<std::string>& log)
        : TComponent(owner), log_(log)
    {
        SetName(name);
    }
    TkivUIStyle UIStyle() const override { return style_; }
    void SetUIStyle(TkivUIStyle style) override
    {
        style_ = style;
        TkivUIStyle effective;
        const bool skinned = TkivFileTheme::UsingFileTheme(theme_, style, effective);
        log_.push_back(Name() + ".style=" + std::to_string(static_cast<int>(style)) +
                       (skinned ? " skin" : ""));
    }
    TkivFileTheme* FileTheme() const override { return theme_; }
    void SetFileTheme(TkivFileTheme* theme) override
    {
        theme_ = theme;
        log_.push_back(Name() + (theme ? ".theme" : ".theme=none"));
    }

private:
    std::vector<std::string>& log_;
    TkivUIStyle style_ = TkivUIStyle::DeepBlue;
    TkivFileTheme* theme_ = nullptr;
};

// A form that counts how often its frame is re-read (it realigns then).
class CountingForm : public TForm {
public:
    using TForm::TForm;
    void AlignControls(TControl* AControl, TRect& Rect) override
    {
        if (!AControl) ++aligns;
        TForm::AlignControls(AControl, Rect);
    }
    int aligns = 0;
};

class FileThemes : public ::testing::Test {
protected:
    FileThemes() { ui::Headless(); }
    std::filesystem::path Write(const std::string& name, const Bytes& bytes)
    {
        const auto path = dir_.Path() / name;
        gfx::WriteFileBytes(path, bytes);
        return path;
    }

    core::TestApplication app_;
    core::TestSystemDir system_;
    core::TempDir dir_;
    std::vector<std::string> log_;
};

TEST_F(FileThemes, ReadsEveryGetterOfAFullSkin)
{
    TkivFileTheme theme;
    theme.SetThemeFile(Write("protein.skn", StyleSkin(TkivUIStyle::Protein)).string());
    ASSERT_TRUE(theme.Ready());
    EXPECT_EQ(static_cast<TColor>(theme.GetColor(2)), skin::GetBuiltInColor(TkivUIStyle::Protein, 15));
    EXPECT_EQ(static_cast<TColor>(theme.GetColor(22)), skin::GetBuiltInColor(TkivUIStyle::Protein, 25));
    EXPECT_EQ(theme.GetInt(3), skin::GetBuiltInInt(TkivUIStyle::Protein, 8));
    EXPECT_TRUE(theme.GetBool(4));           // title buttons see-through
    EXPECT_FALSE(theme.GetBool(5));          // push buttons not
    EXPECT_EQ(theme.GetBitmap(3), nullptr);  // no fourth title section
    EXPECT_EQ(theme.GetColor(40), -1);       // outside the colour keys
    EXPECT_FALSE(theme.GetBool(9));
    const TBitmap* button = theme.GetBitmap(15);  // SKIN2_BUTTON
    ASSERT_NE(button, nullptr);
    TBitmap cell;
    theme.GetBitmapCell(15, cell, 2, 3);
    EXPECT_EQ(cell.Width(), button->Width() / 3);
    EXPECT_EQ(cell.Pixel(0, 5), button->Pixel(button->Width() / 3, 5));
    theme.GetBitmapCell(15, cell, 0, 3);
    EXPECT_EQ(cell.Width(), button->Width());
    theme.GetBitmapCell(3, cell, 1, 2);
    EXPECT_TRUE(cell.Empty());

    TkivFileTheme empty;
    EXPECT_EQ(empty.GetColor(2), 0);
    EXPECT_EQ(empty.GetInt(0), 0);
    EXPECT_EQ(empty.GetBitmap(15), nullptr);
    EXPECT_FALSE(empty.GetBool(5));
}

TEST_F(FileThemes, LooksForABareNameInTheProgramAndSystemFolders)
{
    const Bytes skinBytes = StyleSkin(TkivUIStyle::WinXP);
    gfx::WriteFileBytes(system_.Path() / "xp-only-here.skn", skinBytes);
    TkivFileTheme theme;
    theme.SetThemeFile("nowhere/xp-only-here.skn");
    EXPECT_TRUE(theme.Ready());
    EXPECT_EQ(theme.ThemeFile(), (system_.Path() / "xp-only-here.skn").string());

    // The program's folder comes first.
    const std::string name = "skin-" + std::to_string(::getpid()) + ".skn";
    const auto programCopy = core::ProgramDir() / name;
    gfx::WriteFileBytes(programCopy, skinBytes);
    gfx::WriteFileBytes(system_.Path() / name, skinBytes);
    TkivFileTheme other;
    other.SetThemeFile(name);
    EXPECT_EQ(other.ThemeFile(), programCopy.string());
    EXPECT_TRUE(other.Ready());
    core::DeleteFile(programCopy);
}

TEST_F(FileThemes, MissingFilesChangeNothingAndBadOnesLeaveNoSkin)
{
    TkivFileTheme theme;
    const auto good = Write("blue.skn", StyleSkin(TkivUIStyle::BlueGlass));
    theme.SetThemeFile(good.string());
    ASSERT_TRUE(theme.Ready());
    theme.SetThemeFile((dir_.Path() / "gone.skn").string());
    EXPECT_TRUE(theme.Ready());
    EXPECT_EQ(theme.ThemeFile(), good.string());
    EXPECT_NE(theme.GetBitmap(15), nullptr);

    Bytes damaged = StyleSkin(TkivUIStyle::BlueGlass);
    damaged.resize(damaged.size() / 2);
    for (const Bytes& bad : {damaged, Bytes{'n', 'o', 't', ' ', 'a', ' ', 's', 'k', 'i', 'n'}}) {
        theme.SetThemeFile(Write("bad.skn", bad).string());
        EXPECT_FALSE(theme.Ready());
        EXPECT_EQ(theme.GetBitmap(15), nullptr);
        TkivUIStyle effective;
        EXPECT_FALSE(TkivFileTheme::UsingFileTheme(&theme, TkivUIStyle::FromThemeFile, effective));
        EXPECT_EQ(effective, TkivUIStyle::DeepBlue);
    }
}

TEST_F(FileThemes, ASkinBeyondTheDecodingBudgetIsRefusedAndDeepBlueStands)
{
    // Five pictures of a quarter of the budget each, in ranges of their own.
    const Bytes quarter = skintest::OneBitBmp(4096, 4096);
    std::vector<skintest::SharedRecord> records;
    for (std::size_t i = 0; i < 5; ++i) records.push_back({"SKIN2_BUTTON", i});
    const Bytes overBudget = skinpack::BuildArchive(
        skintest::SharedRangePayload(records, {quarter, quarter, quarter, quarter, quarter}));
    const Bytes hugeSides =
        skinpack::BuildArchive(skintest::ManyOverOne(1, {skintest::OneBitBmp(100000, 100000, false)}));
    // The same picture under every record is one bitmap, within the budget.
    const Bytes shared =
        skinpack::BuildArchive(skintest::ManyOverOne(500, {skintest::OneBitBmp(2048, 2048)}));

    TkivFileThemeMgr mgr;
    EXPECT_FALSE(mgr.LoadFromMemory(overBudget, ""));
    EXPECT_FALSE(mgr.Loaded());
    EXPECT_FALSE(mgr.LoadFromMemory(hugeSides, ""));
    EXPECT_TRUE(mgr.LoadFromMemory(shared, ""));

    TkivFileTheme theme;
    const auto good = Write("blue.skn", StyleSkin(TkivUIStyle::BlueGlass));
    for (const Bytes* bad : {&overBudget, &hugeSides}) {
        theme.SetThemeFile(good.string());
        ASSERT_TRUE(theme.Ready());
        theme.SetThemeFile(Write("big.skn", *bad).string());
        EXPECT_FALSE(theme.Ready());
        EXPECT_EQ(theme.GetBitmap(15), nullptr);
        TkivUIStyle effective;
        EXPECT_FALSE(TkivFileTheme::UsingFileTheme(&theme, TkivUIStyle::FromThemeFile, effective));
        EXPECT_EQ(effective, TkivUIStyle::DeepBlue);
    }
}

// A DeepBlue skin with one integer set.
Bytes SkinWith(const std::string& name, std::int32_t value)
{
    auto records = skinpack::StyleSkinRecords(TkivUIStyle::DeepBlue);
    std::erase_if(records, [&](const skinpack::Record& r) { return r.name == name; });
    records.push_back(skinpack::IntegerRecord(name, value));
    return skinpack::BuildArchive(skinpack::BuildPayload(records));
}

TEST_F(FileThemes, IntegersOutsideWhatTheirControlCanUseRefuseTheSkin)
{
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    TBitmap title;
    skin::LoadBuiltInBitmap(TkivUIStyle::DeepBlue, 10, &title);
    const int titleHeight = title.Height();
    const struct {
        const char* name;
        std::int32_t value;
        bool loads;
    } cases[] = {
        {"SKIN2_TITLEBARBUTTONPOSX", 1000000, false},
        {"SKIN2_TITLEBARBUTTONPOSX", 100000, false},
        {"SKIN2_TITLEBARBUTTONPOSX", kMin, false},
        {"SKIN2_TITLEBARBUTTONPOSX", kMax, false},
        {"SKIN2_TITLEBARBUTTONPOSX", 4097, false},  // beyond the largest picture side
        {"SKIN2_TITLEBARBUTTONPOSX", 4096, true},
        {"SKIN2_TITLEBARBUTTONPOSX", -4097, false},
        {"SKIN2_TITLEBARBUTTONPOSX", -3, true},
        {"SKIN2_TITLEBARBUTTONPOSX", -1, true},  // as a missing one reads
        {"SKIN2_TITLEBARICONPOSX", kMin, false},
        {"SKIN2_TITLEBARICONPOSY", 4097, false},
        {"SKIN2_TITLEBARCAPTIONTOP", -4097, false},
        {"SKIN2_TITLEBARBUTTONPOSY", kMin, false},
        {"SKIN2_TITLEBARBUTTONPOSY", kMax, false},
        {"SKIN2_TITLEBARBUTTONPOSY", 40, true},
        {"SKIN2_TITLEBARREGIONMINY", -2, false},
        {"SKIN2_TITLEBARREGIONMAXY", titleHeight + 1, false},
        {"SKIN2_TITLEBARREGIONMAXY", titleHeight, true},
        {"SKIN2_BOTTOMREGIONMAXY", kMax, false},
        {"SKIN2_BOTTOMREGIONMINY", 3, true},  // the bottom border is 3 high
        {"SKIN2_BOTTOMREGIONMINY", 4, false},
        {"SKIN2_FORMCOLOR", 0x1000000, false},
        {"SKIN2_MENUBARSTARTCOLOR", kMin, false},
        {"SKIN2_SCROLLBARCOLOR", 0xFFFFFF, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " = " + std::to_string(c.value));
        TkivFileThemeMgr mgr;
        EXPECT_EQ(mgr.LoadFromMemory(SkinWith(c.name, c.value), ""), c.loads);
        EXPECT_EQ(mgr.Loaded(), c.loads);
    }
}

TEST_F(FileThemes, AFormWithARefusedSkinShowsInDeepBlue)
{
    const struct {
        std::int32_t posx;
        bool ready;
    } cases[] = {{1000000, false}, {std::numeric_limits<std::int32_t>::min(), false}, {4096, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.posx);
        TForm* host = CreateForm<TForm>();
        host->SetBounds(100, 100, 300, 200);
        auto* panel = new TkivForm(host);
        auto* theme = new TkivBuiltInFileTheme(host);
        theme->SetSkinData(SkinWith("SKIN2_TITLEBARBUTTONPOSX", c.posx));
        EXPECT_EQ(theme->Ready(), c.ready);
        panel->SetFileTheme(theme);
        panel->SetUIStyle(TkivUIStyle::FromThemeFile);
        EXPECT_NO_THROW(host->Show());
        EXPECT_NO_THROW(host->RenderWindow());
        if (!c.ready)
            EXPECT_EQ(host->Constraints().MinWidth(), skin::GetBuiltInInt(TkivUIStyle::DeepBlue, 13));
        else
            EXPECT_GT(host->Constraints().MinWidth(), 4096);
        delete host;
    }
}

TEST_F(FileThemes, APasswordReloadsAndAnEmptyOneDoesNot)
{
    TkivFileTheme theme;
    const auto locked = Write("locked.skn", StyleSkin(TkivUIStyle::MacOS, "s3cret"));
    theme.SetThemeFile(locked.string());
    EXPECT_FALSE(theme.Ready());
    theme.SetPassword("");
    EXPECT_FALSE(theme.Ready());
    theme.SetPassword("wrong");
    EXPECT_FALSE(theme.Ready());
    theme.SetPassword("s3cret");
    EXPECT_TRUE(theme.Ready());
    EXPECT_EQ(theme.ThemeFile(), locked.string());
}

TEST_F(FileThemes, AReadyThemeReattachesTheComponentsThatUseIt)
{
    auto* form = CreateForm<CountingForm>();
    auto* theme = new TkivFileTheme(form);
    // The form's frame belongs to its first panel; the panel that uses the
    // theme here is a second, plain one, so only the theme's own request
    // can change the frame.
    new TkivForm(form);
    auto* panel = new TkivForm(form);
    panel->SetParent(form);
    panel->SetUIStyle(TkivUIStyle::FromThemeFile);
    panel->SetFileTheme(theme);
    auto* user = new Probe(form, "user", log_);
    auto* bystander = new Probe(form, "bystander", log_);
    user->SetFileTheme(theme);
    user->SetUIStyle(TkivUIStyle::FromThemeFile);
    log_.clear();

    const auto path = Write("deep.skn", StyleSkin(TkivUIStyle::DeepBlue));
    int aligns = form->aligns;
    theme->SetThemeFile(path.string());
    ASSERT_TRUE(theme->Ready());
    // Only the user re-reads, and it finds the skin ready; a first load
    // leaves the frame alone.
    EXPECT_EQ(log_, (std::vector<std::string>{"user.theme=none", "user.theme"}));
    EXPECT_EQ(form->aligns, aligns);
    (void)bystander;

    // A later load of a skin changes the frame of the form that uses it.
    log_.clear();
    aligns = form->aligns;
    theme->SetThemeFile(path.string());
    EXPECT_EQ(log_.size(), 2u);
    EXPECT_GT(form->aligns, aligns);

    // A failed load re-attaches nothing.
    log_.clear();
    theme->SetThemeFile(Write("junk.skn", Bytes(40, 7)).string());
    EXPECT_TRUE(log_.empty());
}

TEST_F(FileThemes, BuiltInThemeLoadsItsStoredSkin)
{
    auto* form = CreateForm<TForm>();
    auto* theme = new TkivBuiltInFileTheme(form);
    auto* user = new Probe(form, "user", log_);
    user->SetFileTheme(theme);
    EXPECT_FALSE(theme->ThemeReady());

    theme->SetSkinData(StyleSkin(TkivUIStyle::WinXP));
    EXPECT_TRUE(theme->ThemeReady());
    EXPECT_TRUE(theme->LoadedThemeFile().empty());  // nothing on disk
    EXPECT_TRUE(theme->ThemeFile().empty());
    EXPECT_EQ(log_.back(), "user.theme");
    EXPECT_EQ(static_cast<TColor>(theme->GetColor(2)), skin::GetBuiltInColor(TkivUIStyle::WinXP, 15));

    theme->SetSkinData({'P', 'K', 3, 4, 0, 0});
    EXPECT_FALSE(theme->ThemeReady());

    theme->SetSkinData(StyleSkin(TkivUIStyle::WinXP, "pw"));
    EXPECT_FALSE(theme->ThemeReady());
    theme->SetPassword("pw");
    EXPECT_TRUE(theme->ThemeReady());

    // The form stores its source file's bytes when that file exists.
    const auto source = Write("source.skn", StyleSkin(TkivUIStyle::Protein));
    theme->SetThemeFile(source.string());
    EXPECT_EQ(theme->SkinDataToStore().size(), core::FileSizeOf(source));
    EXPECT_EQ(theme->ThemeFile(), source.string());
    EXPECT_EQ(theme->LoadedThemeFile(), source.string());
    // Its own ThemeFile keeps the authored path; the loaded one stays.
    const std::string gone = (dir_.Path() / "gone.skn").string();
    theme->SetThemeFile(gone);
    EXPECT_EQ(theme->SkinDataToStore(), theme->SkinData());
    EXPECT_EQ(theme->ThemeFile(), gone);
    EXPECT_EQ(theme->LoadedThemeFile(), source.string());
    EXPECT_EQ(static_cast<const TkivFileTheme&>(*theme).ThemeFile(), source.string());
}

TEST_F(FileThemes, ThemeManagerPushesStyleThenThemeToItsList)
{
    auto* form = CreateForm<TForm>();
    auto* theme = new TkivFileTheme(form);
    auto* manager = new TkivThemeManager(form);
    new Probe(form, "first", log_);
    new Probe(form, "second", log_);
    int changes = 0;
    manager->OnUIStyleChanged = [&](TObject* sender) {
        EXPECT_EQ(sender, manager);
        ++changes;
    };
    manager->SetCompList({"second", "missing", "FIRST"});
    manager->SetUIStyle(TkivUIStyle::Protein);
    EXPECT_EQ(log_, (std::vector<std::string>{"second.style=4", "second.theme=none", "first.style=4",
                                              "first.theme=none"}));
    EXPECT_EQ(changes, 1);
    log_.clear();
    manager->SetUIStyle(TkivUIStyle::Protein);  // pushes again, no event
    EXPECT_EQ(log_.size(), 4u);
    EXPECT_EQ(changes, 1);

    log_.clear();
    manager->SetFileTheme(theme);
    EXPECT_EQ(log_,
              (std::vector<std::string>{"second.style=4", "second.theme", "first.style=4", "first.theme"}));

    // A listed component that goes leaves the list.
    delete form->FindComponent("second");
    EXPECT_EQ(manager->CompList(), (TkivThemeMgrCompList{"missing", "FIRST"}));

    // The theme going resets the manager alone.
    log_.clear();
    manager->SetUIStyle(TkivUIStyle::MacOS);
    log_.clear();
    delete theme;
    EXPECT_EQ(manager->FileTheme(), nullptr);
    EXPECT_EQ(manager->UIStyle(), TkivUIStyle::DeepBlue);
    EXPECT_TRUE(log_.empty());
}

TEST_F(FileThemes, ThemeManagerRefusesAListedComponentWithoutTheProperties)
{
    auto* form = CreateForm<TForm>();
    auto* manager = new TkivThemeManager(form);
    auto* plain = new TComponent(form);
    plain->SetName("plain");
    manager->SetCompList({"plain"});
    EXPECT_THROW(manager->SetUIStyle(TkivUIStyle::WinXP), std::invalid_argument);
    // Without an owner form there is nothing to push to.
    TkivThemeManager loose;
    loose.SetCompList({"plain"});
    loose.SetUIStyle(TkivUIStyle::WinXP);
    EXPECT_EQ(loose.UIStyle(), TkivUIStyle::WinXP);
}

}  // namespace
