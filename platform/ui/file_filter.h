#pragma once
// The file-type filters of the file dialogs: "名称|*.jpg;*.jpeg|全部|*.*".
#include <string>
#include <vector>

namespace ui {

struct FileFilter {
    std::string name;
    std::vector<std::string> patterns;  // "*.jpg"; "*" or "*.*" takes every file
};

// Pairs of name and pattern list. A filter without a single complete pair
// (such as "保存位置") gives one entry that shows every file.
std::vector<FileFilter> ParseFileFilter(const std::string& filter);
// Wildcards * and ?; ASCII letters match case-insensitively.
bool MatchesPattern(const std::string& name, const std::string& pattern);
bool MatchesFilter(const std::string& name, const FileFilter& filter);
// Splits the dialog's file-name text: "a.jpg" "b.jpg" gives both in that
// order; text without quotes is one name.
std::vector<std::string> SplitFileNames(const std::string& text);

}  // namespace ui
