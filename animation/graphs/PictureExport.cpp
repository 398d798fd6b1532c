#include "animation/graphs/PictureExport.h"

#include "animation/PictureBox.h"
#include "core/SharedState.h"
#include "forcedata/ExportFile.h"
#include "platform/Platform.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QPainter>
#include <QSvgGenerator>

#include <QHash>

#include <algorithm>
#include <cmath>
#include <vector>

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
    // On the screen a line drawn again over the same ends (greyed, or erased in black)
    // covers the first exactly; smoothed, the first would show at the edges, so a line
    // that a later one covers is left out.
    const auto& drawn = picture.primitives();
    std::vector<bool> covered(drawn.size(), false);
    QHash<QString, int> widest; // the widest later line over the same ends
    for (std::size_t i = drawn.size(); i-- > 0;) {
        const PictureBox::Primitive& p = drawn[i];
        if (p.kind != PictureBox::Primitive::Line)
            continue;
        const auto [from, to] = std::minmax(p.from, p.to, [](QPointF u, QPointF v) {
            return u.x() < v.x() || (u.x() == v.x() && u.y() < v.y());
        });
        const QString key = QString::number(from.x(), 'g', 17) + ',' +
                            QString::number(from.y(), 'g', 17) + ',' +
                            QString::number(to.x(), 'g', 17) + ',' + QString::number(to.y(), 'g', 17);
        const auto found = widest.constFind(key);
        covered[i] = found != widest.cend() && *found >= p.width;
        if (!covered[i])
            widest[key] = std::max(p.width, found != widest.cend() ? *found : 0);
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        if (covered[i])
            continue;
        const PictureBox::Primitive& p = drawn[i];
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
    // Drawn whole in memory first, so a failed write is the disk's and says why.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (path.endsWith(".svg", Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        // Fonts in points become the pixels the screen gives them, not one a point.
        const QScreen* screen = QGuiApplication::primaryScreen();
        svg.setResolution(screen ? qRound(screen->logicalDotsPerInchY()) : 96);
        svg.setTitle(QStringLiteral("Orvane"));
        QPainter painter;
        if (!painter.begin(&svg))
            return QStringLiteral("the drawing could not be made");
        paint(painter, size);
        if (!painter.end())
            return QStringLiteral("the drawing could not be made");
    } else {
        QImage image(size * 2, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            paint(painter, size);
        }
        if (!image.save(&buffer, "PNG"))
            return QStringLiteral("the picture could not be encoded");
    }
    return writeWhole(path, [&bytes](QIODevice& device) {
        return writeAll(device, bytes.constData(), bytes.size());
    });
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
