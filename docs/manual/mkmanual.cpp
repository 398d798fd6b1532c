// Renders Orvane's user's manual from its Markdown source to PDF.
//
//   mkmanual <source.md> <manual.pdf> <major.minor.revision>
//
// Images are found relative to the source; a missing one is left out, so the manual
// builds before its screenshots exist. "@VERSION@" in the source becomes the
// version as the program shows it, 1.02 (003) for 1.2.3.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMap>
#include <QPageLayout>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFormat>
#include <QTextTable>
#include <cstdio>

namespace
{

QString versionText(const QString& dotted)
{
    const QStringList parts = dotted.split(u'.');
    auto part = [&](int i) { return i < parts.size() ? parts[i].toInt() : 0; };
    return QString::number(part(0)) + "." + QString::number(part(1)).rightJustified(2, u'0') +
           " (" + QString::number(part(2)).rightJustified(3, u'0') + ")";
}

// Drops the references to images that are not there and keeps the others, to be
// handed to the document, so it never depends on where it is laid out.
QString takeImages(const QString& markdown, const QDir& base, QMap<QString, QImage>& images)
{
    static const QRegularExpression image(R"(!\[([^\]]*)\]\(([^)\s]+)\))");
    QString result;
    qsizetype from = 0;
    auto matches = image.globalMatch(markdown);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        result += markdown.mid(from, match.capturedStart() - from);
        from = match.capturedEnd();
        const QString path = match.captured(2);
        QImage picture(base.filePath(path));
        if (picture.isNull())
            continue;
        images.insert(path, picture);
        result += match.captured(0);
    }
    result += markdown.mid(from);
    return result;
}

// Screenshots are taken at 96 dots per inch; no picture is wider than the text.
void fitImages(QTextDocument& document, qreal textWidth)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextCharFormat format = fragment.charFormat();
            if (!format.isImageFormat())
                continue;
            QTextImageFormat imageFormat = format.toImageFormat();
            const QImage picture =
                document.resource(QTextDocument::ImageResource, QUrl(imageFormat.name()))
                    .value<QImage>();
            if (picture.isNull())
                continue;
            const qreal width = std::min<qreal>(picture.width(), textWidth);
            imageFormat.setWidth(width);
            imageFormat.setHeight(picture.height() * width / picture.width());
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(imageFormat);
        }
    }
}

// Thin ruled tables with room in their cells and a shaded heading row.
void styleTables(QTextDocument& document)
{
    QSet<QTextTable*> tables;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (QTextTable* table = QTextCursor(block).currentTable())
            tables.insert(table);
    }
    for (QTextTable* table : std::as_const(tables)) {
        QTextTableFormat format = table->format();
        format.setBorder(1);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderBrush(QColor(140, 140, 140));
        format.setBorderCollapse(true);
        format.setCellSpacing(0);
        format.setCellPadding(3);
        format.setTopMargin(4);
        format.setBottomMargin(6);
        table->setFormat(format);
        for (int column = 0; column < table->columns(); ++column) {
            QTextTableCell cell = table->cellAt(0, column);
            QTextCharFormat shade = cell.format();
            shade.setBackground(QColor(232, 236, 240));
            cell.setFormat(shade);
        }
    }
}

// Each chapter starts on a new page.
void breakBeforeChapters(QTextDocument& document)
{
    bool first = true;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() != 1)
            continue;
        if (!first) {
            QTextCursor cursor(block);
            QTextBlockFormat format = block.blockFormat();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            cursor.setBlockFormat(format);
        }
        first = false;
    }
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: mkmanual <source.md> <manual.pdf> <version>\n");
        return 2;
    }
    const QString sourcePath = QString::fromLocal8Bit(argv[1]);
    const QString pdfPath = QString::fromLocal8Bit(argv[2]);
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "mkmanual: cannot read %s\n", argv[1]);
        return 1;
    }
    QString markdown = QString::fromUtf8(source.readAll());
    markdown.replace("@VERSION@", versionText(QString::fromLocal8Bit(argv[3])));

    QTextDocument document;
    QFont font("DejaVu Sans");
    font.setPointSize(10);
    document.setDefaultFont(font);
    document.setDefaultStyleSheet("code { font-family: 'DejaVu Sans Mono'; }");
    QMap<QString, QImage> images;
    markdown = takeImages(markdown, QFileInfo(sourcePath).dir(), images);
    document.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    // After the Markdown: setting it clears the document's resources.
    for (auto it = images.cbegin(); it != images.cend(); ++it)
        document.addResource(QTextDocument::ImageResource, QUrl(it.key()), it.value());

    // A4 less the 2 cm margins the printing of a document keeps, at 96 dots per inch.
    fitImages(document, (210.0 - 40.0) / 25.4 * 96.0);
    breakBeforeChapters(document);
    styleTables(document);

    const QString partial = pdfPath + ".part";
    {
        QPdfWriter writer(partial);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(300);
        writer.setTitle("Orvane User's Manual");
        writer.setCreator("Orvane");
        document.print(&writer);
    }
    // Replaced only when complete, so a failed run never leaves half a manual.
    QFile::remove(pdfPath);
    if (!QFile::rename(partial, pdfPath)) {
        std::fprintf(stderr, "mkmanual: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
