#include "rtl/IniFiles.h"

#include "rtl/Exceptions.h"
#include "rtl/StringList.h"
#include "rtl/SysUtils.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plx {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

constexpr bool IsBlank(char c) noexcept { return static_cast<unsigned char>(c) <= ' '; }

std::string_view TrimView(std::string_view text) noexcept
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

constexpr bool IsQuote(char c) noexcept { return c == '"' || c == '\''; }

bool IsQuotedPair(std::string_view text) noexcept
{
    return text.size() >= 2 && IsQuote(text.front()) && text.front() == text.back();
}

// A value as read: trimmed, then one pair of matching quotes removed.
std::string DecodeValue(std::string_view raw)
{
    std::string_view value = TrimView(raw);
    if (IsQuotedPair(value))
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

// The inverse of DecodeValue for every value without a line break.
std::string EncodeValue(std::string_view value)
{
    if (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) || IsQuotedPair(value))) {
        std::string quoted;
        quoted.reserve(value.size() + 2);
        quoted += '"';
        quoted.append(value);
        quoted += '"';
        return quoted;
    }
    return std::string(value);
}

bool HasLineBreak(std::string_view text) noexcept
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

[[noreturn]] void NameError(std::string_view what, std::string_view name)
{
    throw EIniFileException("Invalid " + std::string(what) + " \"" + std::string(name) + "\" for an initialisation file");
}

std::string CheckedSection(std::string_view section)
{
    std::string_view name = TrimView(section);
    if (HasLineBreak(name) || name.find(']') != std::string_view::npos)
        NameError("section name", section);
    return std::string(name);
}

std::string CheckedKey(std::string_view key)
{
    std::string_view name = TrimView(key);
    if (name.empty() || HasLineBreak(name) || name.find('=') != std::string_view::npos || name.front() == '['
        || name.front() == ';' || name.front() == '#')
        NameError("key name", key);
    return std::string(name);
}

} // namespace

// ---------------------------------------------------------------------------
// TIniDocument

TIniDocument TIniDocument::Parse(std::string_view text)
{
    TIniDocument document;
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        document.m_byteOrderMark = true;
        text.remove_prefix(kByteOrderMark.size());
    }
    const std::size_t firstBreak = text.find_first_of("\r\n");
    document.m_crlf = firstBreak != std::string_view::npos && text.substr(firstBreak, 2) == "\r\n";

    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", i), text.size());
        std::string_view raw = text.substr(i, end - i);
        i = end;
        if (i < text.size() && text[i] == '\r') {
            ++i;
            if (i < text.size() && text[i] == '\n')
                ++i;
        } else if (i < text.size()) {
            ++i;
        }

        const std::string_view trimmed = TrimView(raw);
        if (!trimmed.empty() && trimmed.front() == '[') {
            const std::size_t close = trimmed.find(']');
            if (close != std::string_view::npos) {
                TSection section;
                section.HasHeader = true;
                section.Name = std::string(TrimView(trimmed.substr(1, close - 1)));
                section.Header = std::string(raw);
                document.m_sections.push_back(std::move(section));
                continue;
            }
        }
        TLine line;
        line.Raw = std::string(raw);
        const std::size_t equals = trimmed.find('=');
        if (!trimmed.empty() && trimmed.front() != ';' && trimmed.front() != '#' && trimmed.front() != '['
            && equals != std::string_view::npos) {
            const std::string_view key = TrimView(trimmed.substr(0, equals));
            if (!key.empty()) {
                line.Kind = TLineKind::Key;
                line.Key = std::string(key);
                line.Value = DecodeValue(trimmed.substr(equals + 1));
            }
        }
        document.m_sections.back().Lines.push_back(std::move(line));
    }
    return document;
}

std::string TIniDocument::Serialize() const
{
    const std::string_view lineBreak = m_crlf ? "\r\n" : "\n";
    std::string text;
    if (m_byteOrderMark)
        text += kByteOrderMark;
    for (const TSection& section : m_sections) {
        if (section.HasHeader) {
            text += section.Header;
            text += lineBreak;
        }
        for (const TLine& line : section.Lines) {
            text += line.Raw;
            text += lineBreak;
        }
    }
    return text;
}

const TIniDocument::TSection* TIniDocument::FindSection(std::string_view name) const
{
    const std::string_view wanted = TrimView(name);
    for (const TSection& section : m_sections)
        if (section.HasHeader && SameText(section.Name, wanted))
            return &section;
    return nullptr;
}

TIniDocument::TSection* TIniDocument::FindSection(std::string_view name)
{
    return const_cast<TSection*>(static_cast<const TIniDocument*>(this)->FindSection(name));
}

std::optional<std::string> TIniDocument::Read(std::string_view section, std::string_view key) const
{
    const TSection* found = FindSection(section);
    if (!found)
        return std::nullopt;
    const std::string_view wanted = TrimView(key);
    for (const TLine& line : found->Lines)
        if (line.Kind == TLineKind::Key && SameText(line.Key, wanted))
            return line.Value;
    return std::nullopt;
}

