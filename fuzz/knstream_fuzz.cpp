// Runs the typed readers of TKnStream over arbitrary bytes. The first bytes
// choose the reads; the rest is the stream. Nothing may crash, a read never
// moves past the end by more than its fixed size, and strings never hold more
// bytes than the stream had.
#include "FuzzCheck.h"

#include "framework/KnClasses.h"
#include "rtl/StringList.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using plx::fuzz::Check;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::size_t opCount = data[0] % 16;
    if (size < 1 + opCount)
        return 0;
    const std::uint8_t* ops = data + 1;
    plx::TKnStream stream;
    const auto streamSize = static_cast<std::int64_t>(size - 1 - opCount);
    stream.Write(data + 1 + opCount, streamSize);
    stream.SetPosition(0);

    plx::TStringList list;
    std::string text;
    for (std::size_t i = 0; i < opCount; ++i) {
        const std::int64_t before = stream.Position();
        switch (ops[i] % 8) {
        case 0: (void)stream.ReadInteger(); break;
        case 1: (void)stream.ReadFloat(); break;
        case 2: (void)stream.ReadChar(); break;
        case 3: (void)stream.ReadBool(); break;
        case 4:
            stream.ReadString(text);
            Check(static_cast<std::int64_t>(text.size()) <= streamSize);
            break;
        case 5: {
            // One call reads at most the lines the bytes can hold.
            const std::int32_t linesBefore = list.Count();
            std::int64_t bytesBefore = 0;
            for (std::int32_t k = 0; k < linesBefore; ++k)
                bytesBefore += static_cast<std::int64_t>(list.Strings(k).size());
            stream.ReadStrings(&list);
            std::int64_t bytesAfter = 0;
            for (std::int32_t k = 0; k < list.Count(); ++k)
                bytesAfter += static_cast<std::int64_t>(list.Strings(k).size());
            Check(list.Count() - linesBefore <= streamSize / 4 + 1);
            Check(bytesAfter - bytesBefore <= streamSize);
            break;
        }
        case 6: stream.ReadStrings(nullptr); break;
        case 7: stream.SetPosition(ops[i] / 8); break;
        }
        Check(stream.Position() >= 0);
        Check(stream.Size() == streamSize);
        if (ops[i] % 8 != 7)
            Check(stream.Position() >= before);
    }

    // What was read writes back to the same bytes.
    plx::TKnStream copy;
    copy.WriteStrings(list);
    copy.SetPosition(0);
    plx::TStringList again;
    copy.ReadStrings(&again);
    Check(again.Count() == list.Count());
    for (std::int32_t i = 0; i < list.Count(); ++i)
        Check(again.Strings(i) == list.Strings(i));
    return 0;
}
