#include "rtl/Exceptions.h"
#include "rtl/IniFiles.h"
#include "rtl/StringList.h"
#include "TestStrings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

using namespace plx;

namespace {

using test::Lines;

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const fs::path& path, std::string_view text)
{
    std::ofstream(path, std::ios::binary) << text;
}

using V = std::vector<std::string>;

// Points the settings folder at a fresh temporary folder and restores the
// environment afterwards.
class IniFiles : public testing::Test {
protected:
    void SetUp() override
    {
        m_root = fs::temp_directory_path()
            / ("plx_ini_" + std::to_string(::getpid()) + "_" + testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_root);
        fs::create_directories(m_root);
        Save("XDG_CONFIG_HOME", m_savedConfig);
        Save("HOME", m_savedHome);
        ::setenv("XDG_CONFIG_HOME", (m_root / "config").c_str(), 1);
    }
    void TearDown() override
    {
        Restore("XDG_CONFIG_HOME", m_savedConfig);
        Restore("HOME", m_savedHome);
        detail::SetIniBeforeReplaceHook({});
        std::error_code ec;
        fs::permissions(m_root, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(m_root, ec);
    }
    [[nodiscard]] std::string Path(const std::string& name) const { return (m_root / name).string(); }

    fs::path m_root;

private:
    static void Save(const char* name, std::optional<std::string>& slot)
    {
        if (const char* value = std::getenv(name))
            slot = value;
    }
    static void Restore(const char* name, const std::optional<std::string>& slot)
    {
        if (slot)
            ::setenv(name, slot->c_str(), 1);
        else
            ::unsetenv(name);
    }

    std::optional<std::string> m_savedConfig;
    std::optional<std::string> m_savedHome;
};

} // namespace

// ---------------------------------------------------------------------------
// Where the file lives

TEST_F(IniFiles, BareNamesLiveInTheSettingsFolderCreatedOnFirstWrite)
{
    const fs::path folder = m_root / "config" / "plumex";
    EXPECT_EQ(SettingsFolder(), folder.string());
    TIniFile ini("Gradient Fill Editor.ini");
    EXPECT_EQ(ini.FileName(), (folder / "Gradient Fill Editor.ini").string());
    EXPECT_EQ(ini.ReadString("Gallary", "x", "none"), "none");
    EXPECT_FALSE(fs::exists(folder));
    ini.WriteString("Gallary", "x", "1");
    EXPECT_TRUE(fs::exists(folder / "Gradient Fill Editor.ini"));
    EXPECT_FALSE(fs::exists(fs::current_path() / "Gradient Fill Editor.ini"));
}

TEST_F(IniFiles, WithoutXdgConfigHomeTheFolderIsUnderHome)
{
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", m_root.c_str(), 1);
    EXPECT_EQ(SettingsFolder(), (m_root / ".config" / "plumex").string());
    // A relative XDG_CONFIG_HOME is not a valid setting and is ignored.
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(SettingsFolder(), (m_root / ".config" / "plumex").string());
}

TEST_F(IniFiles, PathsAreUsedAsGiven)
{
    TIniFile ini(Path("given.ini"));
    EXPECT_EQ(ini.FileName(), Path("given.ini"));
    ini.WriteInteger("S", "k", 5);
    EXPECT_EQ(ReadText(Path("given.ini")), "[S]\nk=5\n");
    // The folder of a given path is not created.
    TIniFile missing(Path("no/such/folder.ini"));
    EXPECT_THROW(missing.WriteString("S", "k", "v"), EIniFileException);
    EXPECT_FALSE(fs::exists(Path("no")));
    EXPECT_THROW(TIniFile(""), EIniFileException);
}

// ---------------------------------------------------------------------------
// Reading and writing

