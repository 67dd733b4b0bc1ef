#include "platform/base/Component.h"

#include <algorithm>

#include "platform/base/TextUtil.h"

namespace wb {

const ClassInfo& Persistent::StaticClass() {
    static const ClassInfo info("Persistent", nullptr);
    return info;
}

void Persistent::Assign(const Persistent& source) {
    if (&source == this) return;
    if (&source.Class() != &Class())
        throw PropertyError("Cannot assign a " + source.ClassName() + " to a " + ClassName());
    for (const PropInfo* p : Class().Properties()) {
        if (p->getOrd && p->setOrd) p->setOrd(*this, p->getOrd(source));
        else if (p->getFloat && p->setFloat) p->setFloat(*this, p->getFloat(source));
        else if (p->getStr && p->setStr) p->setStr(*this, p->getStr(source));
        else if (p->getVar && p->setVar) p->setVar(*this, p->getVar(source));
        else if (p->getObj && p->setObj) p->setObj(*this, p->getObj(source));
        else if (p->getObj) {
            Persistent* mine = p->getObj(*this);
            Persistent* theirs = p->getObj(source);
            if (mine && theirs) mine->Assign(*theirs);
        }
    }
}

const ClassInfo& Component::StaticClass() {
    static ClassInfo& info = [] () -> ClassInfo& {
        static ClassInfo i("Component", &Persistent::StaticClass());
        PropInfo name;
        name.name = "Name";
        name.kind = TypeKind::LString;
        name.getStr = [](const Persistent& o) { return static_cast<const Component&>(o).Name(); };
        name.setStr = [](Persistent& o, const std::string& v) { static_cast<Component&>(o).SetName(v); };
        i.Add(std::move(name));
        i.Integer<Component, int64_t>("Tag", &Component::Tag, &Component::SetTag);
        return i;
    }();
    return info;
}

Component::Component(Component* owner) {
    if (owner) owner->InsertComponent(this);
}

Component::~Component() {
    Destroying_();
    NotifyFreeing();
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void Component::NotifyFreeing() {
    // One at a time: a notified component may free others of the list.
    while (!freeNotifies_.empty()) {
        Component* c = freeNotifies_.back();
        freeNotifies_.pop_back();
        auto& theirs = c->freeNotifies_;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        c->Notification(this, Operation::Remove);
    }
}

void Component::Destroying_() {
    if (state_ & csDestroying) return;
    state_ |= csDestroying;
    for (Component* c : components_) c->Destroying_();
}

void Component::DestroyComponents() {
    while (!components_.empty()) {
        Component* c = components_.back();
        // The child removes itself from this owner as it goes.
        delete c;
    }
}

void Component::SetName(const std::string& name) {
    if (name == name_) return;
    if (!name.empty() && owner_) {
        Component* other = owner_->FindComponent(name);
        if (other && other != this)
            throw PropertyError("A component named " + name + " already exists");
    }
    name_ = name;
}

Component* Component::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (Component* c : components_)
        if (SameText(c->name_, name)) return c;
    return nullptr;
}

void Component::InsertComponent(Component* c) {
    if (!c || c->owner_ == this) return;
    if (c->owner_) c->owner_->RemoveComponent(c);
    components_.push_back(c);
    c->owner_ = this;
    if (state_ & csDesigning) c->SetDesigning(true);
    if (state_ & csLoading) c->BeginLoading();
    Notification(c, Operation::Insert);
}

void Component::RemoveComponent(Component* c) {
    auto it = std::find(components_.begin(), components_.end(), c);
    if (it == components_.end()) return;
    Notification(c, Operation::Remove);
    it = std::find(components_.begin(), components_.end(), c);
    if (it != components_.end()) components_.erase(it);
    c->owner_ = nullptr;
}

void Component::BeginLoading() {
    state_ |= csLoading;
    for (Component* c : components_) c->BeginLoading();
}

void Component::EndLoading() {
    // A copy checked as it goes: the Loaded of one may free another.
    const std::vector<Component*> owned = components_;
    for (Component* c : owned)
        if (std::find(components_.begin(), components_.end(), c) != components_.end() && c->Loading())
            c->EndLoading();
    if (Loading()) Loaded();
}

void Component::SetDesigning(bool on) {
    if (on) state_ |= csDesigning;
    else state_ &= ~uint32_t(csDesigning);
    for (Component* c : components_) c->SetDesigning(on);
}

void Component::FreeNotification(Component* c) {
    if (!c || c == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), c) == freeNotifies_.end())
        freeNotifies_.push_back(c);
    if (std::find(c->freeNotifies_.begin(), c->freeNotifies_.end(), this) == c->freeNotifies_.end())
        c->freeNotifies_.push_back(this);
}

