// Form-file reader: malformed text must end in EReadError (or another host
// error), never a crash, a hang or a leak.
#include "design/PlumexPackage.h"
#include "rtl/Exceptions.h"
#include "framework/host/FormFiles.h"
#include "framework/host/Forms.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static bool started = [] {
        plx::InitializePackage();
        return true;
    }();
    (void)started;
    if (size > 64 * 1024)
        return 0;
    std::string text(reinterpret_cast<const char*>(data), size);
    try {
        std::unique_ptr<plx::TComponent> root(plx::ReadComponentFromText(text, nullptr));
        // A form that reads must also write and read back.
        std::string again = plx::WriteComponentText(*root);
        std::unique_ptr<plx::TComponent> copy(plx::ReadComponentFromText(again, nullptr));
    } catch (const plx::Exception&) {
    }
    return 0;
}
