#include "platform/core/component.h"

#include <algorithm>

namespace {

bool SameNameIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = x - 'A' + 'a';
        if (y >= 'A' && y <= 'Z') y = y - 'A' + 'a';
        if (x != y) return false;
    }
    return true;
}

void Erase(std::vector<TComponent*>& list, TComponent* c)
{
    list.erase(std::remove(list.begin(), list.end(), c), list.end());
}

}  // namespace

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    // Partners hear first, while this object still has its owner and name.
    std::vector<TComponent*> partners;
    partners.swap(free_notifies_);
    for (TComponent* other : partners) {
        Erase(other->free_notifies_, this);
        other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::DestroyComponents()
{
    while (!components_.empty()) {
        TComponent* last = components_.back();
        components_.pop_back();
        last->owner_ = nullptr;
        delete last;
    }
}

void TComponent::SetName(const std::string& name) { name_ = name; }

TComponent* TComponent::FindComponent(const std::string& name) const
{
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameNameIgnoringCase(c->name_, name)) return c;
    return nullptr;
}

void TComponent::FreeNotification(TComponent* other)
{
    if (!other || other == this) return;
    if (std::find(free_notifies_.begin(), free_notifies_.end(), other) == free_notifies_.end())
        free_notifies_.push_back(other);
    if (std::find(other->free_notifies_.begin(), other->free_notifies_.end(), this) ==
        other->free_notifies_.end())
        other->free_notifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other)
{
    if (!other) return;
    Erase(free_notifies_, other);
    Erase(other->free_notifies_, this);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove && AComponent) RemoveFreeNotification(AComponent);
    // Copy: a handler may free components while we walk the list.
    std::vector<TComponent*> children = components_;
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        TComponent* child = *it;
        if (child == AComponent) continue;
        if (std::find(components_.begin(), components_.end(), child) == components_.end()) continue;
        child->Notification(AComponent, Operation);
    }
}

void TComponent::InsertComponent(TComponent* c)
{
    c->owner_ = this;
    components_.push_back(c);
    Notification(c, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* c)
{
    Erase(components_, c);
    c->owner_ = nullptr;
    Notification(c, TOperation::opRemove);
}
