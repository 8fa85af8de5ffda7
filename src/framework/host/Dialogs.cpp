#include "framework/host/Dialogs.h"

#include "color/host/Bitmap.h"
#include "color/host/DrawText.h"
#include "color/host/SysColors.h"
#include "framework/host/ComCtrls.h"
#include "framework/host/ExtCtrls.h"
#include "framework/host/Published.h"
#include "framework/host/StdCtrls.h"
#include "framework/host/detail/ControlPaint.h"
#include "framework/host/detail/Survive.h"
#include "rtl/Exceptions.h"
#include "rtl/SysUtils.h"
#include "rtl/TypInfo.h"

#include <algorithm>
#include <array>
#include <functional>
#include <vector>

namespace plx {

namespace {

// Creates a control owned by the dialog form and placed on parent.
template <class T>
T* Add(TForm& form, TWinControl& parent, const std::string& name, TRect bounds)
{
    auto* c = new T(&form);
    c->SetName(name);
    c->SetParent(&parent);
    c->SetBoundsRect(bounds);
    return c;
}

TLabel* AddLabel(TForm& form, TWinControl& parent, const std::string& name, const std::string& caption, TPoint at, TWinControl* focus)
{
    auto* label = Add<TLabel>(form, parent, name, Bounds(at.X, at.Y, 10, 13));
    label->SetCaption(caption);
    label->SetFocusControl(focus);
    return label;
}

TButton* AddButton(TForm& form, const std::string& name, const std::string& caption, TRect bounds, TModalResult result)
{
    auto* button = Add<TButton>(form, form, name, bounds);
    button->SetCaption(caption);
    button->SetModalResult(result);
    button->SetDefault(result == mrOk);
    button->SetCancel(result == mrCancel);
    return button;
}

// A dialog form: a dialog border, centred on the screen.
void MakeDialog(TForm& form, const std::string& caption, std::int32_t clientWidth, std::int32_t clientHeight)
{
    form.SetCaption(caption);
    form.SetBorderStyle(bsDialog);
    form.SetPosition(poScreenCenter);
    form.SetClientWidth(clientWidth);
    form.SetClientHeight(clientHeight);
}

// Tells the user why a field's value is refused, then puts the focus there
// with the value selected.
void Refuse(TCustomEdit& field, const std::string& message)
{
    MessageDlg(message, mtWarning, { mbOK }, 0);
    if (field.CanFocus())
        field.SetFocus();
    field.SelectAll();
}

// ---- The colour grid ---------------------------------------------------------

//! A grid of colour swatches; the selected one is framed (and dotted while
//! focused). Clicks and arrow keys select.
class TColorGrid final : public TCustomControl {
public:
    static constexpr std::int32_t kCellWidth = 26;
    static constexpr std::int32_t kCellHeight = 22;

    TColorGrid(TComponent* owner, std::int32_t columns, std::int32_t rows)
        : TCustomControl(owner)
        , m_columns(columns)
        , m_colors(static_cast<std::size_t>(columns * rows), clWhite)
    {
        SetControlStyle({ csCaptureMouse, csOpaque });
        SetTabStop(true);
        SetBounds(0, 0, columns * kCellWidth, rows * kCellHeight);
    }

