// The form being designed and what a user does to it: drop, select, move,
// resize and delete components, set their properties, run their editors, save
// and open form files. The windows of the designer (palette, inspector, the
// handles on the form) are views of this model.
#pragma once

#include "color/host/Types.h"
#include "framework/host/Component.h"
#include "framework/host/DesignIntf.h"
#include "framework/host/Forms.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace plx::designer {

class TDesignOverlay;

//! How far a drag on the form goes before it counts as one.
inline constexpr std::int32_t kDragThreshold = 3;

class TFormDesigner : public IDesigner {
public:
    TFormDesigner();
    ~TFormDesigner() override;
    TFormDesigner(const TFormDesigner&) = delete;
    TFormDesigner& operator=(const TFormDesigner&) = delete;

    //! \name The form
    //! Replaces the form by a new, empty one ("Form1") of the given client size.
    void NewForm(std::int32_t clientWidth = 400, std::int32_t clientHeight = 300);
    //! The form being designed (in the designing state, csDesigning).
    [[nodiscard]] TForm& Form() const noexcept { return *m_form; }
    //! Shows the form's window at a screen position.
    void ShowForm(TPoint screenPosition);
    //! Reads a form file in place of the form. On any error the current form
    //! stays as it was and Exception explains why (a class no loaded package
    //! registers is named, with the package that had registered it).
    void Open(const std::string& fileName);
    //! Writes the form file (the text plumex-render reads); clears Modified.
    void Save(const std::string& fileName);
    //! The form file's text.
    [[nodiscard]] std::string FormText() const;
    //! True after a change that was not saved.
    [[nodiscard]] bool FormModified() const noexcept { return m_modified; }
    //! Frees the form (before the packages its components come from unload).
    void CloseForm();
    [[nodiscard]] bool HasForm() const noexcept { return m_form != nullptr; }

    //! \name Components
    //! Creates a component of the class, owned by the form, named after the class
    //! (KnGradient1), on the container under at (form client coordinates; the
    //! form when none), with its top-left corner there, at size when given.
    //! Raises Exception for a class that is not registered or not a control.
    TComponent& Drop(const std::string& className, TPoint at, std::optional<TSize> size = std::nullopt);
    //! Frees a component of the form (and what it holds); the form itself stays.
    void Delete(TComponent& component);
    //! The form's component named name (without regard to case), or the form
    //! for its own name; null when none.
    [[nodiscard]] TComponent* FindComponent(const std::string& name) const;
    //! The topmost of the form's controls under a point (form client
    //! coordinates), inside containers; null for the bare form.
    [[nodiscard]] TControl* ControlAt(TPoint formPoint) const;
    //! The container a control dropped at the point goes to.
    [[nodiscard]] TWinControl& ContainerAt(TPoint formPoint) const;
    //! Moves and sizes a control (bounds in its parent's client coordinates).
    void SetBounds(TControl& control, const TRect& bounds);
    //! Puts a control above or below its siblings.
    void BringToFront(TControl& control);
    void SendToBack(TControl& control);

    //! \name Selection
    //! The selected component: the form when nothing else is.
    [[nodiscard]] TComponent* Selected() const noexcept;
    //! Selects a component of the form, or the form (null selects the form).
    void Select(TComponent* component);

    //! \name Properties and editors
    //! Sets a property by its path ("Gradient.Color1", "ArtStyle.asShadow";
    //! "Name" renames) from text, as the inspector does. Raises Exception for
    //! an unknown property or a value it cannot take, changing nothing.
    void SetProperty(TComponent& component, const std::string& path, const std::string& value);
    //! A property's value as the inspector shows it.
    [[nodiscard]] std::string PropertyValue(TComponent& component, const std::string& path);
    //! Opens a property's dialog (its "..." button).
    void EditProperty(TComponent& component, const std::string& path);
    //! The verbs of the component's editor, in order.
    [[nodiscard]] std::vector<std::string> Verbs(TComponent& component);
    //! Runs verb index of the component's editor.
    void ExecuteVerb(TComponent& component, std::int32_t index);
    //! What a double click on the component does: its editor's Edit.
    void Edit(TComponent& component);

    //! \name Notifications
    //! Called after every change of the form, its components or the selection.
    void SetOnChange(std::function<void()> handler) { m_onChange = std::move(handler); }
    //! Called with messages for the user (a handler that was bound, an error).
    void SetOnMessage(std::function<void(const std::string&)> handler) { m_onMessage = std::move(handler); }
    //! Tells the user something.
    void Message(const std::string& text);
    //! The last message.
    [[nodiscard]] const std::string& LastMessage() const noexcept { return m_lastMessage; }

    //! \name IDesigner
    [[nodiscard]] TComponent* Root() const override { return m_form.get(); }
    void Modified() override;
    [[nodiscard]] std::string UniqueName(const std::string& base) override;
    void SelectComponent(TPersistent* instance) override;
    void ShowMethod(const std::string& name) override;

    //! \name Placing on the form
    //! The class the next press on the form drops (chosen on the palette);
    //! empty for selecting.
    [[nodiscard]] const std::string& PendingClass() const noexcept { return m_pendingClass; }
    void SetPendingClass(std::string className);
    //! The layer over the form that draws the handles and takes the mouse.
    [[nodiscard]] TDesignOverlay* Overlay() const noexcept;

private:
    void Changed();
    void AttachOverlay();
    //! The form, set up for designing (its overlay on top).
    std::unique_ptr<TForm> MakeForm();

    std::unique_ptr<TForm> m_form;
    TWeakRef<TDesignOverlay> m_overlay;
    TWeakRef<TComponent> m_selected;
    bool m_modified { false };
    std::string m_pendingClass;
    std::function<void()> m_onChange;
    std::function<void(const std::string&)> m_onMessage;
    std::string m_lastMessage;
};

} // namespace plx::designer
