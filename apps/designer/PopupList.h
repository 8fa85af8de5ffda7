// A small borderless window listing items to choose from: the context menu of
// a component (its editor's verbs) and the values of an inspector row. A click
// on an item chooses it and closes the list; "-" is a separator.
#pragma once

#include "framework/host/Forms.h"

#include <functional>
#include <string>
#include <vector>

namespace plx::designer {

//! Height of one item in pixels.
inline constexpr std::int32_t kPopupItemHeight = 18;

class TPopupList : public TForm {
public:
    //! A list of items shown at a screen point; chosen receives the index of the
    //! item clicked. current is marked (-1 for none).
    TPopupList(std::vector<std::string> items, std::int32_t current, std::function<void(std::int32_t)> chosen);

    //! Shows the list with its top-left corner at a screen point.
    void Popup(TPoint screen);
    //! The items, and where item i lies (client coordinates).
    [[nodiscard]] const std::vector<std::string>& Items() const noexcept { return m_items; }
    [[nodiscard]] TRect ItemRect(std::int32_t index) const;
    //! Chooses item index as a click does (separators are not chosen).
    void Choose(std::int32_t index);

protected:
    void PaintWindow(TCanvas& canvas) override;
    void MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    void MouseMove(TShiftState shift, std::int32_t x, std::int32_t y) override;

private:
    std::vector<std::string> m_items;
    std::int32_t m_current;
    std::int32_t m_hot { -1 };
    std::function<void(std::int32_t)> m_chosen;
};

//! A caption with its "&" accelerator marks removed ("&About The Author" gives
//! "About The Author"; "&&" is a literal "&").
[[nodiscard]] std::string StripAccelerator(const std::string& caption);

} // namespace plx::designer