    [[nodiscard]] std::int32_t Count() const noexcept { return static_cast<std::int32_t>(m_colors.size()); }
    [[nodiscard]] TColor Colors(std::int32_t i) const { return m_colors.at(static_cast<std::size_t>(i)); }
    void SetColors(std::int32_t i, TColor c)
    {
        m_colors.at(static_cast<std::size_t>(i)) = c;
        Invalidate();
    }
    [[nodiscard]] std::int32_t Selected() const noexcept { return m_selected; }
    void SetSelected(std::int32_t i)
    {
        m_selected = i >= 0 && i < Count() ? i : -1;
        Invalidate();
    }
    //! The user picked a swatch.
    std::function<void(TColorGrid&)> onSelect;

protected:
    void Paint() override
    {
        TCanvas& canvas = Canvas();
        canvas.Brush().SetColor(clBtnFace);
        canvas.FillRect(ClientRect());
        for (std::int32_t i = 0; i < Count(); ++i) {
            TRect cell = CellRect(i);
            if (i == m_selected) {
                canvas.Brush().SetColor(clWindowFrame);
                canvas.FrameRect(cell);
                if (Focused()) {
                    TRect dots = cell;
                    InflateRect(dots, 1, 1);
                    detail::DrawFocusRect(canvas, Intersect(dots, ClientRect()));
                }
            }
            InflateRect(cell, -1, -1);
            detail::DrawSunkenEdge(canvas, cell);
            canvas.Brush().SetColor(m_colors[static_cast<std::size_t>(i)]);
            canvas.FillRect(cell);
        }
    }
    void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override
    {
        if (button == mbLeft) {
            if (!Focused() && CanFocus() && !detail::Survives(*this, [&] { SetFocus(); }))
                return;
            const std::int32_t col = x / kCellWidth, row = y / kCellHeight;
            if (x >= 0 && y >= 0 && col < m_columns && row * m_columns + col < Count() && !Pick(row * m_columns + col))
                return;
        }
        TCustomControl::MouseDown(button, shift, x, y);
    }
    void KeyDown(std::uint16_t& key, TShiftState shift) override
    {
        if (!detail::Survives(*this, [&] { TCustomControl::KeyDown(key, shift); }) || key == 0)
            return;
        std::int32_t step = 0;
        switch (key) {
        case VK_LEFT: step = -1; break;
        case VK_RIGHT: step = 1; break;
        case VK_UP: step = -m_columns; break;
        case VK_DOWN: step = m_columns; break;
        default: return;
        }
        const std::int32_t from = std::max(m_selected, 0);
        const std::int32_t to = from + step;
        if (to >= 0 && to < Count())
            Pick(to);
    }
    void CMWantSpecialKey(TMessage& message) override
    {
        const auto k = message.WParam;
        message.Result = k == VK_LEFT || k == VK_RIGHT || k == VK_UP || k == VK_DOWN ? 1 : 0;
    }

private:
    [[nodiscard]] TRect CellRect(std::int32_t i) const noexcept
    {
        return Bounds((i % m_columns) * kCellWidth + 1, (i / m_columns) * kCellHeight + 1, kCellWidth - 2, kCellHeight - 2);
    }
    bool Pick(std::int32_t i)
    {
        SetSelected(i);
        if (!onSelect)
            return true;
        auto handler = onSelect;
        return detail::Survives(*this, [&] { handler(*this); });
    }

    std::int32_t m_columns;
    std::vector<TColor> m_colors;
    std::int32_t m_selected { -1 };
};

// The 48 basic colours of the platform's colour dialog, row by row.
constexpr std::array<TColor, 48> kBasicColors {
    0x8080FF, 0x80FFFF, 0x80FF80, 0x80FF00, 0xFFFF80, 0xFF8000, 0xC080FF, 0xFF80FF,
    0x0000FF, 0x00FFFF, 0x00FF80, 0x40FF00, 0xFFFF00, 0xC08000, 0xC08080, 0xFF00FF,
    0x404080, 0x4080FF, 0x00FF00, 0x808000, 0x804000, 0xFF8080, 0x400080, 0x8000FF,
    0x000080, 0x0080FF, 0x008000, 0x408000, 0xFF0000, 0xA00000, 0x800080, 0xFF0080,
    0x000040, 0x004080, 0x004000, 0x404000, 0x800000, 0x400000, 0x400040, 0x800040,
    0x000000, 0x008080, 0x408080, 0x808080, 0x808040, 0xC0C0C0, 0x400040, 0xFFFFFF,
};

std::string CustomColorKey(std::int32_t i)
{
    return std::string("Color") + static_cast<char>('A' + i);
}

// ---- The colour dialog's form ----------------------------------------------------

class TColorDialogForm final : public TForm {
public:
    TColorDialogForm()
        : TForm(nullptr)
    {
        MakeDialog(*this, "Color", 400, 270);
        m_basic = new TColorGrid(this, 8, 6);
        m_basic->SetName("BasicColors");
        m_basic->SetParent(this);
        m_basic->SetBounds(8, 24, m_basic->Width(), m_basic->Height());
        AddLabel(*this, *this, "BasicLabel", "&Basic colors:", { 8, 8 }, m_basic);
        for (std::int32_t i = 0; i < 48; ++i)
            m_basic->SetColors(i, kBasicColors[static_cast<std::size_t>(i)]);
        m_custom = new TColorGrid(this, 8, 2);
        m_custom->SetName("CustomColors");
        m_custom->SetParent(this);
        m_custom->SetBounds(8, 180, m_custom->Width(), m_custom->Height());
        AddLabel(*this, *this, "CustomLabel", "&Custom colors:", { 8, 164 }, m_custom);

        m_preview = Add<TPanel>(*this, *this, "Preview", Bounds(232, 24, 120, 60));
        m_preview->SetBevelOuter(bvLowered);
        m_preview->SetCaption("");
        AddLabel(*this, *this, "PreviewLabel", "Color|Solid", { 232, 88 }, nullptr);
        const char* names[] = { "Red", "Green", "Blue" };
        for (std::int32_t i = 0; i < 3; ++i) {
            const std::int32_t top = 110 + 26 * i;
            auto* edit = Add<TEdit>(*this, *this, std::string(names[i]) + "Edit", Bounds(280, top, 56, 21));
            edit->SetMaxLength(3);
            auto* updown = Add<TUpDown>(*this, *this, std::string(names[i]) + "UpDown", Bounds(0, 0, 16, 21));
            updown->SetMax(255);
            updown->SetThousands(false);
            updown->SetAssociate(edit);
            AddLabel(*this, *this, std::string(names[i]) + "Label", std::string("&") + names[i] + ":", { 232, top + 4 }, edit);
            edit->SetOnChange([this](TObject*) { RgbChanged(); });
            m_rgb[static_cast<std::size_t>(i)] = edit;
        }
        auto* add = Add<TButton>(*this, *this, "AddCustom", Bounds(232, 196, 150, 25));
        add->SetCaption("&Add to Custom Colors");
        add->SetOnClick([this](TObject*) { AddCustom(); });
        auto* ok = AddButton(*this, "OK", "OK", Bounds(8, 236, 75, 25), mrOk);
        AddButton(*this, "Cancel", "Cancel", Bounds(92, 236, 75, 25), mrCancel);
        ok->SetOnClick([this](TObject*) {
            if (!Validate())
                SetModalResult(mrNone);
        });
        m_basic->onSelect = [this](TColorGrid& g) { Pick(g); };
        m_custom->onSelect = [this](TColorGrid& g) { Pick(g); };
    }

