#include "platform/ui/file_filter.h"

#include "platform/core/text.h"
#include "platform/ui/utf8.h"

namespace ui {

namespace {
std::vector<std::string> Split(const std::string& s, char sep)
{
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        size_t p = s.find(sep, start);
        out.push_back(s.substr(start, p == std::string::npos ? std::string::npos : p - start));
        if (p == std::string::npos) break;
        start = p + 1;
    }
    return out;
}
}  // namespace

std::vector<FileFilter> ParseFileFilter(const std::string& filter)
{
    std::vector<FileFilter> out;
    std::vector<std::string> parts = Split(filter, '|');
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        FileFilter f;
        f.name = parts[i];
        for (const std::string& p : Split(parts[i + 1], ';')) {
            std::string t = core::Trim(p);
            if (!t.empty()) f.patterns.push_back(t);
        }
        if (f.patterns.empty()) f.patterns.push_back("*");
        out.push_back(f);
    }
    if (out.empty()) out.push_back({filter, {"*"}});
    return out;
}

bool MatchesPattern(const std::string& name, const std::string& pattern)
{
    if (pattern == "*" || pattern == "*.*") return true;
    std::vector<char32_t> n = ui::utf8::CodePoints(name), p = ui::utf8::CodePoints(pattern);
    // Iterative wildcard match with back-tracking to the last star.
    size_t i = 0, j = 0, star = std::string::npos, mark = 0;
    while (i < n.size()) {
        if (j < p.size() && (p[j] == U'?' || utf8::ToLowerAscii(p[j]) == utf8::ToLowerAscii(n[i]))) {
            ++i;
            ++j;
        } else if (j < p.size() && p[j] == U'*') {
            star = j++;
            mark = i;
        } else if (star != std::string::npos) {
            j = star + 1;
            i = ++mark;
        } else {
            return false;
        }
    }
    while (j < p.size() && p[j] == U'*') ++j;
    return j == p.size();
}

bool MatchesFilter(const std::string& name, const FileFilter& filter)
{
    for (const std::string& p : filter.patterns)
        if (MatchesPattern(name, p)) return true;
    return false;
}

std::vector<std::string> SplitFileNames(const std::string& text)
{
    std::vector<std::string> out;
    if (text.find('"') == std::string::npos) {
        std::string t = core::Trim(text);
        if (!t.empty()) out.push_back(t);
        return out;
    }
    size_t i = 0;
    while (i < text.size()) {
        size_t open = text.find('"', i);
        if (open == std::string::npos) {
            std::string rest = core::Trim(text.substr(i));
            if (!rest.empty()) out.push_back(rest);
            break;
        }
        std::string before = core::Trim(text.substr(i, open - i));
        if (!before.empty()) out.push_back(before);
        size_t close = text.find('"', open + 1);
        std::string name =
            text.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
        if (!name.empty()) out.push_back(name);
        if (close == std::string::npos) break;
        i = close + 1;
    }
    return out;
}

}  // namespace ui
