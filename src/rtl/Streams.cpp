#include "rtl/Streams.h"

#include "rtl/Exceptions.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include <unistd.h>

namespace plx {

namespace {

constexpr std::int64_t kMaxInt64 = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMinInt64 = std::numeric_limits<std::int64_t>::min();

std::int64_t SaturatedAdd(std::int64_t a, std::int64_t b) noexcept
{
    std::int64_t sum = 0;
    if (!__builtin_add_overflow(a, b, &sum))
        return sum;
    return b > 0 ? kMaxInt64 : kMinInt64;
}

} // namespace

void TStream::ReadBuffer(void* buffer, std::int64_t count)
{
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count)
{
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError("Stream write error");
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count)
{
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    if (count <= 0)
        return 0;
    const std::int64_t result = count;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min<std::int64_t>(count, 64 * 1024)));
    while (count > 0) {
        const std::int64_t n = std::min<std::int64_t>(count, static_cast<std::int64_t>(buffer.size()));
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        count -= n;
    }
    return result;
}

std::int64_t TStream::Size()
{
    std::int64_t position = Seek(0, soCurrent);
    std::int64_t size = Seek(0, soEnd);
    Seek(position, soBeginning);
    return size;
}

std::int64_t TStream::Remaining()
{
    // Saturated: a position far before the start leaves more than 64 bits hold.
    const std::int64_t position = Position();
    const std::int64_t size = Size();
    std::int64_t remaining = 0;
    if (__builtin_sub_overflow(size, position, &remaining))
        return position < 0 ? kMaxInt64 : kMinInt64;
    return remaining;
}

void TStream::SetSize(std::int64_t)
{
    throw EStreamError("Stream size cannot be changed");
}

namespace {

[[noreturn]] void MemoryStreamError()
{
    throw EStreamError("Out of memory while expanding memory stream");
}

// Resizes, turning exhaustion (or a size beyond what a vector can hold) into
// the stream's own error.
void ResizeData(std::vector<std::uint8_t>& data, std::int64_t size)
{
    if (static_cast<std::uint64_t>(size) > data.max_size())
        MemoryStreamError();
    try {
        data.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        MemoryStreamError();
    } catch (const std::length_error&) {
        MemoryStreamError();
    }
}

} // namespace

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count)
{
    if (count <= 0 || m_position < 0 || m_position >= Size())
        return 0;
    const std::int64_t n = std::min(count, Size() - m_position);
    std::memcpy(buffer, m_data.data() + m_position, static_cast<std::size_t>(n));
    m_position += n;
    return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count)
{
    if (count <= 0 || m_position < 0 || count > kMaxInt64 - m_position)
        return 0;
    const std::int64_t end = m_position + count;
    if (end > Size())
        ResizeData(m_data, end);
    std::memcpy(m_data.data() + m_position, buffer, static_cast<std::size_t>(count));
    m_position = end;
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    const std::int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? m_position : Size();
    // Saturate in both directions instead of overflowing; such a position reads
    // and writes nothing.
    m_position = SaturatedAdd(base, offset);
    return m_position;
}

void TMemoryStream::SetSize(std::int64_t size)
{
    if (size < 0)
        throw EStreamError("Invalid stream size");
    ResizeData(m_data, size);
    if (m_position > size)
        m_position = size;
}

void TMemoryStream::Clear()
{
    m_data.clear();
    m_data.shrink_to_fit();
    m_position = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream)
{
    stream.SetPosition(0);
    const std::int64_t size = stream.Size();
    if (size < 0)
        throw EReadError("Stream read error");
    std::vector<std::uint8_t> data;
    ResizeData(data, size);
    stream.ReadBuffer(data.data(), size);
    m_data = std::move(data);
    m_position = 0;
}

void TMemoryStream::SaveToStream(TStream& stream)
{
    stream.WriteBuffer(m_data.data(), Size());
}

void TMemoryStream::LoadFromFile(const std::string& fileName)
{
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const std::string& fileName)
{
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

TFileStream::TFileStream(const std::string& fileName, std::uint16_t mode)
    : m_fileName(fileName)
{
    if (mode == fmCreate) {
        m_handle = FileCreate(fileName);
        if (m_handle < 0)
            throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
        return;
    }
    m_handle = FileOpen(fileName, mode);
    if (m_handle < 0)
        throw EFOpenError("Cannot open file \"" + fileName + "\". " + std::strerror(errno));
}

TFileStream::~TFileStream()
{
    FileClose(m_handle);
}

namespace {

// Moves count bytes through a call that takes at most 2^31 - 1 at a time, in
// chunks, stopping at the first short transfer.
template <class Byte, class Call>
std::int64_t Transfer(Byte* bytes, std::int64_t count, Call call)
{
    constexpr std::int64_t kChunk = 1 << 30;
    std::int64_t done = 0;
    while (done < count) {
        const auto want = static_cast<std::int32_t>(std::min(count - done, kChunk));
        const std::int32_t n = call(bytes + done, want);
        if (n <= 0)
            break;
        done += n;
        if (n < want)
            break;
    }
    return done;
}

} // namespace

std::int64_t TFileStream::Read(void* buffer, std::int64_t count)
{
    return Transfer(static_cast<std::uint8_t*>(buffer), count,
        [this](std::uint8_t* p, std::int32_t n) { return FileRead(m_handle, p, n); });
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count)
{
    return Transfer(static_cast<const std::uint8_t*>(buffer), count,
        [this](const std::uint8_t* p, std::int32_t n) { return FileWrite(m_handle, p, n); });
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    return FileSeek(m_handle, offset, static_cast<std::int32_t>(origin));
}

void TFileStream::SetSize(std::int64_t size)
{
    if (size < 0 || ftruncate(m_handle, static_cast<off_t>(size)) != 0)
        throw EStreamError("Cannot set the size of file \"" + m_fileName + "\"");
    if (Position() > size)
        Seek(size, soBeginning);
}

} // namespace plx
