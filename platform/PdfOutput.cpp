#include "platform/PdfOutput.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>

#include <cerrno>
#include <cstring>
#include <unistd.h>

void drawImageOnPage(QPainter& painter, const QImage& image)
{
    const QRect page = painter.viewport();
    QSize size = image.size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    painter.setViewport(page.x(), page.y(), size.width(), size.height());
    painter.setWindow(image.rect());
    painter.drawImage(0, 0, image);
}

QString writeImagePdf(const QImage& image, const QPageLayout& layout, const QString& path)
{
    // The document is made in memory first, so the file only ever receives a whole one.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Orvane"));
        if (layout.isValid())
            writer.setPageLayout(layout);
        QPainter painter;
        if (!painter.begin(&writer))
            return QStringLiteral("the page could not be drawn");
        drawImageOnPage(painter, image);
        if (!painter.end())
            return QStringLiteral("the page could not be drawn");
    }
    const QByteArray bytes = buffer.data();

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return file.errorString();
    QString reason;
    if (file.write(bytes) != bytes.size() || !file.flush())
        reason = file.errorString();
    else if (::fsync(file.handle()) != 0)
        reason = QString::fromLocal8Bit(std::strerror(errno));
    file.close();
    if (reason.isEmpty() && file.error() != QFileDevice::NoError)
        reason = file.errorString();
    if (!reason.isEmpty())
        file.remove();
    return reason;
}
