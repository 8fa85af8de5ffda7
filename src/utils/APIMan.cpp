#include "utils/APIMan.h"

#include "color/host/Resources.h"
#include "framework/host/Forms.h"
#include "rtl/SysUtils.h"
#include "rtl/UnitLifetime.h"
#include "utils/WaveOut.h"

#include <fstream>
#include <memory>
#include <vector>

namespace plx {

namespace {

TUnitLifetime g_unit;

// Larger files are not taken for sounds.
constexpr std::int64_t kMaxWaveFile = 256 * 1024 * 1024;

struct TSound {
    TWaveInfo info;
    std::shared_ptr<const void> owner;
};

std::shared_ptr<const std::vector<std::uint8_t>> ReadWholeFile(const std::string& fileName)
{
    std::ifstream in(fileName, std::ios::binary | std::ios::ate);
    if (!in)
        return nullptr;
    const std::streamoff size = in.tellg();
    if (size < 0 || size > kMaxWaveFile)
        return nullptr;
    auto bytes = std::make_shared<std::vector<std::uint8_t>>(static_cast<std::size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes->data()), size))
        return nullptr;
    return bytes;
}

// The sound of that name: a file first, then a resource of the package.
std::optional<TSound> FindSound(std::string_view name)
{
    if (name.empty())
        return std::nullopt;
    const std::string fileName(name);
    if (FileExists(fileName)) {
        auto bytes = ReadWholeFile(fileName);
        if (!bytes)
            return std::nullopt;
        auto info = ParseWave(*bytes);
        if (!info)
            return std::nullopt;
        return TSound { *info, std::move(bytes) };
    }
    if (auto resource = FindResource(HInstance(), name, RT_RCDATA_NAME)) {
        if (auto info = ParseWave(*resource))
            return TSound { *info, nullptr };
    }
    return std::nullopt;
}

bool Play(std::string_view name, TWaveWait wait)
{
    auto sound = FindSound(name);
    if (!sound)
        return false;
    PlayWaveData(sound->info, std::move(sound->owner), wait);
    return true;
}

} // namespace

void PopupForm(TCustomForm& form, const TControl& control)
{
    if (form.HandleAllocated() && CurrentPlatform().IsWindowVisible(form.WindowId())) {
        form.Close();
        return;
    }
    const TPoint corner = control.Parent() ? control.Parent()->ClientToScreen({ control.Left(), control.Top() })
                                           : control.ClientToScreen({ 0, 0 });
    std::int32_t top = corner.Y + control.Height();
    if (Screen().Height() < top + form.Height())
        top = corner.Y - form.Height();
    std::int32_t left = corner.X - (form.Width() - control.Width());
    if (left < 0)
        left = corner.X;
    form.SetLeft(left);
    form.SetTop(top);
    form.Show();
}

void DragForm(TWindowId window)
{
    Application().SetCaptureControl(nullptr);
    TPlatform& platform = CurrentPlatform();
    platform.ReleaseCapture();
    platform.BeginMoveWindow(window);
}

bool PlayWave(std::string_view name)
{
    return Play(name, TWaveWait::Async);
}

bool PlayWaveWait(std::string_view name)
{
    return Play(name, TWaveWait::UntilEnd);
}

void InitializeAPIMan()
{
    (void)g_unit.Initialize();
}

void FinalizeAPIMan()
{
    if (g_unit.Finalize())
        StopWave();
}

} // namespace plx
