#include "designer/DesignerApp.h"

#include "color/host/Bitmap.h"
#include "color/host/DrawText.h"
#include "color/host/Raster.h"
#include "designer/DesignOverlay.h"
#include "designer/Inspector.h"
#include "designer/Palette.h"
#include "designer/PopupList.h"
#include "framework/host/ExtCtrls.h"
#include "framework/host/Packages.h"
#include "rtl/Exceptions.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

// The build passes where an installed designer finds the package, relative to
// the program's folder.
#ifndef PLUMEX_INSTALLED_PACKAGE_DIR
#define PLUMEX_INSTALLED_PACKAGE_DIR "../lib/plumex"
#endif

namespace plx::designer {

namespace {

constexpr TColor kDesktop = 0x808000; // teal
constexpr TColor kTitle = 0x800000; // navy

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The window's pixels as shown; empty when it has no window.
void WindowPicture(TCustomForm& form, TBitmap& picture)
{
    if (form.HasDamage())
        form.PaintDamage();
    if (Raster* surface = form.Surface()) {
        picture.SetSize(surface->Width(), surface->Height());
        picture.Image().CopyFrom(*surface);
    }
}

} // namespace

void SavePicture(const TBitmap& picture, const std::string& fileName)
{
    if (Lower(std::filesystem::path(fileName).extension().string()) == ".bmp")
        picture.SaveToFile(fileName);
    else
        picture.SaveToPNG(fileName);
}

TDesignerApp::TDesignerApp()
{
    BuildWindows();
    m_designer.SetOnChange([this] { Changed(); });
    m_designer.SetOnMessage([this](const std::string& text) { SetStatus(text); });
    m_designer.NewForm();
}

TDesignerApp::~TDesignerApp()
{
    if (TPopupList* menu = ContextMenu())
        delete menu;
    m_designer.SetOnChange({});
    m_designer.SetOnMessage({});
    m_designer.CloseForm();
    m_inspectorWindow.reset();
    m_main.reset();
    for (auto it = m_loaded.rbegin(); it != m_loaded.rend(); ++it)
        if (TPackage* package = FindPackage(*it)) {
            try {
                plx::UnloadPackage(*package);
            } catch (const Exception&) {
                // Still needed by a package loaded by someone else: it stays.
            }
        }
}

void TDesignerApp::BuildWindows()
{
    m_main = std::make_unique<TForm>(nullptr);
    m_main->SetCaption("Plumex Designer");
    m_main->SetBounds(kMainWindowBounds.Left, kMainWindowBounds.Top, kMainWindowBounds.Width(), kMainWindowBounds.Height());
    m_palette = new TPaletteBar(m_main.get(), m_designer);
    m_palette->SetParent(m_main.get());
    m_palette->SetAlign(alTop);
    m_palette->SetOnHint([this](const std::string& hint) {
        if (!hint.empty())
            SetStatus(hint);
    });
    m_status = new TPanel(m_main.get());
    m_status->SetParent(m_main.get());
    m_status->SetAlign(alBottom);
    m_status->SetHeight(20);
    m_status->SetBevelOuter(bvLowered);
    m_status->SetAlignment(taLeftJustify);

    m_inspectorWindow = std::make_unique<TForm>(nullptr);
    m_inspectorWindow->SetCaption("Object Inspector");
    m_inspectorWindow->SetBounds(kInspectorBounds.Left, kInspectorBounds.Top, kInspectorBounds.Width(), kInspectorBounds.Height());
    m_inspector = new TInspector(m_inspectorWindow.get(), m_designer);
    m_inspector->SetParent(m_inspectorWindow.get());
    m_inspector->SetAlign(alClient);
}

void TDesignerApp::Changed()
{
    if (m_designer.HasForm())
        if (TDesignOverlay* overlay = m_designer.Overlay()) {
            overlay->SetOnContextMenu([this](TComponent& component, TPoint screen) { ShowContextMenu(component, screen); });
            overlay->SetOnPress([this] { ClosePopups(); });
            overlay->Cover();
        }
    m_palette->Invalidate();
    m_inspector->Refresh();
}

void TDesignerApp::SetStatus(const std::string& text)
{
    m_status->SetCaption(" " + text);
}

std::string TDesignerApp::Status() const
{
    const std::string& caption = m_status->Caption();
    return caption.empty() ? caption : caption.substr(1);
}

// ---- Packages ------------------------------------------------------------

TPackage& TDesignerApp::LoadPackage(const std::string& fileName)
{
    TPackage& package = plx::LoadPackage(fileName, TPackageUse::Design);
    m_loaded.push_back(package.Name());
    m_palette->Refresh();
    SetStatus("Loaded package " + package.Name() + " (" + package.Description() + ")");
    return package;
}

void TDesignerApp::UnloadPackage(const std::string& name)
{
    TPackage* package = FindPackage(name);
    if (!package)
        throw EPackageError("Package " + name + " is not loaded");
    const std::string packageName = package->Name();
    // The inspector's editors may come from the package: none may outlive it.
    m_designer.Select(nullptr);
    m_inspector->Refresh();
    plx::UnloadPackage(*package);
    std::erase_if(m_loaded, [&](const std::string& n) { return Lower(n) == Lower(packageName); });
    m_designer.SetPendingClass({});
    m_palette->Refresh();
    SetStatus("Unloaded package " + packageName);
}

std::string TDesignerApp::DefaultPackageFile()
{
    const std::filesystem::path program = std::filesystem::path(Application().ExeName()).parent_path();
    for (const std::filesystem::path& candidate :
        { program / "libPlumex.so", program / PLUMEX_INSTALLED_PACKAGE_DIR / "libPlumex.so", program / "../lib/libPlumex.so" }) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error))
            return candidate.lexically_normal().string();
    }
    return {};
}

