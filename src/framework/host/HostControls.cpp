// The class registry entries of the host's own controls.
#include "framework/host/Buttons.h"
#include "framework/host/ComCtrls.h"
#include "framework/host/Dialogs.h"
#include "framework/host/ExtCtrls.h"
#include "framework/host/Forms.h"
#include "framework/host/ImgList.h"
#include "framework/host/StdCtrls.h"
#include "framework/host/Timer.h"
#include "rtl/TypInfo.h"

namespace plx {

namespace {

const TClassInfo* const* HostClasses()
{
    static const TClassInfo* const classes[] = {
        &TForm::StaticClassInfo(),
        &TPanel::StaticClassInfo(),
        &TBevel::StaticClassInfo(),
        &TImage::StaticClassInfo(),
        &TPaintBox::StaticClassInfo(),
        &TLabel::StaticClassInfo(),
        &TTimer::StaticClassInfo(),
        &TImageList::StaticClassInfo(),
        &TEdit::StaticClassInfo(),
        &TButton::StaticClassInfo(),
        &TCheckBox::StaticClassInfo(),
        &TRadioButton::StaticClassInfo(),
        &TListBox::StaticClassInfo(),
        &TComboBox::StaticClassInfo(),
        &TGroupBox::StaticClassInfo(),
        &TRadioGroup::StaticClassInfo(),
        &TBitBtn::StaticClassInfo(),
        &TSpeedButton::StaticClassInfo(),
        &TUpDown::StaticClassInfo(),
        &TColorDialog::StaticClassInfo(),
        &TFontDialog::StaticClassInfo(),
        nullptr,
    };
    return classes;
}

} // namespace

void RegisterHostControls()
{
    for (auto c = HostClasses(); *c; ++c)
        RegisterClass(**c);
}

void UnregisterHostControls()
{
    for (auto c = HostClasses(); *c; ++c)
        UnregisterClass(**c);
}

} // namespace plx
