#include "rtl/Exceptions.h"
#include "rtl/Streams.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <limits>

#include <unistd.h>

using namespace plx;

namespace {

std::string TempPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("plx_streams_" + std::to_string(::getpid()) + "_" + name)).string();
}

} // namespace

TEST(TMemoryStream, ReadReturnsTheBytesDelivered)
{
    TMemoryStream stream;
    stream.WriteBuffer("abcdef", 6);
    EXPECT_EQ(stream.Position(), 6);
    EXPECT_EQ(stream.Size(), 6);
    stream.SetPosition(4);
    char buffer[8] = {};
    EXPECT_EQ(stream.Read(buffer, 8), 2);
    EXPECT_EQ(std::string(buffer, 2), "ef");
    EXPECT_EQ(stream.Read(buffer, 8), 0);
    EXPECT_EQ(stream.Read(buffer, -1), 0);
    stream.SetPosition(0);
    EXPECT_THROW(stream.ReadBuffer(buffer, 7), EReadError);
}

TEST(TMemoryStream, SeekFromEveryOrigin)
{
    TMemoryStream stream;
    stream.WriteBuffer("0123456789", 10);
    EXPECT_EQ(stream.Seek(3, soBeginning), 3);
    EXPECT_EQ(stream.Seek(2, soCurrent), 5);
    EXPECT_EQ(stream.Seek(-1, soEnd), 9);
    EXPECT_EQ(stream.Remaining(), 1);
}

TEST(TMemoryStream, PositionsOutsideTheDataAreHarmless)
{
    TMemoryStream stream;
    stream.WriteBuffer("abc", 3);
    char buffer[4] = {};
    stream.SetPosition(-5);
    EXPECT_EQ(stream.Read(buffer, 4), 0);
    EXPECT_EQ(stream.Write("x", 1), 0);
    stream.Seek(std::numeric_limits<std::int64_t>::max(), soBeginning);
    EXPECT_EQ(stream.Seek(10, soCurrent), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(stream.Write("x", 1), 0);
    EXPECT_EQ(stream.Size(), 3);
    // Writing past the end fills the gap with zeros.
    stream.SetPosition(5);
    stream.WriteBuffer("z", 1);
    ASSERT_EQ(stream.Size(), 6);
    EXPECT_EQ(stream.Bytes()[3], 0);
    EXPECT_EQ(stream.Bytes()[5], 'z');
}

TEST(TMemoryStream, PositionsSaturateInBothDirections)
{
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    TMemoryStream stream;
    stream.WriteBuffer("abc", 3);
    stream.SetPosition(-5);
    EXPECT_EQ(stream.Seek(kMin, soCurrent), kMin);
    EXPECT_EQ(stream.Seek(-1, soCurrent), kMin);
    EXPECT_EQ(stream.Remaining(), kMax) << "3 - (-2^63) is beyond 64 bits";
    EXPECT_EQ(stream.Seek(kMax, soCurrent), -1);
    EXPECT_EQ(stream.Seek(kMax, soEnd), kMax);
    EXPECT_EQ(stream.Remaining(), 3 - kMax);
    EXPECT_EQ(stream.Seek(kMin, soEnd), kMin + 3);
    EXPECT_EQ(stream.Seek(kMin, soBeginning), kMin);
    char buffer[4] = {};
    EXPECT_EQ(stream.Read(buffer, 4), 0);
    EXPECT_EQ(stream.Write("x", 1), 0);
    stream.SetPosition(1);
    EXPECT_EQ(stream.Remaining(), 2);
    EXPECT_EQ(stream.Size(), 3);
}

TEST(TMemoryStream, SetSizeTruncatesAndClampsThePosition)
{
    TMemoryStream stream;
    stream.WriteBuffer("abcdef", 6);
    stream.SetSize(2);
    EXPECT_EQ(stream.Position(), 2);
    EXPECT_EQ(stream.Size(), 2);
    EXPECT_THROW(stream.SetSize(-1), EStreamError);
#if !defined(__SANITIZE_ADDRESS__)
    // (The address sanitizer stops the process on such a request instead.)
    try {
        stream.SetSize(std::numeric_limits<std::int64_t>::max());
        FAIL();
    } catch (const EStreamError& e) {
        EXPECT_EQ(e.Message(), "Out of memory while expanding memory stream");
    }
#endif
    stream.Clear();
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(stream.Position(), 0);
}

TEST(TMemoryStream, CopyFromCopiesAllOrAPart)
{
    TMemoryStream source, dest;
    source.WriteBuffer("hello", 5);
    EXPECT_EQ(dest.CopyFrom(source, 0), 5);
    EXPECT_EQ(std::string(dest.Bytes().begin(), dest.Bytes().end()), "hello");
    source.SetPosition(1);
    dest.Clear();
    EXPECT_EQ(dest.CopyFrom(source, 3), 3);
    EXPECT_EQ(std::string(dest.Bytes().begin(), dest.Bytes().end()), "ell");
    EXPECT_EQ(dest.CopyFrom(source, -4), 0);
    EXPECT_THROW(dest.CopyFrom(source, 10), EReadError);
}

TEST(TMemoryStream, FilesRoundTrip)
{
    const std::string path = TempPath("memory.bin");
    TMemoryStream stream;
    std::array<std::uint8_t, 256> bytes {};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i);
    stream.WriteBuffer(bytes.data(), bytes.size());
    stream.SaveToFile(path);
    TMemoryStream back;
    back.LoadFromFile(path);
    EXPECT_EQ(back.Bytes(), stream.Bytes());
    EXPECT_EQ(back.Position(), 0);
    std::filesystem::remove(path);
    EXPECT_THROW(back.LoadFromFile(path), EFOpenError);
    EXPECT_EQ(back.Size(), 256);
    EXPECT_THROW(back.LoadFromFile(std::filesystem::temp_directory_path().string()), EFOpenError);
    EXPECT_THROW(back.SaveToFile(TempPath("missing-folder/x.bin")), EFCreateError);
}