    void Load(TColor color, const TStrings& custom)
    {
        for (std::int32_t i = 0; i < 16; ++i) {
            const auto value = TryStrToInt("$" + custom.Values(CustomColorKey(i)));
            m_custom->SetColors(i, value && custom.IndexOfName(CustomColorKey(i)) >= 0 ? (*value & 0xFFFFFF) : clWhite);
        }
        SetCurrent(ColorToRGB(color));
        for (std::int32_t i = 0; i < 48; ++i)
            if (m_basic->Colors(i) == m_current)
                m_basic->SetSelected(i);
        SetActiveControl(m_basic);
    }
    [[nodiscard]] TColor Current() const noexcept { return m_current; }
    void Store(TStrings& custom) const
    {
        custom.Clear();
        for (std::int32_t i = 0; i < 16; ++i)
            custom.Add(CustomColorKey(i) + "=" + IntToHex(m_custom->Colors(i), 6));
    }

private:
    void SetCurrent(TColor color)
    {
        m_current = color;
        m_preview->SetColor(color);
        m_syncing = true;
        for (std::int32_t i = 0; i < 3; ++i)
            m_rgb[static_cast<std::size_t>(i)]->SetText(IntToStr((color >> (8 * i)) & 0xFF));
        m_syncing = false;
    }
    void Pick(TColorGrid& grid)
    {
        (&grid == m_basic ? m_custom : m_basic)->SetSelected(-1);
        if (grid.Selected() >= 0)
            SetCurrent(grid.Colors(grid.Selected()));
    }
    // A value of a channel edit, or none when it is not a number from 0 to 255.
    [[nodiscard]] static std::optional<std::int32_t> Channel(const TEdit& edit)
    {
        auto v = TryStrToInt(Trim(edit.Text()));
        return v && *v >= 0 && *v <= 255 ? v : std::nullopt;
    }
    void RgbChanged()
    {
        if (m_syncing)
            return;
        std::array<std::int32_t, 3> c {};
        for (std::size_t i = 0; i < 3; ++i) {
            auto v = Channel(*m_rgb[i]);
            if (!v)
                return; // the preview waits for a whole value
            c[i] = *v;
        }
        m_current = RGB(c[0], c[1], c[2]);
        m_preview->SetColor(m_current);
    }
    bool Validate()
    {
        for (TEdit* edit : m_rgb)
            if (!Channel(*edit)) {
                Refuse(*edit, "'" + edit->Text() + "' is not a valid color value. Enter a number from 0 to 255.");
                return false;
            }
        RgbChanged();
        return true;
    }
    void AddCustom()
    {
        if (!Validate())
            return;
        // Into the selected custom swatch, else the next one in turn.
        std::int32_t slot = m_custom->Selected();
        if (slot < 0) {
            slot = m_nextCustom;
            m_nextCustom = (m_nextCustom + 1) % 16;
        }
        m_custom->SetColors(slot, m_current);
    }

