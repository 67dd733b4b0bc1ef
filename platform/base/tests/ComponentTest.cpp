#include <gtest/gtest.h>

#include <utility>

#include "platform/base/Component.h"
#include "platform/base/TextUtil.h"

namespace {

// Records the removal notifications it is given.
class Watcher : public wb::Component {
public:
    using Component::Component;
    std::vector<std::string> removed;

protected:
    void Notification(wb::Component* c, wb::Operation op) override {
        Component::Notification(c, op);
        if (op == wb::Operation::Remove) removed.push_back(c->Name());
    }
};

TEST(Component, OwnedComponentsAreFoundWithoutRegardToCaseAndFreedWithTheOwner) {
    auto* owner = new wb::Component();
    auto* a = new wb::Component(owner);
    a->SetName("UrlEdit");
    auto* b = new wb::Component(owner);
    b->SetName("PortEdit");
    EXPECT_EQ(owner->FindComponent("urledit"), a);
    EXPECT_EQ(owner->FindComponent("PORTEDIT"), b);
    EXPECT_EQ(owner->FindComponent(""), nullptr);
    EXPECT_EQ(owner->FindComponent("Other"), nullptr);
    EXPECT_THROW(b->SetName("URLEDIT"), wb::PropertyError);
    EXPECT_EQ(b->Name(), "PortEdit");
    b->SetName("portedit");  // its own name in other case is fine
    delete a;
    EXPECT_EQ(owner->ComponentCount(), 1);
    delete owner;  // frees b; a leak checker would see it otherwise
}

TEST(Component, SiblingsAndFreeNotificationsHearOfARemoval) {
    wb::Component owner;
    auto* watcher = new Watcher(&owner);
    watcher->SetName("Watcher");
    auto* sibling = new wb::Component(&owner);
    sibling->SetName("Sibling");
    Watcher far;
    auto* target = new wb::Component();
    target->SetName("Target");
    far.FreeNotification(target);
    delete sibling;
    EXPECT_EQ(watcher->removed, (std::vector<std::string>{"Sibling"}));
    delete target;
    EXPECT_EQ(far.removed, (std::vector<std::string>{"Target"}));
}

TEST(Component, LoadingReachesOwnedComponentsFirst) {
    struct Probe : wb::Component {
        using Component::Component;
        std::vector<std::string>* log;
        void Loaded() override {
            Component::Loaded();
            log->push_back(Name());
        }
    };
    std::vector<std::string> log;
    Probe owner;
    owner.log = &log;
    owner.SetName("Form");
    owner.BeginLoading();
    auto* child = new Probe(&owner);
    child->log = &log;
    child->SetName("Child");
    EXPECT_TRUE(child->Loading());
    owner.EndLoading();
    EXPECT_EQ(log, (std::vector<std::string>{"Child", "Form"}));
    EXPECT_FALSE(owner.Loading());
}

TEST(Component, FormsAreFoundByName) {
    wb::Component form;
    form.SetName("ID3Frm");
    EXPECT_EQ(wb::FindFormByName("id3frm"), nullptr);
    wb::FormList::Add(&form);
    EXPECT_EQ(wb::FindFormByName("id3frm"), &form);
    wb::FormList::Remove(&form);
    EXPECT_EQ(wb::FindFormByName("ID3Frm"), nullptr);
}

TEST(Published, TypedAccessChecksTheKind) {
    wb::Component c;
    c.SetTag(5);
    const wb::PropInfo* tag = c.Class().FindProperty("TAG");
    const wb::PropInfo* name = c.Class().FindProperty("Name");
    ASSERT_NE(tag, nullptr);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(wb::GetOrdProp(c, *tag), 5);
    wb::SetStrProp(c, *name, "Renamed");
    EXPECT_EQ(c.Name(), "Renamed");
    EXPECT_THROW(wb::GetStrProp(c, *tag), wb::PropertyError);
    EXPECT_THROW(wb::SetFloatProp(c, *name, 1.0), wb::PropertyError);
}

// A class that publishes again what its parent declared lists it once, as
// its own, and copying an object goes through the later declaration.
TEST(Published, ARepublishedPropertyCountsOnceAndAsTheLaterOne) {
    struct Doubled : wb::Component {
        static const wb::ClassInfo& StaticClass() {
            static wb::ClassInfo& info = []() -> wb::ClassInfo& {
                static wb::ClassInfo i("Doubled", &wb::Component::StaticClass());
                i.Integer<Doubled, int64_t>("TAG", &Doubled::Twice, &Doubled::SetHalf);
                return i;
            }();
            return info;
        }
        const wb::ClassInfo& Class() const override { return StaticClass(); }
        int64_t Twice() const { return Tag() * 2; }
        void SetHalf(int64_t v) { SetTag(v / 2); }
    };
    Doubled a, b;
    a.SetTag(5);
    int tags = 0;
    for (const wb::PropInfo* p : a.Class().Properties()) tags += wb::SameText(p->name, "Tag");
    EXPECT_EQ(tags, 1);
    EXPECT_EQ(wb::GetOrdProp(a, *a.Class().FindProperty("Tag")), 10);
    b.Assign(a);
    EXPECT_EQ(b.Tag(), 5);
    wb::Component plain;
    EXPECT_THROW(plain.Assign(a), wb::PropertyError);
}

TEST(Variant, Texts) {
    EXPECT_EQ(wb::Variant().ToString(), "");
    EXPECT_EQ(wb::Variant(true).ToString(), "True");
    EXPECT_EQ(wb::Variant(int64_t(-3)).ToString(), "-3");
    EXPECT_EQ(wb::Variant(1.5).ToString(), "1.5");
    EXPECT_TRUE(wb::Variant().IsEmpty());
}

} // namespace

