#pragma once

// Edits a file that other programs of the suite read and write at the same time, so
// that nothing they write is lost. Plain C++ over POSIX calls.

#include <functional>
#include <string>

// Gives `edit` the file's bytes (empty for a missing file) and writes what it makes of
// them. Other programs are held off by an advisory lock on a lock file beside the file,
// waited for at most a second. One that writes without asking is caught by a second
// look just before the new file takes the old one's place: a file rewritten meanwhile
// is read and edited again, and lines appended to the old file up to a moment after
// the rename are carried over to the end of the new one. `edit` answers 0 or an error
// number; an edit that changes nothing writes nothing. The answer is 0 or the error
// number.
using SharedFileEditor = std::function<int(const std::string& bytes, std::string& edited)>;
int editSharedFile(const std::string& path, const SharedFileEditor& edit);

// The lock file's name for `path`.
std::string sharedFileLockName(const std::string& path);
