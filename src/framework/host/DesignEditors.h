// DesignEditors: the base classes of component and property editors, and the
// host's own property editors for every kind of published property.
#pragma once

#include "framework/host/DesignIntf.h"
#include "rtl/Set.h"
#include "rtl/TypInfo.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plx {

// ---- Component editors ---------------------------------------------------

//! Edits a component in the designer: the verbs of its context menu and the
//! action of a double click (Edit). The default has no verbs, and Edit runs
//! the first verb when there is one.
class TComponentEditor : public TObject {
public:
    //! An editor of component in designer (which may be null outside a designer).
    TComponentEditor(TComponent& component, IDesigner* designer);

    //! The action of a double click on the component.
    virtual void Edit();
    //! Runs verb index (0-based); an index without a verb does nothing.
    virtual void ExecuteVerb(std::int32_t index);
    //! The caption of verb index ("&About The Author"); empty for an index without one.
    [[nodiscard]] virtual std::string GetVerb(std::int32_t index) const;
    //! How many verbs the context menu shows.
    [[nodiscard]] virtual std::int32_t GetVerbCount() const;

    //! The component edited.
    [[nodiscard]] TComponent& Component() const noexcept { return m_component; }
    //! The designer; null outside one.
    [[nodiscard]] IDesigner* Designer() const noexcept { return m_designer; }

private:
    TComponent& m_component;
    IDesigner* m_designer;
};

//! The editor of components that have none of their own. A double click walks
//! the component's published properties in order, offering each to
//! EditProperty; unless a descendant ended the walk, it then edits the
//! component's main event: OnCreate, else OnChange, else OnClick, else its
//! first event. Editing an event binds it to a handler named after the
//! component and the event ("Gradient1Click") and shows it.
class TDefaultEditor : public TComponentEditor {
public:
    using TComponentEditor::TComponentEditor;

    //! Walks the properties as described for the class.
    void Edit() override;

protected:
    //! Called for each property in order; setting continueEditing to false ends
    //! the walk and leaves the events alone. The default remembers the events.
    virtual void EditProperty(TPropertyEditor& propertyEditor, bool& continueEditing);

private:
    TPropertyEditor* m_first { nullptr }; //!< the first event met (valid during Edit)
    TPropertyEditor* m_best { nullptr }; //!< the best event met (valid during Edit)
};

//! The editor for a component: the registered one for its class, or a TDefaultEditor.
[[nodiscard]] std::unique_ptr<TComponentEditor> GetComponentEditor(TComponent& component, IDesigner* designer);

// ---- Property editors ----------------------------------------------------

//! What a property editor offers the inspector.
enum TPropertyAttribute : std::uint8_t {
    paValueList, //!< GetValues lists the values to choose from
    paSubProperties, //!< GetProperties lists sub-properties (shown as an expandable list)
    paDialog, //!< Edit opens a dialog (the inspector shows a "..." button)
    paMultiSelect, //!< can edit the property of several components at once
    paAutoUpdate, //!< SetValue after every change of the text
    paSortList, //!< the value list is shown sorted
    paReadOnly, //!< the value cannot be typed
    paRevertable, //!< can go back to its inherited value
};
//! A set of TPropertyAttribute.
using TPropertyAttributes = TSet<TPropertyAttribute>;

//! Edits one published property of a component (or of a sub-object of it) as
//! text, as a choice of values, through sub-properties, or in a dialog. The
//! base handles any data property through the property's table entry.
class TPropertyEditor : public TObject {
public:
    //! An editor of the property of context.
    explicit TPropertyEditor(const TPropertyContext& context);

    //! \name What the inspector asks
    //! paRevertable for the base; each kind adds its own.
    [[nodiscard]] virtual TPropertyAttributes GetAttributes() const;
    //! The property's name ("Color1").
    [[nodiscard]] virtual std::string GetName() const;
    //! The value as the inspector shows it.
    [[nodiscard]] virtual std::string GetValue() const;
    //! Sets the value typed in the inspector; raises EPropertyError (or the
    //! property's own error) for text the property cannot take, changing nothing.
    virtual void SetValue(const std::string& value);
    //! The values to choose from (paValueList).
    [[nodiscard]] virtual std::vector<std::string> GetValues() const;
    //! The editors of the sub-properties (paSubProperties), in order.
    [[nodiscard]] virtual std::vector<std::unique_ptr<TPropertyEditor>> GetProperties() const;
    //! The dialog (paDialog); for a value list without one, moves to the next
    //! value, as a double click on the value does.
    virtual void Edit();

    //! \name Where it works
    //! The designer, the component, the object that has the property, the property and its path.
    [[nodiscard]] const TPropertyContext& Context() const noexcept { return m_context; }
    //! The object that has the property.
    [[nodiscard]] TPersistent& Instance() const noexcept { return *m_context.Instance; }
    //! The property's table entry.
    [[nodiscard]] const TPropInfo& PropInfo() const noexcept { return *m_context.Property; }
    //! The property's path from the component ("Gradient.Color1").
    [[nodiscard]] const std::string& Path() const noexcept { return m_context.Path; }
    //! The designer; null outside one.
    [[nodiscard]] IDesigner* Designer() const noexcept { return m_context.Designer; }

protected:
    //! \name Values through the property's table
    //! The ordinal value (integers, enumerations, sets as a bit mask).
    [[nodiscard]] std::int64_t GetOrdValue() const;
    //! Stores an ordinal value and reports the change.
    void SetOrdValue(std::int64_t value);
    //! The string value.
    [[nodiscard]] std::string GetStrValue() const;
    //! Stores a string value and reports the change.
    void SetStrValue(const std::string& value);
    //! The sub-object a class property holds; null when it holds none.
    [[nodiscard]] TPersistent* GetObjectValue() const;
    //! Tells the designer the property changed.
    void Modified();

private:
    TPropertyContext m_context;
};

