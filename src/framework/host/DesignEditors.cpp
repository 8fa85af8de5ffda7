#include "framework/host/DesignEditors.h"

#include "color/host/Bitmap.h"
#include "color/host/GraphicsObject.h"
#include "framework/host/Component.h"
#include "rtl/Exceptions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace plx {

namespace {

bool SameText(std::string_view a, std::string_view b) noexcept
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

std::string_view Trim(std::string_view s) noexcept
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

[[noreturn]] void InvalidValue(const std::string& value, const std::string& what)
{
    throw EPropertyError("'" + value + "' is not " + what);
}

// A decimal integer, or hexadecimal after "$", with an optional sign.
std::optional<std::int64_t> ParseInteger(std::string_view s) noexcept
{
    s = Trim(s);
    const bool negative = !s.empty() && s.front() == '-';
    if (negative || (!s.empty() && s.front() == '+'))
        s.remove_prefix(1);
    int base = 10;
    if (!s.empty() && s.front() == '$') {
        s.remove_prefix(1);
        base = 16;
    }
    std::uint64_t magnitude = 0;
    auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), magnitude, base);
    if (s.empty() || error != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    if (magnitude > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
        return std::nullopt;
    const auto value = static_cast<std::int64_t>(magnitude);
    return negative ? -value : value;
}

// The event an editor of the default kind prefers to edit; higher is better.
int EventRank(const std::string& name) noexcept
{
    if (SameText(name, "OnCreate"))
        return 3;
    if (SameText(name, "OnChange"))
        return 2;
    if (SameText(name, "OnClick"))
        return 1;
    return 0;
}

TComponent* RootOf(const TPropertyEditor& editor) noexcept
{
    if (IDesigner* designer = editor.Designer(); designer && designer->Root())
        return designer->Root();
    TComponent* component = editor.Context().Component;
    return component->Owner() ? component->Owner() : component;
}

} // namespace

// ---- Component editors ---------------------------------------------------

TComponentEditor::TComponentEditor(TComponent& component, IDesigner* designer)
    : m_component(component)
    , m_designer(designer)
{
}

void TComponentEditor::Edit()
{
    if (GetVerbCount() > 0)
        ExecuteVerb(0);
}

void TComponentEditor::ExecuteVerb(std::int32_t)
{
}

std::string TComponentEditor::GetVerb(std::int32_t) const
{
    return {};
}

std::int32_t TComponentEditor::GetVerbCount() const
{
    return 0;
}

void TDefaultEditor::Edit()
{
    auto editors = GetComponentProperties(Designer(), Component());
    m_first = nullptr;
    m_best = nullptr;
    bool continueEditing = true;
    for (auto& editor : editors) {
        EditProperty(*editor, continueEditing);
        if (!continueEditing)
            break;
    }
    TPropertyEditor* chosen = m_best ? m_best : m_first;
    m_first = nullptr;
    m_best = nullptr;
    if (continueEditing && chosen)
        chosen->Edit();
}

void TDefaultEditor::EditProperty(TPropertyEditor& propertyEditor, bool&)
{
    if (!dynamic_cast<TMethodProperty*>(&propertyEditor))
        return;
    if (!m_first)
        m_first = &propertyEditor;
    const int rank = EventRank(propertyEditor.GetName());
    if (rank > 0 && (!m_best || rank > EventRank(m_best->GetName())))
        m_best = &propertyEditor;
}

std::unique_ptr<TComponentEditor> GetComponentEditor(TComponent& component, IDesigner* designer)
{
    if (const TComponentEditorClass* editorClass = FindComponentEditorClass(component.ClassType()))
        return editorClass->Create(component, designer);
    return std::make_unique<TDefaultEditor>(component, designer);
}

// ---- TPropertyEditor -----------------------------------------------------

TPropertyEditor::TPropertyEditor(const TPropertyContext& context)
    : m_context(context)
{
}

TPropertyAttributes TPropertyEditor::GetAttributes() const
{
    return { paRevertable };
}

