// File dialogs (filters, scripted answers, the real dialog driven by keys)
// and the message box.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "platform/core/files.h"
#include "platform/core/timer.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/edit.h"
#include "platform/ui/file_filter.h"
#include "platform/ui/label.h"
#include "platform/ui/listview.h"
#include "platform/ui/msgbox.h"
#include "tests/ui/fixture.h"

namespace {

using namespace ui::headless;
namespace fs = std::filesystem;

TEST(FileFilter, ParsesPairsAndFallsBackToAllFiles)
{
    auto f = ui::ParseFileFilter("图片|*.jpg;*.jpeg|全部|*.*");
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0].name, "图片");
    EXPECT_EQ(f[0].patterns, (std::vector<std::string>{"*.jpg", "*.jpeg"}));
    for (const char* malformed : {"保存位置", ""}) {
        auto m = ui::ParseFileFilter(malformed);
        ASSERT_FALSE(m.empty()) << malformed;
        EXPECT_TRUE(ui::MatchesFilter("anything.xyz", m.back())) << malformed;
    }
}

TEST(FileFilter, MatchesCaseInsensitively)
{
    struct Case {
        const char* name;
        const char* pattern;
        bool match;
    } cases[] = {
        {"PHOTO.JPG", "*.jpg", true}, {"photo.jpeg", "*.jpg", false}, {"歌曲.Mp3", "*.mp3", true},
        {"a.b.lrc", "*.lrc", true},   {"x.lrc.bak", "*.lrc", false},  {"img1.png", "img?.png", true},
        {"noext", "*.*", true},       {"", "*.jpg", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ui::MatchesPattern(c.name, c.pattern), c.match) << c.name << " " << c.pattern;
    EXPECT_EQ(ui::SplitFileNames("\"b.jpg\" \"a.jpg\""), (std::vector<std::string>{"b.jpg", "a.jpg"}));
    EXPECT_EQ(ui::SplitFileNames("  one name.jpg "), (std::vector<std::string>{"one name.jpg"}));
}

// Clicks a row of a dialog's list, with these keys held.
void ClickRow(TForm& f, TListView& list, int row, TShiftState shift = 0)
{
    const TRect ins = f.NonClientInsets();
    const TRect r = list.ItemRect(row);
    const TPoint p =
        list.ClientToAncestor({r.Left + 10, (r.Top + r.Bottom) / 2}, nullptr) - TPoint{ins.Left, ins.Top};
    ui::headless::MouseDown(f, p.X, p.Y, mbLeft, 1, shift);
    ui::headless::MouseUp(f, p.X, p.Y, mbLeft, shift);
}

class DialogTest : public UiTest {
protected:
    DialogTest()
    {
        for (const char* n : {"a.JPG", "b.png", "c.jpeg"}) std::ofstream(dir.Path() / n) << "x";
        fs::create_directory(dir.Path() / "sub");
        std::ofstream(dir.Path() / "sub" / "d.jpg") << "x";
    }
    ~DialogTest() override { ui::SetFileDialogHook(nullptr); }

    // Opens the real dialog, runs `steps` in it once it is up, and gives back
    // what Execute answered; the steps end the dialog.
    static bool RunDialog(TOpenDialog& dialog, const std::function<void(TForm&, TListView&, TEdit&)>& steps)
    {
        TTimer timer(nullptr);
        timer.SetInterval(1);
        timer.OnTimer = [&](TObject*) {
            timer.SetEnabled(false);
            TForm* f = Screen().ModalForm();
            ASSERT_NE(f, nullptr);
            auto* list = dynamic_cast<TListView*>(f->FindComponent("FileList"));
            auto* name = dynamic_cast<TEdit*>(f->FindComponent("FileName"));
            ASSERT_TRUE(list && name);
            steps(*f, *list, *name);
        };
        timer.SetEnabled(true);
        return dialog.Execute();
    }

    core::TempDir dir;
};

TEST_F(DialogTest, ScriptedOpenSaveAndCancel)
{
    std::string seen_filter;
    ui::SetFileDialogHook([&](const TOpenDialog& d) -> std::optional<std::vector<std::string>> {
        seen_filter = d.Filter();
        if (d.IsSaveDialog()) return std::vector<std::string>{"out"};
        if (d.Title() == "cancel") return std::nullopt;
        return std::vector<std::string>{"c.jpeg", "a.JPG"};
    });
    TOpenDialog open(nullptr);
    open.SetInitialDir(dir.Path().string());
    open.SetFilter("图片|*.jpg;*.jpeg");
    open.SetOptions(open.Options() | ofAllowMultiSelect);
    ASSERT_TRUE(open.Execute());
    EXPECT_EQ(seen_filter, "图片|*.jpg;*.jpeg");
    ASSERT_EQ(open.Files().Count(), 2);
    EXPECT_EQ(open.Files()[0], (dir.Path() / "c.jpeg").string());  // the user's order
    EXPECT_EQ(open.Files()[1], (dir.Path() / "a.JPG").string());
    EXPECT_EQ(open.FileName(), open.Files()[0]);

    TSaveDialog save(nullptr);
    save.SetInitialDir(dir.Path().string());
    save.SetDefaultExt("mpg");
    ASSERT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName(), (dir.Path() / "out.mpg").string());

    TOpenDialog cancelled(nullptr);
    cancelled.SetTitle("cancel");
    cancelled.SetFileName("keep.jpg");
    EXPECT_FALSE(cancelled.Execute());
    EXPECT_EQ(cancelled.FileName(), "keep.jpg");
}

