#pragma once
// The importer has crashes and endless loops of its own on damaged files.
// Before the program imports a model file it lets a child process try the
// same import: a child that dies or does not finish in time marks the file
// as unreadable, and the program itself never touches it.
#include <string>

namespace kalvion {

inline constexpr int MODEL_IMPORT_TIMEOUT_MS = 10000;

// True when a child process imported the file (without post-processing) and
// ended normally within the time, whether the import succeeded or not; false
// with the reason when the child crashed or was stopped.  Where no child can
// be started, true: the import then runs unguarded.
bool ImportSurvives(const std::string &fileName, int timeoutMs, std::string &error);

} // namespace kalvion