    TColorGrid* m_basic { nullptr };
    TColorGrid* m_custom { nullptr };
    TPanel* m_preview { nullptr };
    std::array<TEdit*, 3> m_rgb {};
    TColor m_current { clBlack };
    bool m_syncing { false };
    std::int32_t m_nextCustom { 0 };
};

// ---- The font dialog's form ------------------------------------------------------

constexpr std::array<const char*, 4> kStyleNames { "Regular", "Italic", "Bold", "Bold Italic" };
constexpr std::array<const char*, 16> kSizes { "8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26", "28", "36", "48", "72" };
constexpr std::array<std::pair<TColor, const char*>, 16> kNamedColors { { { clBlack, "Black" }, { clMaroon, "Maroon" },
    { clGreen, "Green" }, { clOlive, "Olive" }, { clNavy, "Navy" }, { clPurple, "Purple" }, { clTeal, "Teal" }, { clGray, "Gray" },
    { clSilver, "Silver" }, { clRed, "Red" }, { clLime, "Lime" }, { clYellow, "Yellow" }, { clBlue, "Blue" }, { clFuchsia, "Fuchsia" },
    { clAqua, "Aqua" }, { clWhite, "White" } } };

class TFontDialogForm final : public TForm {
public:
    TFontDialogForm(TFontDialogOptions options, std::int32_t minSize, std::int32_t maxSize)
        : TForm(nullptr)
        , m_options(options)
        , m_minSize(minSize)
        , m_maxSize(maxSize)
    {
        MakeDialog(*this, "Font", 436, 266);
        m_name = Add<TEdit>(*this, *this, "FontName", Bounds(8, 24, 150, 21));
        m_names = Add<TListBox>(*this, *this, "FontNames", Bounds(8, 46, 150, 108));
        for (const std::string& f : Screen().Fonts())
            m_names->Items().Add(f);
        m_style = Add<TEdit>(*this, *this, "FontStyle", Bounds(166, 24, 110, 21));
        m_style->SetReadOnly(true);
        m_style->SetTabStop(false);
        m_styles = Add<TListBox>(*this, *this, "FontStyles", Bounds(166, 46, 110, 108));
        for (const char* s : kStyleNames)
            m_styles->Items().Add(s);
        m_size = Add<TEdit>(*this, *this, "FontSize", Bounds(284, 24, 60, 21));
        m_sizes = Add<TListBox>(*this, *this, "FontSizes", Bounds(284, 46, 60, 108));
        for (const char* s : kSizes)
            m_sizes->Items().Add(s);
        AddLabel(*this, *this, "NameLabel", "&Font:", { 8, 8 }, m_name);
        AddLabel(*this, *this, "StyleLabel", "Font st&yle:", { 166, 8 }, m_styles);
        AddLabel(*this, *this, "SizeLabel", "&Size:", { 284, 8 }, m_size);
        auto* ok = AddButton(*this, "OK", "OK", Bounds(352, 24, 75, 25), mrOk);
        AddButton(*this, "Cancel", "Cancel", Bounds(352, 56, 75, 25), mrCancel);
        ok->SetOnClick([this](TObject*) {
            if (!Validate())
                SetModalResult(mrNone);
        });

        auto* effects = Add<TGroupBox>(*this, *this, "Effects", Bounds(8, 160, 150, 98));
        effects->SetCaption("Effects");
        effects->SetVisible(options.Contains(fdEffects));
        m_strikeOut = Add<TCheckBox>(*this, *effects, "StrikeOut", Bounds(10, 18, 130, 17));
        m_strikeOut->SetCaption("Stri&keout");
        m_underline = Add<TCheckBox>(*this, *effects, "Underline", Bounds(10, 38, 130, 17));
        m_underline->SetCaption("&Underline");
        m_color = Add<TComboBox>(*this, *effects, "FontColor", Bounds(10, 70, 130, 21));
        m_color->SetStyle(csDropDownList);
        for (const auto& [color, name] : kNamedColors)
            m_color->Items().Add(name);
        AddLabel(*this, *effects, "ColorLabel", "&Color:", { 10, 56 }, m_color);

        auto* sampleBox = Add<TGroupBox>(*this, *this, "SampleBox", Bounds(166, 160, 178, 98));
        sampleBox->SetCaption("Sample");
        m_sample = Add<TLabel>(*this, *sampleBox, "Sample", Bounds(6, 16, 166, 76));
        m_sample->SetAutoSize(false);
        m_sample->SetAlignment(taCenter);
        m_sample->SetLayout(tlCenter);
        m_sample->SetCaption("AaBbYyZz");

        m_name->SetOnChange([this](TObject*) {
            const std::int32_t i = m_names->Items().IndexOf(m_name->Text());
            if (i != m_names->ItemIndex())
                m_names->SetItemIndex(i);
            UpdateSample();
        });
        m_names->SetOnClick([this](TObject*) {
            if (m_names->ItemIndex() >= 0)
                m_name->SetText(m_names->Items().Strings(m_names->ItemIndex()));
        });
        m_styles->SetOnClick([this](TObject*) {
            if (m_styles->ItemIndex() >= 0)
                m_style->SetText(kStyleNames[static_cast<std::size_t>(m_styles->ItemIndex())]);
            UpdateSample();
        });
        m_size->SetOnChange([this](TObject*) {
            const std::int32_t i = m_sizes->Items().IndexOf(Trim(m_size->Text()));
            if (i != m_sizes->ItemIndex())
                m_sizes->SetItemIndex(i);
            UpdateSample();
        });
        m_sizes->SetOnClick([this](TObject*) {
            if (m_sizes->ItemIndex() >= 0)
                m_size->SetText(m_sizes->Items().Strings(m_sizes->ItemIndex()));
        });
        auto sample = [this](TObject*) { UpdateSample(); };
        m_strikeOut->SetOnClick(sample);
        m_underline->SetOnClick(sample);
        m_color->SetOnChange(sample);
    }

