#include "animation/graphs/PictureExport.h"

#include "animation/PictureBox.h"
#include "core/SharedState.h"
#include "forcedata/ExportFile.h"
#include "platform/Platform.h"

#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <cmath>

// The picture's drawing, in pixels of `size`; huge coordinates are cut to a margin
// around the picture before they reach the painter.
void paintVectorPicture(QPainter& painter, QSize size, const PictureBox& picture)
{
    painter.save();
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::black); // the picture's background
    const QPointF ul = picture.upperLeft();
    const QPointF lr = picture.lowerRight();
    const double w = lr.x() - ul.x();
    const double h = lr.y() - ul.y();
    if (w == 0 || h == 0) {
        painter.restore();
        return;
    }
    const auto toPixels = [&](QPointF u) {
        return QPointF((u.x() - ul.x()) / w * size.width(), (u.y() - ul.y()) / h * size.height());
    };
    const QRectF bounds = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(-64, -64, 64, 64);
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const PictureBox::Primitive& p : picture.primitives()) {
        QPointF a = toPixels(p.from);
        QPointF b = toPixels(p.to);
        if (p.kind == PictureBox::Primitive::Line) {
            if (!clipSegment(a, b, bounds))
                continue;
            painter.setPen(QPen(p.colour, p.width, Qt::SolidLine, Qt::SquareCap));
            painter.drawLine(a, b);
            continue;
        }
        const QRectF r = QRectF(a, b).normalized().intersected(bounds);
        if (r.isEmpty())
            continue;
        if (p.kind == PictureBox::Primitive::FilledBox) {
            painter.fillRect(r, p.colour);
        } else {
            painter.setPen(QPen(p.colour, p.width));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(r);
        }
    }
    painter.restore();
}

QString writePicture(const QString& path, QSize size, const PaintFunction& paint)
{
    size = size.expandedTo(QSize(1, 1));
    if (path.endsWith(".svg", Qt::CaseInsensitive)) {
        return writeWhole(path, [&](QIODevice& device) {
            QSvgGenerator svg;
            svg.setOutputDevice(&device);
            svg.setSize(size);
            svg.setViewBox(QRect(QPoint(0, 0), size));
            svg.setTitle(QStringLiteral("Orvane"));
            QPainter painter;
            if (!painter.begin(&svg))
                return false;
            paint(painter, size);
            return painter.end();
        });
    }
    QImage image(size * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        paint(painter, size);
    }
    return writeWhole(path, [&image](QIODevice& device) { return image.save(&device, "PNG"); });
}

bool savePictureAs(SharedState& state, Platform& platform, const QString& suggestedBase, QSize size,
                   const PaintFunction& paint)
{
    const QString title = QString(SavePictureCommand).remove(QStringLiteral(" …"));
    const auto path =
        askSavePath(platform, title, state.DataDir, suggestedBase + ".png",
                    "PNG image (*.png)|*.png|SVG drawing (*.svg)|*.svg", {".png", ".svg"});
    if (!path)
        return false;
    const QString reason = writePicture(*path, size, paint);
    if (reason.isEmpty())
        return true;
    platform.dialogs.message(couldNotWrite(*path, reason), title, MessageIcon::Critical,
                             MessageButtons::OK);
    return false;
}
