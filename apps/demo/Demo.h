// The demo: one window with the package's components live beside the host's
// controls and the free routines, in sections laid out in rows.
//
// Adding a section: write a function `void MySection(Demo& demo, plx::TPanel& box)`
// that puts controls on the box (client coordinates; the title takes the top
// kTitleHeight pixels), declare it in Sections.h and add { "Title", width,
// height, MySection } to the list in Sections.cpp. The box is the section's
// parent and the form owns everything. Sections flow left to right and wrap;
// the widths of a row add up to the window's width (kClientWidth less a gap
// of kGap before, between and after the boxes).
#pragma once

#include "framework/host/ExtCtrls.h"
#include "framework/host/Forms.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace plx {
class TButton;
class TGradient;
} // namespace plx

namespace demo {

class Demo;

//! One section of the demo window.
struct Section {
    std::string title;
    std::int32_t width { 0 }; //!< the box's size, title included
    std::int32_t height { 0 };
    std::function<void(Demo& demo, plx::TPanel& box)> build;
};

//! The sections, in the order they are shown.
[[nodiscard]] const std::vector<Section>& Sections();

//! The pixels a section's title takes at the top of its box.
inline constexpr std::int32_t kTitleHeight = 22;
//! The window's client width, and the space around and between the boxes.
inline constexpr std::int32_t kClientWidth = 1240;
inline constexpr std::int32_t kGap = 8;

//! The demo's form: a header, the sections, and a status line.
class Demo : public plx::TForm {
public:
    explicit Demo(plx::TComponent* owner);

    //! Shows a line of text in the status line.
    void Status(const std::string& text);
    [[nodiscard]] const std::string& StatusText() const;
    //! A push button of the host on parent that calls onClick.
    plx::TButton& Button(plx::TWinControl& parent, const std::string& caption, const plx::TRect& bounds, std::function<void()> onClick);
    //! A label of the host on parent at (x, y).
    plx::TLabel& Label(plx::TWinControl& parent, const std::string& caption, std::int32_t x, std::int32_t y);
    //! Characters typed into the window that no control took go to handler.
    void OnTyped(std::function<void(std::uint32_t character)> handler) { m_onTyped.push_back(std::move(handler)); }
    //! Wheel turns over the window that no control took go to handler with the
    //! control under the pointer and the notches turned (positive away from the user).
    void OnWheel(std::function<void(plx::TControl& under, std::int32_t notches)> handler) { m_onWheel.push_back(std::move(handler)); }
    //! The section box of that title, or null.
    [[nodiscard]] plx::TPanel* Box(const std::string& title) const;

    //! \name The package's dialogs (Dialogs.cpp)
    //! Shows the package's about box.
    void ShowAbout();
    //! Edits a gradient in the package's gradient editor; true when it was changed.
    bool EditGradient(plx::TGradient& gradient);

    void WndProc(plx::TMessage& message) override;

private:
    void Build();
    void BuildHeader();

    plx::TPanel* m_status { nullptr };
    std::vector<std::pair<std::string, plx::TPanel*>> m_boxes;
    std::vector<std::function<void(std::uint32_t)>> m_onTyped;
    std::vector<std::function<void(plx::TControl&, std::int32_t)>> m_onWheel;
};

} // namespace demo
