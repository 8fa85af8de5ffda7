// TApplication: the running program's name and title, and the one instance.
#pragma once

#include "framework/host/Persistent.h"

#include <string>

namespace plx {

//! The running application. There is one instance, created by
//! ApplicationUnit::Initialize and reached through Application().
class TApplication : public TObject {
public:
    TApplication();

    //! The full path of the running executable (empty when the platform does
    //! not tell it).
    [[nodiscard]] const std::string& ExeName() const noexcept { return m_exeName; }
    //! The application's title; by default the executable's name without its
    //! folder and extension.
    [[nodiscard]] const std::string& Title() const noexcept { return m_title; }
    void SetTitle(std::string title) { m_title = std::move(title); }

private:
    std::string m_exeName;
    std::string m_title;
};

//! The one application object. Raises EInvalidOperation before
//! ApplicationUnit::Initialize and after the last Finalize.
[[nodiscard]] TApplication& Application();

namespace ApplicationUnit {
//! Creates the application object on the first call; later calls only count.
void Initialize();
//! Frees the application object when the count of Initialize calls runs out.
void Finalize();
} // namespace ApplicationUnit

} // namespace plx
