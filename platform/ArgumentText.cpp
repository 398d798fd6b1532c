#include "platform/ArgumentText.h"

QStringList splitArgumentText(const QString& text)
{
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool inQuotes = false;
    for (const QChar c : text) {
        if (c == u'"') {
            inQuotes = !inQuotes;
            inArgument = true; // "" is an empty argument of its own
            continue;
        }
        if (!inQuotes && (c == u' ' || c == u'\t')) {
            if (inArgument)
                arguments << current;
            current.clear();
            inArgument = false;
            continue;
        }
        current += c;
        inArgument = true;
    }
    if (inArgument)
        arguments << current;
    return arguments;
}

QString joinArguments(const QStringList& arguments)
{
    QStringList parts;
    for (const QString& a : arguments)
        parts << ((a.isEmpty() || a.contains(u' ') || a.contains(u'\t')) ? u'"' + a + u'"' : a);
    return parts.join(u' ');
}
