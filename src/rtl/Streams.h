// Byte streams: the abstract TStream, the growable TMemoryStream and TFileStream.
#pragma once

#include "rtl/Persistent.h"
#include "rtl/SysUtils.h"

#include <cstdint>
#include <string>
#include <vector>

namespace plx {

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

//! A seekable sequence of bytes. Read and Write move as many bytes as they can
//! and return that count; ReadBuffer and WriteBuffer demand the whole count and
//! raise EReadError("Stream read error") or EWriteError("Stream write error").
class TStream : public TObject {
public:
    virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

    void ReadBuffer(void* buffer, std::int64_t count);
    void WriteBuffer(const void* buffer, std::int64_t count);
    //! Copies count bytes from source (all of it from its start when count is 0;
    //! nothing for a negative count) and returns the count copied.
    std::int64_t CopyFrom(TStream& source, std::int64_t count);

    [[nodiscard]] std::int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(std::int64_t position) { Seek(position, soBeginning); }
    [[nodiscard]] virtual std::int64_t Size();
    virtual void SetSize(std::int64_t size);
    //! Bytes from the position to the end: negative beyond the end, saturated at
    //! the 64-bit limits.
    [[nodiscard]] std::int64_t Remaining();
};

//! A stream held in memory. The position may be set anywhere: reading beyond
//! the end delivers nothing, writing beyond it fills the gap with zeros.
//! Memory exhaustion raises EStreamError("Out of memory while expanding memory stream").
class TMemoryStream : public TStream {
public:
    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    [[nodiscard]] std::int64_t Size() override { return static_cast<std::int64_t>(m_data.size()); }
    void SetSize(std::int64_t size) override;

    void Clear();
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream);
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);

    [[nodiscard]] std::uint8_t* Memory() noexcept { return m_data.data(); }
    [[nodiscard]] const std::uint8_t* Memory() const noexcept { return m_data.data(); }
    [[nodiscard]] const std::vector<std::uint8_t>& Bytes() const noexcept { return m_data; }

private:
    std::vector<std::uint8_t> m_data;
    std::int64_t m_position { 0 };
};

//! A stream over a file handle (FileOpen, FileCreate). fmCreate creates or
//! truncates the file; the open modes (fmOpenRead, fmOpenWrite,
//! fmOpenReadWrite) open an existing one. Failure raises EFCreateError or
//! EFOpenError naming the file. Reading a write-only file delivers 0 bytes.
class TFileStream : public TStream {
public:
    TFileStream(const std::string& fileName, std::uint16_t mode);
    ~TFileStream() override;

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    //! The new position, or -1 when the position cannot be moved there.
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    //! Truncates or extends the file; raises EStreamError on failure.
    void SetSize(std::int64_t size) override;

    [[nodiscard]] const std::string& FileName() const noexcept { return m_fileName; }
    [[nodiscard]] std::int32_t Handle() const noexcept { return m_handle; }

private:
    std::string m_fileName;
    std::int32_t m_handle { -1 };
};

} // namespace plx