TEST_F(DialogTest, TheRealDialogListsFilteredFilesAndNavigates)
{
    TOpenDialog open(nullptr);
    open.SetInitialDir(dir.Path().string());
    open.SetFilter("图片|*.jpg;*.jpeg|全部|*.*");
    open.SetOptions(open.Options() | ofAllowMultiSelect);
    std::vector<std::string> listed_top, listed_sub, listed_from_location;
    ASSERT_TRUE(RunDialog(open, [&](TForm& f, TListView& list, TEdit& name) {
        auto captions = [&] {
            std::vector<std::string> out;
            for (int i = 0; i < list.Items().Count(); ++i) out.push_back(list.Items()[i]->Caption());
            return out;
        };
        listed_top = captions();
        // Into the sub-folder by name, as the user would type it.
        name.SetFocus();
        Text(f, "sub");
        Key(f, VK_RETURN);
        listed_sub = captions();
        // A folder typed into the location field, with Enter.
        auto* folder = dynamic_cast<TEdit*>(f.FindComponent("Folder"));
        ASSERT_NE(folder, nullptr);
        folder->SetFocus();
        folder->SetText(dir.Path().string());
        Key(f, VK_RETURN);
        listed_from_location = captions();
        folder->SetText((dir.Path() / "sub").string());
        Key(f, VK_RETURN);
        name.SetFocus();
        name.SetText("\"d.jpg\" \"../a.JPG\"");
        Key(f, VK_RETURN);
    }));
    EXPECT_EQ(listed_top, (std::vector<std::string>{"sub/", "a.JPG", "c.jpeg"}));
    EXPECT_EQ(listed_sub, (std::vector<std::string>{"d.jpg"}));
    EXPECT_EQ(listed_from_location, listed_top);
    ASSERT_EQ(open.Files().Count(), 2);
    EXPECT_EQ(fs::path(open.Files()[0]).filename(), "d.jpg");
    EXPECT_EQ(fs::weakly_canonical(open.Files()[1]), fs::weakly_canonical(dir.Path() / "a.JPG"));
}

TEST_F(DialogTest, TheRealDialogTakesARangeOfFilesWithShiftClick)
{
    TOpenDialog open(nullptr);
    open.SetInitialDir(dir.Path().string());
    open.SetFilter("全部|*.*");
    open.SetOptions(open.Options() | ofAllowMultiSelect);
    // "sub/", "a.JPG", "b.png", "c.jpeg": from the last file back to the first.
    ASSERT_TRUE(RunDialog(open, [](TForm& f, TListView& list, TEdit&) {
        ClickRow(f, list, 3);
        ClickRow(f, list, 1, ssShift);
        Key(f, VK_RETURN);
    }));
    ASSERT_EQ(open.Files().Count(), 3);
    EXPECT_EQ(fs::path(open.Files()[0]).filename(), "a.JPG");
    EXPECT_EQ(fs::path(open.Files()[1]).filename(), "b.png");
    EXPECT_EQ(fs::path(open.Files()[2]).filename(), "c.jpeg");
}

