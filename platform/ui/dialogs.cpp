#include "platform/ui/dialogs.h"

#include <algorithm>
#include <system_error>

#include "platform/core/text.h"
#include "platform/ui/button.h"
#include "platform/ui/combobox.h"
#include "platform/ui/edit.h"
#include "platform/ui/file_filter.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "platform/ui/listview.h"
#include "platform/ui/msgbox.h"

namespace fs = std::filesystem;

namespace ui {
namespace {
FileDialogHook& Hook()
{
    static FileDialogHook hook;
    return hook;
}
}  // namespace
void SetFileDialogHook(FileDialogHook hook) { Hook() = std::move(hook); }
bool HasFileDialogHook() { return static_cast<bool>(Hook()); }
}  // namespace ui

namespace {

fs::path StartFolder(const TOpenDialog& d)
{
    std::error_code ec;
    if (!d.FileName().empty()) {
        fs::path p(d.FileName());
        if (p.has_parent_path() && fs::is_directory(p.parent_path(), ec)) return p.parent_path();
    }
    if (!d.InitialDir().empty() && fs::is_directory(d.InitialDir(), ec)) return d.InitialDir();
    fs::path cwd = fs::current_path(ec);
    return ec ? fs::path("/") : cwd;
}

// The file-name field takes the whole name when the user comes to it, by a
// click as by a key, so that what is typed replaces a name put there.
class NameEdit : public TEdit {
public:
    using TEdit::TEdit;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        bool was_focused = Focused();
        TEdit::MouseDown(Button, Shift, X, Y);
        if (Button == mbLeft && !was_focused && Focused() && !(Shift & ssShift)) SelectAll();
    }
};

// The file list remembers whether the user's last selecting act was a
// Ctrl+click: only that one keeps the order in which names were picked.
class FileList : public TListView {
public:
    using TListView::TListView;
    bool toggling = false;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        toggling = (Shift & ssCtrl) && !(Shift & ssShift);
        TListView::MouseDown(Button, Shift, X, Y);
    }
    void KeyDown(uint16_t& Key, TShiftState Shift) override
    {
        toggling = false;
        TListView::KeyDown(Key, Shift);
    }
};

// The dialog's form: folder line, file list, name line, type list, buttons.
class FileDialogForm : public TForm {
public:
    FileDialogForm(TOpenDialog& dialog) : TForm(nullptr), dialog_(dialog)
    {
        SetBorderStyle(bsDialog);
        SetPosition(poScreenCenter);
        SetCaption(!dialog.Title().empty() ? dialog.Title() : dialog.IsSaveDialog() ? "另存为" : "打开");
        SetClientSize(480, 340);
        filters_ = ui::ParseFileFilter(dialog.Filter());

        auto* folder_label = Label("位置:", 8, 12);
        (void)folder_label;
        folder_ = new TEdit(this);
        folder_->SetName("Folder");
        folder_->SetParent(this);
        folder_->SetBounds(60, 8, 332, 21);
        up_ = new TButton(this);
        up_->SetParent(this);
        up_->SetCaption("上一级");
        up_->SetBounds(400, 6, 72, 25);
        up_->OnClick = [this](TObject*) { Navigate(folder_path_.parent_path()); };

        list_ = new FileList(this);
        list_->SetName("FileList");
        list_->SetParent(this);
        list_->SetBounds(8, 38, 464, 220);
        list_->SetRowSelect(true);
        list_->SetMultiSelect(Multi());
        // The chosen rows stay marked while the user types in the name field.
        list_->SetHideSelection(false);
        list_->Columns().Add()->SetCaption("名称");
        list_->Columns()[0]->SetWidth(440);
        list_->OnSelectItem = [this](TObject*) { TakeListSelection(); };
        list_->OnClick = [this](TObject*) { TakeListSelection(); };
        list_->OnDblClick = [this](TObject*) { ItemOpened(); };
        list_->OnKeyDown = [this](TObject*, uint16_t& key, TShiftState) {
            if (key == VK_RETURN) {
                ItemOpened();
                key = 0;
            }
        };

        Label("文件名:", 8, 272);
        name_ = new NameEdit(this);
        name_->SetName("FileName");
        name_->SetParent(this);
        name_->SetBounds(70, 268, 310, 21);
        Label("文件类型:", 8, 304);
        types_ = new TComboBox(this);
        types_->SetName("FileType");
        types_->SetParent(this);
        types_->SetBounds(70, 300, 310, 21);
        for (const auto& f : filters_) types_->Items().Add(f.name);
        types_->SetItemIndex(std::clamp(dialog.FilterIndex() - 1, 0, static_cast<int>(filters_.size()) - 1));
        types_->OnChange = [this](TObject*) { Fill(); };

        ok_ = new TButton(this);
        ok_->SetParent(this);
        ok_->SetCaption(dialog.IsSaveDialog() ? "保存" : "打开");
        ok_->SetDefault(true);
        ok_->SetBounds(392, 266, 80, 25);
        ok_->OnClick = [this](TObject*) { Confirm(); };
        auto* cancel = new TButton(this);
        cancel->SetParent(this);
        cancel->SetCaption("取消");
        cancel->SetCancel(true);
        cancel->SetModalResult(mrCancel);
        cancel->SetBounds(392, 298, 80, 25);

        Navigate(StartFolder(dialog));
        if (!dialog.FileName().empty()) name_->SetText(fs::path(dialog.FileName()).filename().string());
        // The dialog opens on the name, all of it selected, as file dialogs do
        // (once: later activations give the focus back where it was).
        OnActivate = [this](TObject*) {
            if (opened_) return;
            opened_ = true;
            SetActiveControl(name_);
            name_->SelectAll();
        };
    }

