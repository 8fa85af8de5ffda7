#include "designer/Inspector.h"

#include "color/host/DrawText.h"
#include "designer/FormDesigner.h"
#include "designer/Palette.h"
#include "designer/PopupList.h"
#include "framework/host/Forms.h"
#include "framework/host/StdCtrls.h"

#include <algorithm>
#include <cctype>

namespace plx::designer {

namespace {

constexpr std::uint16_t kKeyReturn = 13;
constexpr std::uint16_t kKeyEscape = 27;
constexpr std::uint16_t kKeyUp = 38;
constexpr std::uint16_t kKeyDown = 40;
constexpr std::int32_t kIndent = 12;

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool IsEvent(const TPropertyEditor& editor)
{
    return editor.PropInfo().Kind == TTypeKind::tkMethod;
}

} // namespace

TInspector::TInspector(TComponent* owner, TFormDesigner& designer)
    : TCustomControl(owner)
    , m_designer(designer)
{
    SetControlStyle(ControlStyle().With(csOpaque));
    SetTabStop(true);
    SetBounds(0, 0, 260, 400);
    m_edit = new TEdit(this);
    m_edit->SetParent(this);
    m_edit->SetVisible(false);
    m_edit->SetBorderStyle(bsNone);
    m_edit->SetAutoSize(false);
    m_edit->SetAutoSelect(false);
    // Enter sets the value, Escape drops it; both reach the edit as keys.
    m_edit->SetOnKeyDown([this](TObject*, std::uint16_t& key, TShiftState) {
        if (key == kKeyReturn) {
            key = 0;
            CommitEdit();
        } else if (key == kKeyEscape) {
            key = 0;
            CancelEdit();
        }
    });
}

TInspector::~TInspector()
{
    CloseValueList();
}

TPopupList* TInspector::ValueList() const noexcept
{
    return m_valueList.Get();
}

void TInspector::CloseValueList()
{
    if (TPopupList* list = ValueList())
        list->Release();
    m_valueList = nullptr;
}

// ---- Rows ----------------------------------------------------------------

void TInspector::AddRows(std::vector<std::unique_ptr<TPropertyEditor>> editors, std::int32_t level)
{
    for (auto& editor : editors) {
        if (level == 0 && IsEvent(*editor) != (m_tab == TInspectorTab::Events))
            continue;
        const std::string path = editor->Path();
        const bool expand = editor->GetAttributes().Contains(paSubProperties) && m_expanded.contains(Lower(path));
        std::vector<std::unique_ptr<TPropertyEditor>> children;
        if (expand)
            children = editor->GetProperties();
        m_rows.push_back({ std::move(editor), path, level });
        if (expand)
            AddRows(std::move(children), level + 1);
    }
}

void TInspector::Refresh()
{
    const std::string selectedPath
        = m_selectedRow >= 0 && m_selectedRow < static_cast<std::int32_t>(m_rows.size()) ? m_rows[static_cast<std::size_t>(m_selectedRow)].path : "";
    TComponent* component = m_designer.HasForm() ? m_designer.Selected() : nullptr;
    if (component != m_component.Get()) {
        m_top = 0;
        CancelEdit();
    }
    m_component = component;
    m_rows.clear();
    if (component) {
        if (m_tab == TInspectorTab::Properties)
            m_rows.push_back({ nullptr, "Name", 0 });
        AddRows(GetComponentProperties(&m_designer, *component), 0);
    }
    m_selectedRow = RowIndex(selectedPath);
    if (m_editRow >= 0)
        m_editRow = m_selectedRow;
    m_top = std::clamp(m_top, 0, std::max(0, static_cast<std::int32_t>(m_rows.size()) - 1));
    PlaceEditor();
    Invalidate();
}

void TInspector::SetTab(TInspectorTab tab)
{
    if (tab == m_tab)
        return;
    CancelEdit();
    m_tab = tab;
    m_top = 0;
    m_selectedRow = -1;
    Refresh();
}

TInspectorRow TInspector::Describe(const Row& row) const
{
    TInspectorRow info;
    info.Path = row.path;
    info.Level = row.level;
    if (!row.editor) {
        info.Name = "Name";
        info.Value = m_component ? m_component->Name() : std::string();
        return info;
    }
    const TPropertyAttributes attributes = row.editor->GetAttributes();
    info.Name = row.editor->GetName();
    try {
        info.Value = row.editor->GetValue();
    } catch (const std::exception& e) {
        info.Value = std::string("(") + e.what() + ")";
    }
    info.Expandable = attributes.Contains(paSubProperties);
    info.Expanded = info.Expandable && m_expanded.contains(Lower(row.path));
    info.HasDialog = attributes.Contains(paDialog);
    info.HasValues = attributes.Contains(paValueList);
    info.ReadOnly = attributes.Contains(paReadOnly);
    return info;
}

std::vector<TInspectorRow> TInspector::Rows() const
{
    std::vector<TInspectorRow> rows;
    for (const Row& row : m_rows)
        rows.push_back(Describe(row));
    return rows;
}

std::int32_t TInspector::RowIndex(const std::string& path) const
{
    const std::string wanted = Lower(path);
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        if (Lower(m_rows[i].path) == wanted)
            return static_cast<std::int32_t>(i);
    return -1;
}

void TInspector::Expand(const std::string& path, bool expanded)
{
    if (expanded)
        m_expanded.insert(Lower(path));
    else
        m_expanded.erase(Lower(path));
    Refresh();
}

// ---- Geometry ------------------------------------------------------------

std::int32_t TInspector::NameWidth() const
{
    return std::max(60, (Width() - kInspectorScrollWidth) * 2 / 5);
}

std::int32_t TInspector::VisibleRows() const
{
    return std::max(1, (Height() - kInspectorTabHeight - kInspectorHeaderHeight) / kInspectorRowHeight);
}

TRect TInspector::TabRect(TInspectorTab tab) const
{
    const std::int32_t half = Width() / 2;
    return tab == TInspectorTab::Properties ? Rect(0, 0, half, kInspectorTabHeight) : Rect(half, 0, Width(), kInspectorTabHeight);
}

TRect TInspector::RowRect(std::int32_t row) const
{
    const std::int32_t shown = row - m_top;
    if (row < 0 || row >= static_cast<std::int32_t>(m_rows.size()) || shown < 0 || shown >= VisibleRows())
        return {};
    const std::int32_t top = kInspectorTabHeight + kInspectorHeaderHeight + shown * kInspectorRowHeight;
    return Rect(0, top, Width() - kInspectorScrollWidth, top + kInspectorRowHeight);
}

TRect TInspector::NameRect(std::int32_t row) const
{
    const TRect r = RowRect(row);
    return r.IsEmpty() ? r : Rect(r.Left, r.Top, NameWidth(), r.Bottom);
}

TRect TInspector::ValueRect(std::int32_t row) const
{
    const TRect r = RowRect(row);
    return r.IsEmpty() ? r : Rect(NameWidth() + 1, r.Top, r.Right, r.Bottom);
}

TRect TInspector::ExpandRect(std::int32_t row) const
{
    const TRect r = RowRect(row);
    if (r.IsEmpty())
        return r;
    const std::int32_t left = 3 + m_rows[static_cast<std::size_t>(row)].level * kIndent;
    return Rect(left, r.Top + 4, left + 9, r.Top + 13);
}

TRect TInspector::DialogButtonRect(std::int32_t row) const
{
    const TRect r = ValueRect(row);
    return r.IsEmpty() ? r : Rect(r.Right - 18, r.Top + 1, r.Right - 1, r.Bottom - 1);
}

std::int32_t TInspector::RowAt(TPoint p) const
{
    for (std::int32_t i = m_top; i < static_cast<std::int32_t>(m_rows.size()); ++i)
        if (RowRect(i).Contains(p))
            return i;
    return -1;
}

// ---- Editing -------------------------------------------------------------

void TInspector::SelectRow(std::int32_t row)
{
    if (Editing() && row != m_editRow)
        CommitEdit();
    m_selectedRow = row;
    if (row >= 0 && row < m_top)
        m_top = row;
    else if (row >= m_top + VisibleRows())
        m_top = row - VisibleRows() + 1;
    PlaceEditor();
    Invalidate();
}

const std::string& TInspector::EditText() const noexcept
{
    return m_edit->Text();
}

void TInspector::BeginEdit(std::int32_t row)
{
    if (row < 0 || row >= static_cast<std::int32_t>(m_rows.size()))
        return;
    SelectRow(row);
    m_editRow = row;
    m_edit->SetText(Describe(m_rows[static_cast<std::size_t>(row)]).Value);
    m_edit->SetSelStart(m_edit->TextLength());
    PlaceEditor();
    if (m_edit->CanFocus())
        m_edit->SetFocus();
    Invalidate();
}

void TInspector::PlaceEditor()
{
    const TRect cell = m_editRow >= 0 ? ValueRect(m_editRow) : TRect {};
    if (cell.IsEmpty()) {
        // Scrolled out of view (typing goes on when it comes back) or done.
        if (m_edit->Visible()) {
            const bool focused = m_edit->Focused();
            m_edit->SetVisible(false);
            if (focused)
                TakeFocus();
        }
        return;
    }
    const TInspectorRow info = Describe(m_rows[static_cast<std::size_t>(m_editRow)]);
    const std::int32_t right = cell.Right - (info.HasDialog || info.HasValues ? 20 : 2);
    m_edit->SetBounds(cell.Left + 3, cell.Top + 2, std::max(0, right - cell.Left - 3), cell.Height() - 4);
    m_edit->SetVisible(true);
}

void TInspector::Resize()
{
    TCustomControl::Resize();
    if (m_edit) // not while the constructor sizes the inspector
        PlaceEditor();
}

void TInspector::CommitEdit()
{
    if (!Editing())
        return;
    const std::string path = m_rows[static_cast<std::size_t>(m_editRow)].path;
    const std::string text = m_edit->Text();
    m_editRow = -1;
    // A rejected value stays to be corrected.
    if (!SetValue(RowIndex(path), text))
        m_editRow = RowIndex(path);
    PlaceEditor();
    Invalidate();
}

void TInspector::CancelEdit()
{
    m_editRow = -1;
    PlaceEditor();
    Invalidate();
}

bool TInspector::SetValue(std::int32_t row, const std::string& value)
{
    if (row < 0 || row >= static_cast<std::int32_t>(m_rows.size()) || !m_component)
        return false;
    // Copies: every change lists the rows again.
    const std::string path = m_rows[static_cast<std::size_t>(row)].path;
    const TWeakRef<TComponent> component = m_component;
    try {
        // Through the designer, so that the editors shown here are not the ones
        // that change.
        m_designer.SetProperty(*component, path, value);
        return true;
    } catch (const std::exception& e) {
        m_designer.Message(e.what());
        return false;
    }
}

void TInspector::OpenValueList(std::int32_t row)
{
    CloseValueList();
    const Row& r = m_rows[static_cast<std::size_t>(row)];
    std::vector<std::string> values = r.editor->GetValues();
    if (r.editor->GetAttributes().Contains(paSortList))
        std::sort(values.begin(), values.end());
    const std::string current = Describe(r).Value;
    const auto at = std::find(values.begin(), values.end(), current);
    const std::int32_t currentIndex = at == values.end() ? -1 : static_cast<std::int32_t>(at - values.begin());
    const std::string path = r.path;
    auto* list = new TPopupList(values, currentIndex, [this, path, values](std::int32_t index) {
        SetValue(RowIndex(path), values[static_cast<std::size_t>(index)]);
    });
    m_valueList = list;
    const TRect cell = ValueRect(row);
    list->Popup(ClientToScreen({ cell.Left, cell.Bottom }));
}

void TInspector::RunDialog(std::int32_t row)
{
    if (row < 0 || row >= static_cast<std::int32_t>(m_rows.size()) || !m_component)
        return;
    const std::string path = m_rows[static_cast<std::size_t>(row)].path;
    try {
        m_designer.EditProperty(*m_component, path);
    } catch (const std::exception& e) {
        m_designer.Message(e.what());
    }
}

void TInspector::Scroll(std::int32_t rows)
{
    m_top = std::clamp(m_top + rows, 0, std::max(0, static_cast<std::int32_t>(m_rows.size()) - VisibleRows()));
    PlaceEditor();
    Invalidate();
}

void TInspector::TakeFocus()
{
    if (CanFocus())
        SetFocus();
}

// ---- Painting ------------------------------------------------------------

void TInspector::Paint()
{
    TCanvas& canvas = Canvas();
    canvas.Font().Assign(&Font());
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(ClientRect());
    for (TInspectorTab tab : { TInspectorTab::Properties, TInspectorTab::Events }) {
        const TRect r = TabRect(tab);
        const bool current = tab == m_tab;
        DrawFrame3D(canvas, r, current);
        TRect text = r;
        canvas.Brush().SetStyle(bsClear);
        canvas.Font().SetColor(clBtnText);
        DrawText(canvas, tab == TInspectorTab::Properties ? "Properties" : "Events", text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        canvas.Brush().SetStyle(bsSolid);
    }
    TRect header = Rect(2, kInspectorTabHeight, Width() - 2, kInspectorTabHeight + kInspectorHeaderHeight);
    canvas.Brush().SetStyle(bsClear);
    if (m_component)
        DrawText(canvas, m_component->Name() + ": " + m_component->ClassName(), header, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    canvas.Brush().SetStyle(bsSolid);
    for (std::int32_t i = m_top; i < std::min<std::int32_t>(static_cast<std::int32_t>(m_rows.size()), m_top + VisibleRows()); ++i)
        PaintRow(canvas, i);
    // The scroll strip: the upper half scrolls up, the lower half down.
    const TRect strip = Rect(Width() - kInspectorScrollWidth, kInspectorTabHeight + kInspectorHeaderHeight, Width(), Height());
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(strip);
    DrawFrame3D(canvas, Rect(strip.Left, strip.Top, strip.Right, strip.Top + strip.Height() / 2), false);
    DrawFrame3D(canvas, Rect(strip.Left, strip.Top + strip.Height() / 2, strip.Right, strip.Bottom), false);
}

void TInspector::PaintRow(TCanvas& canvas, std::int32_t row)
{
    const TInspectorRow info = Describe(m_rows[static_cast<std::size_t>(row)]);
    const TRect line = RowRect(row);
    TRect name = NameRect(row);
    TRect value = ValueRect(row);
    const bool selected = row == m_selectedRow;
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(selected ? clHighlight : clWindow);
    canvas.FillRect(name);
    canvas.Brush().SetColor(clWindow);
    canvas.FillRect(value);
    canvas.Pen().SetColor(clBtnFace);
    canvas.MoveTo(line.Left, line.Bottom - 1);
    canvas.LineTo(line.Right, line.Bottom - 1);
    canvas.MoveTo(name.Right, line.Top);
    canvas.LineTo(name.Right, line.Bottom);
    if (info.Expandable) {
        const TRect box = ExpandRect(row);
        canvas.Brush().SetColor(clWindow);
        canvas.Pen().SetColor(clBtnShadow);
        canvas.Rectangle(box);
        canvas.Pen().SetColor(clWindowText);
        canvas.MoveTo(box.Left + 2, box.Top + 4);
        canvas.LineTo(box.Right - 2, box.Top + 4);
        if (!info.Expanded) {
            canvas.MoveTo(box.Left + 4, box.Top + 2);
            canvas.LineTo(box.Left + 4, box.Bottom - 2);
        }
    }
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().SetColor(selected ? clHighlightText : clWindowText);
    TRect nameText = Rect(name.Left + 16 + info.Level * kIndent, name.Top, name.Right - 2, name.Bottom);
    DrawText(canvas, info.Name, nameText, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    canvas.Font().SetColor(clWindowText);
    TRect valueText = Rect(value.Left + 3, value.Top, value.Right - (info.HasDialog || info.HasValues ? 20 : 2), value.Bottom);
    if (row == m_editRow) {
        // A frame round the edit, which shows the text.
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(clWindow);
        canvas.Pen().SetColor(clWindowText);
        canvas.Rectangle(Rect(value.Left, value.Top, value.Right, value.Bottom - 1));
    } else {
        DrawText(canvas, info.Value, valueText, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    canvas.Brush().SetStyle(bsSolid);
    if (info.HasDialog) {
        const TRect button = DialogButtonRect(row);
        canvas.Brush().SetColor(clBtnFace);
        canvas.FillRect(button);
        DrawFrame3D(canvas, button, false);
        TRect dots = button;
        canvas.Brush().SetStyle(bsClear);
        canvas.Font().SetColor(clBtnText);
        DrawText(canvas, "...", dots, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        canvas.Brush().SetStyle(bsSolid);
    } else if (info.HasValues && selected) {
        const TRect arrow = DialogButtonRect(row);
        canvas.Brush().SetColor(clBtnFace);
        canvas.FillRect(arrow);
        DrawFrame3D(canvas, arrow, false);
        const std::int32_t cx = arrow.Left + arrow.Width() / 2, cy = arrow.Top + arrow.Height() / 2 - 1;
        canvas.Brush().SetColor(clBtnText);
        canvas.Pen().SetColor(clBtnText);
        canvas.Polygon({ TPoint { cx - 3, cy - 1 }, TPoint { cx + 3, cy - 1 }, TPoint { cx, cy + 2 } });
    }
}

// ---- Input ---------------------------------------------------------------

void TInspector::MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    CloseValueList();
    if (button != mbLeft)
        return;
    TakeFocus();
    const TPoint p { x, y };
    for (TInspectorTab tab : { TInspectorTab::Properties, TInspectorTab::Events })
        if (TabRect(tab).Contains(p)) {
            SetTab(tab);
            return;
        }
    if (x >= Width() - kInspectorScrollWidth && y >= kInspectorTabHeight + kInspectorHeaderHeight) {
        const std::int32_t middle = kInspectorTabHeight + kInspectorHeaderHeight + (Height() - kInspectorTabHeight - kInspectorHeaderHeight) / 2;
        Scroll(y < middle ? -VisibleRows() / 2 : VisibleRows() / 2);
        return;
    }
    const std::int32_t row = RowAt(p);
    if (row < 0)
        return;
    const TInspectorRow info = Describe(m_rows[static_cast<std::size_t>(row)]);
    if (info.Expandable && ExpandRect(row).Contains(p)) {
        SelectRow(row);
        Expand(info.Path, !info.Expanded);
        return;
    }
    if (!ValueRect(row).Contains(p)) {
        SelectRow(row);
        return;
    }
    if (row == m_editRow)
        return;
    if ((info.HasDialog || info.HasValues) && DialogButtonRect(row).Contains(p)) {
        SelectRow(row);
        if (info.HasDialog)
            RunDialog(row);
        else
            OpenValueList(row);
        return;
    }
    if (info.HasValues) {
        SelectRow(row);
        OpenValueList(row);
        return;
    }
    if (!info.ReadOnly)
        BeginEdit(row);
    else
        SelectRow(row);
}

void TInspector::DblClick()
{
    if (m_selectedRow < 0 || m_selectedRow >= static_cast<std::int32_t>(m_rows.size()))
        return;
    const TInspectorRow info = Describe(m_rows[static_cast<std::size_t>(m_selectedRow)]);
    if (info.Expandable && !info.HasDialog) {
        Expand(info.Path, !info.Expanded);
        return;
    }
    if (info.HasDialog || info.HasValues || IsEvent(*m_rows[static_cast<std::size_t>(m_selectedRow)].editor))
        RunDialog(m_selectedRow);
}

void TInspector::KeyDown(std::uint16_t& key, TShiftState shift)
{
    TCustomControl::KeyDown(key, shift);
    switch (key) {
    case kKeyReturn:
        if (Editing())
            CommitEdit();
        else if (m_selectedRow >= 0)
            BeginEdit(m_selectedRow);
        break;
    case kKeyEscape:
        CancelEdit();
        break;
    case kKeyUp:
        if (!Editing() && m_selectedRow > 0)
            SelectRow(m_selectedRow - 1);
        break;
    case kKeyDown:
        if (!Editing() && m_selectedRow + 1 < static_cast<std::int32_t>(m_rows.size()))
            SelectRow(m_selectedRow + 1);
        break;
    default:
        return;
    }
    key = 0;
}

void TInspector::KeyPress(char& key)
{
    TCustomControl::KeyPress(key);
    if (static_cast<unsigned char>(key) < 32)
        return;
    if (!Editing()) {
        if (m_selectedRow < 0)
            return;
        const TInspectorRow info = Describe(m_rows[static_cast<std::size_t>(m_selectedRow)]);
        if (info.ReadOnly)
            return;
        BeginEdit(m_selectedRow);
        m_edit->Clear();
    }
    // The first character of a value typed on a row, or one typed while its
    // edit was scrolled out of view.
    const auto c = static_cast<unsigned char>(key);
    key = 0;
    m_edit->Perform(WM_CHAR, c, 0);
}

} // namespace plx::designer