TEST_F(IniFiles, ValuesRoundTripThroughTheFile)
{
    {
        TIniFile ini(Path("round.ini"));
        ini.WriteString("Main", "Name", "Plumex");
        ini.WriteInteger("Main", "Count", -42);
        ini.WriteBool("Main", "On", true);
        ini.WriteString("Other", "Padded", "  two spaces  ");
        ini.WriteString("Other", "Quoted", "\"already quoted\"");
        ini.WriteString("Other", "Single", "'");
        ini.WriteString("Other", "Empty", "");
    }
    TIniFile ini(Path("round.ini"));
    EXPECT_EQ(ini.ReadString("Main", "Name", ""), "Plumex");
    EXPECT_EQ(ini.ReadInteger("Main", "Count", 0), -42);
    EXPECT_TRUE(ini.ReadBool("Main", "On", false));
    EXPECT_EQ(ini.ReadString("Other", "Padded", ""), "  two spaces  ");
    EXPECT_EQ(ini.ReadString("Other", "Quoted", ""), "\"already quoted\"");
    EXPECT_EQ(ini.ReadString("Other", "Single", ""), "'");
    EXPECT_EQ(ini.ReadString("Other", "Empty", "x"), "");
    EXPECT_TRUE(ini.ValueExists("Other", "Empty"));
    EXPECT_FALSE(ini.ValueExists("Other", "Missing"));
    EXPECT_EQ(ReadText(Path("round.ini")),
        "[Main]\nName=Plumex\nCount=-42\nOn=1\n\n[Other]\nPadded=\"  two spaces  \"\nQuoted=\"\"already quoted\"\"\n"
        "Single='\nEmpty=\n");
}

TEST_F(IniFiles, ReadIntegerFallsBackOnAnythingButANumber)
{
    WriteText(Path("n.ini"), "[N]\nhex=$FF\nc=0x10\nbad=12abc\nspaced = 7 \n");
    TIniFile ini(Path("n.ini"));
    EXPECT_EQ(ini.ReadInteger("N", "hex", 0), 255);
    EXPECT_EQ(ini.ReadInteger("N", "c", 0), 16);
    EXPECT_EQ(ini.ReadInteger("N", "bad", -1), -1);
    EXPECT_EQ(ini.ReadInteger("N", "spaced", -1), 7);
    EXPECT_EQ(ini.ReadInteger("N", "missing", 3), 3);
    EXPECT_TRUE(ini.ReadBool("N", "missing", true));
}

TEST_F(IniFiles, SectionsAndKeysMatchWithoutRegardToCase)
{
    TIniFile ini(Path("case.ini"));
    ini.WriteString("Gallary", "Sunset", "1");
    ini.WriteString("GALLARY", "SUNSET", "2");
    EXPECT_EQ(ini.ReadString("gallary", "sunset", ""), "2");
    EXPECT_EQ(ReadText(Path("case.ini")), "[Gallary]\nSunset=2\n");
    EXPECT_TRUE(ini.SectionExists("gALLARY"));
}

