#pragma once

// File operations that answer with the error numbers the suite's programs know
// (53 "File not found", 76 "Path not found", ...). Plain C++, no Qt.

#include <cstddef>
#include <functional>
#include <string>
#include <sys/types.h>

namespace FileError
{
constexpr int None = 0;
constexpr int BadFileNameOrNumber = 52;
constexpr int FileNotFound = 53;
constexpr int FileAlreadyOpen = 55;
constexpr int FileAlreadyExists = 58;
constexpr int DiskFull = 61;
constexpr int PermissionDenied = 70;
constexpr int PathFileAccessError = 75;
constexpr int PathNotFound = 76;
// No number of the platform's: another program changed the file while it was edited.
constexpr int ChangedMeanwhile = -1;
} // namespace FileError

// The platform's description of an error number ("File not found").
std::string fileErrorText(int number);
int fileErrorFromErrno(int err);
// The same, telling "file not found" (53) from "path not found" (76) for ENOENT.
int fileErrorFromErrno(int err, const std::string& path);

// Opens the file for reading and closes it again. Only a regular file counts: a
// directory, a named pipe or a device gives 75 without being opened, so nothing waits
// on a writer or reads forever.
int openForReadingError(const std::string& path);
// 0 when `fd` is open on a regular file, else 75.
int regularFileError(int fd);
// Renames without ever replacing an existing file (58 when `to` exists).
int renameNoReplace(const std::string& from, const std::string& to);
// Copies the bytes of `from` to `to`. A file is never copied onto itself, and an
// existing `to` is replaced only when `replace` is set, and then only once the copy
// is complete, so a failed copy leaves the old file as it was.
// The copy goes to a new temporary file beside `to`, which never replaces or empties
// a file that was there before, and is removed whenever the copy fails.
int copyFileBytes(const std::string& from, const std::string& to, bool replace);

// Writes all `size` bytes, going on after short writes: 0 or the error number.
int writeAllBytes(int fd, const char* data, std::size_t size);
// Replaces the file at `path` (following a symbolic link) by `bytes`, through a new
// temporary file in the same folder and one rename, so that readers see the old
// file or the new one, never a part. The file keeps its permissions.
// When `stillAsRead` is given it runs just before the rename; if it answers false the
// new bytes are thrown away and the answer is FileError::ChangedMeanwhile.
int replaceFileContents(const std::string& path, const std::string& bytes,
                        const std::function<bool()>& stillAsRead = {});

// Reads the whole of a regular file into `bytes`: 0 or the error number.
int readWholeFile(const std::string& path, std::string& bytes);

// Every write of this module goes through this call, so a test can fill the disk.
using WriteCall = ssize_t (*)(int fd, const void* data, std::size_t size);
// nullptr restores the system's write.
void setWriteCallForTesting(WriteCall call);
