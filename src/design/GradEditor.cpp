#include "design/GradEditor.h"

#include "color/host/Bitmap.h"
#include "design/detail/DialogForms.h"
#include "design/detail/GradientGallery.h"
#include "framework/host/Buttons.h"
#include "framework/host/Dialogs.h"
#include "framework/host/ExtCtrls.h"
#include "rtl/IniFiles.h"
#include "rtl/Streams.h"
#include "rtl/SysUtils.h"

#include <algorithm>
#include <filesystem>

namespace plx {

namespace {

constexpr std::int32_t kGalleryPicture = 27;

// The number an edit shows, within lo..hi; fallback (also brought into the
// range) when it shows no number. Only digits count as a number: the edits
// take nothing else from the keyboard, and text set otherwise never raises.
std::int32_t EditNumber(const TEdit& edit, std::int32_t lo, std::int32_t hi, std::int32_t fallback)
{
    const std::string text = Trim(edit.Text());
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::clamp(fallback, lo, hi);
    // Nine digits still fit an int32; more are beyond any range here.
    if (text.size() > 9)
        return hi;
    return std::clamp(static_cast<std::int32_t>(std::stol(text)), lo, hi);
}

// The file's text, or empty when it does not exist; raises when it exists but
// cannot be read.
std::string GalleryText(const std::string& fileName)
{
    std::error_code error;
    if (fileName.empty() || !std::filesystem::exists(fileName, error))
        return {};
    TMemoryStream stream;
    stream.LoadFromFile(fileName);
    return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

} // namespace

TfrmGradEditor::TfrmGradEditor(TComponent* owner)
    : TForm(owner)
    , m_gallery(std::make_unique<detail::TGradientGallery>())
{
    RegisterHandlers();
    detail::ReadDialogForm(*this, "TfrmGradEditor");
    FindControls();
    DoCreate();
}

TfrmGradEditor::~TfrmGradEditor()
{
    // The base destructor would fire OnDestroy after this form's own members
    // are gone; fire it here, while FormDestroy still has the gallery.
    if (TNotifyEvent handler = OnDestroy()) {
        SetOnDestroy(nullptr);
        try {
            handler(this);
        } catch (...) {
            if (InitializedApplication())
                Application().HandleException(this);
        }
    }
    // The list's items point at the gallery's gradients, which go with it.
    if (m_gallaryList)
        m_gallaryList->Items().Clear();
}

void TfrmGradEditor::RegisterHandlers()
{
    const auto bind = [this](const char* name, void (TfrmGradEditor::*method)(TObject*)) {
        RegisterHandler(name, TNotifyEvent([this, method](TObject* sender) { (this->*method)(sender); }));
    };
    bind("FormCreate", &TfrmGradEditor::FormCreate);
    bind("FormDestroy", &TfrmGradEditor::FormDestroy);
    bind("btnUpdateClick", &TfrmGradEditor::btnUpdateClick);
    bind("PaintBox1Paint", &TfrmGradEditor::PaintBox1Paint);
    bind("SpeedButton1Click", &TfrmGradEditor::SpeedButton1Click);
    bind("txtLinesizeChange", &TfrmGradEditor::txtLinesizeChange);
    bind("txtLinesizeExit", &TfrmGradEditor::txtLinesizeExit);
    bind("txtColorsChange", &TfrmGradEditor::txtColorsChange);
    bind("txtColorsExit", &TfrmGradEditor::txtColorsExit);
    bind("diComboChange", &TfrmGradEditor::diComboChange);
    bind("Color1DblClick", &TfrmGradEditor::Color1DblClick);
    bind("lstGallaryDblClick", &TfrmGradEditor::lstGallaryDblClick);
    bind("btnAddClick", &TfrmGradEditor::btnAddClick);
    bind("Button3Click", &TfrmGradEditor::Button3Click);
    RegisterHandler("NumberKeyPress", TKeyPressEvent([this](TObject* sender, char& key) { NumberKeyPress(sender, key); }));
    RegisterHandler("lstGallaryDrawItem",
        TDrawItemEvent([this](TWinControl* control, std::int32_t index, TRect rect, TOwnerDrawState state) {
            lstGallaryDrawItem(control, index, rect, state);
        }));
}

void TfrmGradEditor::FindControls()
{
    for (std::size_t i = 0; i < m_styleButtons.size(); ++i)
        m_styleButtons[i] = &detail::DialogControl<TSpeedButton>(*this, "SpeedButton" + std::to_string(i + 1));
    for (std::size_t i = 0; i < m_swatches.size(); ++i)
        m_swatches[i] = &detail::DialogControl<TEdit>(*this, "Color" + std::to_string(i + 1));
    m_lineSize = &detail::DialogControl<TEdit>(*this, "txtLinesize");
    m_colorCount = &detail::DialogControl<TEdit>(*this, "txtColors");
    m_direction = &detail::DialogControl<TComboBox>(*this, "diCombo");
    m_gallaryList = &detail::DialogControl<TListBox>(*this, "lstGallary");
    m_preview = &detail::DialogControl<TPaintBox>(*this, "PaintBox1");
    m_colorDialog = &detail::DialogControl<TColorDialog>(*this, "ColorDlg");
    m_ready = true;
}

bool TfrmGradEditor::Execute(TGradient& gradient)
{
    SetGradient(gradient);
    const TWeakRef alive(this);
    const TModalResult result = ShowModal();
    if (!alive || result != mrYes)
        return false;
    gradient.Assign(&GetGradient());
    return true;
}

void TfrmGradEditor::SetGradient(const TGradient& gradient)
{
    // Loading the controls repaints the preview, which stores into the working
    // gradient: read the source before, in case it is that gradient.
    TGradient source;
    source.Assign(&gradient);
    m_swatches[0]->SetColor(source.Color1());
    m_swatches[1]->SetColor(source.Color2());
    m_swatches[2]->SetColor(source.Color3());
    m_swatches[3]->SetColor(source.Color4());
    m_swatches[4]->SetColor(source.Color5());
    m_lineSize->SetText(IntToStr(source.LineSize()));
    m_colorCount->SetText(IntToStr(static_cast<std::int32_t>(source.ColorCount())));
    m_direction->SetItemIndex(source.LineDirection());
    if (source.GradientStyle() == gsCustomRect)
        return;
    for (TSpeedButton* button : m_styleButtons)
        if (button->Tag() == source.GradientStyle() + 1)
            button->SetDown(true);
}

TGradient& TfrmGradEditor::GetGradient()
{
    if (!m_ready)
        return m_working;
    m_working.SetColor1(m_swatches[0]->Color());
    m_working.SetColor2(m_swatches[1]->Color());
    m_working.SetColor3(m_swatches[2]->Color());
    m_working.SetColor4(m_swatches[3]->Color());
    m_working.SetColor5(m_swatches[4]->Color());
    m_working.SetColorCount(static_cast<TColorCount>(EditNumber(*m_colorCount, 1, 4, m_working.ColorCount())));
    m_working.SetLineSize(EditNumber(*m_lineSize, 1, 255, m_working.LineSize()));
    if (const std::int32_t direction = m_direction->ItemIndex(); direction == diHorizonal || direction == diVertical)
        m_working.SetLineDir(static_cast<TDirection>(direction));
    for (TSpeedButton* button : m_styleButtons) {
        if (!button->Down())
            continue;
        if (button->Tag() >= 1 && button->Tag() <= 3)
            m_working.SetGradientStyle(static_cast<TGradientStyle>(button->Tag() - 1));
        break;
    }
    return m_working;
}

// ---- The gallery file --------------------------------------------------------

void TfrmGradEditor::LoadIni()
{
    m_galleryLoaded = false;
    const TIniFile file { std::string(detail::kGalleryFileName) };
    const TIniDocument document = TIniDocument::Parse(GalleryText(file.FileName()));
    m_gallery->Load(document.SectionValues(detail::kGallerySection));
    FillGallery(-1);
    m_galleryLoaded = true;
}

void TfrmGradEditor::SaveIni()
{
    if (!m_galleryLoaded)
        return;
    const auto values = m_gallery->Values();
    TIniFile file { std::string(detail::kGalleryFileName) };
    file.Update([&values](TIniDocument& document) {
        document.EraseSection(detail::kGallerySection);
        for (const auto& [name, value] : values)
            document.Write(detail::kGallerySection, name, value);
    });
}

void TfrmGradEditor::FormCreate(TObject*)
{
    try {
        LoadIni();
    } catch (const std::exception& e) {
        Report("The gradient fill gallery could not be read: " + std::string(e.what())
            + " The gallery will not be saved.");
    }
}

void TfrmGradEditor::FormDestroy(TObject*)
{
    try {
        SaveIni();
    } catch (const std::exception& e) {
        Report("The gradient fill gallery could not be saved: " + std::string(e.what()));
    }
}

void TfrmGradEditor::Report(const std::string& message) noexcept
{
    if (!InitializedApplication())
        return;
    try {
        throw EIniFileException(message);
    } catch (...) {
        Application().HandleException(this);
    }
}

void TfrmGradEditor::FillGallery(std::int32_t select)
{
    TStrings& items = m_gallaryList->Items();
    items.BeginUpdate();
    items.Clear();
    std::int32_t selected = -1;
    const auto& entries = m_gallery->Entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!entries[i].Gradient)
            continue;
        if (static_cast<std::int32_t>(i) == select)
            selected = items.Count();
        items.AddObject(entries[i].Name, entries[i].Gradient.get());
    }
    items.EndUpdate();
    m_gallaryList->SetItemIndex(selected);
}

