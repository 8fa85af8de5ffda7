#include "design/ColorBtnEdit.h"

#include "color/host/SysColors.h"
#include "design/detail/DialogForms.h"
#include "framework/host/Dialogs.h"
#include "framework/host/ExtCtrls.h"
#include "framework/host/StdCtrls.h"
#include "rtl/SysUtils.h"

#include <array>
#include <string>

namespace plx {

namespace {

// The styles of the radio group's items, in order.
constexpr std::array<TClr95ButtonStyle, 4> kStyles { bsWin31, bsNew, bsGlass, bsTab };

// The colours the colour dialog offers as custom colours, ColorA to ColorP.
constexpr std::array<TColor, 16> kCustomColors { 0x5CC646, 0x4E89BE, 0x45C7BA, 0x26BFE6, 0x263FE6, 0xBA9B52, 0x9F5FAD,
    0x2F6BDD, 0xD94033, 0xB8E12B, 0xEE99F2, 0x9A9A9A, 0x9898BC, 0x92549A, 0x3478A5, 0xD3E547 };

} // namespace

TForm1::TForm1(TComponent* owner)
    : TForm(owner)
{
    const auto bind = [this](const char* name, void (TForm1::*method)(TObject*)) {
        RegisterHandler(name, TNotifyEvent([this, method](TObject* sender) { (this->*method)(sender); }));
    };
    bind("FormCreate", &TForm1::FormCreate);
    bind("btnColorClick", &TForm1::btnColorClick);
    bind("txtCaptionChange", &TForm1::txtCaptionChange);
    bind("rgStylesClick", &TForm1::rgStylesClick);
    bind("Button3Click", &TForm1::Button3Click);
    detail::ReadDialogForm(*this, "TForm1");
    m_preview = &detail::DialogControl<TColor95Button>(*this, "ColorButton");
    m_caption = &detail::DialogControl<TEdit>(*this, "txtCaption");
    m_styles = &detail::DialogControl<TRadioGroup>(*this, "rgStyles");
    m_colorDialog = &detail::DialogControl<TColorDialog>(*this, "ColorDlg");
    m_fontDialog = &detail::DialogControl<TFontDialog>(*this, "FontDlg");
    DoCreate();
}

void TForm1::FormCreate(TObject*)
{
    // Set, not appended, so a second OnCreate (CreateForm fires one) changes nothing.
    TStrings& custom = m_colorDialog->CustomColors();
    for (std::size_t i = 0; i < kCustomColors.size(); ++i)
        custom.SetValues(std::string("Color") + static_cast<char>('A' + i), IntToHex(kCustomColors[i], 6));
    m_preview->SetColor(clBtnFace);
}

void TForm1::btnColorClick(TObject*)
{
    const TWeakRef alive(this);
    m_colorDialog->SetColor(m_preview->Color());
    const bool confirmed = m_colorDialog->Execute();
    if (alive && confirmed)
        m_preview->SetColor(m_colorDialog->Color());
}

void TForm1::txtCaptionChange(TObject*)
{
    if (m_preview && m_caption)
        m_preview->SetCaption(m_caption->Text());
}

void TForm1::rgStylesClick(TObject*)
{
    if (!m_preview || !m_styles)
        return;
    const std::int32_t index = m_styles->ItemIndex();
    if (index >= 0 && index < static_cast<std::int32_t>(kStyles.size()))
        m_preview->SetStyle(kStyles[static_cast<std::size_t>(index)]);
}

void TForm1::Button3Click(TObject*)
{
    const TWeakRef alive(this);
    m_fontDialog->SetFont(m_preview->Font());
    const bool confirmed = m_fontDialog->Execute();
    if (alive && confirmed)
        m_preview->SetFont(m_fontDialog->Font());
}

void TForm1::LoadButton(const TColor95Button& button)
{
    m_preview->SetColor(button.Color());
    m_preview->SetCaption(button.Caption());
    m_caption->SetText(button.Caption());
    m_preview->SetStyle(button.Style());
    // The radio group shows the style when it is one of its four.
    std::int32_t item = -1;
    for (std::size_t i = 0; i < kStyles.size(); ++i)
        if (kStyles[i] == button.Style())
            item = static_cast<std::int32_t>(i);
    m_styles->SetItemIndex(item);
}

bool EditColorButton(TColor95Button& button)
{
    auto* form = new TForm1(&Application());
    const detail::TDialogScope scope(form);
    form->LoadButton(button);
    const TWeakRef alive(form);
    const TWeakRef target(&button);
    if (form->ShowModal() != mrOk || !alive || !target)
        return false;
    const TColor95Button& preview = form->ColorButton();
    button.SetColor(preview.Color());
    button.SetCaption(preview.Caption());
    button.SetStyle(preview.Style());
    return true;
}

} // namespace plx
