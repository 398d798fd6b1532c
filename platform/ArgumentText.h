#pragma once

#include <QString>
#include <QStringList>

// Splits an argument text the way the suite's tools expect their command line:
// arguments are separated by blanks or tabs, double quotes group (and are dropped),
// and inside quotes two double quotes stand for one. Nothing in the text is
// interpreted: `;`, `|`, `$` and backquotes stay literal. A quoted empty text ("")
// is an argument of its own.
QStringList splitArgumentText(const QString& text);

// Joins arguments into one text that splits back into exactly the same list: an
// argument that is empty or holds a blank, a tab or a double quote is quoted.
QString joinArguments(const QStringList& arguments);
