// The demo: one window with the package's components live beside the host's
// controls and the free routines, in sections laid out side by side.
//
// Adding a section: write a function `void MySection(Demo& demo, plx::TPanel& box)`
// that puts controls on the box (client coordinates; the title takes the top
// kTitleHeight pixels), and add { "Title", width, height, MySection } to the list
// in Sections.cpp. The box is the section's parent and the form owns everything.
#pragma once

#include "framework/host/ExtCtrls.h"
#include "framework/host/Forms.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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

//! The demo's form: a header, the sections, and a status line.
class Demo : public plx::TForm {
public:
    explicit Demo(plx::TComponent* owner);

    //! Shows a line of text in the status line.
    void Status(const std::string& text);
    [[nodiscard]] const std::string& StatusText() const;
    //! A raised panel that works as a push button: pressed while held, onClick on release over it.
    plx::TPanel& Button(plx::TWinControl& parent, const std::string& caption, const plx::TRect& bounds, std::function<void()> onClick);
    //! Characters typed into the window (with no control taking them) go to handler.
    void OnTyped(std::function<void(std::uint32_t character)> handler) { m_onTyped.push_back(std::move(handler)); }
    //! Wheel turns over the window go to handler with the control under the
    //! pointer and the notches turned (positive away from the user).
    void OnWheel(std::function<void(plx::TControl& under, std::int32_t notches)> handler) { m_onWheel.push_back(std::move(handler)); }
    //! The section box of that title, or null.
    [[nodiscard]] plx::TPanel* Box(const std::string& title) const;

    void WndProc(plx::TMessage& message) override;

private:
    void Build();

    plx::TPanel* m_status { nullptr };
    std::vector<std::pair<std::string, plx::TPanel*>> m_boxes;
    std::vector<std::function<void(std::uint32_t)>> m_onTyped;
    std::vector<std::function<void(plx::TControl&, std::int32_t)>> m_onWheel;
};

} // namespace demo