std::string TPropertyEditor::GetName() const
{
    return PropInfo().Name;
}

std::string TPropertyEditor::GetValue() const
{
    const TPropInfo& p = PropInfo();
    if (!p.Get)
        return {};
    const TPropValue v = p.Get(Instance());
    if (const auto* s = std::get_if<std::string>(&v))
        return *s;
    if (const auto* i = std::get_if<std::int64_t>(&v))
        return std::to_string(*i);
    return std::to_string(std::get<double>(v));
}

void TPropertyEditor::SetValue(const std::string& value)
{
    if (PropInfo().Kind == TTypeKind::tkString && PropInfo().Set) {
        SetStrValue(value);
        return;
    }
    throw EPropertyError("Property " + GetName() + " cannot be set from text");
}

std::vector<std::string> TPropertyEditor::GetValues() const
{
    return {};
}

std::vector<std::unique_ptr<TPropertyEditor>> TPropertyEditor::GetProperties() const
{
    return {};
}

void TPropertyEditor::Edit()
{
    if (!GetAttributes().Contains(paValueList))
        return;
    const std::vector<std::string> values = GetValues();
    if (values.empty())
        return;
    const std::string current = GetValue();
    auto it = std::find_if(values.begin(), values.end(), [&](const std::string& v) { return SameText(v, current); });
    const std::size_t next = it == values.end() ? 0 : (static_cast<std::size_t>(it - values.begin()) + 1) % values.size();
    SetValue(values[next]);
}

std::int64_t TPropertyEditor::GetOrdValue() const
{
    return std::get<std::int64_t>(PropInfo().Get(Instance()));
}

void TPropertyEditor::SetOrdValue(std::int64_t value)
{
    if (!PropInfo().Set)
        throw EPropertyError("Property " + GetName() + " is read-only");
    PropInfo().Set(Instance(), value);
    Modified();
}

std::string TPropertyEditor::GetStrValue() const
{
    return std::get<std::string>(PropInfo().Get(Instance()));
}

void TPropertyEditor::SetStrValue(const std::string& value)
{
    if (!PropInfo().Set)
        throw EPropertyError("Property " + GetName() + " is read-only");
    PropInfo().Set(Instance(), value);
    Modified();
}

TPersistent* TPropertyEditor::GetObjectValue() const
{
    return PropInfo().Object ? PropInfo().Object(Instance()) : nullptr;
}

void TPropertyEditor::Modified()
{
    if (IDesigner* designer = Designer())
        designer->Modified();
}

// ---- Integers ------------------------------------------------------------

TPropertyAttributes TIntegerProperty::GetAttributes() const
{
    TPropertyAttributes attributes = TPropertyEditor::GetAttributes();
    if (PropInfo().Idents)
        attributes.Include(paValueList);
    return attributes;
}

std::string TIntegerProperty::GetValue() const
{
    const std::int64_t value = GetOrdValue();
    if (SameText(PropInfo().TypeName, "TColor"))
        return ColorToString(static_cast<TColor>(value));
    if (PropInfo().Idents)
        if (auto ident = PropInfo().Idents->IdentOf(value))
            return *ident;
    return std::to_string(value);
}

void TIntegerProperty::SetValue(const std::string& value)
{
    std::optional<std::int64_t> parsed;
    if (PropInfo().Idents)
        parsed = PropInfo().Idents->ValueOf(std::string(Trim(value)));
    if (!parsed)
        parsed = ParseInteger(value);
    if (!parsed)
        InvalidValue(value, "a valid value of " + PropInfo().TypeName);
    // Colours are 32-bit words (system colours have the top bit), other
    // integers 32-bit signed, unless the property is 64 bits wide.
    const bool colour = SameText(PropInfo().TypeName, "TColor");
    if (PropInfo().Kind != TTypeKind::tkInt64) {
        const std::int64_t low = std::numeric_limits<std::int32_t>::min();
        const std::int64_t high = colour ? std::int64_t { 0xFFFFFFFF } : std::numeric_limits<std::int32_t>::max();
        if (*parsed < low || *parsed > high)
            InvalidValue(value, "in the range of " + PropInfo().TypeName);
        if (colour && *parsed > std::numeric_limits<std::int32_t>::max())
            parsed = static_cast<std::int32_t>(static_cast<std::uint32_t>(*parsed));
    }
    SetOrdValue(*parsed);
}

