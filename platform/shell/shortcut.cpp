#include "platform/shell/shortcut.h"

#include <system_error>

#include "platform/core/files.h"

namespace shell {

namespace {

// The escapes of a string value: backslash and the control characters that
// would end or break the line.
std::string EscapeValue(std::string_view value)
{
    std::string out;
    for (char c : value) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default: out += c;
        }
    }
    return out;
}

bool NeedsQuotes(std::string_view argument)
{
    if (argument.empty()) return true;
    for (char c : argument) {
        switch (c) {
        case ' ':
        case '\t':
        case '\n':
        case '"':
        case '\'':
        case '\\':
        case '>':
        case '<':
        case '~':
        case '|':
        case '&':
        case ';':
        case '$':
        case '*':
        case '?':
        case '#':
        case '(':
        case ')':
        case '`': return true;
        default: break;
        }
    }
    return false;
}

}  // namespace

fs::path ShortcutPath(const fs::path& folder, std::string_view name)
{
    return folder / (std::string(name) + ".desktop");
}

std::string QuoteExecArgument(std::string_view argument)
{
    std::string out;
    const bool quoted = NeedsQuotes(argument);
    if (quoted) out += '"';
    for (char c : argument) {
        if (c == '%') {
            out += "%%";
            continue;
        }
        if (quoted && (c == '"' || c == '`' || c == '$' || c == '\\')) out += '\\';
        out += c;
    }
    if (quoted) out += '"';
    return out;
}

std::string FormatShortcut(const Shortcut& shortcut)
{
    std::string exec = QuoteExecArgument(shortcut.program.string());
    for (const std::string& argument : shortcut.arguments) exec += ' ' + QuoteExecArgument(argument);

    std::string text = "[Desktop Entry]\n";
    text += "Type=Application\n";
    text += "Version=1.0\n";
    text += "Name=" + EscapeValue(shortcut.name) + "\n";
    if (!shortcut.comment.empty()) text += "Comment=" + EscapeValue(shortcut.comment) + "\n";
    text += "Exec=" + EscapeValue(exec) + "\n";
    if (!shortcut.workingDir.empty()) text += "Path=" + EscapeValue(shortcut.workingDir.string()) + "\n";
    if (!shortcut.icon.empty()) text += "Icon=" + EscapeValue(shortcut.icon) + "\n";
    if (!shortcut.categories.empty()) text += "Categories=" + EscapeValue(shortcut.categories) + "\n";
    text += "Terminal=false\n";
    return text;
}

bool WriteShortcut(const fs::path& folder, std::string_view name, const Shortcut& shortcut)
{
    if (!core::ForceDirectories(folder)) return false;
    const fs::path path = ShortcutPath(folder, name);
    if (!core::WriteFileBytes(path, FormatShortcut(shortcut))) return false;
    std::error_code ec;
    fs::permissions(path, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                    fs::perm_options::add, ec);
    return true;
}

bool DeleteShortcut(const fs::path& folder, std::string_view name)
{
    return core::DeleteFile(ShortcutPath(folder, name));
}

}  // namespace shell