TEST_F(IniFiles, ReadSectionValuesListsTheKeysInOrder)
{
    WriteText(Path("gallery.ini"),
        "[Gallary]\nzeta=0,16777215,0,16777215,0,4,1,1\nalpha=1,2,3,4,5,2,0,0\nempty=\nzeta=duplicate\n[Next]\nx=1\n");
    TIniFile ini(Path("gallery.ini"));
    TStringList list;
    list.Add("stale line");
    ini.ReadSectionValues("Gallary", list);
    EXPECT_EQ(Lines(list), (V { "zeta=0,16777215,0,16777215,0,4,1,1", "alpha=1,2,3,4,5,2,0,0", "empty=" }));
    ini.ReadSection("Gallary", list);
    EXPECT_EQ(Lines(list), (V { "zeta", "alpha", "empty" }));
    ini.ReadSections(list);
    EXPECT_EQ(Lines(list), (V { "Gallary", "Next" }));
    ini.ReadSectionValues("Missing", list);
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(IniFiles, EraseSectionRemovesItAndKeepsTheRest)
{
    WriteText(Path("erase.ini"), "; settings\n[A]\nk=1\n\n[Gallary]\nold=1\n\n[B]\nk=2\n[gallary]\nhidden=3\n");
    TIniFile ini(Path("erase.ini"));
    ini.EraseSection("Gallary");
    EXPECT_FALSE(ini.SectionExists("Gallary"));
    EXPECT_EQ(ReadText(Path("erase.ini")), "; settings\n[A]\nk=1\n\n[B]\nk=2\n");
    // Erase then write, as a gallery is saved.
    ini.WriteString("Gallary", "new", "0,1,2,3,4,4,1,1");
    TStringList list;
    ini.ReadSectionValues("Gallary", list);
    EXPECT_EQ(Lines(list), (V { "new=0,1,2,3,4,4,1,1" }));
    ini.DeleteKey("Gallary", "NEW");
    EXPECT_FALSE(ini.ValueExists("Gallary", "new"));
    // Nothing to erase: the file is not rewritten.
    const auto before = fs::last_write_time(Path("erase.ini"));
    ini.EraseSection("Nothing");
    ini.DeleteKey("A", "nothing");
    EXPECT_EQ(fs::last_write_time(Path("erase.ini")), before);
}

TEST_F(IniFiles, NewKeysFollowTheLastKeyOfTheirSection)
{
    WriteText(Path("order.ini"), "[S]\nb=2\na=1\n; end of S\n\n[T]\nx=1\n");
    TIniFile ini(Path("order.ini"));
    ini.WriteString("S", "c", "3");
    ini.WriteString("S", "b", "20");
    EXPECT_EQ(ReadText(Path("order.ini")), "[S]\nb=20\na=1\n; end of S\nc=3\n\n[T]\nx=1\n");
}

TEST_F(IniFiles, CrLfAndLfBothReadAndTheFileKeepsItsBreaks)
{
    WriteText(Path("crlf.ini"), "[S]\r\nk=v\r\nother = spaced value \r\n");
    TIniFile ini(Path("crlf.ini"));
    EXPECT_EQ(ini.ReadString("S", "k", ""), "v");
    EXPECT_EQ(ini.ReadString("S", "other", ""), "spaced value");
    ini.WriteString("S", "n", "1");
    EXPECT_EQ(ReadText(Path("crlf.ini")), "[S]\r\nk=v\r\nother = spaced value \r\nn=1\r\n");
    WriteText(Path("lf.ini"), "[S]\nk=v");
    EXPECT_EQ(TIniFile(Path("lf.ini")).ReadString("S", "k", ""), "v");
}

TEST_F(IniFiles, MalformedLinesAreSkippedAndKeptOnWriteBack)
{
    const std::string text = "\xEF\xBB\xBFtop=ignored\n[S]\nno equals sign\n=no key\n[broken\nk=v\n# comment=x\n;k=shadow\n";
    WriteText(Path("bad.ini"), text);
    TIniFile ini(Path("bad.ini"));
    EXPECT_EQ(ini.ReadString("S", "k", ""), "v");
    EXPECT_EQ(ini.ReadString("S", "# comment", "none"), "none");
    EXPECT_EQ(ini.ReadString("", "top", "none"), "none");
    TStringList list;
    ini.ReadSectionValues("S", list);
    EXPECT_EQ(Lines(list), (V { "k=v" }));
    ini.WriteString("S", "added", "1");
    EXPECT_EQ(ReadText(Path("bad.ini")), text + "added=1\n");
}

TEST_F(IniFiles, NamesAndValuesTheFileCannotHoldAreRefused)
{
    TIniFile ini(Path("refuse.ini"));
    ini.WriteString("S", "k", "v");
    const std::string before = ReadText(Path("refuse.ini"));
    EXPECT_THROW(ini.WriteString("S", "k", "two\nlines"), EIniFileException);
    EXPECT_THROW(ini.WriteString("S", "a=b", "v"), EIniFileException);
    EXPECT_THROW(ini.WriteString("S", "", "v"), EIniFileException);
    EXPECT_THROW(ini.WriteString("S", " ;k", "v"), EIniFileException);
    EXPECT_THROW(ini.WriteString("S", "[k", "v"), EIniFileException);
    EXPECT_THROW(ini.WriteString("S]", "k", "v"), EIniFileException);
    EXPECT_THROW(ini.WriteString("S\nT", "k", "v"), EIniFileException);
    EXPECT_EQ(ReadText(Path("refuse.ini")), before);
}

TEST_F(IniFiles, ChangesByAnotherWriterAreSeen)
{
    TIniFile first(Path("shared.ini"));
    TIniFile second(Path("shared.ini"));
    first.WriteString("S", "k", "1");
    EXPECT_EQ(second.ReadString("S", "k", ""), "1");
    second.WriteString("S", "k", "2");
    second.WriteString("S", "j", "3");
    EXPECT_EQ(first.ReadString("S", "k", ""), "2");
    first.WriteString("S", "i", "4");
    EXPECT_EQ(ReadText(Path("shared.ini")), "[S]\nk=2\nj=3\ni=4\n");
    fs::remove(Path("shared.ini"));
    EXPECT_EQ(first.ReadString("S", "k", "gone"), "gone");
}

TEST_F(IniFiles, AnInterruptedWriteLeavesTheOldFileWhole)
{
    const std::string path = Path("crash.ini");
    {
        TIniFile ini(path);
        ini.WriteString("S", "k", "old");
    }
    const std::string before = ReadText(path);
    // The child dies after writing the new text to its temporary file, before
    // that file replaces the real one: as a crash at the worst moment would.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        detail::SetIniBeforeReplaceHook([](const std::string&) { ::_exit(3); });
        TIniFile ini(path);
        ini.WriteString("S", "k", "new and much longer than before");
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3);
    EXPECT_EQ(ReadText(path), before);
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("S", "k", ""), "old");
    // The leftover temporary file does not disturb later writes.
    ini.WriteString("S", "k", "after");
    EXPECT_EQ(TIniFile(path).ReadString("S", "k", ""), "after");
}

