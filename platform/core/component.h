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
    // Names are not checked for uniqueness; FindComponent finds the first.
    void SetName(const std::string& name);
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(index); }
    // Case-insensitive search among the owned components.
    TComponent* FindComponent(const std::string& name) const;

    // Removal notification, both ways: `this` hears (Notification with
    // opRemove) when `other` is destroyed, and `other` hears when `this` is.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);
    enum class TOperation { opInsert, opRemove };
    // The default passes the notification on to every owned component, so a
    // component hears about its siblings coming and going; overrides call it.
    // It is sent when a component joins or leaves its owner, and to every
    // free-notification partner when a component is destroyed.
    virtual void Notification(TComponent* AComponent, TOperation Operation);

    // While loading, events are muted (forms set this while they build).
    bool Loading() const { return loading_; }
    void SetLoading(bool loading) { loading_ = loading; }

protected:
    // Frees the owned components now, last created first. A class whose
    // members the owned components may still use calls it in its destructor.
    void DestroyComponents();

private:
    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);

    TComponent* owner_ = nullptr;
    std::string name_;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> free_notifies_;
    bool loading_ = false;
};
