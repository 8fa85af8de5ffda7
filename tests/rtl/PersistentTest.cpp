#include "rtl/Exceptions.h"
#include "rtl/Persistent.h"

#include <gtest/gtest.h>

#include <memory>

using namespace plx;

namespace {

class TCounted : public TObject {
public:
    explicit TCounted(int& destroyed)
        : m_destroyed(destroyed)
    {
    }
    ~TCounted() override { ++m_destroyed; }

private:
    int& m_destroyed;
};

class TPoint3 : public TPersistent {
public:
    int x = 0;

    void Assign(const TPersistent* source) override
    {
        if (auto point = dynamic_cast<const TPoint3*>(source)) {
            x = point->x;
            return;
        }
        TPersistent::Assign(source);
    }
};

class TLabel3 : public TPersistent {
public:
    int x = 0;

protected:
    // A source that knows how to copy itself into a TPoint3.
    void AssignTo(TPersistent* dest) const override
    {
        if (auto point = dynamic_cast<TPoint3*>(dest)) {
            point->x = x;
            return;
        }
        TPersistent::AssignTo(dest);
    }
};

class TOther3 : public TPersistent {};

std::string AssignMessage(TPersistent& dest, const TPersistent* source)
{
    try {
        dest.Assign(source);
    } catch (const EConvertError& e) {
        return e.Message();
    }
    return "(no error)";
}

} // namespace

TEST(TObject, DestroysThroughTheBaseClass)
{
    int destroyed = 0;
    std::unique_ptr<TObject> object = std::make_unique<TCounted>(destroyed);
    object.reset();
    EXPECT_EQ(destroyed, 1);
}

TEST(TObject, ClassNameHasNoNamespace)
{
    int destroyed = 0;
    TCounted counted(destroyed);
    EXPECT_EQ(counted.ClassName(), "TCounted");
    EXPECT_EQ(TPersistent().ClassName(), "TPersistent");
}

TEST(TPersistent, AssignCopiesSupportedSources)
{
    TPoint3 a, b;
    b.x = 7;
    a.Assign(&b);
    EXPECT_EQ(a.x, 7);
}

TEST(TPersistent, UnsupportedSourcesReachAssignTo)
{
    TLabel3 label;
    label.x = 4;
    TPoint3 point;
    point.Assign(&label);
    EXPECT_EQ(point.x, 4);
}

TEST(TPersistent, AnUnsupportedPairNamesBothClasses)
{
    TPoint3 point;
    TOther3 other;
    EXPECT_EQ(AssignMessage(point, &other), "Cannot assign a TOther3 to a TPoint3");
    EXPECT_EQ(AssignMessage(other, &point), "Cannot assign a TPoint3 to a TOther3");
    EXPECT_EQ(AssignMessage(point, nullptr), "Cannot assign a nil to a TPoint3");
    TLabel3 label;
    EXPECT_EQ(AssignMessage(other, &label), "Cannot assign a TLabel3 to a TOther3");
}
