#include "designer/FormDesigner.h"

#include "designer/DesignOverlay.h"
#include "framework/host/DesignEditors.h"
#include "framework/host/FormFiles.h"
#include "framework/host/Packages.h"
#include "rtl/Exceptions.h"
#include "rtl/Streams.h"
#include "rtl/TypInfo.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <regex>
#include <sstream>

namespace plx::designer {

namespace {

bool SameText(std::string_view a, std::string_view b) noexcept
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// "Line 3: Class TKnGradient not found" gains which package had registered it.
std::string ExplainReadError(const std::string& message)
{
    static const std::regex missing("Class ([A-Za-z_][A-Za-z0-9_]*) not found");
    std::smatch m;
    if (!std::regex_search(message, m, missing))
        return message;
    const std::string package = UnloadedPackageOfClass(m[1].str());
    if (!package.empty())
        return message + " (it was registered by package " + package + ", which is not loaded)";
    return message + " (no loaded package registers it)";
}

std::string ReadFile(const std::string& fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        throw EFOpenError("Cannot open file " + fileName);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool OwnedBy(const TComponent* c, const TComponent* root) noexcept
{
    return c && c->Owner() == root;
}

} // namespace

TFormDesigner::TFormDesigner() = default;

TFormDesigner::~TFormDesigner()
{
    CloseForm();
}

std::unique_ptr<TForm> TFormDesigner::MakeForm()
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetDesigning(true);
    return form;
}

void TFormDesigner::AttachOverlay()
{
    auto* overlay = new TDesignOverlay(*this, *m_form); // freed by the form, its parent
    m_overlay = overlay;
}

TDesignOverlay* TFormDesigner::Overlay() const noexcept
{
    return m_overlay.Get();
}

void TFormDesigner::NewForm(std::int32_t clientWidth, std::int32_t clientHeight)
{
    auto form = MakeForm();
    form->SetName("Form1");
    form->SetCaption("Form1");
    form->SetClientWidth(clientWidth);
    form->SetClientHeight(clientHeight);
    CloseForm();
    m_form = std::move(form);
    AttachOverlay();
    m_modified = false;
    Changed();
}

void TFormDesigner::CloseForm()
{
    m_selected = nullptr;
    m_form.reset();
}

void TFormDesigner::ShowForm(TPoint screenPosition)
{
    m_form->SetBounds(screenPosition.X, screenPosition.Y, m_form->Width(), m_form->Height());
    m_form->Show();
    if (TDesignOverlay* overlay = Overlay())
        overlay->Cover();
}

void TFormDesigner::Open(const std::string& fileName)
{
    const std::string text = ReadFile(fileName);
    auto form = MakeForm();
    try {
        ReadComponentText(text, *form);
    } catch (const Exception& e) {
        throw EReadError("Cannot open " + fileName + ": " + ExplainReadError(e.Message()));
    }
    // Components read are designed like the rest (they were created inside a
    // designing form, so they are already).
    form->SetDesigning(true);
    const bool shown = m_form && m_form->Visible();
    const TPoint at = m_form ? TPoint { m_form->Left(), m_form->Top() } : TPoint {};
    CloseForm();
    m_form = std::move(form);
    AttachOverlay();
    if (shown)
        ShowForm(at);
    m_modified = false;
    Changed();
}

void TFormDesigner::Save(const std::string& fileName)
{
    SaveFormFile(*m_form, fileName);
    m_modified = false;
    Changed();
}

std::string TFormDesigner::FormText() const
{
    return WriteComponentText(*m_form);
}

TComponent& TFormDesigner::Drop(const std::string& className, TPoint at, std::optional<TSize> size)
{
    const TClassInfo* info = FindClass(className);
    if (!info) {
        const std::string package = UnloadedPackageOfClass(className);
        throw EComponentError("Class " + className + " is not registered"
            + (package.empty() ? std::string() : " (package " + package + " is not loaded)"));
    }
    if (!info->Creator())
        throw EComponentError("Class " + className + " cannot be created");
    TWinControl& parent = ContainerAt(at);
    std::unique_ptr<TComponent> component(info->Creator()(m_form.get()));
    auto* control = dynamic_cast<TControl*>(component.get());
    if (!control)
        throw EComponentError(className + " is not a control; the designer places controls only");
    std::string base = info->Name();
    if (base.size() > 1 && base[0] == 'T')
        base.erase(0, 1);
    control->SetName(UniqueName(base));
    const TPoint origin = &parent == m_form.get() ? TPoint {} : parent.FormOrigin();
    control->SetParent(&parent);
    control->SetBounds(at.X - origin.X, at.Y - origin.Y, size ? size->cx : control->Width(), size ? size->cy : control->Height());
    component.release(); // the form owns it now
    if (TDesignOverlay* overlay = Overlay())
        overlay->Cover();
    m_selected = control;
    Modified();
    return *control;
}

void TFormDesigner::Delete(TComponent& component)
{
    if (&component == m_form.get())
        throw EComponentError("The form itself cannot be deleted");
    if (!OwnedBy(&component, m_form.get()))
        throw EComponentError(component.Name() + " is not a component of the form");
    if (m_selected == &component)
        m_selected = nullptr;
    delete &component;
    Modified();
}

TComponent* TFormDesigner::FindComponent(const std::string& name) const
{
    if (!m_form)
        return nullptr;
    if (SameText(m_form->Name(), name))
        return m_form.get();
    return m_form->FindComponent(name);
}

TControl* TFormDesigner::ControlAt(TPoint formPoint) const
{
    TControl* hit = nullptr;
    TWinControl* container = m_form.get();
    TPoint p = formPoint;
    const TControl* overlay = Overlay();
    while (container) {
        TControl* found = nullptr;
        // Windowed controls lie above windowless ones; later ones above earlier.
        for (bool windowed : { true, false })
            for (std::int32_t i = container->ControlCount() - 1; i >= 0 && !found; --i) {
                TControl* c = container->Controls(i);
                if (c != overlay && c->IsWindowed() == windowed && c->Visible() && OwnedBy(c, m_form.get())
                    && c->BoundsRect().Contains(p))
                    found = c;
            }
        if (!found)
            break;
        hit = found;
        p = { p.X - found->Left(), p.Y - found->Top() };
        container = dynamic_cast<TWinControl*>(found);
    }
    return hit;
}

TWinControl& TFormDesigner::ContainerAt(TPoint formPoint) const
{
    for (TControl* c = ControlAt(formPoint); c; c = c->Parent()) {
        auto* w = dynamic_cast<TWinControl*>(c);
        if (w && w->ControlStyle().Contains(csAcceptsControls) && (w == m_form.get() || OwnedBy(w, m_form.get())))
            return *w;
    }
    return *m_form;
}

void TFormDesigner::SetBounds(TControl& control, const TRect& bounds)
{
    if (control.BoundsRect() == bounds)
        return;
    control.SetBoundsRect(bounds);
    if (&control == m_form.get())
        if (TDesignOverlay* overlay = Overlay())
            overlay->Cover();
    Modified();
}

void TFormDesigner::BringToFront(TControl& control)
{
    control.BringToFront();
    if (TDesignOverlay* overlay = Overlay())
        overlay->Cover();
    Modified();
}

void TFormDesigner::SendToBack(TControl& control)
{
    control.SendToBack();
    Modified();
}

TComponent* TFormDesigner::Selected() const noexcept
{
    if (TComponent* c = m_selected.Get())
        return c;
    return m_form.get();
}

void TFormDesigner::Select(TComponent* component)
{
    if (component == m_form.get())
        component = nullptr;
    if (component && !OwnedBy(component, m_form.get()))
        throw EComponentError((component->Name().empty() ? component->ClassName() : component->Name())
            + " is not a component of the form");
    if (m_selected == component)
        return;
    m_selected = component;
    Changed();
}

void TFormDesigner::SetProperty(TComponent& component, const std::string& path, const std::string& value)
{
    if (SameText(path, "Name")) {
        if (&component == m_form.get() && !IsValidIdent(value))
            throw EComponentError("'" + value + "' is not a valid component name");
        component.SetName(value);
        Modified();
        return;
    }
    auto editor = FindPropertyEditor(this, component, path);
    if (!editor)
        throw EPropertyError(component.ClassName() + " has no published property " + path);
    if (editor->GetAttributes().Contains(paReadOnly))
        throw EPropertyError("Property " + path + " cannot be typed; set its sub-properties");
    editor->SetValue(value);
    if (&component == m_form.get())
        if (TDesignOverlay* overlay = Overlay())
            overlay->Cover();
}

std::string TFormDesigner::PropertyValue(TComponent& component, const std::string& path)
{
    if (SameText(path, "Name"))
        return component.Name();
    auto editor = FindPropertyEditor(this, component, path);
    if (!editor)
        throw EPropertyError(component.ClassName() + " has no published property " + path);
    return editor->GetValue();
}

void TFormDesigner::EditProperty(TComponent& component, const std::string& path)
{
    auto editor = FindPropertyEditor(this, component, path);
    if (!editor)
        throw EPropertyError(component.ClassName() + " has no published property " + path);
    editor->Edit();
}

std::vector<std::string> TFormDesigner::Verbs(TComponent& component)
{
    auto editor = GetComponentEditor(component, this);
    std::vector<std::string> verbs;
    for (std::int32_t i = 0; i < editor->GetVerbCount(); ++i)
        verbs.push_back(editor->GetVerb(i));
    return verbs;
}

void TFormDesigner::ExecuteVerb(TComponent& component, std::int32_t index)
{
    auto editor = GetComponentEditor(component, this);
    if (index < 0 || index >= editor->GetVerbCount())
        throw EListError(component.Name() + " has no verb " + std::to_string(index));
    editor->ExecuteVerb(index);
}

void TFormDesigner::Edit(TComponent& component)
{
    GetComponentEditor(component, this)->Edit();
}

void TFormDesigner::Message(const std::string& text)
{
    m_lastMessage = text;
    if (m_onMessage)
        m_onMessage(text);
}

void TFormDesigner::Modified()
{
    m_modified = true;
    Changed();
}

std::string TFormDesigner::UniqueName(const std::string& base)
{
    for (int n = 1;; ++n) {
        std::string name = base + std::to_string(n);
        if (!FindComponent(name))
            return name;
    }
}

void TFormDesigner::SelectComponent(TPersistent* instance)
{
    Select(dynamic_cast<TComponent*>(instance));
}

void TFormDesigner::ShowMethod(const std::string& name)
{
    Message("Event handler " + name);
}

void TFormDesigner::SetPendingClass(std::string className)
{
    m_pendingClass = std::move(className);
    Changed();
}

void TFormDesigner::Changed()
{
    if (TDesignOverlay* overlay = Overlay())
        overlay->Invalidate();
    if (m_onChange)
        m_onChange();
}

} // namespace plx::designer