// ---- Preview -------------------------------------------------------------------

void TfrmGradEditor::RedrawPreview()
{
    if (m_ready)
        m_preview->Repaint();
}

void TfrmGradEditor::PaintBox1Paint(TObject*)
{
    if (!m_ready)
        return;
    TCanvas& canvas = m_preview->Canvas();
    const TRect area = m_preview->ClientRect();
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(area);
    PaintGradient(canvas, area, GetGradient());
}

void TfrmGradEditor::btnUpdateClick(TObject*)
{
    RedrawPreview();
}

void TfrmGradEditor::SpeedButton1Click(TObject*)
{
    RedrawPreview();
}

void TfrmGradEditor::txtLinesizeChange(TObject*)
{
    RedrawPreview();
}

void TfrmGradEditor::txtColorsChange(TObject*)
{
    RedrawPreview();
}

void TfrmGradEditor::diComboChange(TObject*)
{
    RedrawPreview();
}

void TfrmGradEditor::txtLinesizeExit(TObject*)
{
    if (!m_ready)
        return;
    const std::string shown = IntToStr(GetGradient().LineSize());
    if (m_lineSize->Text() != shown)
        m_lineSize->SetText(shown);
}

void TfrmGradEditor::txtColorsExit(TObject*)
{
    if (!m_ready)
        return;
    const std::string shown = IntToStr(static_cast<std::int32_t>(GetGradient().ColorCount()));
    if (m_colorCount->Text() != shown)
        m_colorCount->SetText(shown);
}

