#include "utils/Fileman.h"

#include "framework/host/Forms.h"
#include "rtl/IniFiles.h"
#include "rtl/StringList.h"
#include "rtl/SysUtils.h"
#include "TestStrings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace plx;
namespace fs = std::filesystem;

namespace {

using test::Lines;

void WriteFile(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Entries(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool RunningAsRoot()
{
    return ::geteuid() == 0;
}

// A fresh folder of its own for each test, removed afterwards.
class FilemanFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "plumex-fileman-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::permissions(m_root, fs::perms::owner_all, fs::perm_options::add, ec);
        for (const auto& e : fs::recursive_directory_iterator(m_root, fs::directory_options::skip_permission_denied, ec))
            if (e.is_directory() && !e.is_symlink())
                fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(m_root, ec);
    }
    [[nodiscard]] std::string Root() const { return m_root.string(); }
    [[nodiscard]] std::string At(const std::string& relative) const { return (m_root / relative).string(); }

private:
    fs::path m_root;
};

class EnvGuard {
public:
    explicit EnvGuard(const char* name)
        : m_name(name)
    {
        if (const char* v = std::getenv(name))
            m_saved = v;
    }
    ~EnvGuard()
    {
        if (m_saved)
            ::setenv(m_name, m_saved->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_saved;
};

// A list whose Add raises StopSearch after a given number of lines.
class StoppingList : public TStringList {
public:
    explicit StoppingList(std::int32_t stopAfter)
        : m_stopAfter(stopAfter)
    {
    }
    std::int32_t Add(const std::string& text) override
    {
        const std::int32_t index = TStringList::Add(text);
        if (Count() >= m_stopAfter)
            StopSearch = true;
        return index;
    }

private:
    std::int32_t m_stopAfter;
};

} // namespace

TEST(FilemanPaths, PiecesWithoutTrailingDelimiters)
{
    EXPECT_EQ(ExtractFilepath("/a/b.txt"), "/a");
    EXPECT_EQ(ExtractFilepath("/a/b/"), "/a/b");
    EXPECT_EQ(ExtractFilepath("/b.txt"), "/") << "the root stands where a drive would";
    EXPECT_EQ(ExtractFilepath("b.txt"), "");
    EXPECT_EQ(FilenameOnly("/a/b.txt"), "b");
    EXPECT_EQ(FilenameOnly("/a/b.tar.gz"), "b.tar");
    EXPECT_EQ(FilenameOnly("noext"), "noext");
    EXPECT_EQ(LastDir("/a/b/"), "b");
    EXPECT_EQ(LastDir(""), "");
}

TEST(FilemanPaths, DirUpStopsAtTheRoot)
{
    EXPECT_EQ(DirUp("/a/b/"), "/a");
    EXPECT_EQ(DirUp("/a/b"), "/a");
    EXPECT_EQ(DirUp("/a"), "/");
    EXPECT_EQ(DirUp("/a/"), "/");
    EXPECT_EQ(DirUp("/"), "/");
    EXPECT_EQ(DirUp("a/b"), "a");
    EXPECT_EQ(DirUp("a"), "a") << "nothing to cut";
    EXPECT_EQ(DirUp(""), "");
}

TEST(FilemanPaths, FormFilenamePutsOneDelimiterBetween)
{
    EXPECT_EQ(formFilename("/a", "x"), "/a/x");
    EXPECT_EQ(formFilename("/a/", "x"), "/a/x");
    EXPECT_EQ(formFilename("/", "x"), "/x");
    EXPECT_EQ(formFilename("", "x"), "x");
}

TEST(FilemanSystemFolders, ExecutableTemporaryAndSettingsFolders)
{
    EXPECT_EQ(AppExe(), Application().ExeName());
    const std::string path = Fileman::AppPath();
    ASSERT_FALSE(path.empty());
    EXPECT_NE(path.back(), '/');
    EXPECT_EQ(path, ExtractFileDir(AppExe()));
    EXPECT_EQ(GetWinDir(), SettingsFolder());
}

TEST_F(FilemanFolder, TmpDirTakesAnExistingTmpdir)
{
    EnvGuard guard("TMPDIR");
    ::setenv("TMPDIR", Root().c_str(), 1);
    EXPECT_EQ(TmpDir(), Root() + "/");
    ::setenv("TMPDIR", (Root() + "/").c_str(), 1);
    EXPECT_EQ(TmpDir(), Root() + "/");
    ::setenv("TMPDIR", At("missing").c_str(), 1);
    EXPECT_EQ(TmpDir(), "/tmp/");
    ::unsetenv("TMPDIR");
    EXPECT_EQ(TmpDir(), "/tmp/");
}

TEST_F(FilemanFolder, DirExistsLeavesTheCurrentFolder)
{
    const std::string before = GetCurrentDir();
    EXPECT_TRUE(DirExists(Root()));
    EXPECT_TRUE(DirExists(Root() + "/"));
    EXPECT_EQ(GetCurrentDir(), before);
    WriteFile(At("file"), "x");
    EXPECT_FALSE(DirExists(At("file")));
    EXPECT_FALSE(DirExists(At("missing")));
    EXPECT_FALSE(DirExists(""));
    EXPECT_TRUE(DirExists("/"));
}

TEST_F(FilemanFolder, CreateDirsBuildsTheChainOutermostFirst)
{
    const std::string deep = At("n1/n2/n3");
    EXPECT_TRUE(CreateDirs(deep));
    EXPECT_TRUE(DirExists(At("n1")));
    EXPECT_TRUE(DirExists(At("n1/n2")));
    EXPECT_TRUE(DirExists(deep));
    EXPECT_TRUE(CreateDirs(deep + "/")) << "an existing chain";
    EXPECT_TRUE(CreateDirs(At("x//y"))) << "doubled delimiters";
    EXPECT_TRUE(DirExists(At("x/y")));
    EXPECT_TRUE(CreateDirs("/"));
    EXPECT_FALSE(CreateDirs(""));
}

TEST_F(FilemanFolder, CreateDirsFailsThroughAFile)
{
    WriteFile(At("file"), "keep");
    EXPECT_FALSE(CreateDirs(At("file/sub")));
    EXPECT_EQ(ReadFile(At("file")), "keep");
}

TEST_F(FilemanFolder, CreateDirsTakesRelativeChains)
{
    const std::string before = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(Root()));
    const bool single = CreateDirs("r0");
    const bool chain = CreateDirs("r1/r2");
    ASSERT_TRUE(SetCurrentDir(before));
    EXPECT_TRUE(single);
    EXPECT_TRUE(chain);
    EXPECT_TRUE(DirExists(At("r0")));
    EXPECT_TRUE(DirExists(At("r1/r2")));
}

TEST_F(FilemanFolder, TestWriteLeavesNothingBehind)
{
    EXPECT_TRUE(TestWrite(Root()));
    EXPECT_TRUE(TestWrite(Root() + "/"));
    EXPECT_TRUE(Entries(Root()).empty());
    EXPECT_FALSE(TestWrite(At("missing")));
    EXPECT_FALSE(TestWrite(""));
    EXPECT_TRUE(Entries(Root()).empty());
}

TEST_F(FilemanFolder, TestWriteNeverTouchesAFileItDidNotCreate)
{
    const std::string name(kWriteTestName);
    WriteFile(At(name), "precious");
    WriteFile(At("victim"), "victim data");
    fs::create_symlink(At("victim"), At("~xxy45!j1.tmp"));
    EXPECT_TRUE(TestWrite(Root()));
    EXPECT_EQ(ReadFile(At(name)), "precious");
    EXPECT_EQ(ReadFile(At("victim")), "victim data");
    EXPECT_TRUE(fs::is_symlink(At("~xxy45!j1.tmp")));
    EXPECT_EQ(Entries(Root()), (std::vector<std::string> { "victim", "~xxy45!j.tmp", "~xxy45!j1.tmp" }));
}

TEST_F(FilemanFolder, TestWriteOnAReadOnlyFolder)
{
    if (RunningAsRoot())
        GTEST_SKIP() << "root writes into read-only folders";
    ASSERT_TRUE(CreateDirs(At("ro")));
    fs::permissions(At("ro"), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(TestWrite(At("ro")));
    fs::permissions(At("ro"), fs::perms::owner_all);
    EXPECT_TRUE(Entries(At("ro")).empty());
}

TEST_F(FilemanFolder, FileLastWriteIsTheHighWordOfTheFileTime)
{
    WriteFile(At("f.txt"), "x");
    // 2024-01-01 00:00:00 UTC: (1704067200 + 11644473600) × 10^7 / 2^32 = 31079493.x
    const timespec times[2] = { { 1704067200, 0 }, { 1704067200, 0 } };
    ASSERT_EQ(::utimensat(AT_FDCWD, At("f.txt").c_str(), times, 0), 0);
    EXPECT_EQ(FileLastWrite(At("f.txt")), 31079493);
    EXPECT_EQ(FileLastWrite(At("missing")), 0);
    EXPECT_EQ(FileLastWrite(Root()), 0) << "a folder is no file";
    EXPECT_EQ(FileLastWrite(""), 0);
    WriteFile(At("now.txt"), "x");
    EXPECT_GT(FileLastWrite(At("now.txt")), 31079493);
}

TEST_F(FilemanFolder, SearchFileExtWalksDepthFirstInNameOrder)
{
    ASSERT_TRUE(CreateDirs(At("S/T")));
    ASSERT_TRUE(CreateDirs(At("R")));
    ASSERT_TRUE(CreateDirs(At(".hidden")));
    WriteFile(At("a.txt"), "");
    WriteFile(At("z.TXT"), "");
    WriteFile(At("skip.bmp"), "");
    WriteFile(At(".dot.txt"), "");
    WriteFile(At(".hidden/h.txt"), "");
    WriteFile(At("R/r.txt"), "");
    WriteFile(At("S/b.TXT"), "");
    WriteFile(At("S/T/c.txt"), "");
    TStringList list;
    list.Add("kept");
    SearchFileExt(Root() + "/", "txt", list);
    const std::string r = Root() + "/";
    EXPECT_EQ(Lines(list),
        (std::vector<std::string> { "kept", r + "a.txt", r + "z.TXT", r + "R/r.txt", r + "S/b.TXT", r + "S/T/c.txt" }));

    TStringList bare;
    SearchFileExt(Root(), "c.t", bare);
    EXPECT_EQ(Lines(bare), (std::vector<std::string> { r + "S/T/c.txt" })) << "a folder without its delimiter";
}

TEST_F(FilemanFolder, SearchFileExtMatchesAnyPartOfTheName)
{
    WriteFile(At("A.BMP"), "");
    WriteFile(At("BMPLIST.TXT"), "");
    WriteFile(At("other.png"), "");
    TStringList list;
    SearchFileExt(Root(), "bmp", list);
    EXPECT_EQ(Lines(list), (std::vector<std::string> { At("A.BMP"), At("BMPLIST.TXT") }));
    TStringList none;
    StopSearch = true;
    SearchFileExt(Root(), "", none);
    EXPECT_EQ(none.Count(), 0) << "an empty text is never found";
    EXPECT_FALSE(StopSearch) << "cleared at the start";
    SearchFileExt(At("missing"), "bmp", none);
    EXPECT_EQ(none.Count(), 0);
}

TEST_F(FilemanFolder, SearchFileExtNeverFollowsLinksToFolders)
{
    ASSERT_TRUE(CreateDirs(At("S")));
    WriteFile(At("S/b.txt"), "");
    WriteFile(At("target.dat"), "");
    fs::create_directory_symlink(Root(), At("S/loop.txt"));
    fs::create_directory_symlink(At("S"), At("again"));
    fs::create_symlink(At("target.dat"), At("link.txt"));
    fs::create_symlink(At("gone"), At("broken.txt"));
    TStringList list;
    SearchFileExt(Root(), "txt", list);
    EXPECT_EQ(Lines(list), (std::vector<std::string> { At("broken.txt"), At("link.txt"), At("S/b.txt") }))
        << "links to files count as files; links to folders are neither entered nor listed";
}

TEST_F(FilemanFolder, SearchFileExtStopsAfterTheCurrentEntry)
{
    ASSERT_TRUE(CreateDirs(At("S")));
    WriteFile(At("a.txt"), "");
    WriteFile(At("b.txt"), "");
    WriteFile(At("S/c.txt"), "");
    StoppingList one(1);
    SearchFileExt(Root(), "txt", one);
    EXPECT_EQ(Lines(one), (std::vector<std::string> { At("a.txt") }));
    StoppingList two(2);
    SearchFileExt(Root(), "txt", two);
    EXPECT_EQ(Lines(two), (std::vector<std::string> { At("a.txt"), At("b.txt") })) << "no subfolder entered after a stop";
    StopSearch = false;
}

TEST_F(FilemanFolder, SearchFileExtSkipsUnreadableFolders)
{
    if (RunningAsRoot())
        GTEST_SKIP() << "root reads every folder";
    ASSERT_TRUE(CreateDirs(At("closed")));
    ASSERT_TRUE(CreateDirs(At("open")));
    WriteFile(At("closed/x.txt"), "");
    WriteFile(At("open/y.txt"), "");
    fs::permissions(At("closed"), fs::perms::none);
    TStringList list;
    SearchFileExt(Root(), "txt", list);
    EXPECT_EQ(Lines(list), (std::vector<std::string> { At("open/y.txt") }));
}
