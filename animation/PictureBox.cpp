#include "animation/PictureBox.h"

#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>

namespace
{
// Coordinates far outside the picture are clipped before they reach the painter, so
// a huge magnification or an infinite value in a file cannot upset the rasterizer.
constexpr double ClipMargin = 64;

bool finitePoint(QPointF p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

} // namespace

bool clipSegment(QPointF& a, QPointF& b, const QRectF& r)
{
    if (!finitePoint(a) || !finitePoint(b))
        return false;
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0)
                return false;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const QPointF start = a;
    a = start + QPointF(dx * t0, dy * t0);
    b = start + QPointF(dx * t1, dy * t1);
    return true;
}

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_image = QImage(std::max(1, width()), std::max(1, height()), QImage::Format_RGB32);
    m_image.fill(m_backColour);
}

void PictureBox::cls()
{
    syncImageSize();
    m_image.fill(m_backColour);
    m_primitives.clear();
    m_recordComplete = true;
    m_dirty = {};
    ++m_clearCount;
    update();
}

PictureBox::Snapshot PictureBox::snapshot() const
{
    syncImageSize();
    return {m_image, m_primitives.size(), m_clearCount, m_upperLeft, m_lowerRight, m_drawWidth};
}

bool PictureBox::restore(const Snapshot& s)
{
    syncImageSize();
    // Only the primitives' count is kept, so the drawing must still be that same one.
    if (s.clearCount != m_clearCount || !m_recordComplete || s.primitives > m_primitives.size() ||
        s.image.size() != m_image.size())
        return false;
    m_image = s.image;
    m_primitives.resize(s.primitives);
    m_upperLeft = s.upperLeft;
    m_lowerRight = s.lowerRight;
    m_drawWidth = s.drawWidth;
    m_dirty = m_image.rect();
    return true;
}

void PictureBox::setScale(QPointF upperLeft, QPointF lowerRight)
{
    m_upperLeft = upperLeft;
    m_lowerRight = lowerRight;
}

void PictureBox::setDrawWidth(int width)
{
    m_drawWidth = std::max(1, width);
}

void PictureBox::setBackColour(const QColor& colour)
{
    m_backColour = colour;
    cls();
}

void PictureBox::line(QPointF from, QPointF to, const QColor& colour)
{
    const Primitive p{Primitive::Line, from, to, colour, m_drawWidth};
    record(p);
    draw(p);
}

void PictureBox::box(QPointF corner1, QPointF corner2, const QColor& colour)
{
    const Primitive p{Primitive::Box, corner1, corner2, colour, m_drawWidth};
    record(p);
    draw(p);
}

void PictureBox::filledBox(QPointF corner1, QPointF corner2, const QColor& colour)
{
    const Primitive p{Primitive::FilledBox, corner1, corner2, colour, m_drawWidth};
    record(p);
    draw(p);
}

const QImage& PictureBox::image() const
{
    syncImageSize();
    return m_image;
}

QPointF PictureBox::toPixels(QPointF user) const
{
    const double w = m_lowerRight.x() - m_upperLeft.x();
    const double h = m_lowerRight.y() - m_upperLeft.y();
    if (w == 0 || h == 0)
        return {};
    const QSize size(std::max(1, width()), std::max(1, height()));
    return {(user.x() - m_upperLeft.x()) / w * size.width(),
            (user.y() - m_upperLeft.y()) / h * size.height()};
}

QColor PictureBox::colourAt(QPointF user) const
{
    syncImageSize();
    const QPointF p = toPixels(user);
    const int x = std::clamp(int(std::floor(p.x())), 0, m_image.width() - 1);
    const int y = std::clamp(int(std::floor(p.y())), 0, m_image.height() - 1);
    return m_image.pixelColor(x, y);
}

void PictureBox::record(const Primitive& p)
{
    // A drawing that is never cleared (cycle mode) would otherwise grow without end.
    if (m_primitives.size() >= RecordLimit) {
        m_primitives.erase(m_primitives.begin(),
                           m_primitives.begin() + std::ptrdiff_t(RecordLimit / 2));
        m_recordComplete = false;
    }
    m_primitives.push_back(p);
}

void PictureBox::draw(const Primitive& p)
{
    syncImageSize();
    const QRect dirty = paint(p);
    if (!dirty.isNull())
        m_dirty |= dirty;
}

void PictureBox::flush()
{
    if (!m_dirty.isNull())
        update(m_dirty);
    m_dirty = {};
}

QRect PictureBox::paint(const Primitive& p) const
{
    const QRectF bounds =
        QRectF(m_image.rect()).adjusted(-ClipMargin, -ClipMargin, ClipMargin, ClipMargin);
    QPointF a = toPixels(p.from);
    QPointF b = toPixels(p.to);
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QRectF dirty;
    if (p.kind == Primitive::Line) {
        if (!clipSegment(a, b, bounds))
            return {};
        QPen pen(p.colour, p.width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
        if (p.width <= 1)
            pen.setWidth(0); // a cosmetic one-pixel line covers the same pixels both ways
        painter.setPen(pen);
        painter.drawLine(a, b);
        dirty = QRectF(a, b).normalized();
    } else {
        if (!finitePoint(a) || !finitePoint(b))
            return {};
        const QRectF r = QRectF(a, b).normalized().intersected(bounds);
        if (r.isEmpty())
            return {};
        if (p.kind == Primitive::FilledBox) {
            painter.fillRect(r, p.colour);
        } else {
            QPen pen(p.colour, p.width <= 1 ? 0 : p.width);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(r);
        }
        dirty = r;
    }
    const int m = p.width + 2;
    return dirty.toAlignedRect().adjusted(-m, -m, m, m);
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    syncImageSize();
    QPainter painter(this);
    const QRect r = event->rect();
    painter.drawImage(r.topLeft(), m_image, r);
    // The image follows the widget's size; any part not yet covered shows the background.
    const QRegion outside = QRegion(r) - QRegion(m_image.rect());
    for (const QRect& part : outside)
        painter.fillRect(part, m_backColour);
}

void PictureBox::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    syncImageSize();
    update();
}

void PictureBox::syncImageSize() const
{
    const QSize size(std::max(1, width()), std::max(1, height()));
    if (size == m_image.size())
        return;
    const QImage old = m_image;
    m_image = QImage(size, QImage::Format_RGB32);
    m_image.fill(m_backColour);
    if (m_recordComplete) {
        for (const Primitive& p : m_primitives)
            paint(p);
    } else {
        QPainter painter(&m_image);
        painter.drawImage(m_image.rect(), old);
    }
}
