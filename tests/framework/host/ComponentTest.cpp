// Components: weak links that clear when a component starts being destroyed,
// and the owner's index of names.
#include "framework/host/Component.h"
#include "rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace plx;

namespace {

// Looks at a link to another component while it is being destroyed itself.
class Looker : public TComponent {
public:
    Looker(TComponent* owner, bool& sawOther, bool& sawSelf)
        : TComponent(owner)
        , m_sawOther(sawOther)
        , m_sawSelf(sawSelf)
    {
    }
    ~Looker() override
    {
        m_sawOther = static_cast<bool>(other);
        const TWeakRef<Looker> self(this);
        m_sawSelf = static_cast<bool>(self);
    }
    TWeakRef<TComponent> other;

private:
    bool& m_sawOther;
    bool& m_sawSelf;
};

} // namespace

TEST(WeakRef, CopiesFollowTheComponentAndAllTurnNullWhenItIsFreed)
{
    auto* a = new TComponent(nullptr);
    auto b = std::make_unique<TComponent>(nullptr);
    TWeakRef<TComponent> first(a);
    TWeakRef<TComponent> copy(first);
    TWeakRef<TComponent> assigned;
    EXPECT_FALSE(assigned);
    assigned = copy;
    std::vector<TWeakRef<TComponent>> many(100, first);
    many.resize(1000, first); // moved around in memory: the links stay linked
    EXPECT_EQ(first.Get(), a);
    EXPECT_TRUE(copy == a);
    copy = b.get();
    EXPECT_EQ(copy.Get(), b.get());
    {
        TWeakRef<TComponent> scoped(a); // unlinks itself at scope end
    }
    delete a;
    EXPECT_FALSE(first);
    EXPECT_EQ(assigned.Get(), nullptr);
    for (const auto& link : many)
        EXPECT_FALSE(link);
    EXPECT_EQ(copy.Get(), b.get()) << "a link to another component is untouched";
    const std::vector<TComponent*> list { b.get(), b.get() };
    auto snapshot = WeakSnapshot(list);
    b.reset();
    EXPECT_FALSE(snapshot[0]);
    EXPECT_FALSE(snapshot[1]);
    EXPECT_FALSE(copy);
}

TEST(WeakRef, ClearWhenTheOwnerStartsBeingDestroyed)
{
    bool sawOther = true;
    bool sawSelf = true;
    auto* owner = new TComponent(nullptr);
    auto* sibling = new TComponent(owner);
    auto* looker = new Looker(owner, sawOther, sawSelf);
    looker->other = sibling;
    TWeakRef<TComponent> fromOutside(sibling);
    delete owner; // frees looker first (last in), then sibling
    EXPECT_FALSE(sawOther) << "the sibling is still in memory but already on its way";
    EXPECT_FALSE(sawSelf) << "a link made to a component being destroyed is null";
    EXPECT_FALSE(fromOutside);
}

TEST(ComponentNames, FoundWithoutRegardToCaseAndFreedForReuse)
{
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    a->SetName("Button1");
    EXPECT_EQ(owner.FindComponent("BUTTON1"), a);
    a->SetName("BUTTON1"); // the same name in other letters: still its own
    EXPECT_EQ(a->Name(), "BUTTON1");
    a->SetName("Ok");
    EXPECT_EQ(owner.FindComponent("button1"), nullptr) << "renaming frees the old name";
    auto* b = new TComponent(&owner);
    b->SetName("Button1");
    EXPECT_THROW(b->SetName("OK"), EComponentError);
    EXPECT_EQ(b->Name(), "Button1");
    EXPECT_EQ(owner.FindComponent("ok"), a);
    delete a;
    EXPECT_EQ(owner.FindComponent("ok"), nullptr) << "freeing frees the name";
    b->SetName("Ok");
    EXPECT_EQ(owner.FindComponent("OK"), b);
    b->SetName("");
    EXPECT_EQ(owner.FindComponent("ok"), nullptr);
    EXPECT_EQ(owner.FindComponent(""), nullptr);
}

TEST(ComponentNames, MovingToAnotherOwnerTakesTheNameAlong)
{
    TComponent first(nullptr);
    TComponent second(nullptr);
    auto* c = new TComponent(&first);
    c->SetName("Shared");
    auto* clash = new TComponent(&second);
    clash->SetName("shared");
    EXPECT_THROW(second.InsertComponent(c), EComponentError);
    EXPECT_EQ(c->Owner(), &first) << "a refused move leaves the component where it was";
    EXPECT_EQ(first.FindComponent("Shared"), c);
    clash->SetName("Other");
    second.InsertComponent(c);
    EXPECT_EQ(c->Owner(), &second);
    EXPECT_EQ(first.FindComponent("Shared"), nullptr);
    EXPECT_EQ(second.FindComponent("SHARED"), c);
    EXPECT_EQ(first.ComponentCount(), 0);
    EXPECT_EQ(second.ComponentCount(), 2);
}