std::vector<std::string> TIntegerProperty::GetValues() const
{
    std::vector<std::string> values;
    if (PropInfo().Idents)
        for (const auto& [v, name] : PropInfo().Idents->Entries)
            values.push_back(name);
    return values;
}

// ---- Enumerations --------------------------------------------------------

TPropertyAttributes TEnumProperty::GetAttributes() const
{
    return TPropertyEditor::GetAttributes().With(paValueList);
}

std::string TEnumProperty::GetValue() const
{
    const std::int64_t value = GetOrdValue();
    return PropInfo().EnumType ? PropInfo().EnumType->NameOf(value) : std::to_string(value);
}

void TEnumProperty::SetValue(const std::string& value)
{
    const TEnumInfo* type = PropInfo().EnumType;
    std::optional<std::int64_t> ordinal = type ? type->ValueOf(Trim(value)) : std::nullopt;
    if (!ordinal)
        InvalidValue(value, "a value of " + PropInfo().TypeName);
    SetOrdValue(*ordinal);
}

std::vector<std::string> TEnumProperty::GetValues() const
{
    return PropInfo().EnumType ? PropInfo().EnumType->Names : std::vector<std::string> {};
}

// ---- Sets ----------------------------------------------------------------

TPropertyAttributes TSetProperty::GetAttributes() const
{
    return TPropertyEditor::GetAttributes().With(paSubProperties);
}

std::string TSetProperty::GetValue() const
{
    const std::int64_t bits = GetOrdValue();
    std::string text = "[";
    for (std::int64_t element = 0; element < 32; ++element)
        if (bits & (std::int64_t { 1 } << element)) {
            if (text.size() > 1)
                text += ',';
            text += PropInfo().EnumType ? PropInfo().EnumType->NameOf(element) : std::to_string(element);
        }
    return text + "]";
}

void TSetProperty::SetValue(const std::string& value)
{
    std::string_view s = Trim(value);
    if (s.size() < 2 || s.front() != '[' || s.back() != ']')
        InvalidValue(value, "a set (names in brackets, such as [a,b])");
    s = Trim(s.substr(1, s.size() - 2));
    std::int64_t bits = 0;
    while (!s.empty()) {
        const std::size_t comma = s.find(',');
        const std::string_view name = Trim(s.substr(0, comma));
        const auto element = PropInfo().EnumType ? PropInfo().EnumType->ValueOf(name) : std::nullopt;
        if (!element || *element >= 32)
            InvalidValue(std::string(name), "an element of " + PropInfo().TypeName);
        bits |= std::int64_t { 1 } << *element;
        s = comma == std::string_view::npos ? std::string_view() : s.substr(comma + 1);
    }
    SetOrdValue(bits);
}

std::vector<std::unique_ptr<TPropertyEditor>> TSetProperty::GetProperties() const
{
    std::vector<std::unique_ptr<TPropertyEditor>> elements;
    if (!PropInfo().EnumType)
        return elements;
    const auto count = std::min<std::size_t>(PropInfo().EnumType->Names.size(), 32);
    for (std::size_t i = 0; i < count; ++i) {
        TPropertyContext context = Context();
        context.Path += "." + PropInfo().EnumType->Names[i];
        elements.push_back(std::make_unique<TSetElementProperty>(context, static_cast<std::int32_t>(i)));
    }
    return elements;
}

TSetElementProperty::TSetElementProperty(const TPropertyContext& context, std::int32_t element)
    : TPropertyEditor(context)
    , m_element(element)
{
}

TPropertyAttributes TSetElementProperty::GetAttributes() const
{
    return { paValueList };
}