void Component::RemoveFreeNotification(Component* c) {
    if (!c) return;
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), c), freeNotifies_.end());
    c->freeNotifies_.erase(std::remove(c->freeNotifies_.begin(), c->freeNotifies_.end(), this),
                           c->freeNotifies_.end());
}

void Component::Notification(Component* c, Operation op) {
    if (op == Operation::Remove && c) RemoveFreeNotification(c);
    // A copy: a handler may free or add components.
    std::vector<Component*> owned = components_;
    for (Component* child : owned)
        if (child != c && std::find(components_.begin(), components_.end(), child) != components_.end())
            child->Notification(c, op);
}

namespace {
std::vector<Component*>& Forms() {
    static std::vector<Component*> forms;
    return forms;
}
}

void FormList::Add(Component* form) {
    if (std::find(Forms().begin(), Forms().end(), form) == Forms().end()) Forms().push_back(form);
}
void FormList::Remove(Component* form) {
    Forms().erase(std::remove(Forms().begin(), Forms().end(), form), Forms().end());
}
const std::vector<Component*>& FormList::All() { return Forms(); }

namespace {
// The lists' error for an index outside 0..last.
void CheckListIndex(int i, int last) {
    if (i < 0 || i > last) throw PropertyError("List index out of bounds (" + std::to_string(i) + ")");
}
}

Component* FindFormByName(std::string_view name) {
    for (Component* f : Forms())
        if (SameText(f->Name(), name)) return f;
    return nullptr;
}

// ---- string lists

const ClassInfo& StringList::StaticClass() {
    static const ClassInfo info("StringList", &Persistent::StaticClass());
    return info;
}

void StringList::Set(int i, const std::string& s) {
    lines_.at(size_t(i)).text = s;
    Changed();
}

int StringList::Add(const std::string& s, Persistent* o) {
    lines_.push_back({s, o});
    Changed();
    return Count() - 1;
}

void StringList::Insert(int i, const std::string& s, Persistent* o) {
    CheckListIndex(i, Count());
    lines_.insert(lines_.begin() + i, Line{s, o});
    Changed();
}

void StringList::Delete(int i) {
    CheckListIndex(i, Count() - 1);
    lines_.erase(lines_.begin() + i);
    Changed();
}

void StringList::Clear() {
    if (lines_.empty()) return;
    lines_.clear();
    Changed();
}

int StringList::IndexOf(std::string_view s) const {
    for (size_t i = 0; i < lines_.size(); ++i)
        if (SameText(lines_[i].text, s)) return static_cast<int>(i);
    return -1;
}

std::vector<std::string> StringList::Lines() const {
    std::vector<std::string> r;
    for (const Line& l : lines_) r.push_back(l.text);
    return r;
}

void StringList::SetLines(const std::vector<std::string>& lines) {
    lines_.clear();
    for (const std::string& s : lines) lines_.push_back({s, nullptr});
    Changed();
}

void StringList::Assign(const Persistent& source) {
    const auto* other = dynamic_cast<const StringList*>(&source);
    if (!other) return Persistent::Assign(source);
    if (other == this) return;
    lines_ = other->lines_;
    Changed();
}

// ---- collections

const ClassInfo& CollectionItem::StaticClass() {
    static const ClassInfo info("CollectionItem", &Persistent::StaticClass());
    return info;
}

int CollectionItem::Index() const { return collection_ ? collection_->IndexOf(this) : -1; }

const ClassInfo& Collection::StaticClass() {
    static const ClassInfo info("Collection", &Persistent::StaticClass());
    return info;
}

CollectionItem* Collection::Add() {
    items_.push_back(factory_(this));
    Changed();
    return items_.back().get();
}

void Collection::Delete(int i) {
    CheckListIndex(i, Count() - 1);
    items_.erase(items_.begin() + i);
    Changed();
}

void Collection::Clear() {
    if (items_.empty()) return;
    items_.clear();
    Changed();
}

void Collection::EndUpdate() {
    if (updating_ > 0 && --updating_ == 0 && pending_) {
        pending_ = false;
        if (OnChange) OnChange();
    }
}

void Collection::Changed() {
    if (updating_) pending_ = true;
    else if (OnChange) OnChange();
}

int Collection::IndexOf(const CollectionItem* item) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == item) return static_cast<int>(i);
    return -1;
}

void Collection::Assign(const Persistent& source) {
    const auto* other = dynamic_cast<const Collection*>(&source);
    if (!other) return Persistent::Assign(source);
    if (other == this) return;
    BeginUpdate();
    Clear();
    for (const auto& item : other->items_) Add()->Assign(*item);
    EndUpdate();
}

} // namespace wb
