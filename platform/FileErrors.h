#pragma once

// File operations that answer with the error numbers the suite's programs know
// (53 "File not found", 76 "Path not found", ...). Plain C++, no Qt.

#include <string>

namespace FileError
{
constexpr int None = 0;
constexpr int BadFileNameOrNumber = 52;
constexpr int FileNotFound = 53;
constexpr int FileAlreadyOpen = 55;
constexpr int FileAlreadyExists = 58;
constexpr int PermissionDenied = 70;
constexpr int PathFileAccessError = 75;
constexpr int PathNotFound = 76;
} // namespace FileError

// The platform's description of an error number ("File not found").
std::string fileErrorText(int number);
int fileErrorFromErrno(int err);
// The same, telling "file not found" (53) from "path not found" (76) for ENOENT.
int fileErrorFromErrno(int err, const std::string& path);

// Opens the file for reading and closes it again. A directory is not a file.
int openForReadingError(const std::string& path);
// Renames without ever replacing an existing file (58 when `to` exists).
int renameNoReplace(const std::string& from, const std::string& to);
// Copies the bytes of `from` to `to`. A file is never copied onto itself, and an
// existing `to` is replaced only when `replace` is set, and then only once the copy
// is complete, so a failed copy leaves the old file as it was.
int copyFileBytes(const std::string& from, const std::string& to, bool replace);