std::string TSetElementProperty::GetName() const
{
    return PropInfo().EnumType ? PropInfo().EnumType->NameOf(m_element) : std::to_string(m_element);
}

std::string TSetElementProperty::GetValue() const
{
    return (GetOrdValue() >> m_element) & 1 ? "True" : "False";
}

void TSetElementProperty::SetValue(const std::string& value)
{
    const std::string_view v = Trim(value);
    const std::int64_t bit = std::int64_t { 1 } << m_element;
    if (SameText(v, "True"))
        SetOrdValue(GetOrdValue() | bit);
    else if (SameText(v, "False"))
        SetOrdValue(GetOrdValue() & ~bit);
    else
        InvalidValue(value, "True or False");
}

std::vector<std::string> TSetElementProperty::GetValues() const
{
    return { "False", "True" };
}

// ---- Floats --------------------------------------------------------------

std::string TFloatProperty::GetValue() const
{
    const double value = std::get<double>(PropInfo().Get(Instance()));
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, error == std::errc() ? end : buffer);
}

void TFloatProperty::SetValue(const std::string& value)
{
    const std::string_view s = Trim(value);
    double parsed = 0;
    auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), parsed);
    if (s.empty() || error != std::errc() || end != s.data() + s.size() || !std::isfinite(parsed))
        InvalidValue(value, "a valid floating point value");
    if (!PropInfo().Set)
        throw EPropertyError("Property " + GetName() + " is read-only");
    PropInfo().Set(Instance(), parsed);
    Modified();
}

// ---- Classes -------------------------------------------------------------

TPropertyAttributes TClassProperty::GetAttributes() const
{
    return { paSubProperties, paReadOnly };
}

std::string TClassProperty::GetValue() const
{
    const TPersistent* object = GetObjectValue();
    if (!object)
        return "(None)";
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(object); bitmap && bitmap->Empty())
        return "(None)";
    return "(" + object->ClassName() + ")";
}

std::vector<std::unique_ptr<TPropertyEditor>> TClassProperty::GetProperties() const
{
    TPersistent* object = GetObjectValue();
    if (!object)
        return {};
    return GetInstanceProperties(Designer(), *Context().Component, *object, Path() + ".");
}

// ---- Component references ------------------------------------------------

TPropertyAttributes TComponentProperty::GetAttributes() const
{
    return TPropertyEditor::GetAttributes().With(paValueList).With(paSortList);
}

std::string TComponentProperty::GetValue() const
{
    const TComponent* target = PropInfo().GetReference ? PropInfo().GetReference(Instance()) : nullptr;
    return target ? target->Name() : std::string();
}

void TComponentProperty::SetValue(const std::string& value)
{
    if (!PropInfo().SetReference)
        throw EPropertyError("Property " + GetName() + " is read-only");
    const std::string name(Trim(value));
    TComponent* target = nullptr;
    if (!name.empty()) {
        TComponent* root = RootOf(*this);
        target = SameText(root->Name(), name) ? root : root->FindComponent(name);
        if (!target)
            InvalidValue(value, "the name of a component of " + (root->Name().empty() ? std::string("the form") : root->Name()));
        if (const TClassInfo* type = FindClass(PropInfo().TypeName); type && !target->ClassType().InheritsFrom(*type))
            InvalidValue(value, "a " + PropInfo().TypeName);
    }
    PropInfo().SetReference(Instance(), target);
    Modified();
}

