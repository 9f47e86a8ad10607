#pragma once
// Where the program finds its data and where it keeps the user's files.
// Folder texts end with "/".
#include <string>
#include <string_view>

namespace kalvion {

// The folder holding the running executable.
std::string ExecutableFolder();
// The program folder with its data folders: $KALVION_DATA_DIR, else
// <exe dir>/../share/kalvion/ when it holds the schema file, else <exe dir>/.
std::string ProgramFolder();
// A data folder below the program folder ("LangData", "Common", "Models",
// "Templates", "Plugins", "Samples", "SectorReports"); the case is kept.
std::string ProgramSubfolder(std::string_view name);
// The user's application-data folder: $XDG_DATA_HOME/kalvion/, default
// ~/.local/share/kalvion/.
std::string UserDataFolder();

// Paths stored by older versions use "\"; on disk we use "/".
std::string NormalizeStoredPath(std::string_view path);
// Joins a folder and a name with exactly one "/" between them.
std::string JoinPath(std::string_view folder, std::string_view name);
// The last path component of a path written with either separator.
std::string ExtractFileName(std::string_view path);
// The file name without folder and extension.
std::string ExtractFileBaseName(std::string_view path);
bool FileExists(const std::string &path);
bool DirectoryExists(const std::string &path);

} // namespace kalvion
