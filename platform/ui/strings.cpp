#include "platform/ui/strings.h"

#include <stdexcept>

#include "platform/core/text.h"

void TStrings::Changed()
{
    if (updating_ > 0) {
        changed_while_updating_ = true;
        return;
    }
    if (OnChange) OnChange(this);
}

void TStrings::EndUpdate()
{
    if (updating_ > 0) --updating_;
    if (updating_ == 0 && changed_while_updating_) {
        changed_while_updating_ = false;
        Changed();
    }
}

void TStrings::SetStrings(int index, const std::string& s)
{
    items_.at(index) = s;
    Changed();
}

int TStrings::Add(const std::string& s)
{
    items_.push_back(s);
    Changed();
    return Count() - 1;
}

void TStrings::Insert(int index, const std::string& s)
{
    if (index < 0 || index > Count()) throw std::out_of_range("List index out of bounds");
    items_.insert(items_.begin() + index, s);
    Changed();
}

void TStrings::Delete(int index)
{
    if (index < 0 || index >= Count()) throw std::out_of_range("List index out of bounds");
    items_.erase(items_.begin() + index);
    Changed();
}

void TStrings::Clear()
{
    if (items_.empty()) return;
    items_.clear();
    Changed();
}

void TStrings::Move(int from, int to)
{
    if (from == to) return;
    std::string s = items_.at(from);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, s);
    Changed();
}

void TStrings::Exchange(int a, int b)
{
    std::swap(items_.at(a), items_.at(b));
    Changed();
}

int TStrings::IndexOf(const std::string& s) const
{
    for (int i = 0; i < Count(); ++i)
        if (items_[i] == s) return i;
    return -1;
}

void TStrings::Assign(const TStrings& other)
{
    if (&other == this) return;
    items_ = other.items_;
    Changed();
}

void TStrings::AddStrings(const TStrings& other)
{
    std::vector<std::string> copy = other.items_;
    items_.insert(items_.end(), copy.begin(), copy.end());
    Changed();
}

std::string TStrings::Text() const
{
    std::string out;
    for (const auto& s : items_) {
        out += s;
        out += "\r\n";
    }
    return out;
}

void TStrings::SetText(const std::string& text)
{
    items_ = core::SplitLines(text);
    Changed();
}