// ---- Running -------------------------------------------------------------

void TDesignerApp::Show()
{
    // Closing the main window ends the designer.
    Application().SetMainForm(m_main.get());
    m_main->Show();
    m_inspectorWindow->Show();
    m_designer.ShowForm(kFormPosition);
    m_palette->Refresh();
    m_inspector->Refresh();
    ProcessMessages();
}

void TDesignerApp::ProcessMessages()
{
    // Each round may cause more (a released popup, a repaint); a bounded number
    // of rounds keeps a handler that always invalidates from hanging us.
    for (int round = 0; round < 100 && Application().ProcessMessages(); ++round) {
    }
}

void TDesignerApp::ClosePopups()
{
    if (TPopupList* menu = ContextMenu())
        menu->Release();
    m_contextMenu = nullptr;
    m_inspector->CloseValueList();
}

TPopupList* TDesignerApp::ContextMenu() const noexcept
{
    return m_contextMenu.Get();
}

void TDesignerApp::ShowContextMenu(TComponent& component, TPoint screen)
{
    if (TPopupList* old = ContextMenu())
        old->Release();
    std::vector<std::string> items = m_designer.Verbs(component);
    const auto verbCount = static_cast<std::int32_t>(items.size());
    const bool isForm = &component == &m_designer.Form();
    if (!isForm) {
        if (!items.empty())
            items.push_back("-");
        items.insert(items.end(), { "Bring to &Front", "Send to &Back", "&Delete" });
    }
    if (items.empty())
        return;
    const TWeakRef<TComponent> target(&component);
    auto* menu = new TPopupList(items, -1, [this, target, verbCount](std::int32_t index) {
        if (!target)
            return;
        try {
            if (index < verbCount) {
                m_designer.ExecuteVerb(*target, index);
                return;
            }
            auto* control = dynamic_cast<TControl*>(target.Get());
            switch (index - verbCount - (verbCount > 0 ? 1 : 0)) {
            case 0: m_designer.BringToFront(*control); break;
            case 1: m_designer.SendToBack(*control); break;
            case 2: m_designer.Delete(*target); break;
            default: break;
            }
        } catch (const std::exception& e) {
            m_designer.Message(e.what());
        }
    });
    m_contextMenu = menu;
    menu->Popup(screen);
}

// ---- Pictures ------------------------------------------------------------

void TDesignerApp::SaveFormView(const std::string& fileName)
{
    ProcessMessages();
    TBitmap picture;
    WindowPicture(m_designer.Form(), picture);
    if (picture.Empty())
        m_designer.Form().RenderTo(picture);
    SavePicture(picture, fileName);
}

void TDesignerApp::SaveScreenshot(const std::string& fileName)
{
    ProcessMessages();
    const TSize screen { Screen().Width(), Screen().Height() };
    TBitmap shot(screen.cx, screen.cy);
    TCanvas& canvas = shot.Canvas();
    canvas.Brush().SetColor(kDesktop);
    canvas.FillRect(Rect(0, 0, screen.cx, screen.cy));
    std::vector<TCustomForm*> windows { m_main.get(), m_inspectorWindow.get() };
    if (m_designer.HasForm())
        windows.push_back(&m_designer.Form());
    for (std::int32_t i = 0; i < Screen().FormCount(); ++i)
        if (auto* popup = dynamic_cast<TPopupList*>(Screen().Forms(i)))
            windows.push_back(popup);
    for (TCustomForm* form : windows) {
        if (!form->Visible())
            continue;
        TBitmap window;
        WindowPicture(*form, window);
        if (window.Empty())
            continue;
        const bool framed = form->BorderStyle() != bsNone;
        if (framed) {
            canvas.Brush().SetColor(clBtnFace);
            canvas.FillRect(Rect(form->Left() - 3, form->Top() - kTitleHeight - 3, form->Left() + window.Width() + 3,
                form->Top() + window.Height() + 3));
            DrawFrame3D(canvas, Rect(form->Left() - 3, form->Top() - kTitleHeight - 3, form->Left() + window.Width() + 3,
                                    form->Top() + window.Height() + 3), false);
            TRect title = Rect(form->Left() - 1, form->Top() - kTitleHeight - 1, form->Left() + window.Width() + 1, form->Top() - 1);
            canvas.Brush().SetColor(kTitle);
            canvas.FillRect(title);
            title.Left += 4;
            canvas.Brush().SetStyle(bsClear);
            canvas.Font().SetColor(clWhite);
            canvas.Font().SetStyle({ fsBold });
            DrawText(canvas, form->Caption(), title, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            canvas.Brush().SetStyle(bsSolid);
        }
        canvas.Draw(form->Left(), form->Top(), window);
    }
    SavePicture(shot, fileName);
}

} // namespace plx::designer