    void Load(const TFont& font)
    {
        m_color->Items().Clear();
        for (const auto& [c, name] : kNamedColors)
            m_color->Items().Add(name);
        m_customColor = ColorToRGB(font.Color());
        std::int32_t colorIndex = -1;
        for (std::size_t i = 0; i < kNamedColors.size(); ++i)
            if (kNamedColors[i].first == m_customColor)
                colorIndex = static_cast<std::int32_t>(i);
        if (colorIndex < 0) {
            m_color->Items().Add("Custom");
            colorIndex = 16;
        }
        m_loading = true;
        m_name->SetText(font.Name());
        const std::int32_t style = (font.Style().Contains(fsBold) ? 2 : 0) + (font.Style().Contains(fsItalic) ? 1 : 0);
        m_styles->SetItemIndex(style);
        m_style->SetText(kStyleNames[static_cast<std::size_t>(style)]);
        m_size->SetText(IntToStr(font.Size()));
        m_strikeOut->SetChecked(font.Style().Contains(fsStrikeOut));
        m_underline->SetChecked(font.Style().Contains(fsUnderline));
        m_color->SetItemIndex(colorIndex);
        m_loading = false;
        UpdateSample();
        SetActiveControl(m_name);
    }

    void Store(TFont& font) const
    {
        font.SetName(Trim(m_name->Text()));
        font.SetSize(*TryStrToInt(Trim(m_size->Text())));
        font.SetStyle(Styles());
        if (m_options.Contains(fdEffects))
            font.SetColor(SelectedColor());
    }

private:
    [[nodiscard]] TFontStyles Styles() const
    {
        TFontStyles s;
        const std::int32_t style = std::max(m_styles->ItemIndex(), 0);
        if (style >= 2)
            s.Include(fsBold);
        if (style % 2 == 1)
            s.Include(fsItalic);
        if (m_options.Contains(fdEffects)) {
            if (m_underline->Checked())
                s.Include(fsUnderline);
            if (m_strikeOut->Checked())
                s.Include(fsStrikeOut);
        }
        return s;
    }
    [[nodiscard]] TColor SelectedColor() const
    {
        const std::int32_t i = m_color->ItemIndex();
        return i >= 0 && i < 16 ? kNamedColors[static_cast<std::size_t>(i)].first : m_customColor;
    }
    void UpdateSample()
    {
        if (m_loading)
            return;
        TFont& f = m_sample->Font();
        if (!Trim(m_name->Text()).empty())
            f.SetName(Trim(m_name->Text()));
        if (auto size = TryStrToInt(Trim(m_size->Text())); size && *size > 0 && *size <= 1638)
            f.SetSize(*size);
        f.SetStyle(Styles());
        f.SetColor(m_options.Contains(fdEffects) ? SelectedColor() : clWindowText);
    }
    bool Validate()
    {
        const std::string name = Trim(m_name->Text());
        if (name.empty() || (m_options.Contains(fdForceFontExist) && m_names->Items().IndexOf(name) < 0)) {
            Refuse(*m_name, "There is no font with that name. Choose a font from the list of fonts.");
            return false;
        }
        const bool limited = m_options.Contains(fdLimitSize) && m_minSize > 0 && m_maxSize >= m_minSize;
        const std::int32_t lo = limited ? m_minSize : 1, hi = limited ? m_maxSize : 1638;
        const auto size = TryStrToInt(Trim(m_size->Text()));
        if (!size) {
            Refuse(*m_size, "Size must be a number.");
            return false;
        }
        if (*size < lo || *size > hi) {
            Refuse(*m_size, "Size must be between " + IntToStr(lo) + " and " + IntToStr(hi) + " points.");
            return false;
        }
        return true;
    }