TEST_F(IniFiles, AFailedReplaceRaisesAndRemovesTheTemporaryFile)
{
    const std::string path = Path("fail.ini");
    TIniFile ini(path);
    ini.WriteString("S", "k", "old");
    // A folder appearing in place of the file makes the final rename fail.
    detail::SetIniBeforeReplaceHook([&](const std::string&) {
        fs::remove(path);
        fs::create_directories(fs::path(path) / "keep");
    });
    EXPECT_THROW(ini.WriteString("S", "k", "new"), EIniFileException);
    detail::SetIniBeforeReplaceHook({});
    for (const auto& entry : fs::directory_iterator(m_root))
        EXPECT_EQ(entry.path().filename().string().find(".fail.ini.tmp"), std::string::npos);
    EXPECT_TRUE(fs::exists(fs::path(path) / "keep"));
}

TEST_F(IniFiles, AnUnreadableFileIsNeverOverwritten)
{
    // A folder in place of the file cannot be read, even by the superuser.
    const std::string path = Path("locked.ini");
    fs::create_directories(fs::path(path) / "content");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("S", "k", "default"), "default");
    EXPECT_FALSE(ini.SectionExists("S"));
    EXPECT_THROW(ini.WriteString("S", "j", "1"), EIniFileException);
    EXPECT_TRUE(fs::exists(fs::path(path) / "content"));
}

TEST_F(IniFiles, SymbolicLinksAreFollowed)
{
    WriteText(Path("real.ini"), "[S]\nk=1\n");
    fs::create_symlink(Path("real.ini"), Path("link.ini"));
    TIniFile ini(Path("link.ini"));
    ini.WriteString("S", "k", "2");
    EXPECT_TRUE(fs::is_symlink(Path("link.ini")));
    EXPECT_EQ(ReadText(Path("real.ini")), "[S]\nk=2\n");
}

// ---------------------------------------------------------------------------
// The document

TEST(TIniDocument, SerializeKeepsUntouchedLinesExactly)
{
    const std::string text = "\xEF\xBB\xBF; c\r\n  [ Spaced ]  trailing\r\n key = value \r\n\r\n";
    EXPECT_EQ(TIniDocument::Parse(text).Serialize(), text);
    const TIniDocument document = TIniDocument::Parse(text);
    EXPECT_EQ(document.Read("spaced", "KEY"), "value");
    EXPECT_EQ(document.Sections(), (V { "Spaced" }));
}

TEST(TIniDocument, EveryLineBreakEndsALine)
{
    const TIniDocument document = TIniDocument::Parse("[S]\ra=1\n\rb=2\r\n");
    EXPECT_EQ(document.Read("S", "a"), "1");
    EXPECT_EQ(document.Read("S", "b"), "2");
    EXPECT_EQ(document.Serialize(), "[S]\na=1\n\nb=2\n");
}

TEST(TIniDocument, QuotedValuesLoseOnePairOfQuotes)
{
    const TIniDocument document = TIniDocument::Parse("[S]\na=\"x\"\nb='y'\nc=\"z'\nd=\"\"\ne=\"\n");
    EXPECT_EQ(document.Read("S", "a"), "x");
    EXPECT_EQ(document.Read("S", "b"), "y");
    EXPECT_EQ(document.Read("S", "c"), "\"z'");
    EXPECT_EQ(document.Read("S", "d"), "");
    EXPECT_EQ(document.Read("S", "e"), "\"");
}

TEST(TIniDocument, DuplicatesReadTheFirst)
{
    TIniDocument document = TIniDocument::Parse("[S]\nk=1\nk=2\n[s]\nk=3\nj=4\n");
    EXPECT_EQ(document.Read("S", "k"), "1");
    EXPECT_FALSE(document.Read("S", "j"));
    EXPECT_EQ(document.Sections(), (V { "S" }));
    document.DeleteKey("S", "k");
    EXPECT_FALSE(document.Read("S", "k"));
    document.EraseSection("S");
    EXPECT_EQ(document.Serialize(), "");
}

TEST(TIniDocument, AnEmptyDocumentGrowsAFirstSection)
{
    TIniDocument document;
    document.Write(" S ", " k ", "v");
    EXPECT_EQ(document.Serialize(), "[S]\nk=v\n");
}