TEST(TFileStream, ReadsWritesAndSeeksAFile)
{
    const std::string path = TempPath("file.bin");
    {
        TFileStream file(path, fmCreate);
        file.WriteBuffer("abcdef", 6);
        EXPECT_EQ(file.Size(), 6);
        // Reading right after writing is well defined on a handle.
        file.SetPosition(2);
        char c = 0;
        EXPECT_EQ(file.Read(&c, 1), 1);
        EXPECT_EQ(c, 'c');
        file.WriteBuffer("X", 1);
        EXPECT_EQ(file.Position(), 4);
    }
    {
        TFileStream file(path, fmOpenRead | fmShareDenyWrite);
        EXPECT_EQ(file.FileName(), path);
        char buffer[10] = {};
        EXPECT_EQ(file.Read(buffer, 10), 6);
        EXPECT_EQ(std::string(buffer, 6), "abcXef");
        EXPECT_EQ(file.Write("z", 1), 0);
        EXPECT_THROW(file.WriteBuffer("z", 1), EWriteError);
        EXPECT_EQ(file.Seek(-2, soEnd), 4);
        EXPECT_EQ(file.Seek(-10, soBeginning), -1);
    }
    {
        TFileStream file(path, fmOpenReadWrite);
        file.SetSize(3);
        EXPECT_EQ(file.Size(), 3);
        file.Seek(0, soEnd);
        file.WriteBuffer("!", 1);
    }
    TMemoryStream check;
    check.LoadFromFile(path);
    EXPECT_EQ(std::string(check.Bytes().begin(), check.Bytes().end()), "abc!");
    std::filesystem::remove(path);
}

TEST(TFileStream, FailuresNameTheFile)
{
    const std::string path = TempPath("absent.bin");
    try {
        TFileStream file(path, fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message().find("Cannot open file \"" + path + "\""), std::string::npos);
    }
    try {
        TFileStream file(TempPath("no/such/folder"), fmCreate);
        FAIL();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message().rfind("Cannot create file", 0), 0u);
    }
    EXPECT_THROW(TFileStream(path, fmOpenRead), EStreamError);
}

TEST(TFileStream, AWriteOnlyFileDeliversNothingToRead)
{
    const std::string path = TempPath("writeonly.bin");
    {
        TFileStream file(path, fmCreate);
        file.WriteBuffer("abc", 3);
    }
    TFileStream file(path, fmOpenWrite);
    char buffer[3] = {};
    EXPECT_EQ(file.Read(buffer, 3), 0);
    TMemoryStream memory;
    EXPECT_THROW(memory.LoadFromStream(file), EReadError);
    std::filesystem::remove(path);
}
