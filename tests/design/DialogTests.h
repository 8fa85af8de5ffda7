// Shared helpers for the dialogs' tests: a settings folder of the test's own,
// and answering modal forms through show hooks as a user would.
#pragma once

#include "framework/host/Forms.h"
#include "framework/host/HeadlessPlatform.h"
#include "framework/host/FrameworkFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

namespace plx::test {

//! Points XDG_CONFIG_HOME at a new temporary folder for the scope, so the
//! settings folder (and every bare INI name) is the test's own.
class TempSettings {
public:
    TempSettings()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "plumex-settings-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("no temporary folder");
        m_root = pattern;
        if (const char* old = std::getenv("XDG_CONFIG_HOME"))
            m_old = old;
        setenv("XDG_CONFIG_HOME", m_root.c_str(), 1);
    }
    ~TempSettings()
    {
        if (m_old)
            setenv("XDG_CONFIG_HOME", m_old->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }
    TempSettings(const TempSettings&) = delete;
    TempSettings& operator=(const TempSettings&) = delete;

    //! The settings folder bare INI names go to.
    [[nodiscard]] std::filesystem::path Folder() const { return m_root / "plumex"; }

private:
    std::filesystem::path m_root;
    std::optional<std::string> m_old;
};

//! Answers the next form shown whose caption is caption (once).
inline void Answer(const std::string& caption, std::function<void(TCustomForm&)> act)
{
    Application().AddShowHook([caption, act = std::move(act)](TCustomForm& shown) {
        if (shown.Caption() != caption)
            return false;
        act(shown);
        return true;
    });
}

//! The component of that name on form, as a T.
template <class T>
T& Find(TComponent& form, const std::string& name)
{
    auto* c = dynamic_cast<T*>(form.FindComponent(name));
    if (!c)
        throw std::logic_error("no " + name + " on " + form.Name());
    return *c;
}

//! A left click in the middle of a control, as the mouse gives it.
inline void ClickOn(TControl& control)
{
    const TPoint p = control.ClientToScreen({ control.Width() / 2, control.Height() / 2 });
    Headless().MouseMove(p);
    Headless().MouseDown(p);
    Headless().MouseUp(p);
    Application().ProcessMessages();
    Application().AdvanceTime(1000); // the next click is not a double click
}

//! A double click in the middle of a control.
inline void DoubleClickOn(TControl& control, TPoint at)
{
    const TPoint p = control.ClientToScreen(at);
    Headless().MouseMove(p);
    Headless().MouseDown(p);
    Headless().MouseUp(p);
    Headless().MouseDown(p);
    Headless().MouseUp(p);
    Application().ProcessMessages();
    Application().AdvanceTime(1000);
}

} // namespace plx::test
