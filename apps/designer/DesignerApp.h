// plumex-designer's windows and packages: the main window with the component
// palette and a status line, the object inspector, and the designed form, laid
// out on the screen like a classic form designer.
#pragma once

#include "designer/FormDesigner.h"

#include <memory>
#include <string>
#include <vector>

namespace plx {
class TPackage;
class TPanel;
} // namespace plx

namespace plx::designer {

class TInspector;
class TPaletteBar;
class TPopupList;

//! The screen rectangles of the three windows' client areas.
inline constexpr TRect kMainWindowBounds { 4, 24, 1020, 102 };
inline constexpr TRect kInspectorBounds { 4, 126, 264, 760 };
inline constexpr TPoint kFormPosition { 280, 126 };
//! Height of the title bar a screenshot draws above each window.
inline constexpr std::int32_t kTitleHeight = 19;

class TDesignerApp {
public:
    //! The windows, with a new form ("Form1"), not shown yet.
    TDesignerApp();
    //! Closes the form and unloads every package the designer loaded.
    ~TDesignerApp();
    TDesignerApp(const TDesignerApp&) = delete;
    TDesignerApp& operator=(const TDesignerApp&) = delete;

    //! \name Packages
    //! Loads a package for designing and shows its palette pages.
    TPackage& LoadPackage(const std::string& fileName);
    //! Unloads a loaded package by name. EPackageError when it is still needed:
    //! by the form's components (close the form first) or by another package.
    void UnloadPackage(const std::string& name);
    //! The package beside the program (build tree) or where the program's
    //! installation keeps it; empty when there is none.
    [[nodiscard]] static std::string DefaultPackageFile();

    //! \name Parts
    [[nodiscard]] TFormDesigner& Designer() noexcept { return m_designer; }
    [[nodiscard]] TForm& MainWindow() const noexcept { return *m_main; }
    [[nodiscard]] TForm& InspectorWindow() const noexcept { return *m_inspectorWindow; }
    [[nodiscard]] TPaletteBar& Palette() const noexcept { return *m_palette; }
    [[nodiscard]] TInspector& Inspector() const noexcept { return *m_inspector; }
    //! The status line's text.
    [[nodiscard]] std::string Status() const;

    //! \name Running
    //! Shows the three windows.
    void Show();
    //! Handles everything pending (input, paints) until nothing is left.
    void ProcessMessages();
    //! The form file Save writes by default (the one opened, or "Form1.form").
    [[nodiscard]] const std::string& FormFile() const noexcept { return m_formFile; }
    void SetFormFile(std::string fileName) { m_formFile = std::move(fileName); }

    //! \name Context menu
    //! Opens the context menu of a component at a screen point: its editor's
    //! verbs, then Bring to Front, Send to Back and Delete.
    void ShowContextMenu(TComponent& component, TPoint screen);
    //! Closes the context menu and the inspector's list of values.
    void ClosePopups();
    //! The open context menu; null when none.
    [[nodiscard]] TPopupList* ContextMenu() const noexcept;

    //! \name Pictures
    //! The screen as the user sees it: every shown window of the designer,
    //! framed and titled, over the desktop.
    void SaveScreenshot(const std::string& fileName);
    //! The designed form's window exactly as it shows (handles of a selection included).
    void SaveFormView(const std::string& fileName);

private:
    void BuildWindows();
    void Changed();
    void SetStatus(const std::string& text);

    TFormDesigner m_designer;
    std::unique_ptr<TForm> m_main;
    std::unique_ptr<TForm> m_inspectorWindow;
    TPaletteBar* m_palette { nullptr };
    TInspector* m_inspector { nullptr };
    TPanel* m_status { nullptr };
    TWeakRef<TPopupList> m_contextMenu;
    std::vector<std::string> m_loaded; //!< packages this designer loaded, in order
    std::string m_formFile { "Form1.form" };
};

//! Writes a picture as PNG or .bmp, as its name ends.
void SavePicture(const TBitmap& picture, const std::string& fileName);

} // namespace plx::designer
