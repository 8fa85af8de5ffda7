// The component palette: a row of page tabs and, for the page shown, one
// button per component class with its picture. Choosing a button makes the
// next press on the form drop that class; the arrow button goes back to
// selecting.
#pragma once

#include "framework/host/DesignIntf.h"
#include "framework/host/WinControl.h"

#include <functional>
#include <string>
#include <vector>

namespace plx::designer {

class TFormDesigner;

//! Sizes of the palette's parts.
inline constexpr std::int32_t kPaletteTabHeight = 20;
inline constexpr std::int32_t kPaletteButtonSize = 30;

class TPaletteBar : public TCustomControl {
public:
    TPaletteBar(TComponent* owner, TFormDesigner& designer);

    //! Reads the palette's pages and entries again (after a package was loaded
    //! or unloaded); the page shown stays when it still exists.
    void Refresh();
    //! The pages, in order, and the page shown.
    [[nodiscard]] const std::vector<std::string>& Pages() const noexcept { return m_pages; }
    [[nodiscard]] const std::string& Page() const noexcept { return m_page; }
    void SetPage(const std::string& page);
    //! The classes on the page shown, in order.
    [[nodiscard]] const std::vector<TPaletteEntry>& Entries() const noexcept { return m_entries; }
    //! Where things are (client coordinates): a page's tab; button 0 is the
    //! arrow, button i + 1 the class Entries()[i].
    [[nodiscard]] TRect TabRect(std::size_t page) const;
    [[nodiscard]] TRect ButtonRect(std::size_t button) const;
    //! Called with the name of the class under the pointer (empty when none).
    void SetOnHint(std::function<void(const std::string&)> handler) { m_onHint = std::move(handler); }

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    void MouseMove(TShiftState shift, std::int32_t x, std::int32_t y) override;

private:
    void PaintTabs(TCanvas& canvas);
    void PaintButton(TCanvas& canvas, std::size_t button);
    [[nodiscard]] bool Pressed(std::size_t button) const;

    TFormDesigner& m_designer;
    std::vector<std::string> m_pages;
    std::string m_page;
    std::vector<TPaletteEntry> m_entries;
    std::function<void(const std::string&)> m_onHint;
};

//! Draws a 3D frame: light top-left, dark bottom-right (reversed when sunken).
void DrawFrame3D(TCanvas& canvas, const TRect& rect, bool sunken);

} // namespace plx::designer