    std::vector<std::string> chosen;
    int filter_index = 1;

private:
    TLabel* Label(const std::string& text, int x, int y)
    {
        auto* l = new TLabel(this);
        l->SetParent(this);
        l->SetCaption(text);
        l->SetLeft(x);
        l->SetTop(y);
        return l;
    }

    bool Multi() const { return dialog_.Options() & ofAllowMultiSelect; }

    void Navigate(const fs::path& folder)
    {
        std::error_code ec;
        fs::path target = fs::absolute(folder, ec);
        if (ec || !fs::is_directory(target, ec)) {
            ui::ShowMessageBox(Caption(), "找不到文件夹: " + folder.string());
            folder_->SetText(folder_path_.string());
            return;
        }
        folder_path_ = target.lexically_normal();
        if (folder_path_.has_relative_path() && folder_path_.filename().empty())
            folder_path_ = folder_path_.parent_path();
        folder_->SetText(folder_path_.string());
        Fill();
    }

    void Fill()
    {
        picked_.clear();
        list_->Items().BeginUpdate();
        list_->Items().Clear();
        entries_.clear();
        std::vector<std::pair<std::string, bool>> found;
        std::error_code ec;
        const ui::FileFilter& filter = filters_[std::max(0, types_->ItemIndex())];
        for (fs::directory_iterator it(folder_path_, fs::directory_options::skip_permission_denied, ec), end;
             !ec && it != end; it.increment(ec)) {
            std::string name = it->path().filename().string();
            if (name.empty() || name[0] == '.') continue;
            std::error_code e2;
            bool dir = it->is_directory(e2);
            if (dir || ui::MatchesFilter(name, filter)) found.push_back({name, dir});
        }
        std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
            if (a.second != b.second) return a.second;
            return core::CompareNatural(a.first, b.first) < 0;
        });
        for (const auto& [name, dir] : found) {
            list_->Items().Add()->SetCaption(dir ? name + "/" : name);
            entries_.push_back({name, dir});
        }
        list_->Items().EndUpdate();
    }

    // The selected files go into the name field: after a Ctrl+click in the
    // order the user picked them, else as the list shows them. A folder
    // alone leaves the name as it was.
    void TakeListSelection()
    {
        std::vector<std::string> selected;
        for (int i = 0; i < list_->Items().Count(); ++i)
            if (list_->Items()[i]->Selected() && !entries_[i].second) selected.push_back(entries_[i].first);
        auto has = [](const std::vector<std::string>& v, const std::string& n) {
            return std::find(v.begin(), v.end(), n) != v.end();
        };
        if (list_->toggling) {
            std::vector<std::string> ordered;
            for (const auto& n : picked_)
                if (has(selected, n)) ordered.push_back(n);
            for (const auto& n : selected)
                if (!has(ordered, n)) ordered.push_back(n);
            selected = std::move(ordered);
        }
        picked_ = selected;
        if (picked_.empty()) return;
        std::string text;
        for (const auto& n : picked_) text += (text.empty() ? "\"" : " \"") + n + "\"";
        name_->SetText(picked_.size() == 1 ? picked_[0] : text);
        // Typing in the field then replaces what the list put there.
        name_->SelectAll();
    }

    void ItemOpened()
    {
        int i = list_->ItemIndex();
        if (i < 0) return;
        if (entries_[i].second)
            Navigate(folder_path_ / entries_[i].first);
        else
            Confirm();
    }

    void Confirm()
    {
        // Enter in the location field reaches the default button first: it
        // goes to the folder typed there.
        if (ActiveControl() == folder_) {
            Navigate(folder_->Text());
            return;
        }
        std::vector<std::string> names = ui::SplitFileNames(name_->Text());
        if (names.empty()) {
            int i = list_->ItemIndex();
            if (i >= 0 && entries_[i].second) Navigate(folder_path_ / entries_[i].first);
            return;
        }
        if (!Multi() && names.size() > 1) names.resize(1);
        std::error_code ec;
        if (names.size() == 1) {
            fs::path p = fs::path(names[0]).is_absolute() ? fs::path(names[0]) : folder_path_ / names[0];
            if (fs::is_directory(p, ec)) {
                name_->SetText("");
                Navigate(p);
                return;
            }
        }
        std::vector<std::string> full;
        for (const auto& n : names) {
            fs::path p = fs::path(n).is_absolute() ? fs::path(n) : folder_path_ / n;
            if ((dialog_.Options() & ofFileMustExist) && !fs::exists(p, ec)) {
                ui::ShowMessageBox(Caption(), p.filename().string() + "\r\n文件不存在。");
                return;
            }
            full.push_back(p.string());
        }
        chosen = full;
        filter_index = types_->ItemIndex() + 1;
        SetModalResult(mrOk);
    }

    TOpenDialog& dialog_;
    std::vector<ui::FileFilter> filters_;
    fs::path folder_path_;
    std::vector<std::pair<std::string, bool>> entries_;
    TEdit* folder_;
    TButton* up_;
    FileList* list_;
    TEdit* name_;
    TComboBox* types_;
    TButton* ok_;
    std::vector<std::string> picked_;  // the selected files, in the user's order
    bool opened_ = false;
};

}  // namespace

