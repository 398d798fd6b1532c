#pragma once

#include <QString>
#include <QStringList>

// Splits an argument text the way the suite's tools expect their command line:
// arguments are separated by blanks or tabs, double quotes group (and are dropped).
// Nothing in the text is interpreted: `;`, `|`, `$` and backquotes stay literal.
QStringList splitArgumentText(const QString& text);

// Joins arguments back into one text, quoting those that hold blanks.
QString joinArguments(const QStringList& arguments);
