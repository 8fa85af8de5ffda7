// A package of another vendor for the designer's tests: it requires Plumex and
// registers one component, TGradientHolder, that publishes a TGradient of its
// own. Plumex's gradient property editor must edit it.
#include "framework/host/Control.h"
#include "framework/host/DesignIntf.h"
#include "framework/host/Packages.h"
#include "framework/host/Published.h"
#include "paint/Gradient.h"
#include "rtl/TypInfo.h"
#include "rtl/Exceptions.h"
#include "rtl/UnitLifetime.h"

#include <array>
#include <cstdlib>

namespace plx::test {

//! A control that paints its gradient.
class TGradientHolder : public TGraphicControl {
public:
    explicit TGradientHolder(TComponent* owner)
        : TGraphicControl(owner)
    {
        SetBounds(0, 0, 40, 30);
        m_fill.SetOnChange([this](TObject*) { Invalidate(); });
    }

    TGradient& Fill() noexcept { return m_fill; }

    [[nodiscard]] const TClassInfo& ClassType() const override { return StaticClassInfo(); }
    [[nodiscard]] static const TClassInfo& StaticClassInfo()
    {
        static const TClassInfo info = TClassInfoBuilder<TGradientHolder>("TGradientHolder", &TGraphicControl::StaticClassInfo())
            .Object("Fill", "TGradient", [](TGradientHolder& c) -> TPersistent* { return &c.Fill(); })
            .Apply([](auto& b) { PublishInherited(b, { "Visible", "OnClick" }); })
            .Creator([](TComponent* owner) -> TComponent* { return new TGradientHolder(owner); })
            .Build();
        return info;
    }

protected:
    void Paint() override { PaintGradient(Canvas(), ClientRect(), m_fill); }

private:
    TGradient m_fill;
};

namespace {

TUnitLifetime g_unit;

// With PLUMEX_TEST_PACKAGE_FAILS set, registration fails half-way, as a broken
// package's would.
void RegisterHolder()
{
    RegisterComponents("Samples", { &TGradientHolder::StaticClassInfo() });
    if (std::getenv("PLUMEX_TEST_PACKAGE_FAILS"))
        throw Exception("the test package was asked to fail");
}

constexpr std::array<const char*, 1> kContains { "GradientHolder" };
constexpr std::array<const char*, 2> kRequires { "vcl30", "Plumex" };
constexpr std::array<TUnitRegisterProc, 1> kRegister { { { "GradientHolder", &RegisterHolder } } };

} // namespace

} // namespace plx::test

extern "C" {

const plx::TPackageInfoTable* GetPackageInfoTable()
{
    static const plx::TPackageInfoTable table { plx::kPackageInfoVersion,
        plx::TPackageFlags { plx::pfPackageModule, plx::pfDesignOnly }.Bits(), "PlxTestGradients", "Gradient holders for tests",
        plx::test::kContains.data(), 1, plx::test::kRequires.data(), 2, plx::test::kRegister.data(), 1, nullptr };
    return &table;
}

void Initialize()
{
    if (plx::test::g_unit.Initialize())
        plx::RegisterClass(plx::test::TGradientHolder::StaticClassInfo());
}

void Finalize()
{
    if (plx::test::g_unit.Finalize())
        plx::UnregisterClass(plx::test::TGradientHolder::StaticClassInfo());
}

} // extern "C"