//! Integers, with names for the values that have one (colours such as
//! clBtnFace, cursors): then paValueList offers those names.
class TIntegerProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    //! paValueList when the property has named values.
    [[nodiscard]] TPropertyAttributes GetAttributes() const override;
    //! The value's name, or the number.
    [[nodiscard]] std::string GetValue() const override;
    //! A name or a decimal number (also "$" hexadecimal).
    void SetValue(const std::string& value) override;
    //! The names, in their table's order.
    [[nodiscard]] std::vector<std::string> GetValues() const override;
};

//! Enumerations and Booleans: one of the type's value names.
class TEnumProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    //! paValueList.
    [[nodiscard]] TPropertyAttributes GetAttributes() const override;
    //! The value's name.
    [[nodiscard]] std::string GetValue() const override;
    //! One of the value names (without regard to case).
    void SetValue(const std::string& value) override;
    //! The value names in ordinal order.
    [[nodiscard]] std::vector<std::string> GetValues() const override;
};

//! Sets: the value is written "[asShadow,asGradient]"; each element is a
//! True/False sub-property.
class TSetProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    //! paSubProperties.
    [[nodiscard]] TPropertyAttributes GetAttributes() const override;
    //! The elements in brackets, comma separated.
    [[nodiscard]] std::string GetValue() const override;
    //! Element names in brackets, separated by commas ("[]" for none).
    void SetValue(const std::string& value) override;
    //! One TSetElementProperty per element of the set's type.
    [[nodiscard]] std::vector<std::unique_ptr<TPropertyEditor>> GetProperties() const override;
};

//! One element of a set, as a Boolean.
class TSetElementProperty : public TPropertyEditor {
public:
    //! The element of ordinal element of the set property of context.
    TSetElementProperty(const TPropertyContext& context, std::int32_t element);
    //! paValueList.
    [[nodiscard]] TPropertyAttributes GetAttributes() const override;
    //! The element's name ("asShadow").
    [[nodiscard]] std::string GetName() const override;
    //! "True" or "False".
    [[nodiscard]] std::string GetValue() const override;
    //! "True" includes the element, "False" leaves it out.
    void SetValue(const std::string& value) override;
    //! False and True.
    [[nodiscard]] std::vector<std::string> GetValues() const override;

private:
    std::int32_t m_element;
};

//! Strings, as typed.
class TStringProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
};

//! Floating-point values, written with a "." decimal point.
class TFloatProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    //! The shortest text that reads back to the same value.
    [[nodiscard]] std::string GetValue() const override;
    //! A decimal number.
    void SetValue(const std::string& value) override;
};

//! A sub-object (a TGradient, a TFont): shown as "(TGradient)", edited through
//! its own published properties as sub-properties.
class TClassProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    //! paSubProperties and paReadOnly.
    [[nodiscard]] TPropertyAttributes GetAttributes() const override;
    //! "(TClassName)", or "(None)" for an empty picture or no object.
    [[nodiscard]] std::string GetValue() const override;
    //! The sub-object's properties, each with the editor its type calls for.
    [[nodiscard]] std::vector<std::unique_ptr<TPropertyEditor>> GetProperties() const override;
};

//! A link to another component of the form, by name.
class TComponentProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    //! paValueList and paSortList.
    [[nodiscard]] TPropertyAttributes GetAttributes() const override;
    //! The linked component's name; empty when none.
    [[nodiscard]] std::string GetValue() const override;
    //! The name of a component of the root; empty clears the link.
    void SetValue(const std::string& value) override;
    //! The names of the root's components of the property's type.
    [[nodiscard]] std::vector<std::string> GetValues() const override;
};

//! An event: the name of the handler it is bound to in the form file.
class TMethodProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    //! The handler's name; empty when unbound.
    [[nodiscard]] std::string GetValue() const override;
    //! A handler name (an identifier); empty unbinds the event.
    void SetValue(const std::string& value) override;
    //! Binds the event to a handler named after the component and the event
    //! (Gradient1Click; the root is "Form"), unless it is bound already, and
    //! has the designer show it.
    void Edit() override;
    //! The name Edit gives a new handler.
    [[nodiscard]] std::string DefaultHandlerName() const;
};

//! The editor for one property: the registered one that fits best, or the
//! host's editor for the property's kind.
[[nodiscard]] std::unique_ptr<TPropertyEditor> GetPropertyEditor(const TPropertyContext& context);
//! Editors for the published properties of instance (the component itself, or a
//! sub-object whose properties start with prefix, such as "Gradient."), in order.
[[nodiscard]] std::vector<std::unique_ptr<TPropertyEditor>> GetInstanceProperties(IDesigner* designer, TComponent& component,
    TPersistent& instance, const std::string& prefix);
//! Editors for the component's published properties, in order.
[[nodiscard]] std::vector<std::unique_ptr<TPropertyEditor>> GetComponentProperties(IDesigner* designer, TComponent& component);
//! The editor of the property at path ("Gradient.Color1", without regard to
//! case); null when the component has none.
[[nodiscard]] std::unique_ptr<TPropertyEditor> FindPropertyEditor(IDesigner* designer, TComponent& component, const std::string& path);

} // namespace plx
