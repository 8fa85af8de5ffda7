// Feeds arbitrary bytes to the initialisation-file reader and checks that what
// it reads survives writing back: the document serialises to a fixed point, and
// every value read (or written) reads back unchanged.
#include "FuzzCheck.h"

#include "rtl/Exceptions.h"
#include "rtl/IniFiles.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using plx::fuzz::Check;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const plx::TIniDocument document = plx::TIniDocument::Parse(text);
    const std::string once = document.Serialize();
    const plx::TIniDocument again = plx::TIniDocument::Parse(once);
    Check(again.Serialize() == once);

    // Every section and value reads the same after the round trip.
    for (const std::string& section : document.Sections()) {
        Check(again.HasSection(section));
        const auto values = document.SectionValues(section);
        Check(again.SectionValues(section) == values);
        for (const auto& [key, value] : values)
            Check(document.Read(section, key) == value);
    }

    // Writing the first section's values back under fresh keys, with the input
    // as a value where the file can hold it, reads them back exactly.
    plx::TIniDocument edited = again;
    const std::string_view value = text.substr(0, 64);
    try {
        edited.Write("Fuzz", "Key", value);
        Check(plx::TIniDocument::Parse(edited.Serialize()).Read("Fuzz", "Key") == std::string(value));
    } catch (const plx::EIniFileException&) {
        Check(value.find_first_of("\r\n") != std::string_view::npos);
    }
    for (const std::string& section : document.Sections()) {
        edited.EraseSection(section);
        Check(!plx::TIniDocument::Parse(edited.Serialize()).HasSection(section));
        break;
    }
    return 0;
}
