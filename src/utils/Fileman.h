// Fileman: the application's folder and file, the temporary and settings
// folders, path pieces, folder chains, folder tests, a file's last-write stamp
// and a recursive search for files by a piece of their name.
#pragma once

#include "utils/StrMan.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

namespace plx {

class TStrings;

//! Ends a running SearchFileExt once set (for example from an event raised
//! while the search adds to its list); SearchFileExt clears it when it starts.
extern std::atomic<bool> StopSearch;

//! The write-test file TestWrite creates.
inline constexpr std::string_view kWriteTestName = "~xxy45!j.tmp";

//! \name Folders of the system
//! @{

//! The running executable's path.
[[nodiscard]] std::string AppExe();
namespace Fileman {
//! The executable's folder without its trailing delimiter. (StrMan has an
//! AppPath of its own with the delimiter.)
[[nodiscard]] std::string AppPath();
} // namespace Fileman
//! $TMPDIR when that folder exists, else "/tmp/"; with a trailing delimiter.
[[nodiscard]] std::string TmpDir();
//! The host's settings folder, where bare initialisation-file names live
//! (SettingsFolder of IniFiles); empty when the host has none.
[[nodiscard]] std::string GetWinDir();
//! @}

//! \name Path pieces
//! Folders come back without a trailing delimiter, except the root "/", which
//! stands where a drive would.
//! @{

//! The folder part of a file name: "/a/b.txt" gives "/a", "/b.txt" gives "/".
[[nodiscard]] std::string ExtractFilepath(std::string_view fileName);
//! The name without folder and extension: "/a/b.txt" gives "b".
[[nodiscard]] std::string FilenameOnly(std::string_view fileName);
//! The parent folder: "/a/b/" and "/a/b" give "/a", "/a" gives "/". A name
//! without a delimiter is its own parent.
[[nodiscard]] std::string DirUp(std::string_view folder);
//! folder + name with one delimiter between them; an empty folder gives name.
[[nodiscard]] std::string formFilename(std::string_view folder, std::string_view name);
//! @}

//! \name Folders and files
//! None of these raise; failure is a false or 0 result.
//! @{

//! Creates every missing folder of the chain, outermost first (never the
//! root); true when the folder exists at the end.
bool CreateDirs(std::string_view folder);
//! True when folder is a folder that can be entered. The process's current
//! folder does not change.
[[nodiscard]] bool DirExists(std::string_view folder);
//! True when a file can be created in folder. The test creates a new file
//! there (kWriteTestName, or a numbered variant of it when that name is taken)
//! without following links, and removes only that file. An empty folder name
//! gives false.
[[nodiscard]] bool TestWrite(std::string_view folder);
//! The high 32 bits of the last-write time counted in 100 ns since
//! 1601-01-01 (it changes about every 429.5 s); 0 for a file that cannot be
//! opened for reading, and for a folder.
[[nodiscard]] std::int32_t FileLastWrite(std::string_view fileName);
//! Adds to list every file under folder whose name contains text (ASCII case
//! ignored), depth-first: a folder's files in name order, then each of its
//! subfolders in name order with everything under it. Names that start with
//! "." are skipped, symbolic links to folders are not followed, no folder is
//! visited twice, and folders that cannot be read are skipped. An empty text
//! matches nothing. Sets StopSearch to false first and stops after the entry
//! during which it becomes true.
void SearchFileExt(std::string_view folder, std::string_view text, TStrings& list);
//! @}

} // namespace plx
