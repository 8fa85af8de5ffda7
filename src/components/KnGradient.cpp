#include "components/KnGradient.h"

#include "framework/KnClasses.h"
#include "framework/host/Published.h"
#include "rtl/TypInfo.h"
#include "rtl/UnitLifetime.h"

namespace plx {

TKnGradient::TKnGradient(TComponent* owner)
    : TGraphicControl(owner)
{
    m_gradient.SetLineSize(2);
    m_gradient.SetColor1(clBlack);
    m_gradient.SetColor2(clWhite);
    m_gradient.SetColor3(clBlack);
    m_gradient.SetColor4(clWhite);
    m_gradient.SetColor5(clBlack);
    m_gradient.SetColorCount(4);
    m_gradient.SetGradientStyle(gsLine);
    m_gradient.SetLineDir(diHorizonal);
    m_gradient.SetOnChange([this](TObject*) { GradChanged(); });
    SetBounds(Left(), Top(), 144, 144);
}

void TKnGradient::SetGradient(const TGradient& value)
{
    if (&value != &m_gradient)
        m_gradient.Assign(&value);
}

void TKnGradient::GradChanged()
{
    CreateOnTmp();
    Invalidate();
}

void TKnGradient::CreateOnTmp()
{
    if (ComponentState().Contains(csLoading)) {
        m_stale = true;
        return;
    }
    m_stale = false;
    if (!SizeBuffer(m_picture, Width(), Height()))
        return;
    TCanvas& canvas = m_picture.Canvas();
    canvas.Brush().SetColor(Color());
    canvas.FillRect(ClientRect());
    PaintGradient(canvas, ClientRect(), m_gradient);
}

void TKnGradient::Paint()
{
    if (m_stale || m_picture.Width() != Width() || m_picture.Height() != Height())
        CreateOnTmp();
    ShowBuffer(Canvas(), m_picture);
}

void TKnGradient::Loaded()
{
    TGraphicControl::Loaded();
    m_stale = true;
}

void TKnGradient::CMColorChanged(TMessage& message)
{
    TGraphicControl::CMColorChanged(message);
    CreateOnTmp();
}

const TClassInfo& TKnGradient::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TKnGradient>("TKnGradient", &TGraphicControl::StaticClassInfo())
        .Object("Gradient", "TGradient", [](TKnGradient& c) -> TPersistent* { return &c.Gradient(); })
        .Apply([](auto& b) {
            PublishInherited(b, { "Color", "Align", "Visible", "OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp" });
        })
        .Creator([](TComponent* owner) -> TComponent* { return new TKnGradient(owner); })
        .Build();
    return info;
}

const TClassInfo& TKnGradient::ClassType() const
{
    return StaticClassInfo();
}

// ---- Unit ---------------------------------------------------------------------

namespace {

TUnitLifetime g_unit;

} // namespace

void InitializeGradient()
{
    if (g_unit.Initialize())
        RegisterClass(TKnGradient::StaticClassInfo());
}

void FinalizeGradient()
{
    if (g_unit.Finalize())
        UnregisterClass(TKnGradient::StaticClassInfo());
}

} // namespace plx