    TFontDialogOptions m_options;
    std::int32_t m_minSize;
    std::int32_t m_maxSize;
    TEdit* m_name { nullptr };
    TListBox* m_names { nullptr };
    TEdit* m_style { nullptr };
    TListBox* m_styles { nullptr };
    TEdit* m_size { nullptr };
    TListBox* m_sizes { nullptr };
    TCheckBox* m_strikeOut { nullptr };
    TCheckBox* m_underline { nullptr };
    TComboBox* m_color { nullptr };
    TLabel* m_sample { nullptr };
    TColor m_customColor { clBlack };
    bool m_loading { false };
};

// ---- Message boxes -------------------------------------------------------------

// The 32 x 32 icon of a message type, on the button face colour.
void DrawMessageIcon(TBitmap& icon, TMsgDlgType type)
{
    icon.SetSize(32, 32);
    TCanvas& c = icon.Canvas();
    c.Brush().SetColor(ColorToRGB(clBtnFace));
    c.FillRect(Rect(0, 0, 32, 32));
    c.Pen().SetColor(clBlack);
    std::string glyph;
    TColor ink = clBlack;
    switch (type) {
    case mtWarning:
        c.Brush().SetColor(clYellow);
        c.Polygon({ Point(15, 1), Point(30, 29), Point(1, 29) });
        glyph = "!";
        break;
    case mtError:
        c.Brush().SetColor(clRed);
        c.Ellipse(1, 1, 31, 31);
        glyph = "X";
        ink = clWhite;
        break;
    case mtInformation:
    case mtConfirmation:
        c.Brush().SetColor(clWhite);
        c.Ellipse(1, 1, 31, 31);
        glyph = type == mtInformation ? "i" : "?";
        ink = clBlue;
        break;
    case mtCustom:
        return;
    }
    c.Font().SetName("Arial");
    c.Font().SetHeight(-20);
    c.Font().SetStyle({ fsBold });
    c.Font().SetColor(ink);
    c.Brush().SetStyle(bsClear);
    TRect r = Rect(0, type == mtWarning ? 7 : 4, 32, 30);
    DrawText(c, glyph, r, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
}

std::string MessageCaption(TMsgDlgType type)
{
    switch (type) {
    case mtWarning: return "Warning";
    case mtError: return "Error";
    case mtInformation: return "Information";
    case mtConfirmation: return "Confirm";
    default: return Application().Title();
    }
}

struct TButtonInfo {
    const char* name;
    const char* caption;
    TModalResult result;
};
constexpr std::array<TButtonInfo, 9> kMessageButtons { { { "Yes", "&Yes", mrYes }, { "No", "&No", mrNo }, { "OK", "OK", mrOk },
    { "Cancel", "Cancel", mrCancel }, { "Abort", "&Abort", mrAbort }, { "Retry", "&Retry", mrRetry }, { "Ignore", "&Ignore", mrIgnore },
    { "All", "&All", mrAll }, { "Help", "&Help", mrNone } } };

} // namespace

// ---- TCommonDialog ------------------------------------------------------------

TCommonDialog::TCommonDialog(TComponent* owner)
    : TComponent(owner)
{
}

// ---- TColorDialog -------------------------------------------------------------

TColorDialog::TColorDialog(TComponent* owner)
    : TCommonDialog(owner)
{
}

bool TColorDialog::Execute()
{
    TColorDialogForm form;
    form.Load(m_color, m_customColors);
    if (form.ShowModal() != mrOk)
        return false;
    m_color = form.Current();
    form.Store(m_customColors);
    return true;
}

const TEnumInfo& ColorDialogOptionInfo()
{
    static const TEnumInfo info { "TColorDialogOption", { "cdFullOpen", "cdPreventFullOpen", "cdShowHelp", "cdSolidColor", "cdAnyColor" } };
    return info;
}

const TClassInfo& TColorDialog::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TColorDialog>("TColorDialog", &TComponent::StaticClassInfo())
        .Integer("Color", &TColorDialog::Color, &TColorDialog::SetColor, clBlack, &ColorIdents(), "TColor")
        .Bool("Ctl3D", &TCommonDialog::Ctl3D, &TCommonDialog::SetCtl3D, true)
        .Object("CustomColors", "TStrings", [](TColorDialog& d) -> TPersistent* { return &d.CustomColors(); })
        .Integer("HelpContext", &TCommonDialog::HelpContext, &TCommonDialog::SetHelpContext, 0, nullptr, "THelpContext")
        .Set("Options", ColorDialogOptionInfo(), "TColorDialogOptions", &TColorDialog::Options, &TColorDialog::SetOptions, 0)
        .Creator([](TComponent* owner) -> TComponent* { return new TColorDialog(owner); })
        .Build();
    return info;
}

const TClassInfo& TColorDialog::ClassType() const
{
    return StaticClassInfo();
}

// ---- TFontDialog -------------------------------------------------------------

TFontDialog::TFontDialog(TComponent* owner)
    : TCommonDialog(owner)
{
}

bool TFontDialog::Execute()
{
    TFontDialogForm form(m_options, m_minFontSize, m_maxFontSize);
    form.Load(m_font);
    if (form.ShowModal() != mrOk)
        return false;
    form.Store(m_font);
    return true;
}

const TEnumInfo& FontDialogOptionInfo()
{
    static const TEnumInfo info { "TFontDialogOption",
        { "fdAnsiOnly", "fdTrueTypeOnly", "fdEffects", "fdFixedPitchOnly", "fdForceFontExist", "fdNoFaceSelChange", "fdNoOEMFonts",
            "fdNoSimulations", "fdNoSizeSel", "fdNoStyleSel", "fdNoVectorFonts", "fdShowHelp", "fdWysiwyg", "fdLimitSize", "fdScalableOnly",
            "fdApplyButton" } };
    return info;
}

const TClassInfo& TFontDialog::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TFontDialog>("TFontDialog", &TComponent::StaticClassInfo())
        .Bool("Ctl3D", &TCommonDialog::Ctl3D, &TCommonDialog::SetCtl3D, true)
        .Object("Font", "TFont", [](TFontDialog& d) -> TPersistent* { return &d.Font(); })
        .Integer("HelpContext", &TCommonDialog::HelpContext, &TCommonDialog::SetHelpContext, 0, nullptr, "THelpContext")
        .Integer("MaxFontSize", &TFontDialog::MaxFontSize, &TFontDialog::SetMaxFontSize, 0)
        .Integer("MinFontSize", &TFontDialog::MinFontSize, &TFontDialog::SetMinFontSize, 0)
        .Set("Options", FontDialogOptionInfo(), "TFontDialogOptions", &TFontDialog::Options, &TFontDialog::SetOptions,
            TFontDialogOptions { fdEffects }.Bits())
        .Creator([](TComponent* owner) -> TComponent* { return new TFontDialog(owner); })
        .Build();
    return info;
}

