#include "framework/host/Streams.h"

#include "framework/host/Exceptions.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace plx {

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
    std::int64_t result = count;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min<std::int64_t>(count, 64 * 1024)));
    while (count > 0) {
        std::int64_t n = std::min<std::int64_t>(count, static_cast<std::int64_t>(buffer.size()));
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

void TStream::SetSize(std::int64_t)
{
    throw EStreamError("Stream size cannot be changed");
}

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count)
{
    if (count <= 0 || m_position >= Size())
        return 0;
    std::int64_t n = std::min(count, Size() - m_position);
    std::memcpy(buffer, m_data.data() + m_position, static_cast<std::size_t>(n));
    m_position += n;
    return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count)
{
    if (count <= 0 || m_position < 0)
        return 0;
    std::int64_t end = m_position + count;
    if (end > Size())
        m_data.resize(static_cast<std::size_t>(end));
    std::memcpy(m_data.data() + m_position, buffer, static_cast<std::size_t>(count));
    m_position = end;
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    switch (origin) {
    case soBeginning:
        m_position = offset;
        break;
    case soCurrent:
        m_position += offset;
        break;
    case soEnd:
        m_position = Size() + offset;
        break;
    }
    return m_position;
}

void TMemoryStream::SetSize(std::int64_t size)
{
    if (size < 0)
        throw EStreamError("Invalid stream size");
    m_data.resize(static_cast<std::size_t>(size));
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
    std::int64_t size = stream.Size();
    std::vector<std::uint8_t> data(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)));
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
        m_file = std::fopen(fileName.c_str(), "w+b");
        if (!m_file)
            throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
        return;
    }
    const char* how = (mode & 3) == fmOpenRead ? "rb" : "r+b";
    m_file = std::fopen(fileName.c_str(), how);
    if (!m_file)
        throw EFOpenError("Cannot open file \"" + fileName + "\". " + std::strerror(errno));
}

TFileStream::~TFileStream()
{
    if (m_file)
        std::fclose(m_file);
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count)
{
    if (count <= 0)
        return 0;
    return static_cast<std::int64_t>(std::fread(buffer, 1, static_cast<std::size_t>(count), m_file));
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count)
{
    if (count <= 0)
        return 0;
    return static_cast<std::int64_t>(std::fwrite(buffer, 1, static_cast<std::size_t>(count), m_file));
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
    if (fseeko(m_file, static_cast<off_t>(offset), whence) != 0)
        return -1;
    return static_cast<std::int64_t>(ftello(m_file));
}

void TFileStream::SetSize(std::int64_t size)
{
    std::fflush(m_file);
    if (ftruncate(fileno(m_file), static_cast<off_t>(size)) != 0)
        throw EStreamError("Cannot set the size of file \"" + m_fileName + "\"");
    if (Position() > size)
        Seek(size, soBeginning);
}

} // namespace plx