bool TIniDocument::HasSection(std::string_view section) const
{
    return FindSection(section) != nullptr;
}

std::vector<std::string> TIniDocument::Sections() const
{
    std::vector<std::string> names;
    std::set<std::string> seen;
    for (const TSection& section : m_sections)
        if (section.HasHeader && seen.insert(UpperCase(section.Name)).second)
            names.push_back(section.Name);
    return names;
}

TIniDocument::TNameValues TIniDocument::SectionValues(std::string_view section) const
{
    TNameValues values;
    const TSection* found = FindSection(section);
    if (!found)
        return values;
    std::set<std::string> seen;
    for (const TLine& line : found->Lines)
        if (line.Kind == TLineKind::Key && seen.insert(UpperCase(line.Key)).second)
            values.emplace_back(line.Key, line.Value);
    return values;
}

void TIniDocument::Write(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string sectionName = CheckedSection(section);
    const std::string keyName = CheckedKey(key);
    if (HasLineBreak(value))
        NameError("value", value);

    TSection* target = FindSection(sectionName);
    if (!target) {
        // Keep a blank line between the last section and the new one.
        TSection& last = m_sections.back();
        const bool empty = m_sections.size() == 1 && last.Lines.empty();
        if (!empty && (last.Lines.empty() || !TrimView(last.Lines.back().Raw).empty()))
            last.Lines.push_back(TLine {});
        TSection added;
        added.HasHeader = true;
        added.Name = sectionName;
        added.Header = "[" + sectionName + "]";
        m_sections.push_back(std::move(added));
        target = &m_sections.back();
    }
    auto& lines = target->Lines;
    for (TLine& line : lines) {
        if (line.Kind == TLineKind::Key && SameText(line.Key, keyName)) {
            line.Raw = line.Key + "=" + EncodeValue(value);
            line.Value = std::string(value);
            return;
        }
    }
    // After the last line that is not blank, so blank lines before the next
    // section stay where they are.
    std::size_t at = lines.size();
    while (at > 0 && TrimView(lines[at - 1].Raw).empty())
        --at;
    TLine line;
    line.Kind = TLineKind::Key;
    line.Key = keyName;
    line.Value = std::string(value);
    line.Raw = keyName + "=" + EncodeValue(value);
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

void TIniDocument::EraseSection(std::string_view section)
{
    const std::string_view wanted = TrimView(section);
    std::erase_if(m_sections, [&](const TSection& s) { return s.HasHeader && SameText(s.Name, wanted); });
}

void TIniDocument::DeleteKey(std::string_view section, std::string_view key)
{
    TSection* found = FindSection(section);
    if (!found)
        return;
    const std::string_view wanted = TrimView(key);
    std::erase_if(found->Lines, [&](const TLine& line) { return line.Kind == TLineKind::Key && SameText(line.Key, wanted); });
}

// ---------------------------------------------------------------------------
// The settings folder and TIniFile

namespace {

std::function<void(const std::string&)>& BeforeReplaceHook()
{
    static std::function<void(const std::string&)> hook;
    return hook;
}

std::string HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    struct passwd entry {};
    struct passwd* result = nullptr;
    std::vector<char> buffer(16384);
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 && result && result->pw_dir
        && *result->pw_dir)
        return result->pw_dir;
    return {};
}

[[noreturn]] void WriteError(const std::string& fileName, int error)
{
    throw EIniFileException("Unable to write to \"" + fileName + "\": " + std::strerror(error));
}

bool WriteAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::optional<std::string> ReadWholeFile(const std::string& fileName)
{
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return text;
}

} // namespace

namespace detail {
void SetIniBeforeReplaceHook(std::function<void(const std::string& temporaryName)> hook)
{
    BeforeReplaceHook() = std::move(hook);
}
} // namespace detail

std::string SettingsFolder()
{
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/')
        return std::string(config) + PathDelim + "plumex";
    std::string home = HomeFolder();
    if (home.empty())
        return {};
    if (home.back() != PathDelim)
        home += PathDelim;
    return home + ".config" + PathDelim + "plumex";
}

TIniFile::TIniFile(const std::string& fileName)
{
    if (fileName.empty())
        throw EIniFileException("An initialisation file needs a name");
    if (fileName.find(PathDelim) == std::string::npos) {
        m_inSettingsFolder = true;
        const std::string folder = SettingsFolder();
        if (!folder.empty())
            m_fileName = folder + PathDelim + fileName;
    } else {
        m_fileName = fileName;
    }
}

TIniFile::TFileStamp TIniFile::StampOf(const std::string& fileName)
{
    TFileStamp stamp;
    struct stat info {};
    if (!fileName.empty() && ::stat(fileName.c_str(), &info) == 0) {
        stamp.Exists = true;
        stamp.Device = info.st_dev;
        stamp.Inode = info.st_ino;
        stamp.Size = info.st_size;
        stamp.ModifiedNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    }
    return stamp;
}