void TfrmGradEditor::NumberKeyPress(TObject*, char& key)
{
    const auto code = static_cast<unsigned char>(key);
    if (code >= 0x20 && code != 0x7F && !(key >= '0' && key <= '9'))
        key = 0;
}

void TfrmGradEditor::Color1DblClick(TObject* sender)
{
    auto* swatch = dynamic_cast<TEdit*>(sender);
    if (!m_ready || !swatch)
        return;
    const TWeakRef alive(this);
    const TWeakRef<TEdit> swatchAlive(swatch);
    m_colorDialog->SetColor(swatch->Color());
    const bool confirmed = m_colorDialog->Execute();
    if (!alive || !swatchAlive || !confirmed)
        return;
    swatch->SetColor(m_colorDialog->Color());
    RedrawPreview();
}

// ---- Gallery -------------------------------------------------------------------

void TfrmGradEditor::lstGallaryDrawItem(TWinControl*, std::int32_t index, TRect rect, TOwnerDrawState)
{
    if (!m_ready)
        return;
    TCanvas& canvas = m_gallaryList->Canvas();
    canvas.FillRect(rect);
    const TStrings& items = m_gallaryList->Items();
    if (index < 0 || index >= items.Count())
        return;
    auto* gradient = dynamic_cast<TGradient*>(items.Objects(index));
    if (!gradient)
        return;
    // The entry is drawn (and kept) with one-pixel bands.
    gradient->SetLineSize(1);
    TBitmap picture(kGalleryPicture, kGalleryPicture);
    PaintGradient(picture.Canvas(), Rect(0, 0, kGalleryPicture, kGalleryPicture), *gradient);
    canvas.Draw(rect.Left + 2, rect.Top + 2, picture);
    canvas.TextOut(34, rect.Top + 10, items.Strings(index));
}