// What the user does in the file list, and what the name field then shows
// and which rows are selected and painted so. The rows: "sub/", "a.JPG",
// "b.png", "c.jpeg".
TEST_F(DialogTest, TheListSelectsWithKeysAndClicksAndFillsTheName)
{
    struct Step {
        int row;  // clicked; -1: the key is pressed
        uint16_t key;
        TShiftState shift;
    };
    constexpr int kKey = -1;
    struct Case {
        const char* what;
        bool multi;
        std::vector<Step> steps;
        std::string name;
        std::vector<int> rows;
    } cases[] = {
        {"ctrl+click adds", true, {{1, 0, 0}, {3, 0, ssCtrl}}, "\"a.JPG\" \"c.jpeg\"", {1, 3}},
        {"in the order picked", true, {{3, 0, 0}, {1, 0, ssCtrl}}, "\"c.jpeg\" \"a.JPG\"", {1, 3}},
        {"ctrl+click takes away", true, {{1, 0, 0}, {2, 0, ssCtrl}, {1, 0, ssCtrl}}, "b.png", {2}},
        {"a folder adds no name", true, {{1, 0, 0}, {0, 0, ssCtrl}}, "a.JPG", {0, 1}},
        {"shift+click extends",
         true,
         {{3, 0, 0}, {1, 0, ssShift}},
         "\"a.JPG\" \"b.png\" \"c.jpeg\"",
         {1, 2, 3}},
        {"shift+arrows extend",
         true,
         {{1, 0, 0}, {kKey, VK_DOWN, ssShift}, {kKey, VK_DOWN, ssShift}, {kKey, VK_UP, ssShift}},
         "\"a.JPG\" \"b.png\"",
         {1, 2}},
        {"ctrl+a takes all, in the list's order",
         true,
         {{3, 0, 0}, {1, 0, ssCtrl}, {kKey, 'A', ssCtrl}},
         "\"a.JPG\" \"b.png\" \"c.jpeg\"",
         {0, 1, 2, 3}},
        {"an arrow moves the selection", true, {{1, 0, 0}, {kKey, VK_DOWN, 0}}, "b.png", {2}},
        {"single: arrows fill the name",
         false,
         {{1, 0, 0}, {kKey, VK_DOWN, 0}, {kKey, VK_DOWN, 0}},
         "c.jpeg",
         {3}},
        {"single: ctrl+click selects one", false, {{1, 0, 0}, {3, 0, ssCtrl}}, "c.jpeg", {3}},
        {"single: shift+arrows select one", false, {{1, 0, 0}, {kKey, VK_DOWN, ssShift}}, "b.png", {2}},
        {"single: ctrl+a does nothing", false, {{2, 0, 0}, {kKey, 'A', ssCtrl}}, "b.png", {2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TOpenDialog open(nullptr);
        open.SetInitialDir(dir.Path().string());
        open.SetFilter("全部|*.*");
        if (c.multi) open.SetOptions(open.Options() | ofAllowMultiSelect);
        std::string name_shown;
        std::vector<int> selected, painted;
        EXPECT_FALSE(RunDialog(open, [&](TForm& f, TListView& list, TEdit& name) {
            for (const Step& step : c.steps) {
                if (step.row == kKey)
                    Key(f, step.key, step.shift);
                else
                    ClickRow(f, list, step.row, step.shift);
            }
            name_shown = name.Text();
            const TBitmap picture = Capture(f);
            for (int row = 0; row < list.Items().Count(); ++row) {
                if (list.Items()[row]->Selected()) selected.push_back(row);
                const TRect r = list.ItemRect(row);
                const TPoint p = list.ClientToAncestor({r.Left + 300, (r.Top + r.Bottom) / 2}, nullptr);
                if (picture.Pixel(p.X, p.Y) == clHighlight) painted.push_back(row);
            }
            PostKey(f, VK_ESCAPE);
        }));
        EXPECT_EQ(name_shown, c.name);
        EXPECT_EQ(selected, c.rows);
        EXPECT_EQ(painted, c.rows);
    }
}

// Typing in the name field: after BackSpace has emptied it, and after the
// list or the caller has put a name there (by key or by a click into it).
TEST_F(DialogTest, TypingReachesTheNameFieldAndReplacesAPlacedName)
{
    struct Case {
        const char* what;
        const char* initial;  // the dialog's FileName
        std::function<void(TForm&, TListView&, TEdit&)> before;
        const char* typed;
        const char* name;
    } cases[] = {
        {"after BackSpace emptied it", "",
         [](TForm& f, TListView&, TEdit& name) {
             ClickControl(name);
             Text(f, "ab");
             for (int i = 0; i < 4; ++i) Key(f, VK_BACK);
         },
         "c.jpeg", "c.jpeg"},
        {"the name placed at the start", "old.jpeg", [](TForm&, TListView&, TEdit&) {}, "new", "new"},
        {"a name from the list, back by Tab", "",
         [](TForm& f, TListView& list, TEdit&) {
             ClickRow(f, list, 1);
             Key(f, VK_TAB);
         },
         "x", "x"},
        {"a name from the list by a key, back by a click", "",
         [](TForm& f, TListView& list, TEdit& name) {
             ClickRow(f, list, 1);
             Key(f, VK_DOWN);
             ClickControl(name);
         },
         "y", "y"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TOpenDialog open(nullptr);
        open.SetInitialDir(dir.Path().string());
        open.SetFilter("全部|*.*");
        if (*c.initial) open.SetFileName(c.initial);
        std::string shown;
        EXPECT_FALSE(RunDialog(open, [&](TForm& f, TListView& list, TEdit& name) {
            c.before(f, list, name);
            Text(f, c.typed);
            shown = name.Text();
            PostKey(f, VK_ESCAPE);
        }));
        EXPECT_EQ(shown, c.name);
    }
}

TEST_F(DialogTest, TheRealDialogCancelsWithEscape)
{
    TSaveDialog save(nullptr);
    save.SetInitialDir(dir.Path().string());
    save.SetFilter("保存位置");  // malformed: every file shows
    int listed = 0;
    EXPECT_FALSE(RunDialog(save, [&](TForm& f, TListView& list, TEdit&) {
        listed = list.Items().Count();
        PostKey(f, VK_ESCAPE);
    }));
    EXPECT_EQ(listed, 4);
}

TEST_F(UiTest, MessageBoxShowsCaptionTextAndOneButton)
{
    std::string caption, text;
    int buttons = 0;
    TTimer timer(nullptr);
    timer.SetInterval(1);
    timer.OnTimer = [&](TObject*) {
        timer.SetEnabled(false);
        TForm* box = Screen().ModalForm();
        ASSERT_NE(box, nullptr);
        caption = box->Caption();
        for (int i = 0; i < box->ControlCount(); ++i) {
            if (auto* l = dynamic_cast<TLabel*>(box->Controls(i))) text = l->Caption();
            if (box->Controls(i)->Caption() == "确定") ++buttons;
        }
        PostKey(*box, VK_RETURN);
    };
    timer.SetEnabled(true);
    ui::ShowMessageBox("提示", "文件已存在! 不能完成操作.");
    EXPECT_EQ(caption, "提示");
    EXPECT_EQ(text, "文件已存在! 不能完成操作.");
    EXPECT_EQ(buttons, 1);

    std::vector<std::string> shown;
    ui::SetMessageBoxHook([&](const std::string& c, const std::string& t) { shown.push_back(c + ":" + t); });
    ui::ReportExceptionsInMessageBox("错误");
    app.App().PostMessage([] { throw std::runtime_error("bad skin"); });
    app.App().ProcessMessages();
    ui::SetMessageBoxHook(nullptr);
    EXPECT_EQ(shown, (std::vector<std::string>{"错误:bad skin"}));
}

}  // namespace
