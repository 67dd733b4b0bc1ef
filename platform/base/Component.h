#pragma once
// The component model: objects with published properties, components with a
// name and an owner that frees them, string lists and collections.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/Published.h"

namespace wb {

class Persistent {
public:
    virtual ~Persistent() = default;
    static const ClassInfo& StaticClass();
    virtual const ClassInfo& Class() const { return StaticClass(); }
    const std::string& ClassName() const { return Class().Name(); }
    bool InheritsFrom(const ClassInfo& c) const { return Class().InheritsFrom(c); }
    // Copies another object's state; throws PropertyError when the classes do not fit.
    virtual void Assign(const Persistent& source);
};

class Component;

enum class Operation { Insert, Remove };

// Component state flags.
enum ComponentStateFlag : uint32_t {
    csLoading = 1, csReading = 2, csWriting = 4, csDestroying = 8, csDesigning = 16
};

class Component : public Persistent {
public:
    explicit Component(Component* owner = nullptr);
    ~Component() override;
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }

    const std::string& Name() const { return name_; }
    // Throws PropertyError when a sibling already has the name (ignoring case).
    virtual void SetName(const std::string& name);
    int64_t Tag() const { return tag_; }
    void SetTag(int64_t tag) { tag_ = tag; }

    Component* Owner() const { return owner_; }
    const std::vector<Component*>& Components() const { return components_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    // The owned component of that name, ignoring case, or null.
    Component* FindComponent(std::string_view name) const;
    void InsertComponent(Component* c);
    void RemoveComponent(Component* c);

    uint32_t ComponentState() const { return state_; }
    bool Designing() const { return state_ & csDesigning; }
    bool Destroying() const { return state_ & csDestroying; }
    bool Loading() const { return state_ & csLoading; }
    void SetDesigning(bool on);
    // Brackets the making of a component and its owned ones as from a
    // stored description: at the end Loaded runs for the owned components,
    // then for this one.
    void BeginLoading();
    void EndLoading();

    // Asks c to tell this component when it is freed (and the reverse).
    void FreeNotification(Component* c);
    void RemoveFreeNotification(Component* c);

protected:
    // Called for every component inserted into or removed from the owner,
    // and for every freed component that asked for it; passes itself on to
    // the owned components.
    virtual void Notification(Component* c, Operation op);
    virtual void Loaded() { state_ &= ~uint32_t(csLoading); }
    // Marks this component and its owned ones as being destroyed; a class
    // whose destructor does work that depends on the flag calls it first.
    void Destroying_();
    // Frees the owned components now; a class whose owned components use it
    // while they go calls this at the start of its destructor.
    void DestroyComponents();
    // Tells every component that asked for it that this one is going; done
    // by the destructor, earlier by a class whose parts they may touch.
    void NotifyFreeing();

private:
    std::string name_;
    int64_t tag_ = 0;
    Component* owner_ = nullptr;
    std::vector<Component*> components_;
    std::vector<Component*> freeNotifies_;
    uint32_t state_ = 0;
};

// Every open form of the process, in creation order.
class FormList {
public:
    static void Add(Component* form);
    static void Remove(Component* form);
    static const std::vector<Component*>& All();
};
// The open form whose name equals the given one ignoring case, or null.
Component* FindFormByName(std::string_view name);

// Lines of text, each with an optional attached object.
class StringList : public Persistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }

    int Count() const { return static_cast<int>(lines_.size()); }
    const std::string& operator[](int i) const { return lines_.at(size_t(i)).text; }
    void Set(int i, const std::string& s);
    Persistent* Object(int i) const { return lines_.at(size_t(i)).object; }
    void SetObject(int i, Persistent* o) { lines_.at(size_t(i)).object = o; Changed(); }
    int Add(const std::string& s, Persistent* o = nullptr);
    void Insert(int i, const std::string& s, Persistent* o = nullptr);
    void Delete(int i);
    void Clear();
    int IndexOf(std::string_view s) const;  // ignoring case
    std::vector<std::string> Lines() const;
    void SetLines(const std::vector<std::string>& lines);
    void Assign(const Persistent& source) override;
    std::function<void()> OnChange;

private:
    void Changed() { if (OnChange) OnChange(); }
    struct Line { std::string text; Persistent* object = nullptr; };
    std::vector<Line> lines_;
};

class Collection;

class CollectionItem : public Persistent {
public:
    explicit CollectionItem(Collection* collection) : collection_(collection) {}
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }
    Collection* GetCollection() const { return collection_; }
    int Index() const;
    virtual std::string DisplayName() const { return ClassName(); }

private:
    friend class Collection;
    Collection* collection_;
};

// Items of one class, made by a factory, owned by the collection.
class Collection : public Persistent {
public:
    using Factory = std::function<std::unique_ptr<CollectionItem>(Collection*)>;
    explicit Collection(Factory factory) : factory_(std::move(factory)) {}
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }

    int Count() const { return static_cast<int>(items_.size()); }
    CollectionItem* Item(int i) const { return items_.at(size_t(i)).get(); }
    CollectionItem* Add();
    void Delete(int i);
    void Clear();
    void BeginUpdate() { ++updating_; }
    void EndUpdate();
    bool Updating() const { return updating_ > 0; }
    int IndexOf(const CollectionItem* item) const;
    void Assign(const Persistent& source) override;
    std::function<void()> OnChange;  // after a change, outside update brackets

private:
    void Changed();
    Factory factory_;
    std::vector<std::unique_ptr<CollectionItem>> items_;
    int updating_ = 0;
    bool pending_ = false;
};

} // namespace wb
