#pragma once
// TStrings: the list of text lines behind Items and Lines, with a change
// event. Text joins the lines with CR LF.
#include <functional>
#include <string>
#include <vector>

#include "platform/core/component.h"

class TStrings : public TObject {
public:
    TStrings() = default;
    TStrings(const TStrings& other) : TObject(), items_(other.items_) {}
    TStrings& operator=(const TStrings& other)
    {
        Assign(other);
        return *this;
    }

    int Count() const { return static_cast<int>(items_.size()); }
    const std::string& Strings(int index) const { return items_.at(index); }
    const std::string& operator[](int index) const { return items_.at(index); }
    void SetStrings(int index, const std::string& s);
    int Add(const std::string& s);
    void Insert(int index, const std::string& s);
    void Delete(int index);
    void Clear();
    void Move(int from, int to);
    void Exchange(int a, int b);
    // Exact match; -1 when absent.
    int IndexOf(const std::string& s) const;
    void Assign(const TStrings& other);
    void AddStrings(const TStrings& other);
    const std::vector<std::string>& Items() const { return items_; }

    // Lines joined with CR LF (each line ends in one); setting splits at CR LF, LF or CR.
    std::string Text() const;
    void SetText(const std::string& text);

    // Batches changes: one OnChange at the outermost EndUpdate.
    void BeginUpdate() { ++updating_; }
    void EndUpdate();

    TNotifyEvent OnChange;

private:
    void Changed();
    std::vector<std::string> items_;
    int updating_ = 0;
    bool changed_while_updating_ = false;
};
