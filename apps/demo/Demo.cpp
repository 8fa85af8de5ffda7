#include "Demo.h"

#include "components/ArtLabel.h"
#include "components/KnGradient.h"
#include "framework/host/StdCtrls.h"

#include <algorithm>

namespace demo {

using namespace plx;

namespace {

constexpr std::int32_t kHeaderHeight = 56;
constexpr std::int32_t kStatusHeight = 24;

} // namespace

Demo::Demo(TComponent* owner)
    : TForm(owner)
{
    SetCaption("Plumex demo");
    SetPosition(poScreenCenter);
    SetBorderStyle(bsSingle);
    Font().SetName("Arial");
    Build();
}

void Demo::BuildHeader()
{
    auto* header = new TKnGradient(this);
    header->SetName("Header");
    header->SetParent(this);
    header->SetBounds(0, 0, kClientWidth, kHeaderHeight);
    TGradient banner;
    banner.SetGradientStyle(gsLine);
    banner.SetLineSize(2);
    banner.SetLineDir(diVertical);
    banner.SetColorCount(2);
    banner.SetColor1(0x00502000);
    banner.SetColor2(0x00C08040);
    banner.SetColor3(0x00F0E0C0);
    header->SetGradient(banner);

    auto* title = new TArtLabel(this);
    title->SetName("Title");
    title->SetParent(this);
    title->SetTransparent(true);
    title->SetArtStyle({ asShadow, asOutlined });
    title->SetShadowLength(3);
    title->SetShadowColor(0x00301000);
    title->SetOutlineColor(clWhite);
    title->GetFont().SetName("Arial");
    title->GetFont().SetHeight(-34);
    title->GetFont().SetStyle({ fsBold });
    title->GetFont().SetColor(0x0000C0FF);
    title->SetCaption("Plumex");
    title->SetBounds(16, 4, 200, 48);

    auto* tagline = new TLabel(this);
    tagline->SetParent(this);
    tagline->SetTransparent(true);
    tagline->Font().SetColor(clWhite);
    tagline->Font().SetHeight(-13);
    tagline->SetCaption("Every component of the package, live: click, hold, drag, type and turn the wheel.");
    tagline->SetLeft(230);
    tagline->SetTop(21);

    auto& about = Button(*this, "&About Plumex...", Rect(kClientWidth - 128, 14, kClientWidth - 12, 42), [this] { ShowAbout(); });
    about.SetName("AboutButton");
}

void Demo::Build()
{
    BuildHeader();

    // The sections flow left to right and wrap, in the order of the list.
    std::int32_t x = kGap, y = kHeaderHeight + kGap, rowHeight = 0;
    for (const Section& section : Sections()) {
        if (x > kGap && x + section.width > kClientWidth - kGap) {
            x = kGap;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        auto* box = new TPanel(this);
        box->SetParent(this);
        box->SetBounds(x, y, section.width, section.height);
        box->SetBevelOuter(bvLowered);
        box->SetCaption("");
        auto* caption = new TLabel(this);
        caption->SetParent(box);
        caption->SetLeft(8);
        caption->SetTop(4);
        caption->Font().SetStyle({ fsBold });
        caption->Font().SetColor(clNavy);
        caption->SetCaption(section.title);
        m_boxes.emplace_back(section.title, box);
        section.build(*this, *box);
        x += section.width + kGap;
        rowHeight = std::max(rowHeight, section.height);
    }
    y += rowHeight + kGap;

    m_status = new TPanel(this);
    m_status->SetParent(this);
    m_status->SetBounds(0, y, kClientWidth, kStatusHeight);
    m_status->SetBevelOuter(bvLowered);
    m_status->SetAlignment(taLeftJustify);
    m_status->SetCaption("  Ready.");
    SetClientWidth(kClientWidth);
    SetClientHeight(y + kStatusHeight);
}

void Demo::Status(const std::string& text)
{
    m_status->SetCaption("  " + text);
}

const std::string& Demo::StatusText() const
{
    return m_status->Caption();
}

TButton& Demo::Button(TWinControl& parent, const std::string& caption, const TRect& bounds, std::function<void()> onClick)
{
    auto* button = new TButton(this);
    button->SetParent(&parent);
    button->SetBoundsRect(bounds);
    button->SetCaption(caption);
    button->SetOnClick([onClick = std::move(onClick)](TObject*) {
        if (onClick)
            onClick();
    });
    return *button;
}

TLabel& Demo::Label(TWinControl& parent, const std::string& caption, std::int32_t x, std::int32_t y)
{
    auto* label = new TLabel(this);
    label->SetParent(&parent);
    label->SetLeft(x);
    label->SetTop(y);
    label->SetCaption(caption);
    return *label;
}

TPanel* Demo::Box(const std::string& title) const
{
    for (const auto& [name, box] : m_boxes)
        if (name == title)
            return box;
    return nullptr;
}

void Demo::WndProc(TMessage& message)
{
    // Typed characters no control took go to the sections that asked for
    // them; typed with Alt, they are accelerators.
    if ((message.Msg == WM_CHAR || message.Msg == CM_DIALOGCHAR) && message.LParam == 0 && !m_onTyped.empty()) {
        const auto handlers = m_onTyped;
        for (const auto& handler : handlers)
            handler(static_cast<std::uint32_t>(message.WParam));
        message.Result = 1;
        return;
    }
    // The wheel reaches the form when no control under the pointer took it.
    if (message.Msg == WM_MOUSEWHEEL && !m_onWheel.empty()) {
        const std::int32_t notches = static_cast<std::int16_t>((message.WParam >> 16) & 0xFFFF) / 120;
        if (TControl* under = FindDragTarget(LParamToPoint(message.LParam), false); under && notches != 0) {
            const TWeakRef<TControl> alive(under);
            const auto handlers = m_onWheel;
            for (const auto& handler : handlers)
                if (alive)
                    handler(*under, notches);
        }
        message.Result = 1;
        return;
    }
    TForm::WndProc(message);
}

} // namespace demo
