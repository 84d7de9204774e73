#pragma once
// The desktop clipboard (text), through the back end.
#include <string>

class TClipboard {
public:
    std::string AsText() const;
    void SetAsText(const std::string& text);
    bool HasText() const { return !AsText().empty(); }
    void Clear() { SetAsText(""); }
};

TClipboard& Clipboard();
