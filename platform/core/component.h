#pragma once
// The component model: ownership, names, removal notification and the
// loading flag. Controls (platform/ui) and timers build on it.
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TObject {
public:
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* AOwner = nullptr);
    ~TComponent() override;  // frees owned components, last created first
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(index); }
    // Case-insensitive search among the owned components.
    TComponent* FindComponent(const std::string& name) const;

    // Removal notification: `this` hears (Notification with opRemove) when
    // `other` is destroyed.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);
    enum class TOperation { opInsert, opRemove };
    virtual void Notification(TComponent* AComponent, TOperation Operation);

    // While loading, events are muted (forms set this while they build).
    bool Loading() const { return loading_; }
    void SetLoading(bool loading) { loading_ = loading; }

private:
    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);

    TComponent* owner_ = nullptr;
    std::string name_;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> free_notifies_;
    bool loading_ = false;
};