const TClassInfo& TFontDialog::ClassType() const
{
    return StaticClassInfo();
}

// ---- Message boxes and the input box -----------------------------------------------

std::unique_ptr<TForm> CreateMessageDialog(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons)
{
    constexpr std::int32_t kMargin = 12, kVertMargin = 13, kSpacing = 15, kVertSpacing = 16;
    constexpr std::int32_t kButtonWidth = 75, kButtonHeight = 25, kButtonSpacing = 6, kIcon = 32;
    auto form = std::make_unique<TForm>(nullptr);
    form->SetCaption(MessageCaption(type));
    form->SetBorderStyle(bsDialog);
    form->SetPosition(poScreenCenter);

    TBitmap scratch(1, 1);
    scratch.Canvas().Font().Assign(&form->Font());
    TRect text = Rect(0, 0, std::max(Screen().Width() / 2, 1), 0);
    DrawText(scratch.Canvas(), message, text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    const bool hasIcon = type != mtCustom;
    const std::int32_t iconTextWidth = static_cast<std::int32_t>(text.Width()) + (hasIcon ? kIcon + kSpacing : 0);
    const std::int32_t iconTextHeight = hasIcon ? std::max(kIcon, static_cast<std::int32_t>(text.Height())) : static_cast<std::int32_t>(text.Height());
    std::int32_t count = 0;
    for (std::size_t b = 0; b < kMessageButtons.size(); ++b)
        count += buttons.Contains(static_cast<TMsgDlgBtn>(b)) ? 1 : 0;
    const std::int32_t groupWidth = count * kButtonWidth + std::max(count - 1, 0) * kButtonSpacing;
    form->SetClientWidth(std::max(iconTextWidth, groupWidth) + 2 * kMargin);
    form->SetClientHeight(iconTextHeight + (count ? kButtonHeight + kVertSpacing : 0) + 2 * kVertMargin);

    if (hasIcon) {
        auto* image = Add<TImage>(*form, *form, "Image", Bounds(kMargin, kVertMargin, kIcon, kIcon));
        DrawMessageIcon(image->Picture(), type);
    }
    auto* label = Add<TLabel>(*form, *form, "Message", Bounds(kMargin + (hasIcon ? kIcon + kSpacing : 0), kVertMargin, 10, 10));
    label->SetAutoSize(false);
    label->SetWordWrap(true);
    label->SetShowAccelChar(false);
    label->SetBounds(label->Left(), label->Top(), text.Width(), text.Height());
    label->SetCaption(message);

    const TMsgDlgBtn defaultButton = buttons.Contains(mbOK) ? mbOK : buttons.Contains(mbYes) ? mbYes : mbRetry;
    const TMsgDlgBtn cancelButton = buttons.Contains(mbCancel) ? mbCancel : buttons.Contains(mbNo) ? mbNo : mbOK;
    std::int32_t x = (form->ClientWidth() - groupWidth) / 2;
    const std::int32_t y = iconTextHeight + kVertMargin + kVertSpacing;
    for (std::size_t b = 0; b < kMessageButtons.size(); ++b) {
        const auto which = static_cast<TMsgDlgBtn>(b);
        if (!buttons.Contains(which))
            continue;
        const TButtonInfo& info = kMessageButtons[b];
        auto* button = Add<TButton>(*form, *form, info.name, Bounds(x, y, kButtonWidth, kButtonHeight));
        button->SetCaption(info.caption);
        button->SetModalResult(info.result);
        button->SetDefault(which == defaultButton);
        button->SetCancel(which == cancelButton);
        if (which == defaultButton)
            form->SetActiveControl(button);
        x += kButtonWidth + kButtonSpacing;
    }
    return form;
}

TModalResult MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons, std::int32_t /*helpContext*/)
{
    auto form = CreateMessageDialog(message, type, buttons);
    return form->ShowModal();
}

void ShowMessage(const std::string& message)
{
    MessageDlg(message, mtCustom, { mbOK }, 0);
}

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value)
{
    TForm form(nullptr);
    auto* label = AddLabel(form, form, "Prompt", prompt, { 12, 13 }, nullptr);
    const std::int32_t width = std::max(270, label->Width() + 24);
    MakeDialog(form, caption, width, 104);
    auto* edit = Add<TEdit>(form, form, "Value", Bounds(12, 31, width - 24, 21));
    edit->SetMaxLength(255);
    edit->SetText(value);
    label->SetFocusControl(edit);
    AddButton(form, "OK", "OK", Bounds(width / 2 - 80, 66, 75, 25), mrOk);
    AddButton(form, "Cancel", "Cancel", Bounds(width / 2 + 5, 66, 75, 25), mrCancel);
    form.SetActiveControl(edit);
    if (form.ShowModal() != mrOk)
        return false;
    value = edit->Text();
    return true;
}

std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& defaultValue)
{
    std::string value = defaultValue;
    return InputQuery(caption, prompt, value) ? value : defaultValue;
}

} // namespace plx