TOpenDialog::TOpenDialog(TComponent* AOwner) : TComponent(AOwner) {}

void TOpenDialog::Accept(const std::vector<std::string>& names)
{
    files_.BeginUpdate();
    files_.Clear();
    for (std::string n : names) {
        fs::path p(n);
        if (!default_ext_.empty() && p.extension().empty()) n += "." + default_ext_;
        files_.Add(n);
    }
    files_.EndUpdate();
    file_name_ = files_.Count() ? files_[0] : std::string();
    // The next run starts where this one ended.
    if (!file_name_.empty()) initial_dir_ = fs::path(file_name_).parent_path().string();
}

bool TOpenDialog::Execute()
{
    if (OnShow && !Loading()) OnShow(this);
    std::vector<std::string> result;
    bool ok = false;
    if (ui::HasFileDialogHook()) {
        std::optional<std::vector<std::string>> answer = ui::Hook()(*this);
        if (answer && !answer->empty()) {
            fs::path base = StartFolder(*this);
            for (const auto& a : *answer)
                result.push_back(fs::path(a).is_absolute() ? a : (base / a).string());
            if (!(options_ & ofAllowMultiSelect)) result.resize(1);
            ok = true;
        }
    } else {
        FileDialogForm form(*this);
        ok = form.ShowModal() == mrOk && !form.chosen.empty();
        if (ok) {
            result = form.chosen;
            filter_index_ = form.filter_index;
        }
    }
    if (ok) Accept(result);
    if (OnClose && !Loading()) OnClose(this);
    return ok;
}