std::vector<std::string> TComponentProperty::GetValues() const
{
    std::vector<std::string> names;
    const TComponent* root = RootOf(*this);
    const TClassInfo* type = FindClass(PropInfo().TypeName);
    for (std::int32_t i = 0; i < root->ComponentCount(); ++i) {
        const TComponent* c = root->Components(i);
        if (!c->Name().empty() && (!type || c->ClassType().InheritsFrom(*type)))
            names.push_back(c->Name());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// ---- Events --------------------------------------------------------------

std::string TMethodProperty::GetValue() const
{
    return Context().Component->EventBinding(Path());
}

void TMethodProperty::SetValue(const std::string& value)
{
    const std::string name(Trim(value));
    if (!name.empty() && !IsValidIdent(name))
        InvalidValue(value, "a valid method name");
    Context().Component->SetEventBinding(Path(), name);
    Modified();
}

void TMethodProperty::Edit()
{
    std::string name = GetValue();
    if (name.empty()) {
        name = DefaultHandlerName();
        SetValue(name);
    }
    if (IDesigner* designer = Designer())
        designer->ShowMethod(name);
}

std::string TMethodProperty::DefaultHandlerName() const
{
    TComponent* component = Context().Component;
    const bool isRoot = Designer() ? Designer()->Root() == component : component->Owner() == nullptr;
    std::string name = isRoot || component->Name().empty() ? std::string("Form") : component->Name();
    // "Gradient.OnChange" gives GradientChange: the path without dots, each
    // event name without its "On".
    std::string_view path = Path();
    while (!path.empty()) {
        const std::size_t dot = path.find('.');
        std::string_view part = path.substr(0, dot);
        if (part.size() > 2 && part.starts_with("On"))
            part.remove_prefix(2);
        name += part;
        path = dot == std::string_view::npos ? std::string_view() : path.substr(dot + 1);
    }
    return name;
}

// ---- Finding editors -----------------------------------------------------

std::unique_ptr<TPropertyEditor> GetPropertyEditor(const TPropertyContext& context)
{
    if (const TPropertyEditorClass* editorClass = FindPropertyEditorClass(context))
        return editorClass->Create(context);
    const TPropInfo& p = *context.Property;
    switch (p.Kind) {
    case TTypeKind::tkInteger:
    case TTypeKind::tkInt64:
    case TTypeKind::tkChar:
        return std::make_unique<TIntegerProperty>(context);
    case TTypeKind::tkEnumeration:
        return std::make_unique<TEnumProperty>(context);
    case TTypeKind::tkSet:
        return std::make_unique<TSetProperty>(context);
    case TTypeKind::tkFloat:
        return std::make_unique<TFloatProperty>(context);
    case TTypeKind::tkString:
        return std::make_unique<TStringProperty>(context);
    case TTypeKind::tkClass:
        if (p.GetReference)
            return std::make_unique<TComponentProperty>(context);
        return std::make_unique<TClassProperty>(context);
    case TTypeKind::tkMethod:
        return std::make_unique<TMethodProperty>(context);
    }
    return std::make_unique<TPropertyEditor>(context);
}

std::vector<std::unique_ptr<TPropertyEditor>> GetInstanceProperties(IDesigner* designer, TComponent& component,
    TPersistent& instance, const std::string& prefix)
{
    std::vector<std::unique_ptr<TPropertyEditor>> editors;
    for (const TPropInfo& p : instance.ClassType().Properties())
        editors.push_back(GetPropertyEditor({ designer, &component, &instance, &p, prefix + p.Name }));
    return editors;
}

std::vector<std::unique_ptr<TPropertyEditor>> GetComponentProperties(IDesigner* designer, TComponent& component)
{
    return GetInstanceProperties(designer, component, component, "");
}

std::unique_ptr<TPropertyEditor> FindPropertyEditor(IDesigner* designer, TComponent& component, const std::string& path)
{
    std::vector<std::unique_ptr<TPropertyEditor>> level = GetComponentProperties(designer, component);
    std::string_view rest = path;
    while (true) {
        const std::size_t dot = rest.find('.');
        const std::string_view name = rest.substr(0, dot);
        auto it = std::find_if(level.begin(), level.end(), [&](const auto& e) { return SameText(e->GetName(), name); });
        if (it == level.end())
            return nullptr;
        if (dot == std::string_view::npos)
            return std::move(*it);
        rest = rest.substr(dot + 1);
        level = (*it)->GetProperties();
    }
}

} // namespace plx