void TfrmGradEditor::lstGallaryDblClick(TObject*)
{
    if (!m_ready)
        return;
    const std::int32_t index = m_gallaryList->ItemIndex();
    if (index < 0 || index >= m_gallaryList->Items().Count())
        return;
    if (auto* gradient = dynamic_cast<TGradient*>(m_gallaryList->Items().Objects(index))) {
        SetGradient(*gradient);
        RedrawPreview();
    }
}

void TfrmGradEditor::btnAddClick(TObject*)
{
    if (!m_ready)
        return;
    const TWeakRef alive(this);
    const std::string name = InputBox("New Gradient Fill", "Please enter a name for the current Gradient Fill object.", "");
    if (!alive || name.empty())
        return;
    if (const std::string problem = detail::GalleryNameProblem(name); !problem.empty()) {
        MessageDlg(problem, mtWarning, { mbOK }, 0);
        return;
    }
    std::int32_t index = m_gallery->IndexOf(name);
    if (index >= 0) {
        const TModalResult answer = MessageDlg("The gallery already holds a gradient fill named \"" + m_gallery->Entries()[static_cast<std::size_t>(index)].Name
                + "\". Do you want to replace it?",
            mtConfirmation, { mbYes, mbNo }, 0);
        if (!alive || answer != mrYes)
            return;
        // The answer took a modal loop: find the entry again.
        index = m_gallery->IndexOf(name);
    }
    const TGradient& current = GetGradient();
    if (index >= 0) {
        m_gallery->Replace(index, name, current);
    } else {
        m_gallery->Add(name, current);
        index = static_cast<std::int32_t>(m_gallery->Entries().size()) - 1;
    }
    FillGallery(index);
}

void TfrmGradEditor::Button3Click(TObject*)
{
    if (!m_ready)
        return;
    const std::int32_t item = m_gallaryList->ItemIndex();
    if (item < 0 || item >= m_gallaryList->Items().Count())
        return;
    const auto* gradient = dynamic_cast<const TGradient*>(m_gallaryList->Items().Objects(item));
    const TWeakRef alive(this);
    const TModalResult answer = MessageDlg("Do you really want to delete this object?", mtConfirmation, { mbYes, mbNo }, 0);
    if (!alive || answer != mrYes)
        return;
    const std::int32_t index = m_gallery->IndexOf(gradient);
    if (index < 0)
        return;
    m_gallery->Remove(index);
    FillGallery(-1);
}

bool EditGradient(TGradient& gradient)
{
    auto* form = new TfrmGradEditor(&Application());
    const detail::TDialogScope scope(form);
    return form->Execute(gradient);
}

} // namespace plx
