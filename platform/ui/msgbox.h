#pragma once
// The plain message box: a modal form with a caption, a text and one
// button "确定". Stands in until the skinned message box takes over.
#include <functional>
#include <string>

namespace ui {

void ShowMessageBox(const std::string& caption, const std::string& text, const std::string& button = "确定");

// Tests replace the box: the hook receives what would be shown.
using MessageBoxHook = std::function<void(const std::string& caption, const std::string& text)>;
void SetMessageBoxHook(MessageBoxHook hook);

// Routes the event loop's exception barrier to the message box.
void ReportExceptionsInMessageBox(const std::string& caption);

}  // namespace ui