namespace {

// One owned component frees a sibling while the owner walks its list; the
// sibling must leave the list at once and never be reached or freed again.
struct SiblingFreeCase {
    const char* name;
    void (*walk)(wb::Component& owner);
    bool inLoaded, inNotification, inDestructor;  // where the sibling is freed
    bool victimFirst;  // the walk must reach the freer first: the owner frees its own last first
};

class FreesSibling : public wb::Component {
public:
    FreesSibling(Component* owner, const SiblingFreeCase& c) : Component(owner), case_(c) {}
    ~FreesSibling() override {
        Destroying_();
        if (case_.inDestructor) FreeVictim();
    }
    Component* victim = nullptr;

protected:
    void Loaded() override {
        Component::Loaded();
        if (case_.inLoaded) FreeVictim();
    }
    void Notification(Component* c, wb::Operation op) override {
        Component::Notification(c, op);
        if (case_.inNotification && op == wb::Operation::Insert && c != victim) FreeVictim();
    }

private:
    void FreeVictim() { delete std::exchange(victim, nullptr); }
    SiblingFreeCase case_;
};

class ComponentFreedMeanwhile : public ::testing::TestWithParam<SiblingFreeCase> {};

TEST_P(ComponentFreedMeanwhile, LeavesTheOwnersListOnce) {
    const SiblingFreeCase& c = GetParam();
    auto* owner = new wb::Component();
    owner->BeginLoading();
    auto* victim = c.victimFirst ? new Watcher(owner) : nullptr;
    auto* freer = new FreesSibling(owner, c);
    freer->victim = victim ? victim : new Watcher(owner);
    freer->victim->SetName("Victim");
    c.walk(*owner);
    if (!c.inDestructor) {
        EXPECT_EQ(owner->FindComponent("Victim"), nullptr);
    }
    delete owner;  // a second free of the victim shows under the address checker
}

INSTANTIATE_TEST_SUITE_P(
    Component, ComponentFreedMeanwhile,
    ::testing::Values(
        SiblingFreeCase{"WhileLoading", [](wb::Component& o) { o.EndLoading(); }, true, false, false, false},
        SiblingFreeCase{"WhileNotified",
                        [](wb::Component& o) {
                            o.EndLoading();
                            new wb::Component(&o);
                        },
                        false, true, false, false},
        SiblingFreeCase{"WhileTheOwnerFreesItsOwn", [](wb::Component& o) { o.EndLoading(); }, false, false,
                        true, true}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
