#include "docs/DocsRules.h"

#include <QStringList>
#include <algorithm>

QString viewerText(QByteArrayView bytes)
{
    QString text = decodeText(bytes);
    if (text.contains(u'\r')) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(u'\r', u'\n');
    }
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

ViewerFit viewerFit(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return ViewerFit::Empty;
    if (bytes.size() > ViewerMaxBytes)
        return ViewerFit::TooLarge;
    const char* p = bytes.data();
    const qsizetype n = bytes.size();
    if (std::memchr(p, '\0', static_cast<size_t>(n)))
        return ViewerFit::NotText;
    // One very long line is laid out as a whole and would freeze the window.
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i <= n; ++i) {
        if (i == n || p[i] == '\n' || p[i] == '\r') {
            if (i - lineStart > ViewerMaxLineBytes)
                return ViewerFit::TooLarge;
            lineStart = i + 1;
        }
    }
    return ViewerFit::Fits;
}

int viewerFontPoints(int item)
{
    static constexpr int Points[] = {8, 10, 12, 14, 18};
    if (item >= 0 && item < 5)
        return Points[item];
    return 12;
}

int viewerCheckedFontItem(int item)
{
    return item >= 0 && item < 5 ? item : 2;
}

ViewerColours viewerColourChoice(const ViewerColours& current, int item,
                                 const std::optional<QColor>& chosen)
{
    ViewerColours result = current;
    switch (item) {
    case 0:
        if (chosen && chosen->rgb() != current.foreground.rgb())
            result.background = *chosen;
        break;
    case 1:
        if (chosen && chosen->rgb() != current.background.rgb())
            result.foreground = *chosen;
        break;
    case 2:
        result = {QColor(255, 255, 255), QColor(0, 0, 0)};
        break;
    default:
        break;
    }
    return result;
}

QSize viewerTextBoxTwips(QSize clientTwips, QSize lastBoxTwips)
{
    const QSize window = clientTwips + ViewerFrameTwips;
    QSize box = lastBoxTwips;
    if (window.width() > 200)
        box.setWidth(window.width() - 150);
    if (window.height() > 800)
        box.setHeight(window.height() - 750);
    return box;
}

QString readerDocumentPath(const QString& manualsDir, const QString& file)
{
    return (manualsDir + file).toLower();
}

QString readerLabel(const QString& documentPath)
{
    return documentPath + u' ';
}

QRect readerPdfTwips(QSize clientTwips, QRect lastTwips)
{
    const QSize window = clientTwips + ClassicFrameTwips;
    QRect place(100, 720, lastTwips.width(), lastTwips.height());
    if (window.height() > 1400)
        place.setHeight(window.height() - 1300);
    if (window.width() > 400)
        place.setWidth(window.width() - 300);
    return place;
}

QString defaultContactText(const QString& lf, const QString& webPage)
{
    // The project has no postal address or telephone; the web page is where people
    // reach it, and an installer can put a site's own details in Contact.txt.
    const QStringList lines{
        QString(),
        QStringLiteral("  The Orvane project"),
        QStringLiteral("  Force-plate software of the"),
        QStringLiteral("  Kinemora Motion Analysis System"),
        QStringLiteral("  Contact details: see the web page below, or"),
        QStringLiteral("  Contact.txt in the program directory."),
        QString(),
        QStringLiteral("  Email: see the web page"),
        QStringLiteral("  FTP site: none"),
        QStringLiteral("  ") + webPage,
    };
    return lines.join(lf);
}

QString contactTextFromFile(const QString& fileText, const QString& lf)
{
    QString text = fileText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    if (text.endsWith(u'\n'))
        text.chop(1);
    QStringList lines{QString()};
    const QStringList given = text.split(u'\n');
    for (qsizetype i = 0; i < given.size() && lines.size() < 10; ++i) {
        QString line = given[i];
        while (!line.isEmpty() && line.back().isSpace())
            line.chop(1);
        if (!line.isEmpty() && line.front() != u' ' && line.front() != u'\t')
            line.prepend(QStringLiteral("  "));
        lines << line;
    }
    return lines.join(lf);
}
