#include "framework/host/Application.h"

#include "framework/host/Exceptions.h"
#include "framework/host/SysUtils.h"

#include <filesystem>
#include <memory>
#include <system_error>

namespace plx {

namespace {

int g_initCount = 0;
std::unique_ptr<TApplication> g_application;

std::string RunningExecutable()
{
    std::error_code ec;
    auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : path.string();
}

} // namespace

TApplication::TApplication()
    : m_exeName(RunningExecutable())
    , m_title(ChangeFileExt(ExtractFileName(m_exeName), ""))
{
}

TApplication& Application()
{
    if (!g_application)
        throw EInvalidOperation("The application object does not exist: the Application unit is not initialised");
    return *g_application;
}

namespace ApplicationUnit {

void Initialize()
{
    if (g_initCount++ == 0)
        g_application = std::make_unique<TApplication>();
}

void Finalize()
{
    if (g_initCount > 0 && --g_initCount == 0)
        g_application.reset();
}

} // namespace ApplicationUnit

} // namespace plx
