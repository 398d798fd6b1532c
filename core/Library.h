#pragma once

// Small routines every window shares: the command line, taking file names apart,
// the file-open test with its standard message, number fields, settings at start-up.
// File names may use "\" or "/" as separators and "X:" as a drive prefix.

#include <QString>
#include <QStringList>

struct SharedState;
struct Platform;

// Splits the command line into at most `maximum` arguments and sets TargetName to
// the first that is not a switch; every switch before it sets DataDir to the current
// directory.
QStringList ParseCommandLine(SharedState& state, Platform& platform, int maximum = 10);
// The same split of a given text, without touching any state.
QStringList splitCommandLine(const QString& text, int maximum = 10);

QString StripExtension(const QString& name);
QString GetExtension(const QString& name);
QString GetBaseName(const QString& path);
// The directory part of a path without its trailing separator; NoDirectory when the
// path names no directory.
QString GetDirectory(const QString& path);
inline const QString NoDirectory = QStringLiteral("./");

// 0 when `file` in `directory` can be opened for reading, else the platform's error
// number (53 file not found, 76 path not found, ...), with the standard message when
// `showMessage` is non-zero.
int16_t CheckOpen(SharedState& state, Platform& platform, const QString& directory,
                  const QString& file, int16_t showMessage);

QString FormatField(double value);
void LoadStartupSettings(SharedState& state, Platform& platform);
bool ConfirmPrint(SharedState& state, Platform& platform);
QString GetShortName(Platform& platform, const QString& path);
