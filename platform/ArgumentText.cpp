#include "platform/ArgumentText.h"

QStringList splitArgumentText(const QString& text)
{
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool inQuotes = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"') {
            inArgument = true; // "" is an empty argument of its own
            if (inQuotes && i + 1 < text.size() && text[i + 1] == u'"') {
                current += c;
                ++i;
            } else {
                inQuotes = !inQuotes;
            }
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
    for (const QString& a : arguments) {
        const bool quote = a.isEmpty() || a.contains(u' ') || a.contains(u'\t') || a.contains(u'"');
        if (!quote) {
            parts << a;
            continue;
        }
        QString quoted = a;
        quoted.replace(u'"', QStringLiteral("\"\""));
        parts << u'"' + quoted + u'"';
    }
    return parts.join(u' ');
}
