// Common controls: the up-down control, a pair of arrow buttons that step a
// number, often the number shown in an edit beside it.
#pragma once

#include "framework/host/Control.h"
#include "framework/host/WinControl.h"

#include <functional>
#include <memory>

namespace plx {

class TTimer;

enum TUDAlignButton : std::uint8_t { udLeft, udRight };
enum TUDOrientation : std::uint8_t { udHorizontal, udVertical };
enum TUDBtnType : std::uint8_t { btNext, btPrev };
using TUDClickEvent = std::function<void(TObject* sender, TUDBtnType button)>;
using TUDChangingEvent = std::function<void(TObject* sender, bool& allowChange)>;

//! Two arrow buttons that step Position by Increment between Min and Max
//! (wrapping around with Wrap). Holding a button repeats the step, first after
//! half a second, then ten times a second. An Associate edit shows Position
//! (with thousands separators when Thousands is on); a number typed into it is
//! where the next step starts, and its Up and Down keys step too (ArrowKeys).
//! A user's step asks OnChanging, then moves and fires OnClick; Position set by
//! code fires nothing.
class TCustomUpDown : public TCustomControl {
public:
    explicit TCustomUpDown(TComponent* owner);
    ~TCustomUpDown() override;

    [[nodiscard]] TUDAlignButton AlignButton() const noexcept { return m_alignButton; }
    void SetAlignButton(TUDAlignButton value);
    [[nodiscard]] bool ArrowKeys() const noexcept { return m_arrowKeys; }
    void SetArrowKeys(bool value);
    //! The control that shows the position (an edit), or null.
    [[nodiscard]] TWinControl* Associate() const noexcept { return m_associate; }
    //! Places the up-down beside the control (making the control narrower by
    //! the up-down's width), unless loading, when both keep their bounds.
    void SetAssociate(TComponent* control);
    [[nodiscard]] TComponent* AssociateComponent() const noexcept { return m_associate; }
    [[nodiscard]] std::int32_t Min() const noexcept { return m_min; }
    void SetMin(std::int32_t value);
    [[nodiscard]] std::int32_t Max() const noexcept { return m_max; }
    void SetMax(std::int32_t value);
    [[nodiscard]] std::int32_t Increment() const noexcept { return m_increment; }
    void SetIncrement(std::int32_t value) noexcept { m_increment = value; }
    [[nodiscard]] std::int32_t Position() const noexcept { return m_position; }
    //! Clamped to the range; updates the associate's text.
    void SetPosition(std::int32_t value);
    [[nodiscard]] TUDOrientation Orientation() const noexcept { return m_orientation; }
    void SetOrientation(TUDOrientation value);
    [[nodiscard]] bool Thousands() const noexcept { return m_thousands; }
    void SetThousands(bool value);
    [[nodiscard]] bool Wrap() const noexcept { return m_wrap; }
    void SetWrap(bool value) noexcept { m_wrap = value; }
    [[nodiscard]] const TUDChangingEvent& OnChanging() const noexcept { return m_onChanging; }
    void SetOnChanging(TUDChangingEvent e) { m_onChanging = std::move(e); }
    [[nodiscard]] const TUDClickEvent& OnUDClick() const noexcept { return m_onClick; }
    void SetOnUDClick(TUDClickEvent e) { m_onClick = std::move(e); }

    //! Steps as a click on the button does (OnChanging, then OnClick).
    void Step(TUDBtnType button);

protected:
    virtual bool CanChange();
    virtual void UDClick(TUDBtnType button);
    void Paint() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    void MouseMove(TShiftState shift, std::int32_t x, std::int32_t y) override;
    void MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void WMCancelMode(TMessage& message) override;
    void CMWantSpecialKey(TMessage& message) override;
    void CMEnabledChanged(TMessage& message) override;
    //! The button under a client point.
    [[nodiscard]] TUDBtnType ButtonAt(TPoint point) const noexcept;
    [[nodiscard]] TRect ButtonRect(TUDBtnType button) const noexcept;

private:
    void UpdateAssociateText();
    void ReadAssociateText();
    void Release();

    TUDAlignButton m_alignButton { udRight };
    bool m_arrowKeys { true };
    TWinControl* m_associate { nullptr };
    std::int32_t m_min { 0 };
    std::int32_t m_max { 100 };
    std::int32_t m_increment { 1 };
    std::int32_t m_position { 0 };
    TUDOrientation m_orientation { udVertical };
    bool m_thousands { true };
    bool m_wrap { false };
    bool m_held { false }; //!< a button is held down with the mouse
    TUDBtnType m_heldButton { btNext };
    bool m_heldHot { false }; //!< the pointer is over the held button
    std::unique_ptr<TTimer> m_repeat;
    TUDChangingEvent m_onChanging;
    TUDClickEvent m_onClick;
};

class TUpDown : public TCustomUpDown {
public:
    explicit TUpDown(TComponent* owner);
    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();
};

//! Enumeration names of the up-down control.
[[nodiscard]] const TEnumInfo& UDAlignButtonInfo();
[[nodiscard]] const TEnumInfo& UDOrientationInfo();

} // namespace plx
