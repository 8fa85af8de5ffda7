// Initialisation files: TIniFile over the host's settings folder, and the
// in-memory TIniDocument it keeps.
#pragma once

#include "rtl/Persistent.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plx {

class TStrings;

//! The host's settings folder, shared by every program on the host:
//! $XDG_CONFIG_HOME/plumex when that variable holds an absolute path, else
//! ~/.config/plumex. Empty when neither can be determined.
[[nodiscard]] std::string SettingsFolder();

//! The text of an initialisation file, line by line, as read: "[Section]"
//! headers, "key=value" lines, comments (";" or "#"), blank lines and lines
//! that are none of these (kept, but never read). Sections and keys match
//! without regard to ASCII case, surrounding blanks are ignored, the first of
//! duplicate sections or keys is the one read, and a value in matching single
//! or double quotes is read without them. Lines end with CR LF, LF or CR; a
//! file is written back with the break its first line had.
class TIniDocument {
public:
    using TNameValues = std::vector<std::pair<std::string, std::string>>;

    [[nodiscard]] static TIniDocument Parse(std::string_view text);
    //! The document as text: untouched lines exactly as read.
    [[nodiscard]] std::string Serialize() const;

    [[nodiscard]] std::optional<std::string> Read(std::string_view section, std::string_view key) const;
    [[nodiscard]] bool HasSection(std::string_view section) const;
    //! Section names in file order, each once.
    [[nodiscard]] std::vector<std::string> Sections() const;
    //! The section's keys in file order, each once, with the values read.
    [[nodiscard]] TNameValues SectionValues(std::string_view section) const;

    //! Replaces the key's line, or adds one after the last line of the section
    //! (adding the section at the end when there is none). The value is quoted
    //! when it would not read back as written (blanks at either end, or
    //! matching quotes around it). Raises EIniFileException for a name or value
    //! the file cannot hold: a line break anywhere, "]" in a section name, "="
    //! in a key, or a key that is empty or starts with "[", ";" or "#".
    void Write(std::string_view section, std::string_view key, std::string_view value);
    //! Removes every section of that name with all its lines.
    void EraseSection(std::string_view section);
    //! Removes the key (and any duplicate of it) from the section that is read.
    void DeleteKey(std::string_view section, std::string_view key);

private:
    enum class TLineKind { Other, Key };
    struct TLine {
        TLineKind Kind { TLineKind::Other };
        std::string Raw;
        std::string Key;
        std::string Value;
    };
    struct TSection {
        bool HasHeader { false };
        std::string Name;
        std::string Header;
        std::vector<TLine> Lines;
    };

    [[nodiscard]] const TSection* FindSection(std::string_view name) const;
    [[nodiscard]] TSection* FindSection(std::string_view name);

    //! The first entry holds the lines before the first header.
    std::vector<TSection> m_sections { TSection {} };
    bool m_crlf { false };
    bool m_byteOrderMark { false };
};

//! An initialisation file. A bare file name lives in SettingsFolder(), which
//! the first write creates; a name with a folder is used as given. Every read
//! sees the file as it is on disk (it is read again when it changed), and every
//! write replaces the file at once: the new text goes to a temporary file in
//! the same folder, which is then renamed over it, so an interrupted write
//! leaves the old file whole. A missing or unreadable file reads as empty; a
//! failed write raises EIniFileException and leaves the file as it was.
class TIniFile : public TObject {
public:
    explicit TIniFile(const std::string& fileName);

    //! The full path of the file (empty when a bare name has no settings folder).
    [[nodiscard]] const std::string& FileName() const noexcept { return m_fileName; }

    [[nodiscard]] std::string ReadString(std::string_view section, std::string_view ident, std::string_view fallback) const;
    void WriteString(std::string_view section, std::string_view ident, std::string_view value);
    //! Decimal, "$" hexadecimal or "0x" hexadecimal; fallback for anything else.
    [[nodiscard]] std::int32_t ReadInteger(std::string_view section, std::string_view ident, std::int32_t fallback) const;
    void WriteInteger(std::string_view section, std::string_view ident, std::int32_t value);
    //! Any integer but 0 reads as true; written as "1" or "0".
    [[nodiscard]] bool ReadBool(std::string_view section, std::string_view ident, bool fallback) const;
    void WriteBool(std::string_view section, std::string_view ident, bool value);

    //! Replaces the contents of strings with the section's key names.
    void ReadSection(std::string_view section, TStrings& strings) const;
    //! Replaces the contents of strings with the section names.
    void ReadSections(TStrings& strings) const;
    //! Replaces the contents of strings with the section's "key=value" lines.
    void ReadSectionValues(std::string_view section, TStrings& strings) const;
    [[nodiscard]] bool SectionExists(std::string_view section) const;
    [[nodiscard]] bool ValueExists(std::string_view section, std::string_view ident) const;

    void EraseSection(std::string_view section);
    void DeleteKey(std::string_view section, std::string_view ident);
    //! Makes several changes in one write: edit receives the file's current
    //! document and the result replaces the file at once. When edit raises or
    //! the write fails, the file stays as it was (EIniFileException, or edit's
    //! own exception).
    void Update(const std::function<void(TIniDocument&)>& edit) { Modify(edit); }
    //! Nothing is held back: every write is already on disk.
    void UpdateFile() { }

private:
    struct TFileStamp {
        bool Exists { false };
        std::uint64_t Device { 0 }, Inode { 0 };
        std::int64_t Size { 0 }, ModifiedNs { 0 };
        bool operator==(const TFileStamp&) const = default;
    };

    [[nodiscard]] static TFileStamp StampOf(const std::string& fileName);
    //! Reads the file again when it changed on disk; false when it exists but
    //! cannot be read.
    bool Refresh() const;
    //! Loads the current file for a change, applies edit and writes the result.
    void Modify(const std::function<void(TIniDocument&)>& edit);
    void Store(const TIniDocument& document);

    std::string m_fileName;
    bool m_inSettingsFolder { false };
    mutable TIniDocument m_document;
    mutable TFileStamp m_stamp;
    mutable bool m_loaded { false };
};

namespace detail {
//! For tests: runs after the temporary file is complete and before it replaces
//! the real one (an empty function clears it).
void SetIniBeforeReplaceHook(std::function<void(const std::string& temporaryName)> hook);
} // namespace detail

} // namespace plx
