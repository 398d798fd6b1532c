#pragma once

// Writing what a window shows to a file the user names: the save dialog, a name that
// gets its extension without passing over an existing file unasked, and writes that
// either finish whole or leave nothing under the chosen name.

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>

class QIODevice;
struct ForceTable;
struct Platform;
struct SharedState;

// Asks for a file name with the save dialog. A name without one of `extensions`
// (".png" ...) gets the first of them; if that adds up to an existing file, the user
// is asked before it is used. Nothing when the user cancels.
std::optional<QString> askSavePath(Platform& platform, const QString& title,
                                   const QString& initialDir, const QString& fileName,
                                   const QString& filter, const QStringList& extensions);

// Writes through a temporary file in the same folder that replaces `path` only when
// `write` succeeded and everything reached the disk. "" or the reason it failed.
QString writeWhole(const QString& path, const std::function<bool(QIODevice&)>& write);

// Writes all `size` bytes, going on after a short write so that a full disk gives its
// error rather than a count. False when the device refused.
bool writeAll(QIODevice& device, const char* data, qint64 size);

// Records first..last of the table as rfdump writes them, with `comment` (a "# ..."
// line) after its own comment lines when given. "" or the reason it failed.
QString writeTableCsv(const QString& path, const ForceTable& table, int first, int last,
                      const std::string& comment = {});

// "Save numbers as CSV …": asks where, writes records first..last of `table` (the
// trial read when none), and says what failed. True when a file was written.
bool saveNumbersAsCsv(SharedState& state, Platform& platform, int first, int last,
                      const ForceTable* table = nullptr, const std::string& comment = {});

// The message for a file that could not be written.
QString couldNotWrite(const QString& path, const QString& reason);

inline constexpr const char* SaveCsvCommand = "Save numbers as CSV …";