bool TIniFile::Refresh() const
{
    const TFileStamp stamp = StampOf(m_fileName);
    if (m_loaded && stamp == m_stamp)
        return true;
    std::optional<std::string> text;
    if (stamp.Exists && !(text = ReadWholeFile(m_fileName))) {
        m_document = TIniDocument {};
        m_loaded = false;
        return false;
    }
    m_document = TIniDocument::Parse(text.value_or(std::string()));
    m_stamp = stamp;
    m_loaded = true;
    return true;
}

void TIniFile::Modify(const std::function<void(TIniDocument&)>& edit)
{
    if (m_fileName.empty())
        throw EIniFileException("There is no settings folder for the initialisation file");
    if (!Refresh())
        throw EIniFileException("Unable to read \"" + m_fileName + "\" before changing it: " + std::strerror(errno));
    TIniDocument changed = m_document;
    edit(changed);
    Store(changed);
    // The file now holds the document; its stamp spares the next read a parse.
    m_document = std::move(changed);
    m_stamp = StampOf(m_fileName);
    m_loaded = true;
}

void TIniFile::Store(const TIniDocument& document)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    std::string target = m_fileName;
    if (m_inSettingsFolder) {
        fs::create_directories(ExtractFileDir(target), ec);
        if (ec)
            WriteError(target, ec.value());
    }
    if (fs::is_symlink(target, ec)) {
        auto resolved = fs::canonical(target, ec);
        if (!ec)
            target = resolved.string();
    }

    // The temporary file sits next to the target, so the rename never crosses
    // file systems; O_EXCL keeps two writers from sharing one.
    static unsigned counter = 0;
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = ExtractFilePath(target) + "." + ExtractFileName(target) + ".tmp" + std::to_string(::getpid()) + "-"
            + std::to_string(++counter);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            WriteError(target, errno);
    }
    if (fd < 0)
        WriteError(target, EEXIST);

    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0)
        ::fchmod(fd, existing.st_mode & 07777);
    const std::string text = document.Serialize();
    if (!WriteAll(fd, text) || ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(temporary.c_str());
        WriteError(target, error);
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        WriteError(target, error);
    }
    if (auto& hook = BeforeReplaceHook()) {
        try {
            hook(temporary);
        } catch (...) {
            ::unlink(temporary.c_str());
            throw;
        }
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        WriteError(target, error);
    }
    // Make the rename itself durable; a failure here loses nothing already written.
    const std::string folder = ExtractFileDir(target);
    if (const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

std::string TIniFile::ReadString(std::string_view section, std::string_view ident, std::string_view fallback) const
{
    Refresh();
    return m_document.Read(section, ident).value_or(std::string(fallback));
}

void TIniFile::WriteString(std::string_view section, std::string_view ident, std::string_view value)
{
    Modify([&](TIniDocument& document) { document.Write(section, ident, value); });
}

std::int32_t TIniFile::ReadInteger(std::string_view section, std::string_view ident, std::int32_t fallback) const
{
    std::string text = ReadString(section, ident, "");
    return StrToIntDef(text, fallback);
}

void TIniFile::WriteInteger(std::string_view section, std::string_view ident, std::int32_t value)
{
    WriteString(section, ident, IntToStr(value));
}

bool TIniFile::ReadBool(std::string_view section, std::string_view ident, bool fallback) const
{
    return ReadInteger(section, ident, fallback ? 1 : 0) != 0;
}

void TIniFile::WriteBool(std::string_view section, std::string_view ident, bool value)
{
    WriteString(section, ident, value ? "1" : "0");
}

void TIniFile::ReadSection(std::string_view section, TStrings& strings) const
{
    Refresh();
    TStringsUpdate update(strings);
    strings.Clear();
    for (const auto& [key, value] : m_document.SectionValues(section))
        strings.Add(key);
}

void TIniFile::ReadSections(TStrings& strings) const
{
    Refresh();
    TStringsUpdate update(strings);
    strings.Clear();
    for (const std::string& name : m_document.Sections())
        strings.Add(name);
}

void TIniFile::ReadSectionValues(std::string_view section, TStrings& strings) const
{
    Refresh();
    TStringsUpdate update(strings);
    strings.Clear();
    for (const auto& [key, value] : m_document.SectionValues(section))
        strings.Add(key + "=" + value);
}

bool TIniFile::SectionExists(std::string_view section) const
{
    Refresh();
    return m_document.HasSection(section);
}

bool TIniFile::ValueExists(std::string_view section, std::string_view ident) const
{
    Refresh();
    return m_document.Read(section, ident).has_value();
}

void TIniFile::EraseSection(std::string_view section)
{
    Refresh();
    if (m_document.HasSection(section))
        Modify([&](TIniDocument& document) { document.EraseSection(section); });
}

void TIniFile::DeleteKey(std::string_view section, std::string_view ident)
{
    Refresh();
    if (m_document.Read(section, ident))
        Modify([&](TIniDocument& document) { document.DeleteKey(section, ident); });
}

} // namespace plx
