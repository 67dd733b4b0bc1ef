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

// One owned component frees a sibling while the owner walks its list; the
// sibling must leave the list at once and never be reached or freed again.
enum class FreedIn { Loaded, Notification, Destructor };
void PrintTo(FreedIn f, std::ostream* os) { *os << static_cast<int>(f); }

class FreesSibling : public wb::Component {
public:
    FreesSibling(Component* owner, FreedIn when) : Component(owner), when_(when) {}
    ~FreesSibling() override {
        Destroying_();
        if (when_ == FreedIn::Destructor) FreeVictim();
    }
    Component* victim = nullptr;

protected:
    void Loaded() override {
        Component::Loaded();
        if (when_ == FreedIn::Loaded) FreeVictim();
    }
    void Notification(Component* c, wb::Operation op) override {
        Component::Notification(c, op);
        if (when_ == FreedIn::Notification && op == wb::Operation::Insert && c != victim) FreeVictim();
    }

private:
    void FreeVictim() { delete std::exchange(victim, nullptr); }
    FreedIn when_;
};

class ComponentFreedMeanwhile : public ::testing::TestWithParam<std::pair<const char*, FreedIn>> {};

TEST_P(ComponentFreedMeanwhile, LeavesTheOwnersListOnce) {
    const FreedIn when = GetParam().second;
    auto* owner = new wb::Component();
    owner->BeginLoading();
    // The owner frees its own last first: to reach the freer first, the victim comes before it.
    auto* victim = when == FreedIn::Destructor ? new Watcher(owner) : nullptr;
    auto* freer = new FreesSibling(owner, when);
    freer->victim = victim ? victim : new Watcher(owner);
    freer->victim->SetName("Victim");
    owner->EndLoading();
    if (when == FreedIn::Notification) new wb::Component(owner);
    if (when != FreedIn::Destructor) {
        EXPECT_EQ(owner->FindComponent("Victim"), nullptr);
    }
    delete owner;  // a second free of the victim shows under the address checker
}

INSTANTIATE_TEST_SUITE_P(Component, ComponentFreedMeanwhile,
                         ::testing::Values(std::pair{"WhileLoading", FreedIn::Loaded},
                                           std::pair{"WhileNotified", FreedIn::Notification},
                                           std::pair{"WhileTheOwnerFreesItsOwn", FreedIn::Destructor}),
                         [](const auto& info) { return std::string(info.param.first); });

} // namespace
