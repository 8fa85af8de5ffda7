// Standard controls: labels (and, later, buttons and edits).
#pragma once

#include "framework/host/Control.h"

namespace plx {

enum TTextLayout : std::uint8_t { tlTop, tlCenter, tlBottom };

//! A caption drawn with the platform's formatted-text rules: "&" marks the
//! accelerator (unless ShowAccelChar is off), tabs expand, long text wraps when
//! WordWrap is on. With AutoSize the label takes the size of its text.
class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* owner);

    [[nodiscard]] TAlignment Alignment() const noexcept { return m_alignment; }
    void SetAlignment(TAlignment value);
    [[nodiscard]] bool AutoSize() const noexcept { return m_autoSize; }
    void SetAutoSize(bool value);
    [[nodiscard]] TWinControl* FocusControl() const noexcept { return m_focusControl; }
    void SetFocusControl(TComponent* control);
    [[nodiscard]] TComponent* FocusControlComponent() const noexcept;
    [[nodiscard]] TTextLayout Layout() const noexcept { return m_layout; }
    void SetLayout(TTextLayout value);
    [[nodiscard]] bool ShowAccelChar() const noexcept { return m_showAccelChar; }
    void SetShowAccelChar(bool value);
    [[nodiscard]] bool Transparent() const noexcept { return m_transparent; }
    void SetTransparent(bool value);
    [[nodiscard]] bool WordWrap() const noexcept { return m_wordWrap; }
    void SetWordWrap(bool value);

protected:
    void Paint() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void CMTextChanged(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    void CMDialogChar(TMessage& message) override;
    //! Draws (or, with DT_CALCRECT in flags, measures) the caption in rect.
    void DoDrawText(TCanvas& canvas, TRect& rect, std::uint32_t flags);
    //! Sizes the label to its text when AutoSize is on.
    void AdjustBounds();

private:
    TAlignment m_alignment { taLeftJustify };
    bool m_autoSize { true };
    TWinControl* m_focusControl { nullptr };
    TTextLayout m_layout { tlTop };
    bool m_showAccelChar { true };
    bool m_transparent { false };
    bool m_wordWrap { false };
    TCanvas m_measure;
};

class TLabel : public TCustomLabel {
public:
    explicit TLabel(TComponent* owner);
    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();
};

} // namespace plx
