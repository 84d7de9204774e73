#pragma once
// TOpenDialog and TSaveDialog: the program's own modal file dialog with
// folder navigation, a filtered file list and multi-select. Tests replace
// the dialog with scripted answers (SetFileDialogHook).
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/component.h"
#include "platform/ui/strings.h"

using TOpenOptions = unsigned;
constexpr TOpenOptions ofReadOnly = 1;
constexpr TOpenOptions ofOverwritePrompt = 2;
constexpr TOpenOptions ofHideReadOnly = 4;
constexpr TOpenOptions ofNoChangeDir = 8;
constexpr TOpenOptions ofAllowMultiSelect = 16;
constexpr TOpenOptions ofPathMustExist = 32;
constexpr TOpenOptions ofFileMustExist = 64;
constexpr TOpenOptions ofEnableSizing = 128;

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* AOwner = nullptr);

    // The chosen file (the first one with multi-select); also the initial
    // file when Execute starts.
    const std::string& FileName() const { return file_name_; }
    void SetFileName(const std::string& name) { file_name_ = name; }
    // Every chosen file, in the order the user picked them.
    TStrings& Files() { return files_; }
    const TStrings& Files() const { return files_; }
    const std::string& Filter() const { return filter_; }
    void SetFilter(const std::string& filter) { filter_ = filter; }
    // 1-based, as the user left it.
    int FilterIndex() const { return filter_index_; }
    void SetFilterIndex(int index) { filter_index_ = index; }
    // Where the dialog starts when FileName names no folder; a confirmed
    // choice moves it to the chosen file's folder.
    const std::string& InitialDir() const { return initial_dir_; }
    void SetInitialDir(const std::string& dir) { initial_dir_ = dir; }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }
    // Added (without the dot) to a chosen name that has no extension.
    const std::string& DefaultExt() const { return default_ext_; }
    void SetDefaultExt(const std::string& ext) { default_ext_ = ext; }
    TOpenOptions Options() const { return options_; }
    void SetOptions(TOpenOptions options) { options_ = options; }
    virtual bool IsSaveDialog() const { return false; }

    // Shows the dialog modally; true when the user chose a file.
    virtual bool Execute();

    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

protected:
    // Stores the chosen names (absolute), applying DefaultExt.
    void Accept(const std::vector<std::string>& names);

private:
    std::string file_name_;
    TStrings files_;
    std::string filter_;
    int filter_index_ = 1;
    std::string initial_dir_;
    std::string title_;
    std::string default_ext_;
    TOpenOptions options_ = ofHideReadOnly | ofEnableSizing;
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* AOwner = nullptr) : TOpenDialog(AOwner) {}
    bool IsSaveDialog() const override { return true; }
};

namespace ui {
// Scripted answers in place of the dialog: the hook gets the dialog as set
// up and returns the chosen paths (empty optional: cancelled). Relative
// paths count from the dialog's initial folder.
using FileDialogHook = std::function<std::optional<std::vector<std::string>>(const TOpenDialog& dialog)>;
void SetFileDialogHook(FileDialogHook hook);
bool HasFileDialogHook();
}  // namespace ui
